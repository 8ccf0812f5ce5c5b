#pragma once

#include "dialog/control_table.h"
#include "dialog/menu_table.h"
#include "dialog_units.h"

#include <map>
#include <span>
#include <vector>

class QButtonGroup;
class QWidget;

struct BuiltControls {
    std::vector<QWidget*> widgets; // one per table row, in template order
    std::map<int, QWidget*> byId;
    // Radio groups by the id of their first button; a button's id in its group is its
    // position.
    std::map<int, QButtonGroup*> radioGroups;
};

// Creates the table's controls as children of parent, at their pixel positions, with
// creation order = template order, which Qt's focus chain follows.
BuiltControls buildControls(std::span<const ControlRow> table, QWidget* parent,
                            const DialogUnits& units);

// Narrows a widget's font just enough for its text to fit its width. The layout was
// drawn for a font with narrower kana than the Japanese fonts available here.
void fitText(QWidget* widget, const QString& text, int availableWidth);

// The width a label, group box or button needs to show its text uncut.
int neededTextWidth(QWidget* widget, const QString& text);
