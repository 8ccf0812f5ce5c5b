#pragma once

#include <stdexcept>
#include <string>

// A failure the command line reports as one line on standard error before it ends
// with the error status. Raised before anything is written.
struct CliError : std::runtime_error {
    explicit CliError(const std::string& line) : std::runtime_error(line) {}
};

// Exit statuses, as diff has them: 1 only ever means "the records differ".
inline constexpr int exitOk = 0;
inline constexpr int exitDifferent = 1;
inline constexpr int exitError = 2;
