// The drawing pass of one view: planets, shots, ships and explosions, in that order.
#pragma once

#include "render/frustum.h"

// Draws what the view's clip planes let through; explosions are always drawn.
// It runs the four phases below, in their order.
void drawWorld(const FrustumPlanes& frustum);

// The planets the view can see, each at the detail its distance calls for.
void drawCelestialBodies(const FrustumPlanes& frustum);
// The live shots in the view, in firing order.
void drawProjectiles(const FrustumPlanes& frustum);
// The ships in the view, player 1's first.
void drawShips(const FrustumPlanes& frustum);
// Every explosion, blended points last; finished ones leave the list here.
void drawExplosions();
