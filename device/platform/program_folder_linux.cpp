#include "device/platform/program_folder.h"

#include <system_error>

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(".") : self.parent_path();
}
