#pragma once

// Whether standard input or standard error is an interactive terminal (a console on
// Windows), where the user can answer a question or watch a progress line.
bool standardInputIsTerminal();
bool standardErrorIsTerminal();
