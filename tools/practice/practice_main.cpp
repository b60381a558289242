// kelvidron-practice: the game for one, player 2 flown by the computer pilot; or two
// computer pilots in a duel to watch. Player 1 sees their own view alone across the
// window, with the game's cockpit, instruments and sound.
#include "app/control_mapping.h"
#include "app/game_folder.h"
#include "app/game_init.h"
#include "app/game_loop.h"
#include "pilot/pilot.h"
#include "render/display_views.h"
#include "render/frame_caption.h"
#include "replay/duel_result.h"
#include "replay/replay_file.h"
#include "standard_options.h"
#include "world/duel_state.h"
#include "world/ship.h"
#include "world/simulation_fingerprint.h"
#include "world/step_events.h"
#include "world/world.h"
#include "world/world_update.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

const char USAGE[] =
    "Usage: kelvidron-practice [--level 1|2|3] [--record FILE] [--watch] [--seed N]\n"
    "\n"
    "The duel for one: you fly player 1 with either key set of the game (or a\n"
    "gamepad) and the computer flies player 2. You see your own view across the whole\n"
    "window, with the cockpit, the instruments and your ship's sound. When a ship's\n"
    "health is gone the picture freezes and says who won; close the window to quit.\n"
    "\n"
    "  --level N    the computer's level: 1 slow and loose (a beginner can win), 2 a\n"
    "               fair duel, 3 hard (default 2)\n"
    "  --record F   writes the duel as a replay file (kelvidron-replay check F checks\n"
    "               it, kelvidron-replay play F shows it again)\n"
    "  --watch      two computer pilots duel: you watch player 1's, which flies at\n"
    "               level 3 against the --level one\n"
    "  --seed N     fixes the pilots' choices (default: a new seed each time, printed)\n"
    "  --help       shows this\n"
    "  --version    says the program's version\n"
    "\n"
    "The end is also printed on standard output: who won, when, and the hits on each\n"
    "ship. Exit status: 0 after the window is closed, 2 for bad arguments, a replay\n"
    "file that cannot be written or the game's pictures (Data/) not found.\n";

constexpr int WATCHED_LEVEL = 3;

struct Practice {
    int level = 2;
    bool watch = false;
    uint32_t seed = 0;
    std::string record;
    std::unique_ptr<Pilot> computer;
    std::unique_ptr<Pilot> watched;
    ReplayWriter writer;
    bool recording = false;
    bool ended = false;
    int hitsTaken[2] = {0, 0};
    std::string top;
    std::string end;
} practice;

StepInput practiceInput() {
    // The keys are read in every step, so the view keys work and no press is left
    // over; in a watched duel they fly nothing.
    const StepInput keys = readStepInput();
    StepInput input;
    input.view = keys.view;
    if (practice.watched) {
        input.ships[0] = practice.watched->decide();
    } else {
        // Either key set (and either pad) flies player 1's ship.
        input.ships[0].channels = keys.ships[0].channels | keys.ships[1].channels;
        input.ships[0].fire = keys.ships[0].fire || keys.ships[1].fire;
    }
    input.ships[1] = practice.computer->decide();
    return input;
}

std::string endText(DuelResult result) {
    if (result == DuelResult::BothDestroyed)
        return "Both ships are destroyed";
    const bool one = result == DuelResult::PlayerOneWins;
    if (practice.watch)
        return "Level " + std::to_string(one ? WATCHED_LEVEL : practice.level) + " (" +
               (one ? "this ship" : "the other ship") + ") wins";
    return one ? "You win" : "The computer wins";
}

void finishRecording(DuelResult result) {
    if (practice.recording && !practice.writer.finish(result))
        std::fprintf(stderr, "kelvidron-practice: %s\n", practice.writer.error().c_str());
    practice.recording = false;
}

void afterStep(const StepInput& input) {
    if (practice.recording)
        practice.writer.addStep(input, duelStateHash);
    for (int s = 0; s < 2; ++s)
        practice.hitsTaken[s] += stepEvents.hits[s];
    if (gameRunning || practice.ended)
        return;
    practice.ended = true;
    const DuelResult result = duelResultNow();
    practice.end = endText(result);
    setFrameCaption(practice.end + "\nclose the window to quit");
    const double seconds = static_cast<double>(stepsRun + 1) * DUEL_STEP_MS / 1000.0;
    std::printf("%s after %d:%05.2f: player 1 was hit %d times, player 2 %d times\n",
                practice.end.c_str(), static_cast<int>(seconds / 60),
                seconds - 60 * static_cast<int>(seconds / 60), practice.hitsTaken[0],
                practice.hitsTaken[1]);
    finishRecording(result);
}

bool number(const char* text, long lo, long hi, long& out) {
    char* end = nullptr;
    out = std::strtol(text, &end, 10);
    return *text && !*end && out >= lo && out <= hi;
}

} // namespace

int main(int argc, char** argv) {
    if (answerStandardOption(argc, argv, "kelvidron-practice", USAGE))
        return 0;
    bool seeded = false;
    for (int i = 1; i < argc; ++i) {
        long value = 0;
        if (!std::strcmp(argv[i], "--watch")) {
            practice.watch = true;
        } else if (!std::strcmp(argv[i], "--level") && i + 1 < argc &&
                   number(argv[i + 1], 1, PILOT_LEVELS, value)) {
            practice.level = static_cast<int>(value);
            ++i;
        } else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc &&
                   number(argv[i + 1], 0, 4294967295L, value)) {
            practice.seed = static_cast<uint32_t>(value);
            seeded = true;
            ++i;
        } else if (!std::strcmp(argv[i], "--record") && i + 1 < argc) {
            practice.record = argv[++i];
        } else {
            std::fprintf(stderr, "kelvidron-practice: unknown or incomplete argument '%s'\n\n%s",
                         argv[i], USAGE);
            return 2;
        }
    }
    practice.record = absolutePath(practice.record);
    if (!enterGameFolder()) {
        std::fprintf(stderr, "kelvidron-practice: %s\n", missingGameFolderMessage().c_str());
        return 2;
    }
    if (!seeded)
        practice.seed = std::random_device{}();
    std::printf("seed %u (--seed %u flies the same choices again)\n", practice.seed, practice.seed);

    int glutArgc = 1;
    openSingleView(0, &glutArgc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    if (!practice.record.empty()) {
        // The world openGame set up is the fresh one the fingerprint needs.
        if (!practice.writer.open(practice.record, simulationFingerprint(), 1)) {
            std::fprintf(stderr, "kelvidron-practice: %s\n", practice.writer.error().c_str());
            return 2;
        }
        practice.recording = true;
    }
    practice.computer = std::make_unique<Pilot>(1, practice.level, practice.seed);
    if (practice.watch) {
        practice.watched = std::make_unique<Pilot>(0, WATCHED_LEVEL, practice.seed + 1);
        practice.top = "Computer pilots: level " + std::to_string(WATCHED_LEVEL) +
                       " (this view) against level " + std::to_string(practice.level);
    } else {
        practice.top = "Practice against the computer, level " + std::to_string(practice.level);
    }
    stepInputSource = practiceInput;
    stepListener = afterStep;
    setFrameHeading(practice.top);
    glutMainLoop();
    if (!practice.ended)
        finishRecording(DuelResult::Unfinished);
    return 0;
}
