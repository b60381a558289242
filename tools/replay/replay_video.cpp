// Frame k of a video shows the duel after every step whose time has come at k/60 s,
// drawn by the game's own code in its real windows; the sound is the offline mix of
// what each step made heard, every step's sounds starting at the step's own time.
#include "replay_video.h"

#include "frame_grab.h"
#include "pending_file.h"
#include "progress_line.h"
#include "replay_duel.h"

#include "app/game_folder.h"
#include "app/game_loop.h"
#include "app/window_record.h"
#include "sound/sound_mix.h"
#include "video/video_encoder.h"
#include "world/contact_rules.h"
#include "world/duel_state.h"
#include "world/step_events.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr long SOUND_FRAMES_PER_STEP = SOUND_RATE / 100;
constexpr long SOUND_FRAMES_PER_PICTURE = SOUND_RATE / VIDEO_FRAMES_PER_SECOND;
static_assert(SOUND_FRAMES_PER_STEP * 100 == SOUND_RATE &&
                  SOUND_FRAMES_PER_PICTURE * VIDEO_FRAMES_PER_SECOND == SOUND_RATE,
              "steps and pictures fall on whole sound frames");

// What the steps read and where their sounds go while a video is made.
const Replay* playing = nullptr;
size_t nextInput = 0;
SoundMix* soundMix = nullptr;

StepInput replayInput() { return playing->inputs[nextInput++]; }
void hearInMix(const StepInput&) { soundMix->hearStep(stepEvents, gameRunning); }

bool displayReachable() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

// The steps shown in picture k: those whose time has come at k / 60 s.
size_t stepsShownIn(long picture) {
    return static_cast<size_t>(picture * 1000 / VIDEO_FRAMES_PER_SECOND /
                               static_cast<long>(DUEL_STEP_MS));
}

} // namespace

int videoCommand(const std::string& replayPath, const std::string& outName, char* program) {
    ReplayReading reading;
    if (const int status = openReplayDuel(replayPath, reading))
        return status;
    const Replay& replay = reading.replay;
    const std::string outPath = absolutePath(outName);
    if (!enterGameFolder()) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", missingGameFolderMessage().c_str());
        return 2;
    }
    if (!displayReachable()) {
        std::fprintf(stderr,
                     "kelvidron-replay: a video is drawn in the game's window and needs a "
                     "display (%s); run it in a desktop session or under xvfb-run\n",
                     std::getenv("DISPLAY") ? "cannot open DISPLAY" : "DISPLAY is not set");
        return 2;
    }
    PendingFile out;
    if (!out.create(outPath)) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", out.error().c_str());
        return 2;
    }

    int glutArgc = 1;
    char* glutArgv[] = {program, nullptr};
    glutInit(&glutArgc, glutArgv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    startGameWithoutIdle(VIDEO_WINDOW_WIDTH, VIDEO_WINDOW_HEIGHT);
    // A window manager may insist on another size (a tiling one does).
    if (mainWindow.width != VIDEO_WINDOW_WIDTH || mainWindow.height != VIDEO_WINDOW_HEIGHT) {
        std::fprintf(stderr,
                     "kelvidron-replay: the window system gave the window %dx%d, not %dx%d; "
                     "run it under xvfb-run\n",
                     mainWindow.width, mainWindow.height, VIDEO_WINDOW_WIDTH, VIDEO_WINDOW_HEIGHT);
        return 2;
    }
    // The start-up drew a frame of its own; the duel starts afresh from the replay's seed.
    freshDuel(replay.randSeed);
    hitFlash[0] = hitFlash[1] = 0;

    VideoEncoder encoder;
    if (!encoder.open(out.temporaryPath(), VIDEO_WINDOW_WIDTH, VIDEO_WINDOW_HEIGHT,
                      VIDEO_FRAMES_PER_SECOND, SOUND_RATE, outName)) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", encoder.error().c_str());
        return 2;
    }
    SoundMix mix;
    playing = &replay;
    nextInput = 0;
    soundMix = &mix;
    stepInputSource = replayInput;
    stepListener = hearInMix;

    const size_t steps = replay.inputs.size();
    // The last picture shows the duel's end.
    const long pictures = static_cast<long>(steps) * VIDEO_FRAMES_PER_SECOND / 100 + 1;
    ProgressLine progress("kelvidron-replay: " + outName, pictures);
    std::vector<int16_t> sound;
    long soundFrames = 0;
    size_t step = 0;
    size_t checkpoint = 0;
    bool written = true;
    auto mixUntil = [&](long frame) {
        sound.clear();
        mix.mix(static_cast<int>(frame - soundFrames), sound);
        soundFrames = frame;
        written = written && encoder.addSound(sound.data(), static_cast<int>(sound.size() / 2));
    };
    for (long picture = 0; picture < pictures && written; ++picture) {
        for (; step < std::min(stepsShownIn(picture), steps); ++step) {
            if (!gameRunning) {
                progress.finish();
                std::fprintf(stderr, "kelvidron-replay: %s: step %zu: the duel had already ended\n",
                             replayPath.c_str(), step + 1);
                return 1;
            }
            // The step's sounds start when its time has come, as in the game, where a
            // step runs once its 10 ms have passed.
            mixUntil(static_cast<long>(step + 1) * SOUND_FRAMES_PER_STEP);
            simulationStep();
            ++stepsRun;
            const std::vector<ReplayCheckpoint>& marks = replay.checkpoints;
            if (checkpoint < marks.size() && marks[checkpoint].steps == step + 1) {
                if (duelStateHash() != marks[checkpoint].hash) {
                    progress.finish();
                    std::fprintf(stderr,
                                 "kelvidron-replay: %s: the duel differs from the recording after "
                                 "step %zu\n",
                                 replayPath.c_str(), step + 1);
                    return 1;
                }
                ++checkpoint;
            }
        }
        written = written && encoder.addPicture(captureGameFrame());
        progress.update(picture + 1);
    }
    if (written)
        mixUntil(pictures * SOUND_FRAMES_PER_PICTURE);
    progress.finish();
    if (!written || !encoder.finish()) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", encoder.error().c_str());
        return 2;
    }
    if (!out.commit()) {
        std::fprintf(stderr, "kelvidron-replay: %s\n", out.error().c_str());
        return 2;
    }
    if (reading.incomplete)
        std::printf("%s: incomplete after step %zu: the video ends there\n", replayPath.c_str(),
                    steps);
    const double seconds = static_cast<double>(pictures) / VIDEO_FRAMES_PER_SECOND;
    std::printf("%s: %zu steps, %s, %ld frames (%.2f s) of %dx%d at %d per second\n",
                outName.c_str(), steps, duelResultText(duelResultNow()), pictures, seconds,
                evenSize(VIDEO_WINDOW_WIDTH), evenSize(VIDEO_WINDOW_HEIGHT),
                VIDEO_FRAMES_PER_SECOND);
    return 0;
}
