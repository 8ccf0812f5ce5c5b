#include "ui_wait.h"

#include "win32/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

TEST(Win32MessageBox, EachKindCarriesItsIconAndButtons) {
    struct Case {
        BoxIcon icon;
        BoxButtons buttons;
        UINT style;
    };
    const Case cases[] = {
        {BoxIcon::Error, BoxButtons::Ok, MB_ICONERROR | MB_OK},
        {BoxIcon::Information, BoxButtons::Ok, MB_ICONINFORMATION | MB_OK},
        {BoxIcon::Warning, BoxButtons::Ok, MB_ICONWARNING | MB_OK},
        {BoxIcon::Question, BoxButtons::YesNo, MB_ICONQUESTION | MB_YESNO},
        {BoxIcon::Warning, BoxButtons::YesNo, MB_ICONWARNING | MB_YESNO},
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
        const BoxAnswer answer = showMessageBox(nullptr, "データの変更を破棄しますか?",
                                                BoxIcon::Question, BoxButtons::YesNo);
        user.join();
        EXPECT_EQ(seen, L"データの変更を破棄しますか?");
        EXPECT_EQ(answer, button == IDYES ? BoxAnswer::Yes : BoxAnswer::No);
    }
}

} // namespace
