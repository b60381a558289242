// One simulation step, the idle callback and the step accumulator.
#include "app/game_loop.h"

#include "app/control_mapping.h"
#include "app/gamepad_keys.h"
#include "app/platform_tick.h"
#include "app/window_record.h"
#include "sound/sound_player.h"
#include "world/duel_step.h"
#include "world/step_events.h"

#include <GL/freeglut.h>

uint32_t lastTick = 0;
float stepAccumulator = 0.0f;
uint64_t stepsRun = 0;
StepInput (*stepInputSource)() = readStepInput;
void (*stepListener)(const StepInput& input) = nullptr;

void simulationStep() {
    // The keys and pads become this step's input (what mapControls reads), and the
    // duel's own step runs it, so the game and a replay step alike.
    const StepInput input = stepInputSource();
    applyViewChoice(input.view);
    runDuelStep(input);
    if (stepListener)
        stepListener(input);
    // Silent until main has started the sound.
    hearStep(stepEvents, gameRunning);
}

float elapsedMillis() {
    const uint32_t now = GetTickCount();
    const uint32_t d = now - lastTick;
    lastTick = now;
    return static_cast<float>(d);
}

void onIdle() {
    if (!gameRunning) {
        // Only reached if GLUT calls once more after the freeze: nothing to do.
        glutIdleFunc(nullptr);
        return;
    }
    // The pads are read where the keys come in, ahead of the steps, so every step of
    // this pass sees them as it sees the keys.
    readGamepads();
    stepAccumulator += elapsedMillis();
    // Strictly greater: an accumulator of exactly 10 waits for the next pass.
    while (stepAccumulator > STEP_MS) {
        simulationStep();
        ++stepsRun;
        stepAccumulator -= STEP_MS;
    }
    mainWindow.refreshAll();
    // The steps already due ran and this pass redraws; afterwards there is nothing
    // left to do, so stop being called in a busy loop.
    if (!gameRunning)
        mainWindow.setIdleFunc(nullptr);
}
