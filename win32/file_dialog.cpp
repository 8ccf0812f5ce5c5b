#include "file_dialog.h"

#include "device/platform/wide_text.h"

#include <commdlg.h>

#include <array>

namespace {

enum class Purpose { Open, Save };

std::string chooseFile(HWND owner, const std::string& filterLabel, Purpose purpose) {
    // Label and pattern, each ended by a NUL, and the list ended by another.
    std::wstring filter = widen(filterLabel);
    filter += L'\0';
    filter += L"*.gvx";
    filter += L'\0';
    filter += L'\0';
    // Long paths are allowed on current Windows; the dialog says when one does not fit.
    std::array<wchar_t, 32768> name{L"*.gvx"};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrDefExt = L"gvx";
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (purpose == Purpose::Open) {
        dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    }
    const BOOL chosen =
        purpose == Purpose::Open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    return chosen ? narrow(name.data()) : std::string();
}

} // namespace

std::string chooseFileToOpen(HWND owner, const std::string& filterLabel) {
    return chooseFile(owner, filterLabel, Purpose::Open);
}

std::string chooseFileToSave(HWND owner, const std::string& filterLabel) {
    return chooseFile(owner, filterLabel, Purpose::Save);
}
