// kelvidron-make-models: writes the game's four models as C++ source.
#include "models.h"
#include "source_writer.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    const std::vector<BuiltModel> models = {makeFirstShip(), makeSecondShip(), makeCockpit(),
                                            makeTiltingShip()};
    // Written beside the target and renamed, so a failed run never leaves half a file.
    const std::string target = argv[1];
    const std::string partial = target + ".partial";
    std::FILE* out = std::fopen(partial.c_str(), "w");
    if (!out) {
        std::perror(partial.c_str());
        return 1;
    }
    const bool written = writeModelSource(out, models);
    if (std::fclose(out) != 0 || !written || std::rename(partial.c_str(), target.c_str()) != 0) {
        std::perror(target.c_str());
        std::remove(partial.c_str());
        return 1;
    }
    for (const BuiltModel& m : models)
        std::printf("%-11s %6zu faces %5zu vertices %6zu normals %5zu texture coordinates "
                    "%3zu materials %3zu groups\n",
                    m.name.c_str(), m.faces.size(), m.vertices.size() / 3, m.normals.size() / 3,
                    m.texCoords.size() / 2, m.materials.size(), m.groups.size());
    return 0;
}
