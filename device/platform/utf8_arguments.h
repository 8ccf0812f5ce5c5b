#pragma once

#include <string>
#include <vector>

// The program's command-line arguments in UTF-8. Windows hands main() its arguments in
// the system's code page, which loses every character outside it; the wide command
// line keeps them.
std::vector<std::string> utf8Arguments(int argc, char** argv);
