// The update pass of every step: explosions advance, everything moves, ships stay in
// the arena, spent shots retire, and a ship without health ends the game.
#pragma once

// The running flag of the fixed-step loop (app/game_loop.cpp reads it at the top of
// every idle pass). True at start; cleared here when a ship's health is gone and
// never set again. It lives with the pass that clears it, so the world needs nothing
// from the loop above it.
extern bool gameRunning;

// Ships beyond this distance from the origin on any axis are put back at the origin.
constexpr float ARENA_HALF_SIZE = 70.0f;

void updateWorld(float step);
// The same, with the explosions' particles moved by `particleStep` instead: they decide
// nothing of the duel, so a step run again may leave them (0) for a later one to
// catch up.
void updateWorld(float step, float particleStep);
