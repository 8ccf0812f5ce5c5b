#include "message_box.h"

#include "device/platform/wide_text.h"

using Icon = DialogView::Icon;
using Buttons = DialogView::Buttons;
using Answer = DialogView::Answer;

UINT messageBoxStyle(Icon icon, Buttons buttons) {
    UINT style = MB_OK;
    if (buttons == Buttons::YesNo) {
        style = MB_YESNO;
    } else if (buttons == Buttons::RetryCancel) {
        style = MB_RETRYCANCEL;
    }
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
    switch (buttons) {
    case Buttons::Ok:
        break;
    case Buttons::YesNo:
        return answer == IDYES ? Answer::Yes : Answer::No;
    case Buttons::RetryCancel:
        return answer == IDRETRY ? Answer::Retry : Answer::Cancel;
    }
    return Answer::Ok;
}
