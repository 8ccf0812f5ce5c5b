#pragma once

#include "dialog/control_table.h"
#include "dialog/menu_table.h"

#include <QFont>
#include <QRect>

// Converts template positions to pixels the way the layout was drawn: a horizontal
// unit is a quarter of the font's average character width, a vertical unit an eighth
// of its height.
struct DialogUnits {
    int baseX = 4;
    int baseY = 8;

    static DialogUnits fromFont(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QRect toPixels(const DialogRect& rect) const;
};

// The font the layout was drawn for: dialog units come from it in every language, so
// controls stand in the same places whatever the language.
QFont layoutFont(int pointSize = 8);
// The font the texts are drawn in: the layout font for Japanese, a Latin UI font for
// English.
QFont dialogFont(int pointSize = 8);
