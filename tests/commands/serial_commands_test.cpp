// The commands over the tty port, end to end with the simulated unit on a
// pseudo-terminal; and the choice of the port at start-up.

#include "commands/connect.h"
#include "commands/limit_point_procedure.h"
#include "commands/port_options.h"
#include "commands/unit_commands.h"
#include "device/com_device.h"
#include "device/kelvo.h"
#include "device/serial/serial_port.h"
#include "device/servo_frame.h"
#include "resources/string_table.h"
#include "settings/factory_defaults.h"
#include "sim/pty_unit.h"
#include "sim/sim_control.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// Pauses halved: the echo of what went out must be back before the next read purges
// the line, as with the real pauses on the real line. Shorter pauses than that let a
// loaded machine (or a sanitizer build) deliver the echo after the purge.
void shortPause(std::chrono::milliseconds pause) {
    std::this_thread::sleep_for(pause / 2);
}

class SerialCommands : public ::testing::Test {
protected:
    void SetUp() override {
        unit.start();
        port.open();
    }

    sim::PtyUnit unit;
    SerialPort port{unit.slavePath(), 300ms};
    Kelvo kelvo{&port, shortPause};
};

TEST_F(SerialCommands, ReadThenWriteWithItsReadBack) {
    const auto read = readFromUnit(kelvo, port, shortPause);
    ASSERT_EQ(read.message, msg::connected);
    const sim::Record record = unit.record();
    EXPECT_TRUE(
        std::equal(record.begin() + 1, record.begin() + 84, kelvo.workingImage.raw().begin() + 1));

    kelvo.workingImage.raw()[30] ^= 0x21;
    kelvo.workingImage.raw()[77] ^= 0x10;
    EXPECT_EQ(writeToUnit(kelvo, false, shortPause).message, msg::written);
    EXPECT_EQ(unit.record()[30], kelvo.workingImage.raw()[30]);
    EXPECT_EQ(unit.record()[77], kelvo.workingImage.raw()[77]);
}

TEST_F(SerialCommands, FaultsOfTheLineAndTheUnitGetTheCommandsMessages) {
    struct Case {
        int fault;
        int argument;
        bool readCommand;
        int message;
    };
    const Case cases[] = {
        {SIM_FAULT_NO_REPLY, 0, true, msg::readError},
        {SIM_FAULT_WRONG_MARKER, 0, true, msg::readError},
        {SIM_FAULT_BAD_CHECKSUM, 0, false, msg::writeError},
        {SIM_FAULT_FOREIGN_MODEL, 0, true, msg::foreignModel},
        {SIM_FAULT_SHORT_REPLY, 50, false, msg::writeError},
        {SIM_FAULT_STORE_DIFFERENTLY, 40, false, msg::writeError},
        {SIM_FAULT_WRONG_LINE, 0, true, msg::readError},
    };
    ASSERT_TRUE(readFromUnit(kelvo, port, shortPause).succeeded);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        unit.setFault(c.fault, c.argument);
        const auto result = c.readCommand ? readFromUnit(kelvo, port, shortPause)
                                          : writeToUnit(kelvo, false, shortPause);
        EXPECT_EQ(result.message, c.message);
        unit.setFault(SIM_FAULT_NONE, 0);
    }
}

TEST_F(SerialCommands, UnplugDuringWriteIsAWriteErrorAndKeepsTheWorkingImage) {
    ASSERT_TRUE(readFromUnit(kelvo, port, shortPause).succeeded);
    kelvo.workingImage.raw()[50] ^= 0x01;
    const SettingsImage edited = kelvo.workingImage;
    const sim::Record before = unit.record();
    int pauses = 0;
    Kelvo unplugging(&port, [&](std::chrono::milliseconds) {
        if (++pauses == 3) {
            unit.unplug();
        }
    });
    unplugging.workingImage = edited;
    EXPECT_EQ(writeToUnit(unplugging, false, shortPause).message, msg::writeError);
    EXPECT_EQ(unplugging.workingImage, edited);
    EXPECT_EQ(unit.record(), before) << "no end-of-write frame reached the unit";
}

