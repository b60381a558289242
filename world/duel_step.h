// One simulation step of the duel from its input alone: what the game's step does
// between reading the keys and playing the sounds, for whatever has no keys (replays,
// the fingerprint, tests).
#pragma once

#include "world/step_input.h"

// Milliseconds of game time per step.
constexpr float DUEL_STEP_MS = 10.0f;

// Clears the step's events, applies the input, resolves the contacts and moves the
// world. The view choice is the caller's. `particleMs` is how far the explosions'
// particles move: a step run again after a rollback may hold them (0) and have the
// next new step move them by the time held, since they decide nothing of the duel.
void runDuelStep(const StepInput& input, float particleMs = DUEL_STEP_MS);
