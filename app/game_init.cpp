// The start-up sequence.
#include "app/game_loop.h"
#include "app/windows.h"

void initGame() {
    createWindows();
    stepAccumulator = 0.0f;
}

void simulationStep() {}
