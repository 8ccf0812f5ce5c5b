#include "commands/outcome.h"
#include "commands/settings_file.h"
#include "device/platform/utf8_path.h"
#include "resources/string_table.h"
#include "settings/factory_defaults.h"
#include "settings/settings_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include "as_ordinary_user.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("varnel-files-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }

    std::string path(const std::string& name) const { return utf8Of(folder / pathFromUtf8(name)); }

    static void writeBytes(const std::string& file, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(pathFromUtf8(file), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<std::uint8_t> readBytes(const std::string& file) {
        std::ifstream in(pathFromUtf8(file), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    static SettingsImage unitRecord() {
        SettingsImage image;
        image.setUnitId(0x1234);
        applyFactoryDefaults(image);
        image.raw()[4] = 0x5A; // a reply's checksum word
        image.raw()[5] = 0xA5;
        return image;
    }

    fs::path folder;
};

} // namespace

TEST_F(SettingsFileTest, SavedFileIsTheWholeImageAndLoadsBackItsBlocks) {
    const SettingsImage saved = unitRecord();
    ASSERT_EQ(saveSettingsFile(saved, path("a.gvx")), noMessage);
    const auto bytes = readBytes(path("a.gvx"));
    ASSERT_EQ(bytes.size(), 85U);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), saved.raw().begin()));
    EXPECT_EQ(entries(), 1U) << "no temporary file is left behind";

    SettingsImage loaded;
    loaded.setUnitId(0x9999);
    loaded.raw()[84] = 0x77;
    ASSERT_EQ(loadSettingsFile(loaded, path("a.gvx")), noMessage);
    EXPECT_TRUE(
        std::equal(saved.raw().begin() + 4, saved.raw().begin() + 84, loaded.raw().begin() + 4));
    EXPECT_EQ(loaded.unitId(), 0x9999) << "the header is never taken from a file";
    EXPECT_EQ(loaded.raw()[84], 0x77);
}

TEST_F(SettingsFileTest, LongerFileLoadsFromItsFirstRecord) {
    const SettingsImage record = unitRecord();
    // Made at its final size: growing a copy of the record makes GCC 12 at -O3 see a
    // copy past the record's end that never happens (-Warray-bounds).
    std::vector<std::uint8_t> bytes(200, 0xEE);
    std::copy(record.raw().begin(), record.raw().end(), bytes.begin());
    bytes[0] = 0x42;
    writeBytes(path("long.gvx"), bytes);
    SettingsImage image;
    ASSERT_EQ(loadSettingsFile(image, path("long.gvx")), noMessage);
    EXPECT_TRUE(std::equal(bytes.begin() + 4, bytes.begin() + 84, image.raw().begin() + 4));
    EXPECT_EQ(image.raw()[0], 0);
    EXPECT_EQ(image.raw()[84], 0);
}

TEST_F(SettingsFileTest, RefusedFilesLeaveTheImageUntouched) {
    const SettingsImage record = unitRecord();
    std::vector<std::uint8_t> foreign(record.raw().begin(), record.raw().end());
    foreign[1] = 0x8C;
    std::vector<std::uint8_t> truncated(record.raw().begin(), record.raw().end());
    truncated.resize(40);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int message;
    };
    const Case cases[] = {
        {"empty.gvx", {}, msg::fileReadError},
        {"short.gvx", truncated, msg::fileReadError},
        {"foreign.gvx", foreign, msg::foreignModel},
    };
    for (const Case& c : cases) {
        writeBytes(path(c.name), c.bytes);
        SettingsImage image = unitRecord();
        image.raw()[50] = 0x33;
        const SettingsImage before = image;
        EXPECT_EQ(loadSettingsFile(image, path(c.name)), c.message) << c.name;
        EXPECT_EQ(image, before) << c.name;
    }
    SettingsImage image;
    EXPECT_EQ(loadSettingsFile(image, path("missing.gvx")), msg::fileReadError);
    EXPECT_EQ(loadSettingsFile(image, folder.string()), msg::fileReadError);
    EXPECT_EQ(image, SettingsImage{});
}

#ifndef _WIN32
// The failures below are made with fork, setuid, setrlimit, mount namespaces, FIFOs,
// POSIX modes, setfsuid and unprivileged symbolic links, none of which Windows has; the
// Windows save is made to fail
// by a file lock instead, further down.
TEST_F(SettingsFileTest, SaveIntoAnUnwritableFolderReportsAWriteError) {
    fs::create_directories(folder / "locked");
    fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    // Root writes into any folder, so the save runs in a child as an ordinary user.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) {
            ::_exit(255);
        }
        ::_exit(saveSettingsFile(unitRecord(), (folder / "locked" / "a.gvx").string()));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), msg::fileWriteError);
    EXPECT_FALSE(fs::exists(folder / "locked" / "a.gvx"));
    fs::permissions(folder / "locked", fs::perms::owner_all);
}

#endif

TEST_F(SettingsFileTest, SaveIntoAMissingFolderReportsAWriteError) {
    EXPECT_EQ(saveSettingsFile(unitRecord(), (folder / "nowhere" / "a.gvx").string()),
              msg::fileWriteError);
}

