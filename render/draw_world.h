// The drawing pass of one view: planets, shots, ships and explosions, in that order.
#pragma once

#include "render/frustum.h"

// Draws what the view's clip planes let through; explosions are always drawn.
void drawWorld(const FrustumPlanes& frustum);
