// The simulation fingerprint: a number that two builds share only if they turn and
// step the duel to the same bits, so that builds that would disagree are told apart
// before a duel rather than during one.
#pragma once

#include "world/step_input.h"

#include <cstdint>

// Steps of the built-in duel.
constexpr int BUILT_IN_DUEL_STEPS = 700;

// The built-in duel's input at a step: player 1 turns towards player 2 and fires
// every sixth step, player 2 pitches, fires every eleventh step and thrusts, so that
// shots fly, hit and burst.
StepInput builtInDuelInput(int step);

// The hash of the sines, cosines and turns at every angle the control levels can
// make, and of the duel state along the built-in duel. The duel runs on the world as
// setUpWorld left it, which must be the current one; the world is restored afterwards
// (its pools then hold the objects the duel made). Computed once per process.
uint64_t simulationFingerprint();
