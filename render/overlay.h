// The cockpit overlay of a view: the tilting ship and cockpit models, the attitude
// globe, the direction indicator, the health bar and the crosshair.
#pragma once

#include "render/display_views.h"

// Draws player p's overlay over the world of its view. Leaves lights 1 and 2, blending
// and texturing off, lighting and light 0 on, and the viewport on the whole view.
void drawOverlay(int p);

void drawCockpitShip(int p);
void drawAttitudeGlobe(int p);
void drawDirectionIndicator(int p);
void drawHealthAndCrosshair(int p);

// The instrument insets of view p in a sub-window of width w and height h: both one
// third of a half-view wide and high, in the top third; the globe on the left, the
// direction indicator on the right.
ViewRect globeInset(int p, int w, int h);
ViewRect indicatorInset(int p, int w, int h);
