// kelvidron-replay: records duels as the game plays them, plays them back, makes
// replays from key scripts and checks them against the simulation.
#include "app/control_mapping.h"
#include "app/keyboard.h"
#include "key_script.h"
#include "replay/duel_result.h"
#include "replay/replay_file.h"
#include "replay_duel.h"
#include "replay_live.h"
#include "replay_video.h"
#include "standard_options.h"
#include "world/duel_state.h"
#include "world/duel_step.h"
#include "world/ship.h"
#include "world/step_events.h"
#include "world/world.h"
#include "world/world_update.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char USAGE[] =
    "Usage: kelvidron-replay record FILE [GLUT options]\n"
    "       kelvidron-replay play FILE [GLUT options]\n"
    "       kelvidron-replay video FILE OUT.mp4\n"
    "       kelvidron-replay check FILE\n"
    "       kelvidron-replay make SCRIPT FILE [--steps N]\n"
    "\n"
    "  record the game exactly as kelvidron plays it, every step's input written to\n"
    "         FILE as it goes: a recording that is killed keeps all but its last\n"
    "         second. Ctrl-C or closing the window ends it with the duel so far.\n"
    "  play   the duel of FILE again in the game's window at its recorded speed.\n"
    "         Keys: space pauses and goes on, . steps one step while paused, - and +\n"
    "         halve and double the speed (1/8 to 8 times), e and r switch the view\n"
    "         as in the game (until then the players' own choices are followed).\n"
    "  make   plays a key script (lines of \"STEP KEY down|up\", as the capture tool\n"
    "         reads them) with no window and writes the duel as a replay to FILE; it\n"
    "         runs until the duel ends or N steps (default: the script's last event\n"
    "         plus 1,000).\n"
    "  check  plays FILE again with no window and compares the duel with the hashes\n"
    "         it holds. The last line reads \"N steps, M:SS.ss, RESULT, matches\".\n"
    "  video  draws FILE in the game's window and writes it as OUT.mp4 as the players\n"
    "         saw and heard it: H.264 at 60 frames per second, 1038x522 (the window,\n"
    "         1039x522, without its last column, which is grey frame: H.264 takes only\n"
    "         even sizes), and AAC stereo, player 1 on the left. It needs a display\n"
    "         (xvfb-run serves) and Data/ in the current folder or the installed one.\n"
    "\n"
    "Exit status: 0 done; 1 the duel differs from the recording (the step is named);\n"
    "2 a bad file, bad arguments or a video that cannot be made or written (none is\n"
    "left under its name); 3 a replay made by a build that simulates\n"
    "differently (another simulation fingerprint).\n";

void printSummary(size_t steps, DuelResult result) {
    const double seconds = static_cast<double>(steps) * DUEL_STEP_MS / 1000.0;
    const int minutes = static_cast<int>(seconds / 60);
    std::printf("%zu steps, %d:%05.2f, %s, matches\n", steps, minutes, seconds - minutes * 60,
                duelResultText(result));
}

void deliver(const ScriptedKey& key) {
    if (key.special)
        (key.down ? specialDown : specialUp)(key.code, 0, 0);
    else
        (key.down ? keyDown : keyUp)(static_cast<unsigned char>(key.code), 0, 0);
}

int make(const std::string& scriptPath, const std::string& file, long steps) {
    const KeyScript script = readKeyScript(scriptPath);
    if (!script.error.empty()) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", script.error.c_str());
        return 2;
    }
    if (steps < 0)
        steps = stepsCoveredBy(script) + 1000L;
    ReplayWriter writer;
    if (!writer.open(file, freshDuel(RAND_SEED), RAND_SEED)) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", writer.error().c_str());
        return 2;
    }
    size_t next = 0;
    long step = 0;
    for (; step < steps && gameRunning; ++step) {
        for (; next < script.keys.size() && script.keys[next].step <= step; ++next)
            deliver(script.keys[next]);
        const StepInput input = readStepInput();
        runDuelStep(input);
        retireBurntOutExplosions();
        writer.addStep(input, duelStateHash);
    }
    if (!writer.finish(duelResultNow())) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", writer.error().c_str());
        return 2;
    }
    printSummary(static_cast<size_t>(step), duelResultNow());
    return 0;
}

int check(const std::string& file) {
    ReplayReading reading;
    if (const int status = openReplayDuel(file, reading))
        return status;
    const Replay& replay = reading.replay;
    size_t step = 0;
    long shots[2] = {0, 0};
    for (const ReplayCheckpoint& checkpoint : replay.checkpoints) {
        for (; step < checkpoint.steps; ++step) {
            if (!gameRunning) {
                std::fprintf(stderr, "kelvidron-replay: %s: step %zu: the duel had already ended\n",
                             file.c_str(), step + 1);
                return 1;
            }
            runDuelStep(replay.inputs[step]);
            retireBurntOutExplosions();
            for (int s = 0; s < 2; ++s)
                shots[s] += stepEvents.shotsFired[s];
        }
        if (duelStateHash() != checkpoint.hash) {
            std::fprintf(
                stderr,
                "kelvidron-replay: %s: the duel differs from the recording after step %zu\n",
                file.c_str(), step);
            return 1;
        }
    }
    if (replay.ended && duelResultNow() != replay.result) {
        std::fprintf(stderr, "kelvidron-replay: %s: the recording says %s, the duel ends %s\n",
                     file.c_str(), duelResultText(replay.result), duelResultText(duelResultNow()));
        return 1;
    }
    if (reading.incomplete)
        std::printf("%s: incomplete after step %zu: checked up to its last whole chunk\n",
                    file.c_str(), step);
    std::printf("shots fired: player 1 %ld, player 2 %ld; health: player 1 %d, player 2 %d\n",
                shots[0], shots[1], ships[0]->health, ships[1]->health);
    printSummary(step, duelResultNow());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (answerStandardOption(argc, argv, "kelvidron-replay", USAGE))
        return 0;
    if (argc >= 3 && (!std::strcmp(argv[1], "record") || !std::strcmp(argv[1], "play"))) {
        // GLUT reads its own options from what follows the file.
        const std::string file = argv[2];
        const bool record = !std::strcmp(argv[1], "record");
        argv[2] = argv[0];
        int glutArgc = argc - 2;
        return record ? recordDuel(file, &glutArgc, argv + 2)
                      : playReplay(file, &glutArgc, argv + 2);
    }
    if (argc == 3 && !std::strcmp(argv[1], "check"))
        return check(argv[2]);
    if (argc == 4 && !std::strcmp(argv[1], "video"))
        return videoCommand(argv[2], argv[3], argv[0]);
    if ((argc == 4 || argc == 6) && !std::strcmp(argv[1], "make")) {
        long steps = -1;
        if (argc == 6) {
            char* end = nullptr;
            steps = std::strtol(argv[5], &end, 10);
            if (std::strcmp(argv[4], "--steps") || !*argv[5] || *end || steps < 0) {
                std::fputs(USAGE, stderr);
                return 2;
            }
        }
        return make(argv[2], argv[3], steps);
    }
    std::fputs(USAGE, stderr);
    return 2;
}