#ifndef _WIN32
// The failures below are made with fork, setuid, setrlimit, mount namespaces, FIFOs,
// POSIX modes, setfsuid and unprivileged symbolic links, none of which Windows has; the
// Windows save is made to fail
// by a file lock instead, further down.
TEST_F(SettingsFileTest, FailedSaveKeepsTheOldFileByteForByte) {
    // A file-size limit below one record makes the write fail part way, as a full
    // disk does. The save runs in a child so the limit does not touch the test.
    const std::vector<std::uint8_t> old(85, 0x3C);
    writeBytes(path("keep.gvx"), old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40, 40};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(saveSettingsFile(unitRecord(), path("keep.gvx")));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    const int message = WEXITSTATUS(status);
    EXPECT_TRUE(message == msg::diskFull || message == msg::fileWriteError) << message;
    EXPECT_EQ(message, msg::diskFull);
    EXPECT_EQ(readBytes(path("keep.gvx")), old);
    EXPECT_EQ(entries(), 1U) << "the temporary file is removed";
}

// What a child that saved onto a full filesystem saw there, before its private mount
// went away with it.
struct FullDiskReport {
    int failedStep = 0; // 0: the save ran; 1: no mount namespace; 2: no tmpfs mount
    int error = 0;
    int message = 0;
    std::size_t entries = 0;
    std::size_t keptSize = 0;
    std::array<std::uint8_t, 128> kept{};
};

