// kelvidron-capture: runs the game's start-up in a real window, plays a key script
// through the game's own key callbacks for a number of fixed steps, draws one frame
// and writes it as a PNG. Run it from the folder that holds Data/.
#include "frame_grab.h"
#include "key_script.h"
#include "png_writer.h"

#include "app/game_loop.h"
#include "app/keyboard.h"
#include "render/display_views.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const USAGE =
    "usage: kelvidron-capture SCRIPT OUTPUT.png [--steps N] [--size WIDTHxHEIGHT]\n"
    "                         [--ship N X,Y,Z X,Y,Z]... [--view N]\n"
    "  SCRIPT   lines of 'step key down|up' (key: one character, or up, down, left,\n"
    "           right); '-' or an empty file for no keys\n"
    "  --steps  simulation steps to run (default: up to the last scripted key)\n"
    "  --size   size of the top-level window (default 1039x522)\n"
    "  --ship   after the steps, put ship N (1 or 2) at the first point with its nose\n"
    "           towards the second, its up as near world +y as the nose allows\n"
    "  --view   show player N's (1 or 2) view alone across the window, as one player\n"
    "           sees it at a machine of their own\n";

struct Placement {
    int ship;
    Vec3 position, target;
};

struct Options {
    std::string script;
    std::string output;
    int steps = -1;
    int width = 1039;
    int height = 522;
    std::vector<Placement> placements;
    int singleView = -1;
};

bool parsePoint(const char* text, Vec3& point) {
    char tail = 0;
    return std::sscanf(text, "%f,%f,%f%c", &point.x, &point.y, &point.z, &tail) == 3 &&
           std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
}

bool parseOptions(int argc, char** argv, Options& options) {
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--steps" && i + 1 < argc) {
            char* end = nullptr;
            const long steps = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || steps < 0 || steps > 100000000)
                return false;
            options.steps = static_cast<int>(steps);
        } else if (arg == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &options.width, &options.height) != 2 ||
                options.width < 1 || options.height < 1 || options.width > 8192 ||
                options.height > 8192)
                return false;
        } else if (arg == "--ship" && i + 3 < argc) {
            Placement p{};
            const std::string ship = argv[++i];
            if (ship != "1" && ship != "2")
                return false;
            p.ship = ship[0] - '1';
            if (!parsePoint(argv[++i], p.position) || !parsePoint(argv[++i], p.target) ||
                (p.position - p.target).length() == 0.0f)
                return false;
            options.placements.push_back(p);
        } else if (arg == "--view" && i + 1 < argc) {
            const std::string player = argv[++i];
            if (player != "1" && player != "2")
                return false;
            options.singleView = player[0] - '1';
        } else if (positional == 0) {
            options.script = arg;
            ++positional;
        } else if (positional == 1) {
            options.output = arg;
            ++positional;
        } else {
            return false;
        }
    }
    return positional == 2;
}

void deliver(const ScriptedKey& key) {
    if (key.special)
        (key.down ? specialDown : specialUp)(key.code, 0, 0);
    else
        (key.down ? keyDown : keyUp)(static_cast<unsigned char>(key.code), 0, 0);
}

// The nose (minus back) towards the target; right and up complete a right-handed frame.
void place(const Placement& p) {
    Vec3 back = p.position - p.target;
    back.setLength(1.0f);
    const Vec3 upHint = std::fabs(back.y) > 0.99f ? Vec3(0, 0, -1) : Vec3(0, 1, 0);
    Vec3 right = cross(upHint, back);
    right.setLength(1.0f);
    Ship& ship = *ships[p.ship];
    ship.setPosition(p.position.x, p.position.y, p.position.z);
    ship.setAxes(BodyAxes{right, cross(back, right), back});
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    const KeyScript script = options.script == "-" ? KeyScript{} : readKeyScript(options.script);
    if (!script.error.empty()) {
        std::fprintf(stderr, "kelvidron-capture: %s\n", script.error.c_str());
        return 2;
    }
    const int steps = options.steps >= 0 ? options.steps : stepsCoveredBy(script);

    int glutArgc = 1;
    char* glutArgv[] = {argv[0], nullptr};
    glutInit(&glutArgc, glutArgv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    showSingleView(options.singleView);
    // The capture drives the steps itself; the idle callback would add real time.
    startGameWithoutIdle(options.width, options.height);

    size_t next = 0;
    for (int step = 0; step < steps && gameRunning; ++step) {
        for (; next < script.keys.size() && script.keys[next].step <= step; ++next)
            deliver(script.keys[next]);
        simulationStep();
        ++stepsRun;
    }
    for (; next < script.keys.size(); ++next)
        deliver(script.keys[next]);
    for (const Placement& p : options.placements)
        place(p);
    if (!gameRunning)
        std::fprintf(stderr, "kelvidron-capture: the game ended after step %llu\n",
                     static_cast<unsigned long long>(stepsRun));

    const RgbImage frame = captureGameFrame();
    const std::string error = writePng(options.output, frame);
    if (!error.empty()) {
        std::fprintf(stderr, "kelvidron-capture: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
