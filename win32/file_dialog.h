#pragma once

#include <windows.h>

#include <string>

// The common Open and Save dialogs for settings files: one entry in the type list,
// `filterLabel` (such as "Kelvo Files (*.gvx)") for "*.gvx", the default extension
// "gvx" and the initial name "*.gvx". Save As asks its own overwrite question, so the
// dialog does not. Returns the chosen path in UTF-8; empty when the user cancels.
std::string chooseFileToOpen(HWND owner, const std::string& filterLabel);
std::string chooseFileToSave(HWND owner, const std::string& filterLabel);
