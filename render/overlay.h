// The cockpit overlay of a view: the tilting ship and cockpit models, the attitude
// globe, the direction indicator, the health bar and the crosshair.
#pragma once

#include "render/display_views.h"

// Draws player p's overlay over the world of the view placed at `view`. Leaves lights
// 1 and 2, blending and texturing off, lighting and light 0 on, and the viewport on
// the whole view.
void drawOverlay(int p, const ViewPlacement& view);

// Its parts of its own; the instruments between them are in instruments.h.
void drawCockpitShip(int p);
void drawHealthAndCrosshair(int p, const ViewPlacement& view);
