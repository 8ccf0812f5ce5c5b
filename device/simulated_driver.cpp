#include "device/simulated_driver.h"

#include "varnel_config.h"

#include <system_error>

std::filesystem::path simulatedDriverPath(const std::filesystem::path& programDir) {
    std::filesystem::path beside = programDir / VARNEL_SIM_LIBRARY_NAME;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) {
        return beside;
    }
    return (programDir / VARNEL_PRIVATE_DIR_FROM_PROGRAMS / VARNEL_SIM_LIBRARY_NAME)
        .lexically_normal();
}
