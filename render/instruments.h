// The two instruments in the top third of a view: the attitude globe and the
// direction indicator, each in an inset viewport of its own.
#pragma once

#include "render/display_views.h"

// Player p's instruments in the insets of the view placed at `view`.
void drawAttitudeGlobe(int p, const ViewPlacement& view);
void drawDirectionIndicator(int p, const ViewPlacement& view);

// The instrument insets of view p of the two in a sub-window of width w and height h:
// both one third of a half-view wide and high, in the top third; the globe on the
// left, the direction indicator on the right.
ViewRect globeInset(int p, int w, int h);
ViewRect indicatorInset(int p, int w, int h);
