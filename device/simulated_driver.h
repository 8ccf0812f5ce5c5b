#pragma once

#include <filesystem>

// The simulated adapter's library for a program that lives in `programDir`: beside the
// program, as in the build tree, or else in the installation's private folder
// (../lib/varnel/ from bin/). When neither exists, the installed place, so that the
// binding fails on a path that says where the library was expected.
std::filesystem::path simulatedDriverPath(const std::filesystem::path& programDir);
