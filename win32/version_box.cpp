#include "version_box.h"

#include "dialog_template.h"
#include "program_icon.h"

#include "device/platform/wide_text.h"
#include "resources/text_catalogue.h"
#include "varnel_config.h"

#include <array>

namespace {

constexpr int iconId = 100;

INT_PTR CALLBACK procedure(HWND box, UINT message, WPARAM w, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HICON icon = createProgramIcon(GetSystemMetrics(SM_CXICON));
        SetWindowLongPtrW(box, DWLP_USER, reinterpret_cast<LONG_PTR>(icon));
        SendDlgItemMessageW(box, iconId, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        return TRUE;
    }
    case WM_DESTROY:
        if (auto icon = reinterpret_cast<HICON>(GetWindowLongPtrW(box, DWLP_USER))) {
            DestroyIcon(icon);
        }
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) {
            EndDialog(box, LOWORD(w));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::wstring versionBoxCaption() {
    return widen(localText("Version information Varnel"));
}

void showVersionBox(HWND owner, const std::string& portName) {
    const std::string notice = portName.empty() ? localText("Kelvo governor settings") : portName;
    const std::array<TemplateItem, 4> items{{
        {nullptr, 0x82, L"", {11, 17, 20, 20}, iconId, WS_CHILD | WS_VISIBLE | SS_ICON, 0},
        {nullptr,
         0x82,
         widen("Varnel Version " VARNEL_VERSION),
         {40, 10, 119, 8},
         -1,
         WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
         0},
        {nullptr, 0x82, widen(notice), {40, 25, 119, 8}, -1, WS_CHILD | WS_VISIBLE | SS_LEFT, 0},
        {nullptr,
         0x80,
         L"OK",
         {178, 7, 50, 16},
         IDOK,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
         0},
    }};
    const TemplateHeader header{versionBoxCaption(),
                                {0, 0, 235, 55},
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                0,
                                {L"MS UI Gothic", 9, SHIFTJIS_CHARSET}};
    const std::vector<DWORD> bytes = buildTemplate(header, items);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner, procedure,
                            0);
}
