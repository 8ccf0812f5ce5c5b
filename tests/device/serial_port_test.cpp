// The tty port against the simulated unit on a pseudo-terminal, its line settings, its
// exclusive open, and the listing of USB serial ports.

#include "d2xx_adapter.h"
#include "device/kelvo.h"
#include "device/periodic_timer.h"
#include "device/serial/serial_port.h"
#include "device/serial/serial_ports.h"
#include "device/servo_frame.h"
#include "outcome.h"
#include "serial_test_support.h"
#include "sim/pty_unit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto shortTimeout = 300ms;

TEST(SerialLineSettings, TurnAnyTtyIntoTheUnitsLine) {
    termios2 cooked{};
    cooked.c_iflag = ICRNL | IXON | IXOFF | ISTRIP | INPCK | BRKINT;
    cooked.c_oflag = OPOST | ONLCR;
    cooked.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    cooked.c_cflag = B9600 | CS7 | PARODD | CRTSCTS | HUPCL;
    cooked.c_cc[VMIN] = 1;
    cooked.c_cc[VTIME] = 5;

    const termios2 line = unitLineSettings(cooked);
    // The pty under the tests keeps neither parity nor data bits, so they are checked here.
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_NE(line.c_cflag & PARENB, 0U);
    EXPECT_EQ(line.c_cflag & PARODD, 0U) << "even parity";
    EXPECT_NE(line.c_cflag & CSTOPB, 0U);
    EXPECT_EQ(line.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(line.c_cflag & (CRTSCTS | HUPCL), 0U);
    EXPECT_EQ(line.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ((line.c_cflag >> IBSHIFT) & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(line.c_ospeed, 100000U);
    EXPECT_EQ(line.c_ispeed, 100000U);
    EXPECT_EQ(line.c_iflag & (ICRNL | IXON | IXOFF | ISTRIP | INPCK | BRKINT), 0U);
    EXPECT_EQ(line.c_oflag & OPOST, 0U);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ECHOE | ISIG | IEXTEN), 0U);
    EXPECT_EQ(line.c_cc[VMIN], 0);
    EXPECT_EQ(line.c_cc[VTIME], 0);
}

class SerialUnit : public ::testing::Test {
protected:
    void SetUp() override {
        unit.start();
        port.open();
    }

    // The preamble, and its echo taken off the line, as the Read command's pause does.
    void wake() {
        std::vector<std::uint8_t> preamble(1000, 0x55);
        port.write(preamble.data(), static_cast<std::uint32_t>(preamble.size()));
        ASSERT_EQ(port.read(preamble.data(), static_cast<std::uint32_t>(preamble.size())),
                  preamble.size());
    }

    sim::PtyUnit unit;
    SerialPort port{unit.slavePath(), shortTimeout};
    // The pauses shortened, but long enough for the echo of the frames to come back
    // before the next read purges the line.
    Kelvo kelvo{&port,
                [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause / 2); }};
};

TEST_F(SerialUnit, ReadAndWriteReachTheUnit) {
    wake();
    kelvo.read(true);
    EXPECT_TRUE(unit.lineWasUnderstood());
    const sim::Record before = unit.record();
    EXPECT_TRUE(
        std::equal(before.begin() + 1, before.begin() + 84, kelvo.receivedImage.raw().begin() + 1));

    kelvo.workingImage = kelvo.receivedImage;
    kelvo.workingImage.raw()[40] ^= 0x5A;
    kelvo.write(false);
    std::this_thread::sleep_for(20ms);
    kelvo.read(true);
    EXPECT_TRUE(kelvo.receivedImage.sameSettings(kelvo.workingImage));
    EXPECT_EQ(unit.record()[40], kelvo.workingImage.raw()[40]);
}

