// Recording: the game plays as ever, and a step listener hands each step's input to
// the replay writer, which keeps a chunk a second on disk.
#include "replay_duel.h"
#include "replay_live.h"

#include "app/game_folder.h"
#include "app/game_init.h"
#include "app/game_loop.h"
#include "app/platform_tick.h"
#include "replay/replay_file.h"
#include "world/duel_state.h"
#include "world/simulation_fingerprint.h"
#include "world/world_update.h"

#include <GL/freeglut.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

ReplayWriter recording;
std::string recordingPath;
volatile std::sig_atomic_t stopAsked = 0;
volatile std::sig_atomic_t recordingDone = 0;

void finishRecording() {
    if (!recording.isOpen())
        return;
    recordingDone = 1;
    const DuelResult result = duelResultNow();
    // The game's standard output stays its own: the tool speaks on standard error.
    if (recording.finish(result))
        std::fprintf(stderr, "kelvidron-replay: %s: %u steps kept, %s\n", recordingPath.c_str(),
                     recording.stepsWritten(), duelResultText(result));
    else
        std::fprintf(stderr, "kelvidron-replay: %s\n", recording.error().c_str());
}

void keepStep(const StepInput& input) {
    recording.addStep(input, duelStateHash);
    if (!recording.error().empty()) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", recording.error().c_str());
        std::exit(2);
    }
    // The duel is over: the file is finished at once, whatever the window does next.
    if (!gameRunning)
        finishRecording();
    // Asked to stop by a signal: the duel so far is kept whole, and the game ends
    // as a closed window ends it.
    if (stopAsked)
        std::exit(0);
}

// While the duel runs, the next step stops it; once the file is finished (a frozen
// game runs no steps) the signal does what it always does.
void askToStop(int signal) {
    stopAsked = 1;
    if (recordingDone) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

} // namespace

int recordDuel(const std::string& fileAsGiven, int* argc, char** argv) {
    const std::string file = absolutePath(fileAsGiven);
    if (!enterGameFolder()) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", missingGameFolderMessage().c_str());
        return 2;
    }
    openGame(argc, argv);
    // The fingerprint's built-in duel runs on the fresh world and restores it.
    if (!recording.open(file, simulationFingerprint(), RAND_SEED)) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", recording.error().c_str());
        return 2;
    }
    recordingPath = file;
    // A closed window ends the game through exit: the end of the duel is kept then.
    std::atexit(finishRecording);
    std::signal(SIGINT, askToStop);
    std::signal(SIGTERM, askToStop);
    stepListener = keepStep;
    // As the game does after its start-up: the time the fingerprint took is not played.
    lastTick = GetTickCount();
    glutMainLoop();
    return 0;
}
