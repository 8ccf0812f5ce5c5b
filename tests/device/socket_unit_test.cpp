// The unit behind QEMU's emulated FTDI adapter: the line settings it takes from QEMU's
// trace, and the socket face that hears the program only under the unit's settings.

#include "sim/socket_unit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// As QEMU 7.2 traces the guest's ftdi_sio opening a tty the way the port does.
constexpr const char* unitLineTrace = "usb_serial_reset dev 0:1 reset\n"
                                      "usb_serial_set_flow_control dev 0:1 flow control 0\n"
                                      "usb_serial_set_baud dev 0:1 baud rate 100000\n"
                                      "usb_serial_set_data dev 0:1 parity E, data bits 8, stop "
                                      "bits 2\n"
                                      "usb_serial_handle_control dev 0:1 got control 0x4009, "
                                      "value 0x1\n";

sim::ChipSettings traced(const std::string& text) {
    sim::ChipSettings settings;
    std::size_t start = 0;
    for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        sim::applyTraceLine(settings, std::string_view(text).substr(start, end - start));
        start = end + 1;
    }
    return settings;
}

TEST(ChipTrace, OnlyTheUnitsLineIsTheUnitsLine) {
    const sim::ChipSettings unit = traced(unitLineTrace);
    EXPECT_TRUE(sim::unitSettings(unit)) << sim::describe(unit);
    EXPECT_EQ(unit.latencyTimer, 1);

    struct Case {
        const char* line;
        const char* what;
    };
    const Case others[] = {
        {"usb_serial_set_baud dev 0:1 baud rate 9600", "the rate left at 9600"},
        {"usb_serial_set_data dev 0:1 parity O, data bits 8, stop bits 2", "odd parity"},
        {"usb_serial_set_data dev 0:1 parity E, data bits 8, stop bits 1", "one stop bit"},
        {"usb_serial_set_data dev 0:1 parity E, data bits 7, stop bits 2", "seven data bits"},
        {"usb_serial_set_flow_control dev 0:1 flow control 1", "RTS/CTS flow control"},
        {"usb_serial_unsupported_parity dev 0:1 unsupported parity 5", "a parity the chip lacks"},
        {"4242@1733900000.123456:usb_serial_set_baud dev 0:1 baud rate 115200",
         "a line with QEMU's time stamp"},
    };
    for (const Case& other : others) {
        const sim::ChipSettings settings = traced(std::string(unitLineTrace) + other.line + "\n");
        EXPECT_FALSE(sim::unitSettings(settings)) << other.what << ": " << sim::describe(settings);
    }

    // A reset is the chip's power-on line again; the latency timer stays.
    const sim::ChipSettings reset =
        traced(std::string(unitLineTrace) + "usb_serial_reset dev 0:1 reset\n");
    EXPECT_EQ(reset.baudRate, 9600);
    EXPECT_EQ(reset.latencyTimer, 1);
}

TEST(ChipTrace, FollowsTheFileAsQemuAppendsWholeLines) {
    const fs::path path = fs::temp_directory_path() / ("varnel-trace-" + std::to_string(getpid()));
    std::ofstream file(path);
    sim::ChipTrace trace(path.string());
    EXPECT_EQ(trace.update().baudRate, 9600) << "no file yet: the power-on line";
    file << "usb_serial_set_baud dev 0:1 baud rate 100000\nusb_serial_set_data dev 0:1 par"
         << std::flush;
    EXPECT_EQ(trace.update().baudRate, 100000);
    EXPECT_EQ(trace.update().parity, 'N') << "half a line is not applied";
    file << "ity E, data bits 8, stop bits 2\n" << std::flush;
    EXPECT_TRUE(sim::unitSettings(trace.update()));
    fs::remove(path);
}

// The unit is set up on the test's thread, then served on its own until the test
// hangs up; what it saw is looked at only once its thread has ended.
class SocketFace : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder);
        std::ofstream(folder / "trace") << unitLineTrace;
        unit = std::make_unique<sim::SocketUnit>((folder / "unit").string(),
                                                 (folder / "trace").string());
        unit->onSettings([this](const sim::ChipSettings& settings, bool understood) {
            reports.push_back(sim::describe(settings) + (understood ? ": understood" : ""));
        });
    }
    void TearDown() override {
        hangUp();
        fs::remove_all(folder);
    }

    void connect() {
        server = std::thread([this] { unit->serve(); });
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        (folder / "unit").string().copy(address.sun_path, sizeof(address.sun_path) - 1);
        client = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_EQ(::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof(address)),
                  0);
    }
    void hangUp() {
        if (client >= 0) {
            ::close(client);
            client = -1;
        }
        if (server.joinable()) {
            server.join();
        }
    }

    // Sends bytes and takes as many back.
    std::vector<std::uint8_t> exchange(const std::vector<std::uint8_t>& bytes) {
        EXPECT_EQ(::send(client, bytes.data(), bytes.size(), 0),
                  static_cast<ssize_t>(bytes.size()));
        std::vector<std::uint8_t> back(bytes.size());
        std::size_t got = 0;
        while (got < back.size()) {
            const ssize_t part = ::recv(client, back.data() + got, back.size() - got, 0);
            if (part <= 0) {
                break;
            }
            got += static_cast<std::size_t>(part);
        }
        back.resize(got);
        return back;
    }

    fs::path folder = fs::temp_directory_path() / ("varnel-socket-" + std::to_string(getpid()));
    std::unique_ptr<sim::SocketUnit> unit;
    std::vector<std::string> reports;
    std::thread server;
    int client = -1;
};

TEST_F(SocketFace, EchoesAndHearsOnlyUnderTheUnitsLine) {
    connect();
    const std::vector<std::uint8_t> bytes(40, 0x55);
    EXPECT_EQ(exchange(bytes), bytes);
    std::ofstream(folder / "trace", std::ios::app)
        << "usb_serial_set_data dev 0:1 parity O, data bits 8, stop bits 2\n";
    EXPECT_EQ(exchange(bytes), bytes) << "the line echoes whatever the settings";
    EXPECT_EQ(exchange(bytes), bytes);
    hangUp();
    EXPECT_EQ(reports,
              (std::vector<std::string>{
                  "100000 baud, parity E, 8 data bits, 2 stop bits, flow control 0: understood",
                  "100000 baud, parity O, 8 data bits, 2 stop bits, flow control 0",
              }));
    EXPECT_FALSE(unit->line().understood());
}

TEST_F(SocketFace, UnplugFaultPullsTheAdapterAfterItsBytes) {
    bool pulled = false;
    unit->onUnplug([&] { pulled = true; });
    unit->line().setFault(SIM_FAULT_UNPLUGGED_AFTER, 50);
    connect();
    const std::vector<std::uint8_t> bytes(40, 0x55);
    EXPECT_EQ(exchange(bytes), bytes);
    ::send(client, bytes.data(), bytes.size(), 0);
    ::send(client, bytes.data(), bytes.size(), 0);
    hangUp();
    EXPECT_TRUE(pulled);
    EXPECT_TRUE(unit->unplugged());
    EXPECT_EQ(unit->line().received(), 50U) << "nothing after the pull reaches the unit";
}

} // namespace
