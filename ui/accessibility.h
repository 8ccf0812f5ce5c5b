#pragma once

class QWidget;

// Makes the dialog's controls meet a screen reader as they meet the mouse: radio buttons
// announced as radio buttons within their group box, and every button's accessible
// action doing exactly what a click does. Call once the controls of area are built,
// before anything asks for their accessible interfaces.
void describeForScreenReaders(QWidget* area);

// Marks a radio button as a member of the group box that frames it.
void setAccessibleGroup(QWidget* radio, QWidget* groupBox);
