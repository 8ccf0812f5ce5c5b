#pragma once

#include <filesystem>

// The folder of the running program's file, or "." when the system does not say.
std::filesystem::path programFolder();
