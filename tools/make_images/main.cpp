// kelvidron-make-images: writes the game's twelve image files into the folder
// given on the command line. Every picture is computed from fixed seeds, so a
// rebuild gives the same files byte for byte.
#include "families.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const bool made = makeStarField(folder) && makeGasGiant(folder) && makeEarth(folder) &&
                      makeMars(folder) && makeVenus(folder) && makePluto(folder) &&
                      makeInstruments(folder);
    return made ? 0 : 1;
}
