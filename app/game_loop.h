// The fixed-step loop and the step it runs: wall time accumulates in milliseconds and the
// simulation advances in whole steps of STEP_MS, independent of the frame rate.
#pragma once

#include "world/duel_step.h"    // the step's length
#include "world/world_update.h" // gameRunning, which the loop reads

#include <cstdint>

constexpr float STEP_MS = DUEL_STEP_MS;

// Tick of the previous clock sample; main takes the first one after start-up so
// that loading time is never simulated.
extern uint32_t lastTick;
// Wall time not yet simulated; after each idle pass it lies in [0, 10].
extern float stepAccumulator;
// Simulation steps run since start-up (for tools and tests that count them).
extern uint64_t stepsRun;

// Where each step's input comes from: the keys and pads (readStepInput) in the game;
// a program beside it puts its own here (a replay's inputs, a computer pilot).
extern StepInput (*stepInputSource)();
// Told of every step once it has run, with its input (a recording keeps them); the
// game sets none.
extern void (*stepListener)(const StepInput& input);

// One simulation step: its input, the view choice, contacts and movement, the
// listener, then what the step made heard.
void simulationStep();

// Milliseconds since the last sample, in unsigned 32-bit arithmetic so that a
// wrapped tick counter still gives the small positive difference.
float elapsedMillis();

// The GLUT idle callback: runs every step that is due, then asks for a redraw.
// Once the game has frozen it unregisters itself, so the frozen game no longer
// spins a core; GLUT still redraws the windows when they are exposed.
void onIdle();
