#pragma once

#include <windows.h>

#include <string>

// The program's message boxes: MessageBoxW with the caption "Varnel" and the icon and
// buttons each kind of message carries.
enum class BoxIcon { Error, Information, Warning, Question };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

// The MessageBoxW style for an icon and buttons.
UINT messageBoxStyle(BoxIcon icon, BoxButtons buttons);

BoxAnswer showMessageBox(HWND owner, const std::string& text, BoxIcon icon, BoxButtons buttons);
