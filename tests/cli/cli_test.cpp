#include "settings/factory_defaults.h"
#include "settings/settings_image.h"
#include "temp_folder.h"

#include "device/platform/program_folder.h"
#include "device/platform/utf8_path.h"
#ifdef _WIN32
#include "device/platform/wide_text.h"
#endif

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

#ifdef _WIN32
// cmd.exe runs the command: double quotes, and set for the environment. The backups go
// under LOCALAPPDATA there.
std::string shellQuoted(const std::string& text) {
    return '"' + text + '"';
}

std::string commandLine(const fs::path& folder, const fs::path& dataHome, const fs::path& unit,
                        const std::string& environment, const std::string& program) {
    std::string command = "cd /d " + shellQuoted(folder.string()) + " && set " +
                          shellQuoted("LOCALAPPDATA=" + dataHome.string()) + " && set " +
                          shellQuoted("VARNEL_SIM_RECORD=" + unit.string());
    std::istringstream variables(environment);
    for (std::string variable; variables >> variable;) {
        command += " && set " + shellQuoted(variable);
    }
    return command + " && " + shellQuoted(program);
}

// The wide call: the narrow one passes the command through the code page.
int runCommand(const std::string& command) {
    return _wsystem(widen(command).c_str());
}

const char* const noInput = "NUL";

// Beside this program: the build tree's path names a folder of the build machine.
std::string cliProgram() {
    return utf8Of(programFolder() / VARNEL_CLI_PATH);
}
#else
std::string shellQuoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

std::string commandLine(const fs::path& folder, const fs::path& dataHome, const fs::path& unit,
                        const std::string& environment, const std::string& program) {
    return "cd " + shellQuoted(folder.string()) +
           " && env XDG_DATA_HOME=" + shellQuoted(dataHome.string()) +
           " VARNEL_SIM_RECORD=" + shellQuoted(unit.string()) + " " + environment + " " +
           shellQuoted(program);
}

