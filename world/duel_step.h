// One simulation step of the duel from its input alone: what the game's step does
// between reading the keys and playing the sounds, for whatever has no keys (replays,
// the fingerprint, tests).
#pragma once

#include "world/step_input.h"

// Milliseconds of game time per step.
constexpr float DUEL_STEP_MS = 10.0f;

// Clears the step's events, applies the input, resolves the contacts and moves the
// world. The view choice is the caller's.
void runDuelStep(const StepInput& input);

// Without drawing, explosions never leave their list: programs that run duels with no
// window retire the burnt-out ones after each step, as drawing does, so that memory
// stays bounded. Only the particles depend on it.
void retireBurntOutExplosions();
