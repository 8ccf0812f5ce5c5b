#pragma once

#include <filesystem>
#include <optional>

// The folder where this user's programs keep their data, or nothing when the
// environment does not name one as an absolute path; relative values are ignored, as
// if unset.
std::optional<std::filesystem::path> userDataHome();