int runCommand(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

const char* const noInput = "/dev/null";

std::string cliProgram() {
    return VARNEL_CLI_PATH;
}
#endif

std::string contentOf(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Each test has its own folder, its own simulated unit (kept in a record file between
// runs of the binary) and its own backup folder.
class CliTest : public ::testing::Test {
protected:
    CliRun run(const std::vector<std::string>& args, const std::string& environment = "") {
        std::string command =
            commandLine(temp.path(), temp.path() / "data", unitFile(), environment, cliProgram());
        for (const std::string& arg : args) {
            // Appended one at a time: " " + a temporary string makes GCC 12 at -O3 warn
            // of an overlapping copy that cannot happen (-Wrestrict).
            command += ' ';
            command += shellQuoted(arg);
        }
        command += std::string(" >out.txt 2>err.txt <") + noInput;
        CliRun result;
        result.status = runCommand(command);
        result.out = contentOf(temp.path() / "out.txt");
        result.err = contentOf(temp.path() / "err.txt");
        fs::remove(temp.path() / "out.txt");
        fs::remove(temp.path() / "err.txt");
        return result;
    }

    fs::path unitFile() const { return temp.path() / "unit.rec"; }
    std::vector<std::uint8_t> unitRecord() const { return TempFolder::readBytes(unitFile()); }
    std::vector<fs::path> backups() const {
        std::vector<fs::path> found;
        const fs::path folder = temp.path() / "data" / "varnel" / "backups" / "10775";
        if (fs::exists(folder)) {
            for (const auto& entry : fs::directory_iterator(folder)) {
                found.push_back(entry.path());
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(temp.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string path(const std::string& name) const { return temp / name; }

    // A record no edit could make: a speed beyond its slider, the throttle mode no
    // button stands for, the unit's own bits in every flag byte and unit data.
    static std::vector<std::uint8_t> oddRecord() {
        SettingsImage image;
        image.setUnitId(4321);
        applyFactoryDefaults(image);
        image.setTargetRpm(1, 5000);
        image.setThrottleDataMode(3);
        image.raw()[4] = 0x12;
        image.raw()[78] |= 0x36;
        image.raw()[80] |= 0xC4;
        image.raw()[17] = 0xEE;
        image.raw()[84] = 0x77;
        image.setLimitPoint2(sliderPointUnits);
        return {image.raw().begin(), image.raw().end()};
    }
    // Slider 687: display 50, just below the centre band.
    static constexpr int sliderPointUnits = 687 * 2 + 2816;

    TempFolder temp;
};

bool oneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

} // namespace

// Names outside the system's code page, in the arguments and on disk.
TEST_F(CliTest, AJapaneseFileNameWorksEndToEnd) {
    const std::string name = "\u8a2d\u5b9a.gvx"; // "settings"
    const CliRun readRun = run({"--simulate", "read", "-o", name});
    ASSERT_EQ(readRun.status, 0) << readRun.err;
    EXPECT_EQ(TempFolder::readBytes(temp.path() / pathFromUtf8(name)).size(), 85U);
    const CliRun show = run({"show", name});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("governor.target_rpm_1"), std::string::npos) << show.out;
}

TEST_F(CliTest, ReadShowSetWriteReadGivesTheEditedValues) {
    const CliRun readRun = run({"--simulate", "read", "-o", "unit.gvx"});
    ASSERT_EQ(readRun.status, 0) << readRun.err;
    EXPECT_EQ(TempFolder::readBytes(path("unit.gvx")).size(), 85U);

    const CliRun show = run({"show", "unit.gvx"});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("governor.target_rpm_1          2000       rpm  700..4000"),
              std::string::npos)
        << show.out;

    const CliRun set = run({"set", "unit.gvx", "governor.target_rpm_1=2100",
                            "governor.gear_ratio=9.25", "throttle.data_mode=tx_curve",
                            "channels.ch8=DG2", "servo.limit_point_1=120", "-o", "edited.gvx"});
    ASSERT_EQ(set.status, 0) << set.err;

    const CliRun writeRun = run({"--simulate", "write", "edited.gvx", "--yes"});
    ASSERT_EQ(writeRun.status, 0) << writeRun.err;
    EXPECT_NE(writeRun.out.find("governor.target_rpm_1          2000 -> 2100 rpm"),
              std::string::npos)
        << writeRun.out;
    EXPECT_EQ(writeRun.out.find("governor.target_rpm_2"), std::string::npos) << "unchanged fields";

    const CliRun again = run({"--simulate", "--json", "read"});
    ASSERT_EQ(again.status, 0) << again.err;
    for (const char* shown : {"\"value\": 2100", "\"value\": 9.25", "\"value\": \"tx_curve\"",
                              "\"value\": \"DG2\"", "\"value\": 120"}) {
        EXPECT_NE(again.out.find(shown), std::string::npos) << shown;
    }
    // The factory record before the write and the edited one after it; the read before
    // the write found the first again and added nothing.
    EXPECT_EQ(backups().size(), 2U);
}

TEST_F(CliTest, DiffComparesFilesAndTheUnitFieldByField) {
    ASSERT_EQ(run({"defaults", "-o", "a.gvx"}).status, 0);
    ASSERT_EQ(run({"set", "a.gvx", "governor.gain=55", "-o", "b.gvx"}).status, 0);

    const CliRun same = run({"diff", "a.gvx", "a.gvx"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");

    const CliRun different = run({"diff", "a.gvx", "b.gvx"});
    EXPECT_EQ(different.status, 1);
    EXPECT_EQ(different.out, "governor.gain                  40 -> 55 %\n");

    // Bits no field covers are compared too.
    std::vector<std::uint8_t> kept = TempFolder::readBytes(path("a.gvx"));
    kept[79] |= 0x02;
    TempFolder::writeBytes(path("kept.gvx"), kept);
    const CliRun bits = run({"--json", "diff", "a.gvx", "kept.gvx"});
    EXPECT_EQ(bits.status, 1);
    EXPECT_NE(bits.out.find("\"key\": \"byte 79\""), std::string::npos) << bits.out;

    // The simulated unit starts with the factory settings.
    const CliRun unitSame = run({"--simulate", "diff", "unit", "a.gvx"});
    EXPECT_EQ(unitSame.status, 0) << unitSame.err;
    const CliRun unitDifferent = run({"--simulate", "diff", "b.gvx", "unit"});
    EXPECT_EQ(unitDifferent.status, 1) << unitDifferent.err;
    EXPECT_EQ(unitDifferent.out, "governor.gain                  55 -> 40 %\n");

    const CliRun missing = run({"diff", "a.gvx", "missing.gvx"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(oneLine(missing.err)) << missing.err;
}

TEST_F(CliTest, JsonRoundTripIsByteForByteAndTakesEdits) {
    TempFolder::writeBytes(path("odd.gvx"), oddRecord());
    const CliRun show = run({"show", "odd.gvx", "--json"});
    ASSERT_EQ(show.status, 0) << show.err;
    std::ofstream(path("odd.json")) << show.out;
    const CliRun back = run({"import", "odd.json", "-o", "back.gvx"});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(TempFolder::readBytes(path("back.gvx")), oddRecord());

    // An edited value is taken, range-checked, and only its own bits change.
    std::string edited = show.out;
    const std::string from = "\"value\": true";
    const std::size_t telemetry = edited.find(from, edited.find("\"comm.telemetry\""));
    ASSERT_NE(telemetry, std::string::npos);
    edited.replace(telemetry, from.size(), "\"value\": false");
    std::ofstream(path("edited.json")) << edited;
    ASSERT_EQ(run({"import", "edited.json", "-o", "edited.gvx"}).status, 0);
    std::vector<std::uint8_t> expected = oddRecord();
    expected[80] &= static_cast<std::uint8_t>(~0x20);
    EXPECT_EQ(TempFolder::readBytes(path("edited.gvx")), expected);
}

// As File > Open does: the settings of the first record, whatever follows it.
TEST_F(CliTest, WriteTakesTheFirstRecordOfALongerFile) {
    ASSERT_EQ(run({"defaults", "-o", "a.gvx"}).status, 0);
    ASSERT_EQ(run({"set", "a.gvx", "governor.target_rpm_1=2345"}).status, 0);
    std::vector<std::uint8_t> longer = TempFolder::readBytes(path("a.gvx"));
    longer.resize(longer.size() + 40, 0xEE);
    TempFolder::writeBytes(path("long.gvx"), longer);
    const CliRun write = run({"--simulate", "write", "long.gvx", "--yes"});
    ASSERT_EQ(write.status, 0) << write.err;
    const std::vector<std::uint8_t> unit = unitRecord();
    ASSERT_GE(unit.size(), 84U);
    EXPECT_TRUE(std::equal(longer.begin() + 6, longer.begin() + 84, unit.begin() + 6));
}

// Every name the listing prints is one --port takes; an empty listing is an error.
TEST_F(CliTest, EveryListedPortCanBeUsedAndNoneFoundSaysSo) {
    const CliRun help = run({"--help"});
    EXPECT_NE(help.out.find("d2xx:0"), std::string::npos) << help.out;
    EXPECT_EQ(help.out.find("not in this build"), std::string::npos) << help.out;
    const CliRun ports = run({"--simulate", "ports"});
    ASSERT_EQ(ports.status, 0) << ports.err;
    std::istringstream lines(ports.out);
    int listed = 0;
    for (std::string line; std::getline(lines, line); ++listed) {
        const std::string name = line.substr(0, line.find(' '));
        SCOPED_TRACE(name);
        const CliRun read = run({"--simulate", "--port", name, "read", "-o", "r.gvx"});
        EXPECT_EQ(read.status, 0) << read.err;
    }
    EXPECT_EQ(listed, 1);
    const CliRun unlisted = run({"--simulate", "--port", "d2xx:1", "read", "-o", "r.gvx"});
    EXPECT_EQ(unlisted.status, 2);
    EXPECT_NE(unlisted.err.find("d2xx:1: the QB-7 is not connected"), std::string::npos)
        << unlisted.err;

    const CliRun none = run({"--simulate", "ports"}, "VARNEL_SIM_FAULT=no_adapter");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_TRUE(oneLine(none.err)) << none.err;
    EXPECT_NE(none.err.find("no QB-7 adapter found"), std::string::npos) << none.err;
}

TEST_F(CliTest, BadInputEndsWithOneLineAndWritesNothing) {
    ASSERT_EQ(run({"defaults", "-o", "a.gvx"}).status, 0);
    std::vector<std::uint8_t> foreign = TempFolder::readBytes(path("a.gvx"));
    foreign[1] = 0x8C;
    TempFolder::writeBytes(path("foreign.gvx"), foreign);
    TempFolder::writeBytes(path("short.gvx"), std::vector<std::uint8_t>(40, 0));
    std::vector<std::uint8_t> longer = TempFolder::readBytes(path("a.gvx"));
    longer.push_back(0);
    TempFolder::writeBytes(path("long.gvx"), longer);
    std::ofstream(path("broken.json")) << "{\"fields\": {";
    std::ofstream(path("range.json")) << R"({"fields": {"governor.gain": 101}})";
    std::ofstream(path("key.json")) << R"({"fields": {"governor.gains": 50}})";
    // The unit exists before any case runs, so that its record can be compared.
    ASSERT_EQ(run({"--simulate", "read"}).status, 0);
    const std::vector<std::uint8_t> unitBefore = unitRecord();

    struct Case {
        std::vector<std::string> args;
        std::string environment;
        std::string says;
    };
    const Case cases[] = {
        {{"set", "a.gvx", "governor.no_such=1", "-o", "out.gvx"}, "", "unknown key"},
        {{"set", "a.gvx", "governor.gain=55", "governor.target_rpm_1=4001", "-o", "out.gvx"},
         "",
         "outside 700..4000"},
        {{"set", "a.gvx", "governor.gear_ratio=8.001", "-o", "out.gvx"}, "", "two decimals"},
        {{"set", "a.gvx", "governor.gain", "-o", "out.gvx"}, "", "KEY=VALUE"},
        {{"set", "a.gvx", "unit.id=5", "-o", "out.gvx"}, "", "not a setting"},
        {{"set", "foreign.gvx", "governor.gain=55", "-o", "out.gvx"},
         "",
         "cannot be used with the Kelvo"},
        {{"show", "short.gvx"}, "", "85-byte"},
        {{"show", "long.gvx"}, "", "85-byte"},
        {{"import", "broken.json", "-o", "out.gvx"}, "", "not valid JSON"},
        {{"import", "range.json", "-o", "out.gvx"}, "", "outside 10..100"},
        {{"import", "key.json", "-o", "out.gvx"}, "", "unknown key"},
        {{"import", "a.json", "-o", "out.gvx"}, "", "cannot read"},
        {{"--simulate", "write", "foreign.gvx", "--yes"}, "", "cannot be used with the Kelvo"},
        {{"--simulate", "write", "a.gvx"}, "", "--yes"},
        {{"--simulate", "read", "-o", "out.gvx"},
         "VARNEL_SIM_FAULT=no_adapter",
         "the QB-7 is not connected"},
        {{"--simulate", "read", "-o", "out.gvx"}, "VARNEL_SIM_FAULT=no_reply", "read error"},
        {{"--simulate", "write", "a.gvx", "--yes"},
         "VARNEL_SIM_FAULT=no_adapter",
         "the QB-7 is not connected"},
        {{"--driver", "/nonexistent/lib.so", "read", "-o", "out.gvx"},
         "",
         "the QB-7 device driver is not installed"},
#ifndef _WIN32 // a tty has no Windows form: the D2XX library is the only way in there
        {{"--port", "/dev/varnel-no-such-tty", "read", "-o", "out.gvx"},
         "",
         "/dev/varnel-no-such-tty: the QB-7 is not connected"},
#endif
        {{"frobnicate"}, "", "frobnicate"},
        {{"read", "--bogus"}, "", "bogus"},
    };
    const std::vector<std::string> filesBefore = entries();
    const std::vector<std::uint8_t> fileBefore = TempFolder::readBytes(path("a.gvx"));
    for (const Case& c : cases) {
        std::string name;
        for (const std::string& arg : c.args) {
            name += arg + " ";
        }
        SCOPED_TRACE(name + c.environment);
        const CliRun result = run(c.args, c.environment);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(oneLine(result.err)) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(entries(), filesBefore) << "a file was written";
        EXPECT_EQ(TempFolder::readBytes(path("a.gvx")), fileBefore);
        EXPECT_EQ(unitRecord(), unitBefore);
    }
}

TEST_F(CliTest, FailedWriteLeavesThePreviousRecordInTheBackups) {
    ASSERT_EQ(run({"defaults", "-o", "a.gvx"}).status, 0);
    ASSERT_EQ(run({"set", "a.gvx", "governor.gain=55"}).status, 0);
    const CliRun writeRun =
        run({"--simulate", "write", "a.gvx", "--yes"}, "VARNEL_SIM_FAULT=store_differently:40");
    EXPECT_EQ(writeRun.status, 2);
    EXPECT_NE(writeRun.err.find("write error"), std::string::npos) << writeRun.err;
    const auto kept = backups();
    ASSERT_EQ(kept.size(), 1U);
    std::vector<std::uint8_t> factory = TempFolder::readBytes(path("a.gvx"));
    factory[60] = 40;
    const std::vector<std::uint8_t> backup = TempFolder::readBytes(kept[0]);
    EXPECT_TRUE(std::equal(backup.begin() + 6, backup.begin() + 84, factory.begin() + 6));

    const CliRun list = run({"backups", "10775"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "10775  " + utf8Of(kept[0]) + "\n");
}