TEST_F(SerialCommands, LimitPointProcedureDrivesTheServoOverTheLine) {
    ASSERT_TRUE(readFromUnit(kelvo, port, shortPause).succeeded);
    LimitPointProcedure procedure(kelvo, shortPause, [this] { sendServoFrameThrough(port); });
    procedure.start(1024);
    const auto awaitFrames = [this](std::size_t count) {
        for (int i = 0; i < 100 && unit.servoFrames().size() < count; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return unit.servoFrames();
    };
    EXPECT_EQ(awaitFrames(2).back().channels[2], 1024);
    EXPECT_TRUE(unit.servoDriveOn());

    ChannelValues[2] = 1900;
    const std::size_t seen = unit.servoFrames().size();
    EXPECT_EQ(awaitFrames(seen + 2).back().channels[2], 1900);
    EXPECT_EQ(procedure.set(1900, kelvo.workingImage),
              LimitPointProcedure::SetOutcome::FirstPointTaken);
    ChannelValues[2] = 200;
    EXPECT_EQ(awaitFrames(unit.servoFrames().size() + 2).back().channels[2], 200);
    EXPECT_EQ(procedure.set(200, kelvo.workingImage), LimitPointProcedure::SetOutcome::Stored);
    EXPECT_FALSE(procedure.framesRunning());
    EXPECT_FALSE(procedure.framesDropped());

    // The points travel to the unit with the next Write.
    EXPECT_EQ(writeToUnit(kelvo, false, shortPause).message, msg::written);
    EXPECT_FALSE(unit.servoDriveOn());
    EXPECT_TRUE(std::equal(kelvo.workingImage.raw().begin() + 6,
                           kelvo.workingImage.raw().begin() + 84, unit.record().begin() + 6));
}

// A tree shaped like the kernel's, with one FTDI tty whose device node is the
// pseudo-terminal.
class FakeAdapterTree {
public:
    explicit FakeAdapterTree(const std::string& devicePath, const char* vendor = "0403")
        : root(fs::temp_directory_path() / ("varnel-ports-" + std::to_string(getpid()))) {
        fs::remove_all(root);
        const fs::path usb = root / "devices/usb1/1-1";
        fs::create_directories(usb / "1-1:1.0/ttyUSB0");
        std::ofstream(usb / "idVendor") << vendor << "\n";
        std::ofstream(usb / "idProduct") << "6001\n";
        fs::create_directories(root / "class/tty/ttyUSB0");
        fs::create_directory_symlink(usb / "1-1:1.0/ttyUSB0", root / "class/tty/ttyUSB0/device");
        fs::create_directories(root / "dev");
        fs::create_symlink(devicePath, root / "dev/ttyUSB0");
    }
    ~FakeAdapterTree() { fs::remove_all(root); }

    SerialPortRoots roots() const {
        return {(root / "class/tty").string(), (root / "dev").string()};
    }
    std::string tty() const { return (root / "dev/ttyUSB0").string(); }

    fs::path root;
};

constexpr const char* noLibrary = "/nonexistent/libd2xx.so";

TEST(PortChoice, TheTtyStandsInWhenTheLibraryCannotReachTheAdapter) {
    sim::PtyUnit unit;
    const FakeAdapterTree tree(unit.slavePath());
    const SerialPortRoots none{"/nonexistent", "/nonexistent"};
    struct Case {
        const char* name;
        std::string library;
        int simFault;
        SerialPortRoots roots;
        bool fallback;
        int message;
        std::string portName;
    };
    const Case cases[] = {
        {"library first", VARNEL_SIM_PATH, SIM_FAULT_NONE, tree.roots(), true, 0, "D2XX"},
        {"no library, tty", noLibrary, SIM_FAULT_NONE, tree.roots(), true, 0, tree.tty()},
        {"no adapter for the library, tty", VARNEL_SIM_PATH, SIM_FAULT_NO_ADAPTER, tree.roots(),
         true, 0, tree.tty()},
        // The library is optional where a tty may stand in: no driver is missing.
        {"no library, no tty", noLibrary, SIM_FAULT_NONE, none, true, msg::adapterMissing, ""},
        {"no adapter, no tty", VARNEL_SIM_PATH, SIM_FAULT_NO_ADAPTER, none, true,
         msg::adapterMissing, ""},
        {"library only", noLibrary, SIM_FAULT_NONE, tree.roots(), false, msg::driverMissing, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        simReset();
        simSetFault(c.simFault, 0);
        PortChoice choice;
        choice.driverLibrary = c.library;
        choice.roots = c.roots;
        choice.serialFallback = c.fallback;
        const Connection connection = connectAdapter(choice);
        SCOPED_TRACE(connection.device);
        EXPECT_EQ(connection.message, c.message);
        EXPECT_EQ(connection.port != nullptr, c.message == 0);
        EXPECT_EQ(connection.name, c.portName);
    }
    simReset();
}

TEST(PortChoice, NoUsableTtyAndNoLibraryMeansNoAdapter) {
    sim::PtyUnit unit;
    struct Case {
        const char* name;
        std::string device;
        const char* vendor;
    };
    const Case cases[] = {
        {"another vendor's tty is not taken", unit.slavePath(), "2341"},
        {"the FTDI tty fails to open", "/nonexistent/ttyUSB0", "0403"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FakeAdapterTree tree(c.device, c.vendor);
        PortChoice choice;
        choice.driverLibrary = noLibrary;
        choice.roots = tree.roots();
        EXPECT_EQ(connectAdapter(choice).message, msg::adapterMissing);
    }
}

// The options of both faces, as the port they choose.
TEST(PortChoice, FromTheOptions) {
    struct Case {
        PortOptions options;
        std::string device;
        int d2xxIndex;
        std::string library;
        bool fallback;
    };
    const Case cases[] = {
        {{}, "", 0, "", PortChoice::defaultSerialFallback},
        {{"/dev/ttyUSB1", "", false}, "/dev/ttyUSB1", 0, "", PortChoice::defaultSerialFallback},
        {{"d2xx:2", "", false}, "", 2, "", false},
        {{"d2xx:", "", false}, "d2xx:", 0, "", PortChoice::defaultSerialFallback},
        {{"d2xx:x", "", false}, "d2xx:x", 0, "", PortChoice::defaultSerialFallback},
        {{"", "/opt/lib.so", false}, "", 0, "/opt/lib.so", false},
        {{"d2xx:1", "/opt/lib.so", false}, "", 1, "/opt/lib.so", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.port + " " + c.options.driver);
        const PortChoice choice = portChoice(c.options);
        EXPECT_EQ(choice.device, c.device);
        EXPECT_EQ(choice.d2xxIndex, c.d2xxIndex);
        EXPECT_EQ(choice.driverLibrary, c.library);
        EXPECT_EQ(choice.serialFallback, c.fallback);
    }
    PortOptions simulate;
    simulate.simulate = true;
    EXPECT_NE(portChoice(simulate).driverLibrary.find("varnel_sim"), std::string::npos);
}

TEST(PortChoice, D2xxDeviceByItsIndex) {
    for (const auto& [index, message] : {std::pair{0, 0}, std::pair{1, int(msg::adapterMissing)}}) {
        SCOPED_TRACE(index);
        simReset();
        PortChoice choice;
        choice.driverLibrary = VARNEL_SIM_PATH;
        choice.d2xxIndex = index;
        choice.serialFallback = false;
        EXPECT_EQ(connectAdapter(choice).message, message);
    }
}

TEST(PortChoice, NamedTtyAndWhyItCannotBeOpened) {
    sim::PtyUnit unit;
    PortChoice choice;
    choice.device = unit.slavePath();
    Connection first = connectAdapter(choice);
    ASSERT_EQ(first.message, 0);
    EXPECT_EQ(portLabel(first), "QB-7: " + unit.slavePath());

    const Connection busy = connectAdapter(choice);
    EXPECT_EQ(busy.message, msg::portBusy);
    EXPECT_EQ(busy.device, unit.slavePath());
    EXPECT_NE(messageText(busy.message, busy.device).find(unit.slavePath()), std::string::npos);
    first.port.reset();

    choice.device = "/nonexistent/ttyUSB9";
    EXPECT_EQ(connectAdapter(choice).message, msg::adapterMissing);

    // Root opens any tty, so the refusal is seen by a user without rights to it.
    // Root is refused as nobody below; anyone else is refused a tty without rights.
    ASSERT_EQ(chmod(unit.slavePath().c_str(), geteuid() == 0 ? 0600 : 0), 0);
    choice.device = unit.slavePath();
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        const Connection refused = connectAdapter(choice);
        _exit(refused.message == msg::portNoPermission && refused.device == choice.device ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "no permission message";
}

} // namespace
