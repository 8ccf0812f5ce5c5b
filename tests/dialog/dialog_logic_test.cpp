// The dialog logic against a face without a toolkit: start-up, the exchanges, the
// commands and their messages, the limit point procedure, closing, and the gate that
// keeps a second command from starting while one runs.

#include "fake_view.h"

#include "dialog/control_table.h"
#include "dialog/dialog_logic.h"
#include "dialog/menu_table.h"

#include "resources/text_catalogue.h"
#include "settings/packing.h"
#include "settings/scales.h"
#include "settings/settings_image.h"
#include "sim/sim_control.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

PortChoice simulatedAdapter(std::string library = VARNEL_SIM_PATH) {
    PortChoice port;
    port.driverLibrary = std::move(library);
    port.serialFallback = false;
    return port;
}

struct Dialog {
    explicit Dialog(PortChoice port = simulatedAdapter())
        : logic(view, services(std::move(port))) {}

    DialogServices services(PortChoice port) {
        DialogServices given;
        given.port = std::move(port);
        given.backupRoot = std::nullopt;
        given.sleep = [this](std::chrono::milliseconds pause) {
            pauses.push_back(pause);
            if (duringPause) {
                duringPause();
            }
        };
        return given;
    }

    FakeView view;
    std::vector<std::chrono::milliseconds> pauses;
    std::function<void()> duringPause; // on the step's thread
    DialogLogic logic;
};

// The program's paths are UTF-8 on every platform.
std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string message(int id) {
    return messageText(id);
}

class DialogLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        simReset();
        setTextLanguage(Language::Japanese);
    }
    void TearDown() override { setTextLanguage(Language::Japanese); }

    // Started and read: the state every command after start-up begins from.
    static void startAndRead(Dialog& dialog) {
        ASSERT_TRUE(dialog.logic.Start());
        dialog.logic.OnControl(ctl::readButton);
        ASSERT_EQ(dialog.view.boxTexts(), std::vector{localMessage(msg::connected)});
        dialog.view.boxes.clear();
        dialog.pauses.clear();
    }

    // A change the unit has not seen: the gain slider moved.
    static void changeGain(Dialog& dialog) {
        dialog.view.setSliderPosition(1031, dialog.view.sliderPosition(1031) + 7);
        dialog.logic.OnControl(1031);
    }

    static void startProcedure(Dialog& dialog) {
        dialog.view.setChecked(ctl::inputButton, true);
        dialog.logic.OnControl(ctl::inputButton);
        ASSERT_TRUE(dialog.logic.limitPointModeOn());
        ASSERT_EQ(dialog.view.text(ctl::guidance), message(msg::setLimitPoint1));
    }

    // What the window shows of the limit point mode.
    static std::string limitModeShown(const FakeView& view) {
        return "Input " + std::to_string(view.checked(ctl::inputButton)) + ", slider " +
               std::to_string(view.enabled(ctl::servoSlider)) + ", Set " +
               std::to_string(view.enabled(ctl::setButton)) + ", guidance \"" +
               view.text(ctl::guidance) + "\"";
    }
};

const std::string modeLeft = "Input 0, slider 0, Set 0, guidance \"\"";

