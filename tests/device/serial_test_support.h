#pragma once

// Helpers for the tests that run the serial port against the simulated unit on a
// pseudo-terminal.

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// Runs body as a user without any rights to the terminals, in a child process, and
// returns what it returns (0-255). Root opens any tty whatever its mode, so the
// refusal can only be seen as somebody else.
inline int asUnprivilegedUser(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t nobody = 65534;
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0)) {
            _exit(255);
        }
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}
