#include "message_box.h"

#include "device/platform/wide_text.h"

UINT messageBoxStyle(BoxIcon icon, BoxButtons buttons) {
    UINT style = buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
    case BoxIcon::Error:
        style |= MB_ICONERROR;
        break;
    case BoxIcon::Information:
        style |= MB_ICONINFORMATION;
        break;
    case BoxIcon::Warning:
        style |= MB_ICONWARNING;
        break;
    case BoxIcon::Question:
        style |= MB_ICONQUESTION;
        break;
    }
    return style;
}

BoxAnswer showMessageBox(HWND owner, const std::string& text, BoxIcon icon, BoxButtons buttons) {
    const int answer =
        MessageBoxW(owner, widen(text).c_str(), L"Varnel", messageBoxStyle(icon, buttons));
    if (buttons == BoxButtons::Ok) {
        return BoxAnswer::Ok;
    }
    return answer == IDYES ? BoxAnswer::Yes : BoxAnswer::No;
}
