#pragma once

#include "dialog/control_table.h"

#include <windows.h>

#include <string>
#include <vector>

// Texts measured against their controls, as the dialog draws them. The layout was drawn
// for a narrow Japanese font; where the system's font runs wider (another Japanese font,
// or the Latin font of the English face), a text that would be cut off is set in a
// narrowed copy of its font instead.

struct TextFit {
    int needed; // the text's width in the control's font, pixels
    int room;   // what the control leaves it: its width less a check box or a frame
};

// The text as drawn: without the mnemonic marks.
std::wstring shownText(const ControlRow& row);

TextFit measureText(HWND dialog, HWND control, const ControlRow& row);

// The window of each row, in template order: the dialog's children are created so.
std::vector<HWND> controlWindows(HWND dialog);

// Narrows the font of every control whose text would not fit. Returns the fonts it
// made, which the caller deletes once the dialog has gone.
std::vector<HFONT> narrowToFit(HWND dialog);
