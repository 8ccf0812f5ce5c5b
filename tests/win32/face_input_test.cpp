// The keyboard and the mouse on the Win32 face: input refused while a device step runs,
// the accelerators, Enter and Escape.

#include "face_harness.h"

#include "dialog/menu_table.h"
#include "win32/menu_resources.h"
#include "win32/version_box.h"

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

class FaceInputTest : public FaceTest {
protected:
    // A key with Ctrl held or not, as the keyboard delivers it to the focused control.
    static void pressKey(HWND target, WPARAM key, bool ctrl = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }
    void TearDown() override {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        FaceTest::TearDown();
    }
};

TEST_F(FaceInputTest, NothingStartsFromInputGivenWhileTheAdapterWorks) {
    FaceHarness face;
    face.readUnit();
    const SettingsImage unitBefore = unitImage();
    const int radioBefore = face.dialog->radioChoice(1012);
    std::atomic<bool> given = false;
    face.duringPause = [&](std::chrono::milliseconds) {
        if (given.exchange(true)) {
            return;
        }
        // The mouse on Write, keys and an accelerator through the queue...
        HWND write = face.at(ctl::writeButton);
        PostMessageW(write, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(write, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PostMessageW(face.at(3000), WM_KEYDOWN, VK_DOWN, 1);
        PostMessageW(face.window, WM_KEYDOWN, 'W', 1);
        PostMessageW(face.window, WM_CLOSE, 0, 0);
        // ...and a screen reader's actions, which Windows sends past the queue.
        SendMessageW(write, BM_CLICK, 0, 0);
        SendMessageW(face.at(1013), BM_CLICK, 0, 0);
        SendMessageW(face.window, WM_COMMAND, MAKEWPARAM(command::write, 0), 0);
    };
    face.click(ctl::readButton);
    face.pump();
    EXPECT_TRUE(given);
    EXPECT_EQ(face.prompter.texts(),
              (std::vector{message(msg::connected), message(msg::connected)}));
    EXPECT_FALSE(face.dialog->closed());
    EXPECT_EQ(unitImage(), unitBefore);
    EXPECT_EQ(face.dialog->radioChoice(1012), radioBefore);
    EXPECT_EQ(face.dialog->comboIndex(3000), unitBefore.channelMap(0));
}

TEST_F(FaceInputTest, AcceleratorsRunTheirCommandsUnlessTheirItemIsGrayed) {
    FaceHarness face;
    pressKey(GetFocus(), 'W', true); // Write is grayed before a Read
    face.pump();
    EXPECT_TRUE(face.prompter.boxes.empty());
    pressKey(GetFocus(), 'R', true);
    ASSERT_TRUE(face.pumpUntil([&] { return face.prompter.boxes.size() == 1; }));
    EXPECT_EQ(face.prompter.texts().back(), message(msg::connected));
    pressKey(GetFocus(), 'W', true);
    ASSERT_TRUE(face.pumpUntil([&] { return face.prompter.boxes.size() == 2; }));
    EXPECT_EQ(face.prompter.texts().back(), message(msg::written));
    for (const WPARAM key : {'O', 'S'}) {
        const int before = face.prompter.fileRequests;
        pressKey(GetFocus(), key, true);
        EXPECT_TRUE(face.pumpUntil([&] { return face.prompter.fileRequests == before + 1; }));
    }
}

TEST_F(FaceInputTest, EnterOnTheInputButtonClosesTheWayOkDoes) {
    FaceHarness face;
    face.readUnit();
    face.dialog->focus(ctl::inputButton);
    ASSERT_EQ(GetFocus(), face.at(ctl::inputButton));
    pressKey(GetFocus(), VK_RETURN);
    EXPECT_TRUE(face.pumpUntil([&] { return face.dialog->closed(); }));
    EXPECT_EQ(face.prompter.texts(), std::vector{message(msg::connected)});
    EXPECT_EQ(simServoDriveOn(), 0);
}

TEST_F(FaceInputTest, EnterOnAPushButtonPressesItAndEscapeCloses) {
    FaceHarness face;
    face.dialog->focus(ctl::readButton);
    pressKey(GetFocus(), VK_RETURN);
    ASSERT_TRUE(face.pumpUntil([&] { return face.prompter.boxes.size() == 1; }));
    EXPECT_EQ(face.prompter.texts().back(), message(msg::connected));
    EXPECT_FALSE(face.dialog->closed());
    pressKey(GetFocus(), VK_ESCAPE);
    EXPECT_TRUE(face.pumpUntil([&] { return face.dialog->closed(); }));
}

} // namespace

namespace {

// The version box, from the Help menu and from the system menu: the same box, closed by
// its OK button. The box is modal, so the user answering it is another thread.
TEST_F(FaceInputTest, BothVersionItemsOpenTheVersionBox) {
    FaceHarness face;
    const std::wstring caption = versionBoxCaption();
    for (const auto& [message, command] : {std::pair<UINT, WPARAM>{WM_COMMAND, command::about},
                                           {WM_SYSCOMMAND, systemAboutCommand}}) {
        std::atomic<bool> answered = false;
        HWND owner = nullptr;
        std::thread user([&] {
            HWND box = nullptr;
            ::pumpUntil([&] { return (box = findDialog(caption.c_str())) != nullptr; });
            if (box != nullptr) {
                owner = GetWindow(box, GW_OWNER);
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            answered = true;
        });
        PostMessageW(face.window, message, command, 0);
        EXPECT_TRUE(face.pumpUntil([&] { return answered.load(); }));
        user.join();
        EXPECT_EQ(owner, face.window);
        EXPECT_TRUE(face.pumpUntil([&] { return findDialog(caption.c_str()) == nullptr; }));
    }
    EXPECT_FALSE(face.dialog->closed());
}

} // namespace
