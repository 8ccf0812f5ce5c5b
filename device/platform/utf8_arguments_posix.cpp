#include "device/platform/utf8_arguments.h"

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return {argv, argv + argc};
}
