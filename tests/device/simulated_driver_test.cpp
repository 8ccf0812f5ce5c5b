#include "device/simulated_driver.h"

#include "varnel_config.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A scratch installation: prefix/bin for the program, prefix/lib/varnel for its private
// files, with the simulated library placed where each case wants it.
class ScratchInstall {
public:
    ScratchInstall() {
        // create_directory says whether it made the folder, so two runs never share one.
        for (unsigned attempt = 0;; ++attempt) {
            prefix = fs::temp_directory_path() /
                     ("varnel-layout-" + std::to_string(getpid()) + "-" + std::to_string(attempt));
            if (fs::create_directory(prefix)) {
                break;
            }
        }
        fs::create_directories(programs());
        fs::create_directories(privateFiles());
    }
    ~ScratchInstall() { fs::remove_all(prefix); }
    ScratchInstall(const ScratchInstall&) = delete;
    ScratchInstall& operator=(const ScratchInstall&) = delete;

    fs::path programs() const { return prefix / "bin"; }
    fs::path privateFiles() const { return prefix / "lib" / "varnel"; }
    static void place(const fs::path& folder) { std::ofstream(folder / VARNEL_SIM_LIBRARY_NAME); }

    fs::path prefix;
};

struct LayoutCase {
    const char* name;
    bool besideProgram;
    bool inPrivateFolder;
    bool expectBeside; // otherwise the private folder's path
};

class SimulatedDriverPath : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SimulatedDriverPath, PrefersTheBuildTreeAndFallsBackToTheInstallation) {
    const LayoutCase& layout = GetParam();
    const ScratchInstall install;
    if (layout.besideProgram) {
        ScratchInstall::place(install.programs());
    }
    if (layout.inPrivateFolder) {
        ScratchInstall::place(install.privateFiles());
    }
    const fs::path expected = (layout.expectBeside ? install.programs() : install.privateFiles()) /
                              VARNEL_SIM_LIBRARY_NAME;
    // The path must name the file itself, with no "bin/.." left in it for messages.
    EXPECT_EQ(simulatedDriverPath(install.programs()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SimulatedDriverPath,
    ::testing::Values(LayoutCase{"build_tree", true, false, true},
                      LayoutCase{"installed", false, true, false},
                      LayoutCase{"both", true, true, true},
                      LayoutCase{"neither_names_the_installed_place", false, false, false}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

} // namespace
