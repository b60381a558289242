// --help and --version for the installed tools; the version is the CMake project's,
// handed in by the build, so that every tool and the package say the same.
#include "standard_options.h"

#include <cstdio>
#include <cstring>

bool answerStandardOption(int argc, char** argv, const char* program, const char* usage) {
    if (argc < 2)
        return false;
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        std::fputs(usage, stdout);
        std::printf("\n%s --help prints this text, %s --version the version.\n", program, program);
        return true;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("%s %s\n", program, KELVIDRON_VERSION);
        return true;
    }
    return false;
}
