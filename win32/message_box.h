#pragma once

#include "dialog/dialog_view.h"

#include <windows.h>

#include <string>

// The program's message boxes: MessageBoxW with the caption "Varnel" and the icon and
// buttons each kind of message carries.
UINT messageBoxStyle(DialogView::Icon icon, DialogView::Buttons buttons);

DialogView::Answer showMessageBox(HWND owner, const std::string& text, DialogView::Icon icon,
                                  DialogView::Buttons buttons);