TEST_F(DialogLogicTest, StartUpConnectsOrEndsWithTheMessageThatSaysWhy) {
    struct Case {
        const char* name;
        std::string library;
        int fault;
        bool started;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"adapter present", VARNEL_SIM_PATH, SIM_FAULT_NONE, true, {}},
        {"no driver library",
         "/nonexistent/libd2xx.so",
         SIM_FAULT_NONE,
         false,
         {message(msg::driverMissing)}},
        {"no adapter",
         VARNEL_SIM_PATH,
         SIM_FAULT_NO_ADAPTER,
         false,
         {message(msg::adapterMissing)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        simReset();
        simSetFault(c.fault, 0);
        Dialog dialog(simulatedAdapter(c.library));
        EXPECT_EQ(dialog.logic.Start(), c.started);
        EXPECT_EQ(dialog.view.boxTexts(), c.messages);
        // Before a Read nothing can be written, and the servo belongs to no one.
        for (int id : {ctl::writeButton, ctl::inputButton, ctl::servoSlider, ctl::setButton}) {
            EXPECT_FALSE(dialog.view.enabled(id)) << id;
        }
        EXPECT_TRUE(dialog.view.disabledMenuItems.contains(command::write));
        EXPECT_EQ(dialog.view.text(1053), message(msg::limitLabelUp));
        EXPECT_EQ(dialog.view.sliderPosition(ctl::servoSlider), servoSliderCentre);
        EXPECT_EQ(dialog.view.focused, ctl::firstChannel);
    }
}

TEST_F(DialogLogicTest, ReadAndWriteShowTheirOutcome) {
    struct Case {
        const char* name;
        int command;
        int fault;
        int message;
        DialogView::Icon icon;
    };
    const Case cases[] = {
        {"read", command::read, SIM_FAULT_NONE, msg::connected, DialogView::Icon::Information},
        {"read, silent unit", command::read, SIM_FAULT_NO_REPLY, msg::readError,
         DialogView::Icon::Error},
        {"write", command::write, SIM_FAULT_NONE, msg::written, DialogView::Icon::Information},
        {"write, stored differently", command::write, SIM_FAULT_STORE_DIFFERENTLY, msg::writeError,
         DialogView::Icon::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        simReset();
        Dialog dialog;
        startAndRead(dialog);
        simSetFault(c.fault, 10);
        dialog.logic.OnMenu(c.command);
        ASSERT_EQ(dialog.view.boxTexts(), std::vector{message(c.message)});
        EXPECT_EQ(dialog.view.boxes.front().icon, c.icon);
        // The wait cursor stands until the message has been answered, and goes.
        EXPECT_EQ(dialog.view.busyAtLastBox, 1);
        EXPECT_EQ(dialog.view.busyDepth, 0);
        EXPECT_TRUE(dialog.view.enabled(ctl::writeButton));
    }
}

TEST_F(DialogLogicTest, ReadShowsTheRecordEvenBeyondASlidersRange) {
    Dialog dialog;
    ASSERT_TRUE(dialog.logic.Start());
    SettingsImage image;
    simGetRecord(image.raw().data());
    image.setUnitId(10775);
    image.setPoleNumber(1); // below its slider's range
    simSetRecord(image.raw().data());

    dialog.logic.OnMenu(command::read);

    EXPECT_EQ(dialog.view.text(ctl::unitId), "10775");
    EXPECT_EQ(dialog.view.text(1043), "1");
    EXPECT_EQ(dialog.view.sliderPosition(1069), dialog.view.sliders[1069].minimum);
    EXPECT_EQ(dialog.logic.kelvo().workingImage.poleNumber(), 1);
    EXPECT_FALSE(dialog.view.disabledMenuItems.contains(command::write));
}

TEST_F(DialogLogicTest, SaveStopsAtAnEditThatDoesNotParse) {
    struct Case {
        int id;
        const char* text;
        const char* complaint;
    };
    const Case cases[] = {
        {ctl::unitId, "x", "Enter a positive integer."},
        {ctl::unitId, "-1", "Enter a positive integer."},
        {ctl::unitId, "65536", "Enter an integer between 0 and 65535."},
        {1035, "1.5", "Enter an integer."},
        {1035, "", "Enter an integer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Dialog dialog;
        ASSERT_TRUE(dialog.logic.Start());
        dialog.view.setText(1067, "77");
        dialog.view.setText(c.id, c.text);
        EXPECT_FALSE(dialog.logic.Save());
        EXPECT_EQ(dialog.view.boxTexts(), std::vector<std::string>{c.complaint});
        EXPECT_EQ(dialog.view.boxes.front().icon, DialogView::Icon::Warning);
        EXPECT_EQ(dialog.view.focused, c.id);
        // The exchange stopped there: a later control was not read.
        EXPECT_EQ(dialog.logic.values().panel.governorOnRpm, 0);
    }
    Dialog dialog;
    ASSERT_TRUE(dialog.logic.Start());
    dialog.view.setText(ctl::unitId, " +65535 ");
    EXPECT_TRUE(dialog.logic.Save());
    EXPECT_EQ(dialog.logic.values().panel.unitId, 65535U);
}

TEST_F(DialogLogicTest, ControlRulesCollectWhatTheUserChanged) {
    Dialog dialog;
    startAndRead(dialog);
    // A radio button: the mode is packed into the working image.
    const int otherSwitch = 1 - dialog.view.radioChoice(1012);
    dialog.view.setRadioChoice(1012, otherSwitch);
    dialog.logic.OnControl(otherSwitch == 1 ? 1013 : 1012);
    EXPECT_EQ(dialog.logic.values().panel.governorSwitch, otherSwitch);
    EXPECT_EQ(dialog.logic.unitSession().closeQuestion(), CloseQuestion::OfferWrite);
    // A control response preset brings its own gain; the slider follows.
    const ControlResponsePreset& quick = controlResponsePresets.at(2);
    dialog.view.setRadioChoice(1014, 2);
    dialog.logic.OnControl(1016);
    EXPECT_EQ(dialog.logic.values().panel.governorGain, quick.governorGain);
    EXPECT_EQ(dialog.view.text(1030), std::to_string(quick.governorGain));
    // A slider's scroll reaches its edit and the image.
    dialog.view.setSliderPosition(1031, 55);
    dialog.logic.OnControl(1031);
    EXPECT_EQ(dialog.view.text(1030), "55");
    EXPECT_EQ(dialog.logic.kelvo().workingImage.governorGain(), 55);
    // A channel choice.
    dialog.view.setComboIndex(3000, 5);
    dialog.logic.OnControl(3000);
    EXPECT_EQ(dialog.logic.values().panel.channelMap[0], 5);
}

// While a step talks to the unit, nothing the user does starts anything: clicks and
// menu commands are dropped, a slider moved by a screen reader goes back.
TEST_F(DialogLogicTest, NothingStartsWhileADeviceStepRuns) {
    Dialog dialog;
    startAndRead(dialog);
    const int gainBefore = dialog.view.sliderPosition(1031);
    int stepsDuringCommand = -1;
    dialog.view.duringStep = [&] {
        dialog.view.duringStep = nullptr;
        const int steps = dialog.view.steps;
        dialog.logic.OnControl(ctl::writeButton);
        dialog.logic.OnMenu(command::read);
        dialog.logic.OnMenu(command::initialize);
        dialog.view.setSliderPosition(1031, gainBefore + 10);
        dialog.logic.OnControl(1031);
        EXPECT_FALSE(dialog.logic.Admit());
        stepsDuringCommand = dialog.view.steps - steps;
    };
    dialog.logic.OnControl(ctl::readButton);

    EXPECT_EQ(stepsDuringCommand, 0);
    EXPECT_EQ(dialog.view.boxTexts(), std::vector{message(msg::connected)});
    EXPECT_EQ(dialog.view.sliderPosition(1031), gainBefore);
    EXPECT_TRUE(dialog.logic.Admit());
}

TEST_F(DialogLogicTest, BothLimitPointsAreStored) {
    Dialog dialog;
    startAndRead(dialog);
    startProcedure(dialog);
    EXPECT_TRUE(dialog.view.ticking);
    EXPECT_TRUE(dialog.view.enabled(ctl::servoSlider));
    for (const auto& [position, guidance] :
         {std::pair{1500, msg::setLimitPoint2}, std::pair{600, msg::pressWrite}}) {
        dialog.view.setSliderPosition(ctl::servoSlider, position);
        dialog.logic.OnControl(ctl::servoSlider);
        dialog.logic.OnControl(ctl::setButton);
        EXPECT_EQ(dialog.view.text(ctl::guidance), message(guidance));
    }
    EXPECT_EQ(dialog.view.beeps, 2);
    EXPECT_TRUE(dialog.view.boxes.empty());
    EXPECT_FALSE(dialog.logic.limitPointModeOn());
    EXPECT_FALSE(dialog.view.ticking);
    EXPECT_EQ(dialog.view.sliderPosition(ctl::servoSlider), servoSliderCentre);
    EXPECT_NE(dialog.view.text(1054), "0");
}

TEST_F(DialogLogicTest, CancelRefusalAndDroppedFramesEndTheProcedure) {
    struct Case {
        const char* name;
        std::function<void(Dialog&)> act;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"cancel",
         [](Dialog& dialog) {
             dialog.view.setChecked(ctl::inputButton, false);
             dialog.logic.OnControl(ctl::inputButton);
         },
         {message(msg::limitCancelled)}},
        {"point in the centre band",
         [](Dialog& dialog) { dialog.logic.OnControl(ctl::setButton); },
         {message(msg::outOfRange)}},
        {"frames dropped",
         [](Dialog& dialog) {
             simSetFault(SIM_FAULT_WRITE, 0);
             for (int i = 0; i < 100 && !dialog.logic.limitPoints().framesDropped(); ++i) {
                 std::this_thread::sleep_for(10ms);
             }
             simSetFault(SIM_FAULT_NONE, 0);
             dialog.logic.Tick();
         },
         {message(msg::adapterFault)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        simReset();
        Dialog dialog;
        startAndRead(dialog);
        const SettingsImage before = dialog.logic.kelvo().workingImage;
        startProcedure(dialog);
        c.act(dialog);
        EXPECT_EQ(dialog.view.boxTexts(), c.messages);
        EXPECT_EQ(limitModeShown(dialog.view), modeLeft);
        EXPECT_FALSE(dialog.logic.limitPointModeOn());
        EXPECT_FALSE(dialog.view.ticking);
        EXPECT_EQ(simServoDriveOn(), 0);
        EXPECT_EQ(dialog.logic.kelvo().workingImage, before);
    }
}

// A Read or a Write that ends the procedure shows the mode left before it talks to the
// unit, not once it is over.
TEST_F(DialogLogicTest, ReadOrWriteLeavesTheModeBeforeItRuns) {
    for (int button : {ctl::readButton, ctl::writeButton}) {
        SCOPED_TRACE(button);
        simReset();
        Dialog dialog;
        startAndRead(dialog);
        startProcedure(dialog);
        std::string shownDuringCommand;
        dialog.view.duringStep = [&] { shownDuringCommand = limitModeShown(dialog.view); };
        dialog.logic.OnControl(button);
        EXPECT_EQ(shownDuringCommand, modeLeft);
        EXPECT_EQ(limitModeShown(dialog.view), modeLeft);
        EXPECT_EQ(simServoDriveOn(), 0);
    }
}

TEST_F(DialogLogicTest, CloseAsksWhatUnwrittenChangesNeed) {
    struct Case {
        const char* name;
        bool read;
        bool changed;
        std::deque<DialogView::Answer> answers;
        std::vector<std::string> messages;
        bool closes;
    };
    using A = DialogView::Answer;
    const Case cases[] = {
        {"nothing read", false, false, {}, {}, true},
        {"read, unchanged", true, false, {}, {}, true},
        {"changed, not written", true, true, {A::No}, {message(msg::writeBeforeExit)}, true},
        {"changed, written",
         true,
         true,
         {A::Yes},
         {message(msg::writeBeforeExit), message(msg::written)},
         true},
        {"changed before any read", false, true, {}, {message(msg::changesDiscarded)}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        simReset();
        Dialog dialog;
        if (c.read) {
            startAndRead(dialog);
        } else {
            ASSERT_TRUE(dialog.logic.Start());
        }
        if (c.changed) {
            changeGain(dialog);
        }
        dialog.view.answers = c.answers;
        EXPECT_EQ(dialog.logic.CancelClose(), c.closes);
        EXPECT_EQ(dialog.view.boxTexts(), c.messages);
    }
    // A failed write keeps the dialog open.
    simReset();
    Dialog dialog;
    startAndRead(dialog);
    changeGain(dialog);
    simSetFault(SIM_FAULT_NO_REPLY, 0);
    dialog.view.answers = {DialogView::Answer::Yes};
    EXPECT_FALSE(dialog.logic.OkClose());
    EXPECT_EQ(dialog.view.boxTexts(),
              (std::vector{message(msg::writeBeforeExit), message(msg::writeError)}));
}

TEST_F(DialogLogicTest, FileCommandsOpenSaveAndAskBeforeOverwriting) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "varnel-dialog-logic-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path filePath = folder / std::filesystem::path(u8"機体.gvx");
    const std::string file = utf8(filePath);

    Dialog dialog;
    startAndRead(dialog);
    // Save without a name asks for one.
    dialog.view.fileNames = {file};
    dialog.logic.OnMenu(command::save);
    EXPECT_EQ(dialog.logic.filePath(), file);
    EXPECT_TRUE(dialog.view.boxes.empty());
    // Save As onto it asks first; No keeps the file.
    const auto size = std::filesystem::file_size(filePath);
    dialog.view.fileNames = {file};
    dialog.logic.OnMenu(command::saveAs);
    EXPECT_EQ(dialog.view.boxTexts(), std::vector{localOverwriteQuestion("機体.gvx")});
    EXPECT_EQ(dialog.view.boxes.front().icon, DialogView::Icon::Warning);
    EXPECT_EQ(std::filesystem::file_size(filePath), size);
    dialog.view.boxes.clear();

    // Open shows what the file holds; a foreign file is refused.
    dialog.view.answers = {DialogView::Answer::Yes};
    dialog.logic.OnMenu(command::initialize);
    const SettingsImage factory = dialog.logic.kelvo().workingImage;
    dialog.view.fileNames = {file};
    dialog.logic.OnMenu(command::open);
    EXPECT_NE(dialog.logic.kelvo().workingImage, factory);
    std::ofstream(folder / "foreign.gvx", std::ios::binary) << std::string(85, '\x01');
    dialog.view.boxes.clear();
    dialog.view.fileNames = {utf8(folder / "foreign.gvx"), utf8(folder / "missing.gvx")};
    dialog.logic.OnMenu(command::open);
    dialog.logic.OnMenu(command::open);
    EXPECT_EQ(dialog.view.boxTexts(),
              (std::vector{message(msg::foreignModel), message(msg::fileReadError)}));
    EXPECT_EQ(dialog.logic.filePath(), file);
    std::filesystem::remove_all(folder);
}

TEST_F(DialogLogicTest, EnglishTextsReachTheView) {
    setTextLanguage(Language::English);
    Dialog dialog;
    startAndRead(dialog);
    EXPECT_EQ(dialog.view.text(1053), "High");
    dialog.view.setText(1035, "x");
    EXPECT_FALSE(dialog.logic.Save());
    EXPECT_EQ(dialog.view.boxTexts(), std::vector<std::string>{"Enter an integer."});
}

} // namespace
