#pragma once

#include "control_table.h"

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

// The Japanese-capable font the dialogs are laid out in.
QFont dialogFont();
