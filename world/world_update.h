// The update pass of every step: explosions advance, everything moves, ships stay in
// the arena, spent shots retire, and a ship without health ends the game.
#pragma once

// Ships beyond this distance from the origin on any axis are put back at the origin.
constexpr float ARENA_HALF_SIZE = 70.0f;

void updateWorld(float step);
