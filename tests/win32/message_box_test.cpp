#include "ui_wait.h"

#include "win32/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

TEST(Win32MessageBox, EachKindCarriesItsIconAndButtons) {
    struct Case {
        DialogView::Icon icon;
        DialogView::Buttons buttons;
        UINT style;
    };
    const Case cases[] = {
        {DialogView::Icon::Error, DialogView::Buttons::Ok, MB_ICONERROR | MB_OK},
        {DialogView::Icon::Information, DialogView::Buttons::Ok, MB_ICONINFORMATION | MB_OK},
        {DialogView::Icon::Warning, DialogView::Buttons::Ok, MB_ICONWARNING | MB_OK},
        {DialogView::Icon::Question, DialogView::Buttons::YesNo, MB_ICONQUESTION | MB_YESNO},
        {DialogView::Icon::Warning, DialogView::Buttons::YesNo, MB_ICONWARNING | MB_YESNO},
        {DialogView::Icon::Error, DialogView::Buttons::RetryCancel, MB_ICONERROR | MB_RETRYCANCEL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(messageBoxStyle(c.icon, c.buttons), c.style);
    }
}

// A real box: its caption, its text in UTF-8 and the answer the user gives.
TEST(Win32MessageBox, ShowsTheTextUnderTheProgramsNameAndReturnsTheAnswer) {
    for (const int button : {IDYES, IDNO}) {
        std::wstring seen;
        std::thread user([&] {
            HWND box = nullptr;
            pumpUntil([&] { return (box = findDialog(L"Varnel")) != nullptr; });
            if (box == nullptr) {
                return;
            }
            wchar_t text[256] = {};
            // The text is the static control 0xFFFF of the box.
            GetDlgItemTextW(box, 0xFFFF, text, 256);
            seen = text;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        });
        const DialogView::Answer answer =
            showMessageBox(nullptr, "データの変更を破棄しますか?", DialogView::Icon::Question,
                           DialogView::Buttons::YesNo);
        user.join();
        EXPECT_EQ(seen, L"データの変更を破棄しますか?");
        EXPECT_EQ(answer, button == IDYES ? DialogView::Answer::Yes : DialogView::Answer::No);
    }
}

} // namespace
