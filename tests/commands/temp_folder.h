#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

// A folder of its own for each test, removed afterwards.
class TempFolder {
public:
    TempFolder()
        : folder(std::filesystem::temp_directory_path() /
                 ("varnel-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(folder, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    std::string operator/(const std::string& name) const { return (folder / name).string(); }

    static void writeBytes(const std::filesystem::path& file,
                           const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path folder;
};
