// The game's folder, for programs started anywhere: the working folder when it has
// Data/, else the installed one, KELVIDRON_DATA_FROM_PROGRAM away from the program.
#include "app/game_folder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool holdsData(const std::string& folder) {
    struct stat info {};
    return stat((folder + "/Data").c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string installedFolder() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return "";
    const std::string program(self, static_cast<size_t>(length));
    return program.substr(0, program.find_last_of('/') + 1) + KELVIDRON_DATA_FROM_PROGRAM;
}

} // namespace

bool enterGameFolder() {
    if (holdsData("."))
        return true;
    const std::string installed = installedFolder();
    return !installed.empty() && holdsData(installed) && chdir(installed.c_str()) == 0;
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/')
        return path;
    char here[4096];
    if (!getcwd(here, sizeof here))
        return path;
    return std::string(here) + "/" + path;
}

std::string missingGameFolderMessage() {
    return "the game's pictures are missing: no folder Data/ here nor in " + installedFolder();
}
