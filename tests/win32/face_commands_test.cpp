// The commands through the Win32 face against the simulated unit: start-up, Read,
// Write, the limit point procedure, the file commands and closing.

#include "face_harness.h"

#include "dialog/menu_table.h"

#include <filesystem>
#include <fstream>

using namespace std::chrono_literals;

namespace {

using Answer = DialogView::Answer;
using Icon = DialogView::Icon;

class FaceCommandsTest : public FaceTest {};

TEST_F(FaceCommandsTest, StartUpWithoutTheDriverOrTheAdapterSaysWhyAndCloses) {
    {
        FaceHarness face("C:\\no such folder\\ftd2xx.dll");
        EXPECT_EQ(face.prompter.texts(), std::vector{message(msg::driverMissing)});
        EXPECT_EQ(face.prompter.boxes.front().icon, Icon::Error);
        EXPECT_TRUE(face.dialog->closed());
        EXPECT_FALSE(IsWindow(face.window));
    }
    simSetFault(SIM_FAULT_NO_ADAPTER, 0);
    FaceHarness face;
    EXPECT_EQ(face.prompter.texts(), std::vector{message(msg::adapterMissing)});
    EXPECT_EQ(face.prompter.boxes.front().buttons, DialogView::Buttons::RetryCancel);
    EXPECT_TRUE(face.dialog->closed());
}

// A unit whose record differs from the factory one in values the dialog shows.
SettingsImage distinctiveUnit() {
    SettingsImage image = unitImage();
    image.setTargetRpm(0, 2345);
    image.setGovernorGain(77);
    image.setLimitPoint1(5616);
    image.setLimitPoint2(4016);
    simSetRecord(image.raw().data());
    return image;
}

TEST_F(FaceCommandsTest, ReadShowsTheRecordWithTheWaitCursorUpUntilItsMessage) {
    for (const bool byMenu : {false, true}) {
        simReset();
        const SettingsImage unit = distinctiveUnit();
        FaceHarness face;
        if (byMenu) {
            face.command(command::read);
        } else {
            face.click(ctl::readButton);
        }
        ASSERT_EQ(face.prompter.texts(), std::vector{message(msg::connected)});
        EXPECT_EQ(face.prompter.boxes.front().icon, Icon::Information);
        EXPECT_TRUE(face.prompter.boxes.front().waitCursor);
        EXPECT_FALSE(waitCursorShown());
        EXPECT_EQ(face.pauses, std::vector{1500ms});
        EXPECT_EQ(face.text(1001), std::to_string(unit.unitId()));
        EXPECT_EQ(face.text(1018), "2345");
        EXPECT_EQ(face.slider(1046), 2345);
        EXPECT_EQ(face.text(1030), "77");
        EXPECT_EQ(face.text(1054), "56");
        EXPECT_EQ(face.text(1056), "63");
        EXPECT_TRUE(face.enabled(ctl::writeButton));
        EXPECT_TRUE(face.enabled(ctl::inputButton));
        EXPECT_EQ(GetMenuState(GetMenu(face.window), command::write, MF_BYCOMMAND) & MF_GRAYED, 0U);
    }
}

TEST_F(FaceCommandsTest, AValueBeyondItsSlidersRangeShowsInItsEditWithTheSliderAtTheEnd) {
    SettingsImage image = unitImage();
    image.setGovernorGain(250); // the gain slider ends at 100
    simSetRecord(image.raw().data());
    FaceHarness face;
    face.readUnit();
    EXPECT_EQ(face.text(1030), "250");
    EXPECT_EQ(face.slider(1031), SendMessageW(face.at(1031), TBM_GETRANGEMAX, 0, 0));
}

TEST_F(FaceCommandsTest, WriteSendsWhatTheDialogShowsAndVerifiesIt) {
    FaceHarness face;
    face.readUnit();
    face.drag(1046, 3210);
    face.click(1016); // the "Quick" preset
    face.drag(1031, 85);
    face.pauses.clear();
    face.click(ctl::writeButton);
    ASSERT_EQ(face.prompter.texts(), (std::vector{message(msg::connected), message(msg::written)}));
    EXPECT_EQ(face.prompter.boxes.back().icon, Icon::Information);
    EXPECT_EQ(face.pauses.size(), 10U); // nine blocks 100 ms apart, then 500 ms
    EXPECT_EQ(face.pauses.back(), 500ms);
    const SettingsImage unit = unitImage();
    EXPECT_EQ(unit.targetRpm(0), 3210);
    EXPECT_EQ(unit.governorGain(), 85);
    EXPECT_EQ(unit.controlResponse(), 2);
    EXPECT_EQ(face.text(1018), "3210");

    // A unit that stores a byte differently fails the verification.
    simSetFault(SIM_FAULT_STORE_DIFFERENTLY, 40);
    face.click(ctl::writeButton);
    EXPECT_EQ(face.prompter.texts().back(), message(msg::writeError));
    EXPECT_EQ(face.prompter.boxes.back().icon, Icon::Error);
    EXPECT_EQ(face.text(1018), "3210");
}

class LimitPointsTest : public FaceTest {
protected:
    void startProcedure(FaceHarness& face) {
        face.readUnit();
        face.click(ctl::inputButton);
        ASSERT_TRUE(face.checked(ctl::inputButton));
        ASSERT_EQ(face.text(ctl::guidance), message(msg::setLimitPoint1));
        ASSERT_TRUE(face.enabled(ctl::servoSlider));
        ASSERT_TRUE(face.enabled(ctl::setButton));
    }
};

TEST_F(LimitPointsTest, BothPointsAreStoredHigherFirst) {
    FaceHarness face;
    startProcedure(face);
    face.drag(ctl::servoSlider, 600);
    EXPECT_TRUE(face.pumpUntil([] {
        SimServoFrame frame{};
        const std::size_t count = simServoFrameCount();
        return count > 0 && simGetServoFrame(count - 1, &frame) && frame.channels[2] == 600;
    }));
    face.click(ctl::setButton);
    EXPECT_EQ(face.text(ctl::guidance), message(msg::setLimitPoint2));
    face.drag(ctl::servoSlider, 1400);
    face.click(ctl::setButton);
    EXPECT_EQ(face.text(ctl::guidance), message(msg::pressWrite));
    EXPECT_FALSE(face.checked(ctl::inputButton));
    EXPECT_FALSE(face.enabled(ctl::servoSlider));
    EXPECT_EQ(face.slider(ctl::servoSlider), 1024);
    EXPECT_EQ(face.dialog->logic().kelvo().workingImage.limitPoint1(), 5616);
    EXPECT_EQ(face.dialog->logic().kelvo().workingImage.limitPoint2(), 4016);
    EXPECT_EQ(face.text(1054), "56");
    EXPECT_EQ(face.text(1056), "63");
    EXPECT_EQ(face.prompter.texts(), std::vector{message(msg::connected)});
}

TEST_F(LimitPointsTest, ReleasingInputCancels) {
    FaceHarness face;
    startProcedure(face);
    const SettingsImage before = face.dialog->logic().kelvo().workingImage;
    face.drag(ctl::servoSlider, 1500);
    face.click(ctl::inputButton);
    EXPECT_EQ(face.prompter.texts().back(), message(msg::limitCancelled));
    EXPECT_EQ(face.prompter.boxes.back().icon, Icon::Warning);
    EXPECT_FALSE(face.checked(ctl::inputButton));
    EXPECT_FALSE(face.enabled(ctl::setButton));
    EXPECT_EQ(face.text(1057), "0");
    EXPECT_EQ(face.text(ctl::guidance), "");
    EXPECT_EQ(simServoDriveOn(), 0);
    EXPECT_EQ(face.dialog->logic().kelvo().workingImage, before);
}

TEST_F(LimitPointsTest, DroppedFramesEndTheProcedureWithTheAdaptersMessage) {
    FaceHarness face;
    startProcedure(face);
    simSetFault(SIM_FAULT_WRITE, 0);
    ASSERT_TRUE(face.pumpUntil([&] {
        return face.dialog->logic().limitPoints().framesDropped() || face.prompter.boxes.size() > 1;
    }));
    simSetFault(SIM_FAULT_NONE, 0);
    face.click(ctl::setButton);
    face.pumpUntil([&] { return face.prompter.boxes.size() > 1; }, 2s);
    EXPECT_EQ(face.prompter.texts(),
              (std::vector{message(msg::connected), message(msg::adapterFault)}));
    EXPECT_FALSE(face.checked(ctl::inputButton));
    EXPECT_FALSE(face.enabled(ctl::servoSlider));
}

class FileAndCloseTest : public FaceTest {
protected:
    std::filesystem::path folder = std::filesystem::temp_directory_path() / L"varnel-face-テスト";
    void SetUp() override {
        FaceTest::SetUp();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        FaceTest::TearDown();
    }
    std::string file(const wchar_t* name) const { return narrow((folder / name).wstring()); }
};

TEST_F(FileAndCloseTest, SaveAsThenOpenBringsTheSettingsBack) {
    FaceHarness face;
    face.readUnit();
    face.drag(1046, 2800);
    face.prompter.files.push_back(file(L"設定.gvx"));
    face.command(command::saveAs);
    EXPECT_EQ(std::filesystem::file_size(folder / L"設定.gvx"), 85U);
    face.drag(1046, 1500);
    face.prompter.files.push_back(file(L"設定.gvx"));
    face.command(command::open);
    EXPECT_EQ(face.text(1018), "2800");
    EXPECT_EQ(face.slider(1046), 2800);
    EXPECT_EQ(face.prompter.texts(), std::vector{message(msg::connected)});

    // The close question: Yes writes before the window goes.
    face.prompter.answers.push_back(Answer::Yes);
    SendMessageW(face.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(face.prompter.texts(),
              (std::vector{message(msg::connected), message(msg::writeBeforeExit),
                           message(msg::written)}));
    EXPECT_EQ(face.prompter.boxes[1].icon, Icon::Question);
    EXPECT_TRUE(face.dialog->closed());
    EXPECT_EQ(unitImage().targetRpm(0), 2800);
}

TEST_F(FileAndCloseTest, ChangesWithoutAReadAreDiscardedOnClose) {
    SettingsImage changed;
    changed.raw() = unitImage().raw();
    changed.setTargetRpm(0, 2600);
    {
        std::ofstream out(folder / L"other.gvx", std::ios::binary);
        out.write(reinterpret_cast<const char*>(changed.raw().data()), 85);
    }
    FaceHarness face;
    face.prompter.files.push_back(file(L"other.gvx"));
    face.command(command::open);
    EXPECT_EQ(face.text(1018), "2600");
    face.command(command::exit);
    EXPECT_EQ(face.prompter.texts(), std::vector{message(msg::changesDiscarded)});
    EXPECT_EQ(face.prompter.boxes.back().icon, Icon::Warning);
    EXPECT_TRUE(face.dialog->closed());
}

} // namespace