TEST_F(SerialUnit, ServoFramesAreDecodedOnTheFarSide) {
    wake();
    kelvo.servoDrive(true);
    ChannelValues[2] = 1500;
    PeriodicTimer timer;
    timer.start(10ms, [this] { sendServoFrameThrough(port); });
    for (int i = 0; i < 200 && unit.servoFrames().size() < 3; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    timer.kill();
    ChannelValues[2] = 0;
    const auto frames = unit.servoFrames();
    ASSERT_GE(frames.size(), 3U);
    EXPECT_EQ(frames.back().channels[2], 1500);
    EXPECT_EQ(frames.back().channels[3], 0);
    kelvo.servoDrive(false);
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(unit.servoDriveOn());
}

struct SerialFaultCase {
    const char* name;
    int fault;
    int argument;
    const char* outcome;
};

void PrintTo(const SerialFaultCase& c, std::ostream* os) {
    *os << c.name;
}

class SerialReadFault : public SerialUnit, public ::testing::WithParamInterface<SerialFaultCase> {};

TEST_P(SerialReadFault, RaisesItsError) {
    wake();
    unit.setFault(GetParam().fault, GetParam().argument);
    EXPECT_EQ(outcomeOf([&] { kelvo.read(true); }), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SerialReadFault,
    ::testing::Values(
        SerialFaultCase{"NoReply", SIM_FAULT_NO_REPLY, 0, "ReadError"},
        SerialFaultCase{"WrongMarker", SIM_FAULT_WRONG_MARKER, 0, "ProtocolError"},
        SerialFaultCase{"BadChecksum", SIM_FAULT_BAD_CHECKSUM, 0, "ProtocolError"},
        SerialFaultCase{"ForeignModel", SIM_FAULT_FOREIGN_MODEL, 0, "CompatibilityError"},
        SerialFaultCase{"ShortReply", SIM_FAULT_SHORT_REPLY, 60, "ReadError"},
        SerialFaultCase{"WrongLine", SIM_FAULT_WRONG_LINE, 0, "ReadError"},
        // The line closes after the request's first bytes.
        SerialFaultCase{"UnpluggedMidRequest", SIM_FAULT_UNPLUGGED_AFTER, 5, "ReadError"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialUnit, UnpluggedLineFailsAtOnceInsteadOfWaiting) {
    wake();
    unit.unplug();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(outcomeOf([&] { kelvo.write(false); }), "WriteError");
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(outcomeOf([&] { port.read(buffer.data(), 4); }), "ReadError");
    EXPECT_LT(std::chrono::steady_clock::now() - started, shortTimeout);
}

TEST_F(SerialUnit, ReadReturnsWhatArrivedByTheTimeOut) {
    const std::array<std::uint8_t, 3> sent{1, 2, 3};
    port.write(sent.data(), 3); // echoed by the line, never answered
    std::array<std::uint8_t, 10> buffer{};
    EXPECT_EQ(port.read(buffer.data(), 10), 3U);
    EXPECT_EQ(buffer[2], 3);
}

TEST_F(SerialUnit, PortIsHeldExclusivelyUntilClosed) {
    SerialPort second(unit.slavePath(), shortTimeout);
    EXPECT_EQ(outcomeOf([&] { second.open(); }), "BusyError");
    port.close();
    EXPECT_EQ(outcomeOf([&] { second.open(); }), "ok");
}

TEST(SerialOpen, RefusalsTellWhy) {
    sim::PtyUnit unit;
    // Root is refused as nobody below; anyone else is refused a tty without rights.
    ASSERT_EQ(chmod(unit.slavePath().c_str(), geteuid() == 0 ? 0600 : 0), 0);
    const int refused = asUnprivilegedUser([&] {
        SerialPort port(unit.slavePath());
        return outcomeOf([&] { port.open(); }) == "AccessDeniedError" ? 0 : 1;
    });
    EXPECT_EQ(refused, 0) << "no permission";

    SerialPort missing("/nonexistent/ttyUSB0");
    EXPECT_EQ(outcomeOf([&] { missing.open(); }), "OpenError");
    // Not a tty: the line cannot be set.
    SerialPort file("/dev/null");
    EXPECT_EQ(outcomeOf([&] { file.open(); }), "OpenError");
}

// A tree shaped like the kernel's: class/tty/<name>/device links into devices/.
class FakeSysfs {
public:
    FakeSysfs() : root(fs::temp_directory_path() / ("varnel-sysfs-" + std::to_string(getpid()))) {
        fs::remove_all(root);
        fs::create_directories(root / "class/tty");
        fs::create_directories(root / "dev");
    }
    ~FakeSysfs() { fs::remove_all(root); }

    // A USB serial tty: device -> usb/<bus>/<interface>/<name>, the USB device's
    // attribute files two levels up.
    void usbTty(const std::string& name, const std::string& vendor, const std::string& product,
                const std::string& description, const std::string& serial) {
        const fs::path usb = root / "devices/usb1" / ("1-" + name);
        const fs::path ttyDevice = usb / "1-1:1.0" / name;
        fs::create_directories(ttyDevice);
        attribute(usb / "idVendor", vendor);
        attribute(usb / "idProduct", product);
        attribute(usb / "product", description);
        attribute(usb / "serial", serial);
        fs::create_directories(root / "class/tty" / name);
        fs::create_directory_symlink(ttyDevice, root / "class/tty" / name / "device");
    }
    // A tty with a device that is not on USB, and one with no device at all.
    void otherTty(const std::string& name, bool withDevice) {
        fs::create_directories(root / "class/tty" / name);
        if (withDevice) {
            const fs::path platform = root / "devices/platform/serial8250" / name;
            fs::create_directories(platform);
            fs::create_directory_symlink(platform, root / "class/tty" / name / "device");
        }
    }

    SerialPortRoots roots() const {
        return {(root / "class/tty").string(), (root / "dev").string()};
    }

    fs::path root;

private:
    static void attribute(const fs::path& file, const std::string& text) {
        std::ofstream(file) << text << "\n";
    }
};

TEST(SerialPortList, UsbTtysInNameOrderWithTheirDevice) {
    FakeSysfs sysfs;
    sysfs.usbTty("ttyUSB10", "0403", "6001", "QB-7", "A1");
    sysfs.usbTty("ttyUSB2", "0403", "6015", "", "");
    sysfs.usbTty("ttyACM0", "2341", "0043", "Other board", "X9");
    sysfs.otherTty("ttyS0", true);
    sysfs.otherTty("tty1", false);

    const auto ports = listSerialPorts(sysfs.roots());
    ASSERT_EQ(ports.size(), 3U);
    const std::string dev = sysfs.roots().dev;
    EXPECT_EQ(describe(ports[0]), dev + "/ttyACM0 2341:0043 Other board X9");
    EXPECT_EQ(describe(ports[1]), dev + "/ttyUSB2 0403:6015 - -");
    EXPECT_EQ(describe(ports[2]), dev + "/ttyUSB10 0403:6001 QB-7 A1");
    EXPECT_EQ(ports[2].vendor, ftdiVendor);

    EXPECT_TRUE(listSerialPorts({"/nonexistent", "/dev"}).empty());
}

} // namespace
