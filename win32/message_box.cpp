#include "message_box.h"

#include "device/platform/wide_text.h"

using Icon = DialogView::Icon;
using Buttons = DialogView::Buttons;
using Answer = DialogView::Answer;

UINT messageBoxStyle(Icon icon, Buttons buttons) {
    UINT style = buttons == Buttons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
    case Icon::Error:
        style |= MB_ICONERROR;
        break;
    case Icon::Information:
        style |= MB_ICONINFORMATION;
        break;
    case Icon::Warning:
        style |= MB_ICONWARNING;
        break;
    case Icon::Question:
        style |= MB_ICONQUESTION;
        break;
    }
    return style;
}

Answer showMessageBox(HWND owner, const std::string& text, Icon icon, Buttons buttons) {
    const int answer =
        MessageBoxW(owner, widen(text).c_str(), L"Varnel", messageBoxStyle(icon, buttons));
    if (buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return answer == IDYES ? Answer::Yes : Answer::No;
}
