// kelvidron-replay: makes replays from key scripts and checks replays against the
// simulation, with no window.
#include "app/control_mapping.h"
#include "app/keyboard.h"
#include "key_script.h"
#include "replay/replay_file.h"
#include "world/duel_state.h"
#include "world/duel_step.h"
#include "world/entity_list.h"
#include "world/ship.h"
#include "world/simulation_fingerprint.h"
#include "world/world.h"
#include "world/world_update.h"

#include <GL/freeglut.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t RAND_SEED = 1;

const char USAGE[] =
    "Usage: kelvidron-replay make SCRIPT FILE [--steps N]\n"
    "       kelvidron-replay check FILE\n"
    "\n"
    "  make   plays a key script (lines of \"STEP KEY down|up\", as the capture tool\n"
    "         reads them) with no window and writes the duel as a replay to FILE; it\n"
    "         runs until the duel ends or N steps (default: the script's last event\n"
    "         plus 1,000).\n"
    "  check  plays FILE again with no window and compares the duel with the hashes\n"
    "         it holds. The last line reads \"N steps, M:SS.ss, RESULT, matches\".\n"
    "\n"
    "Exit status: 0 done; 1 the duel differs from the recording (the step is named);\n"
    "2 a bad file or bad arguments; 3 a replay made by a build that simulates\n"
    "differently (another simulation fingerprint).\n";

// A fresh duel, and the fingerprint taken on it.
uint64_t freshDuel(uint32_t seed) {
    std::srand(seed);
    gameRunning = true;
    setUpWorld();
    return simulationFingerprint();
}

DuelResult resultNow() {
    if (gameRunning)
        return DuelResult::Unfinished;
    const bool oneAlive = ships[0]->health > 0;
    const bool twoAlive = ships[1]->health > 0;
    if (oneAlive == twoAlive)
        return DuelResult::BothDestroyed;
    return oneAlive ? DuelResult::PlayerOneWins : DuelResult::PlayerTwoWins;
}

const char* resultText(DuelResult r) {
    switch (r) {
    case DuelResult::PlayerOneWins:
        return "player 1 wins";
    case DuelResult::PlayerTwoWins:
        return "player 2 wins";
    case DuelResult::BothDestroyed:
        return "both ships destroyed";
    default:
        return "unfinished";
    }
}

void printSummary(size_t steps, DuelResult result) {
    const double seconds = static_cast<double>(steps) * DUEL_STEP_MS / 1000.0;
    const int minutes = static_cast<int>(seconds / 60);
    std::printf("%zu steps, %d:%05.2f, %s, matches\n", steps, minutes, seconds - minutes * 60,
                resultText(result));
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
        writer.addStep(input, duelStateHash());
    }
    if (!writer.finish(resultNow())) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", writer.error().c_str());
        return 2;
    }
    printSummary(static_cast<size_t>(step), resultNow());
    return 0;
}

int check(const std::string& file) {
    const ReplayReading reading = readReplay(file);
    if (!reading.error.empty()) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", reading.error.c_str());
        return 2;
    }
    const Replay& replay = reading.replay;
    const uint64_t fingerprint = freshDuel(replay.randSeed);
    if (replay.fingerprint != fingerprint) {
        std::fprintf(stderr,
                     "kelvidron-replay: %s: recorded by a build that simulates differently "
                     "(fingerprint %016" PRIx64 ", this build's is %016" PRIx64
                     "); it is not played\n",
                     file.c_str(), replay.fingerprint, fingerprint);
        return 3;
    }
    size_t step = 0;
    for (const ReplayCheckpoint& checkpoint : replay.checkpoints) {
        for (; step < checkpoint.steps; ++step) {
            if (!gameRunning) {
                std::fprintf(stderr, "kelvidron-replay: %s: step %zu: the duel had already ended\n",
                             file.c_str(), step + 1);
                return 1;
            }
            runDuelStep(replay.inputs[step]);
            retireBurntOutExplosions();
        }
        if (duelStateHash() != checkpoint.hash) {
            std::fprintf(
                stderr,
                "kelvidron-replay: %s: the duel differs from the recording after step %zu\n",
                file.c_str(), step);
            return 1;
        }
    }
    if (replay.ended && resultNow() != replay.result) {
        std::fprintf(stderr, "kelvidron-replay: %s: the recording says %s, the duel ends %s\n",
                     file.c_str(), resultText(replay.result), resultText(resultNow()));
        return 1;
    }
    if (reading.incomplete)
        std::printf("%s: incomplete after step %zu: checked up to its last whole chunk\n",
                    file.c_str(), step);
    printSummary(step, resultNow());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (argc == 3 && !std::strcmp(argv[1], "check"))
        return check(argv[2]);
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