TEST_F(SettingsFileTest, SaveOntoAFullFilesystemKeepsTheOldFileByteForByte) {
    const fs::path mountPoint = folder / "full";
    fs::create_directories(mountPoint);
    const std::string keep = (mountPoint / "keep.gvx").string();
    const std::vector<std::uint8_t> old(85, 0x3C);
    std::array<int, 2> channel{};
    ASSERT_EQ(::pipe(channel.data()), 0);

    // The small tmpfs is mounted in a mount namespace of the child's own, so it never
    // shows outside and vanishes with the child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FullDiskReport report;
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            report.failedStep = 1;
        } else if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=16k") != 0) {
            report.failedStep = 2;
        }
        report.error = errno;
        if (report.failedStep == 0) {
            writeBytes(keep, old);
            const int filler = ::open((mountPoint / "filler").c_str(), O_WRONLY | O_CREAT, 0600);
            const std::vector<char> chunk(4096, 'x');
            while (filler >= 0 && ::write(filler, chunk.data(), chunk.size()) > 0) {
                // until the filesystem has no room left
            }
            ::close(filler);
            report.message = saveSettingsFile(unitRecord(), keep);
            report.entries = static_cast<std::size_t>(
                std::distance(fs::directory_iterator(mountPoint), fs::directory_iterator()));
            const auto bytes = readBytes(keep);
            report.keptSize = std::min(bytes.size(), report.kept.size());
            std::copy_n(bytes.begin(), report.keptSize, report.kept.begin());
        }
        const bool sent = ::write(channel[1], &report, sizeof report) == sizeof report;
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    FullDiskReport report;
    const bool received = ::read(channel[0], &report, sizeof report) == sizeof report;
    ::close(channel[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(received && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (report.failedStep != 0) {
        GTEST_SKIP() << "cannot mount a private tmpfs here (needs CAP_SYS_ADMIN): "
                     << (report.failedStep == 1 ? "unshare/mount namespace: " : "mount: ")
                     << std::strerror(report.error)
                     << "; the file-size-limit test covers the failing write";
    }
    EXPECT_EQ(report.message, msg::diskFull);
    EXPECT_EQ(std::vector<std::uint8_t>(report.kept.begin(), report.kept.begin() + report.keptSize),
              old);
    EXPECT_EQ(report.entries, 2U) << "only the old file and the filler; the temporary is removed";
}

TEST_F(SettingsFileTest, SaveThroughASymbolicLinkReplacesTheFileItPointsAt) {
    writeBytes(path("target.gvx"), std::vector<std::uint8_t>(85, 0));
    fs::create_symlink(path("target.gvx"), path("link.gvx"));
    ASSERT_EQ(saveSettingsFile(unitRecord(), path("link.gvx")), noMessage);
    EXPECT_TRUE(fs::is_symlink(path("link.gvx")));
    EXPECT_EQ(readBytes(path("target.gvx"))[2], 0x12);
}

#endif

TEST_F(SettingsFileTest, ReadabilityCheck) {
    writeBytes(path("here.gvx"), {1, 2, 3});
    EXPECT_TRUE(fileIsReadable(path("here.gvx")));
    EXPECT_FALSE(fileIsReadable(path("absent.gvx")));
}

#ifndef _WIN32
// The failures below are made with fork, setuid, setrlimit, mount namespaces, FIFOs,
// POSIX modes, setfsuid and unprivileged symbolic links, none of which Windows has; the
// Windows save is made to fail
// by a file lock instead, further down.
// Named pipes and device files are refused at once instead of blocking the window until
// something writes to the pipe; the pipe and the device stay as they were.
TEST_F(SettingsFileTest, OnlyRegularFilesAreOpenedOrReplaced) {
    ASSERT_EQ(::mkfifo(path("pipe.gvx").c_str(), 0644), 0);
    const std::vector<std::string> notRegular{path("pipe.gvx"), "/dev/null", folder.string()};
    for (const std::string& target : notRegular) {
        SettingsImage image = unitRecord();
        const SettingsImage before = image;
        EXPECT_FALSE(fileIsReadable(target)) << target;
        EXPECT_EQ(loadSettingsFile(image, target), msg::fileReadError) << target;
        EXPECT_EQ(image, before) << target;
        EXPECT_EQ(saveSettingsFile(image, target), msg::fileWriteError) << target;
    }
    EXPECT_TRUE(fs::is_fifo(path("pipe.gvx")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(entries(), 1U) << "no temporary file is left beside the pipe";
}

// A new file gets the permissions the umask leaves; a replaced one keeps its own.
TEST_F(SettingsFileTest, FileModesFollowTheUmaskAndSurviveReplacing) {
    const auto modeOf = [](const std::string& file) {
        struct stat status {};
        EXPECT_EQ(::stat(file.c_str(), &status), 0);
        return status.st_mode & 07777;
    };
    const mode_t previous = ::umask(027);
    EXPECT_EQ(saveSettingsFile(unitRecord(), path("new.gvx")), noMessage);
    ::umask(previous);
    EXPECT_EQ(modeOf(path("new.gvx")), 0640U);

    writeBytes(path("kept.gvx"), std::vector<std::uint8_t>(85, 0));
    ASSERT_EQ(::chmod(path("kept.gvx").c_str(), 0604), 0);
    EXPECT_EQ(saveSettingsFile(unitRecord(), path("kept.gvx")), noMessage);
    EXPECT_EQ(modeOf(path("kept.gvx")), 0604U);
    EXPECT_EQ(readBytes(path("kept.gvx"))[2], 0x12) << "the content was replaced";
}

// An existing file the user may not write is not silently replaced, even though the
// folder would allow a new file in its place.
TEST_F(SettingsFileTest, AReadOnlyFileIsRefusedAndKept) {
    fs::permissions(folder, fs::perms::all);
    const std::vector<std::uint8_t> old(85, 0x3C);
    writeBytes(path("locked.gvx"), old);
    ASSERT_EQ(::chmod(path("locked.gvx").c_str(), 0444), 0);
    int message = noMessage;
    {
        AsOrdinaryUser ordinary;
        message = saveSettingsFile(unitRecord(), path("locked.gvx"));
    }
    EXPECT_EQ(message, msg::fileWriteError);
    EXPECT_EQ(readBytes(path("locked.gvx")), old);
    EXPECT_EQ(entries(), 1U);
}
#endif

// File names are UTF-8 in the program, whatever the system's code page.
TEST_F(SettingsFileTest, AJapaneseFolderAndFileNameWork) {
    const std::string japanese = "\u8a2d\u5b9a\u30d5\u30a1\u30a4\u30eb"; // settings file
    fs::create_directories(folder / pathFromUtf8(japanese));
    const std::string file = path(japanese + "/" + japanese + ".gvx");
    ASSERT_EQ(saveSettingsFile(unitRecord(), file), noMessage);
    EXPECT_TRUE(fs::exists(pathFromUtf8(file)));
    EXPECT_TRUE(fileIsReadable(file));
    SettingsImage loaded;
    EXPECT_EQ(readRecordFile(loaded, file), noMessage);
    EXPECT_EQ(loaded, unitRecord());
    // Replacing it goes through the same names.
    ASSERT_EQ(saveSettingsFile(SettingsImage{}, file), noMessage);
    const SettingsImage empty;
    EXPECT_EQ(readBytes(file), std::vector<std::uint8_t>(empty.raw().begin(), empty.raw().end()));
}

#ifdef _WIN32
// Another program holding the file open without sharing makes the replacement fail
// after the new content was written: the old file stays and the temporary goes.
TEST_F(SettingsFileTest, FailedSaveKeepsTheOldFileByteForByte) {
    const std::vector<std::uint8_t> old(85, 0x3C);
    writeBytes(path("keep.gvx"), old);
    const HANDLE lock = CreateFileW((folder / "keep.gvx").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(saveSettingsFile(unitRecord(), path("keep.gvx")), msg::fileWriteError);
    CloseHandle(lock);
    EXPECT_EQ(readBytes(path("keep.gvx")), old);
    EXPECT_EQ(entries(), 1U) << "the temporary file is removed";
}

// A read-only file is not silently replaced, though the folder would allow it.
TEST_F(SettingsFileTest, AReadOnlyFileIsRefusedAndKept) {
    const std::vector<std::uint8_t> old(85, 0x3C);
    writeBytes(path("locked.gvx"), old);
    ASSERT_TRUE(SetFileAttributesW((folder / "locked.gvx").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(saveSettingsFile(unitRecord(), path("locked.gvx")), msg::fileWriteError);
    SetFileAttributesW((folder / "locked.gvx").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readBytes(path("locked.gvx")), old);
    EXPECT_EQ(entries(), 1U);
}
#endif
