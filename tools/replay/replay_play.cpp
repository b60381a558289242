// Playing a replay back in the game's window: the recorded inputs take the keys'
// place as the steps' input source, and the watcher's keys steer the playback.
#include "replay_duel.h"
#include "replay_live.h"

#include "app/control_mapping.h"
#include "app/game_folder.h"
#include "app/game_init.h"
#include "app/game_loop.h"
#include "app/platform_tick.h"
#include "app/window_record.h"
#include "sound/sound_player.h"
#include "world/duel_state.h"
#include "world/step_events.h"
#include "world/world_update.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <string>

namespace {

struct Playback {
    Replay replay;
    size_t step = 0;    // steps played
    size_t checked = 0; // checkpoints compared
    int speedShift = 0; // the speed is 2^speedShift, from 1/8 to 8
    bool paused = false;
    bool watcherChoseView = false;
    bool over = false;
    bool differs = false;
};

Playback playback;

StepInput recordedInput() {
    StepInput input = playback.replay.inputs[playback.step];
    // The recorded players' view choices are followed until the watcher makes one.
    if (playback.watcherChoseView)
        input.view = ViewChoice::Keep;
    return input;
}

void showState() {
    std::string title = "Kelvidron replay";
    const int s = playback.speedShift;
    title += s >= 0 ? ", " + std::to_string(1 << s) + "x" : ", 1/" + std::to_string(1 << -s) + "x";
    if (playback.over)
        title += ", the end";
    else if (playback.paused)
        title += ", paused";
    glutSetWindow(mainWindow.getId());
    glutSetWindowTitle(title.c_str());
}

void endPlayback() {
    playback.over = true;
    // As the game freezes: the engines stop, the rest rings out.
    clearStepEvents();
    hearStep(stepEvents, false);
    mainWindow.setIdleFunc(nullptr);
    showState();
    std::printf("end of the replay: %zu steps, %s, %s\n", playback.step,
                duelResultText(duelResultNow()),
                playback.differs ? "differs from the recording" : "matches");
}

// One step of the recording; the file's hashes are compared as their steps pass, so
// a replay that plays differently here says so.
void playStep() {
    simulationStep();
    ++stepsRun;
    ++playback.step;
    const std::vector<ReplayCheckpoint>& checkpoints = playback.replay.checkpoints;
    if (playback.checked < checkpoints.size() &&
        checkpoints[playback.checked].steps == playback.step) {
        if (duelStateHash() != checkpoints[playback.checked].hash && !playback.differs) {
            playback.differs = true;
            std::fprintf(stderr,
                         "kelvidron-replay: the duel differs from the recording after step %zu\n",
                         playback.step);
        }
        ++playback.checked;
    }
    if (!gameRunning || playback.step == playback.replay.inputs.size())
        endPlayback();
}

void onPlaybackIdle() {
    const float elapsed = elapsedMillis();
    if (!playback.paused) {
        const float speed = playback.speedShift >= 0
                                ? static_cast<float>(1 << playback.speedShift)
                                : 1.0f / static_cast<float>(1 << -playback.speedShift);
        stepAccumulator += elapsed * speed;
        while (stepAccumulator > STEP_MS && !playback.over) {
            playStep();
            stepAccumulator -= STEP_MS;
        }
    }
    mainWindow.refreshAll();
}

void onWatcherKey(unsigned char key, int, int) {
    if (playback.over)
        return;
    switch (key) {
    case ' ':
        playback.paused = !playback.paused;
        stepAccumulator = 0.0f;
        if (playback.paused)
            std::printf("paused at step %zu\n", playback.step);
        else
            std::printf("playing from step %zu\n", playback.step);
        break;
    case '.':
        if (!playback.paused)
            return;
        playStep();
        mainWindow.refreshAll();
        std::printf("step %zu\n", playback.step);
        break;
    case '-':
    case '+':
    case '=': // '+' without shift on most layouts
        playback.speedShift += key == '-' ? -1 : 1;
        playback.speedShift = playback.speedShift < -3  ? -3
                              : playback.speedShift > 3 ? 3
                                                        : playback.speedShift;
        std::printf("speed %s\n",
                    playback.speedShift >= 0
                        ? (std::to_string(1 << playback.speedShift) + "x").c_str()
                        : ("1/" + std::to_string(1 << -playback.speedShift) + "x").c_str());
        break;
    case 'e':
    case 'r':
        playback.watcherChoseView = true;
        applyViewChoice(key == 'e' ? ViewChoice::Inside : ViewChoice::Behind);
        break;
    default:
        return;
    }
    showState();
}

void ignoreKey(unsigned char, int, int) {}
void ignoreSpecial(int, int, int) {}

// Both windows take the watcher's keys, as both take the players' in the game.
void takeWatcherKeys(int window) {
    glutSetWindow(window);
    glutKeyboardFunc(onWatcherKey);
    glutKeyboardUpFunc(ignoreKey);
    glutSpecialFunc(ignoreSpecial);
    glutSpecialUpFunc(ignoreSpecial);
}

} // namespace

int playReplay(const std::string& fileAsGiven, int* argc, char** argv) {
    const std::string file = absolutePath(fileAsGiven);
    // The replay is read before the window opens, so a bad file opens none.
    ReplayReading reading;
    if (const int status = readReplayDuel(file, reading))
        return status;
    if (!enterGameFolder()) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", missingGameFolderMessage().c_str());
        return 2;
    }
    openGame(argc, argv);
    if (const int status = startReplayDuel(file, reading.replay))
        return status;
    playback.replay = std::move(reading.replay);
    if (playback.replay.inputs.empty()) {
        std::fprintf(stderr, "kelvidron-replay: %s: holds no steps to play\n", file.c_str());
        return 2;
    }
    stepInputSource = recordedInput;
    takeWatcherKeys(mainWindow.getId());
    takeWatcherKeys(mainWindow.subWindow(0).getId());
    mainWindow.setIdleFunc(onPlaybackIdle);
    showState();
    lastTick = GetTickCount();
    glutMainLoop();
    return 0;
}
