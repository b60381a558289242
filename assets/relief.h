// Relief spheres compiled into display lists: three levels of detail of each of the
// four height maps. The geometry comes from relief_geometry.h.
#pragma once

#include "assets/relief_geometry.h"

constexpr int RELIEF_LIST_COUNT = 12;

// Entry 3 * set + level: set 0 Earth, 1 Pluto, 2 Mars, 3 Venus; level 0, 1, 2 are
// resolutions 100, 200 and 400.
extern unsigned int reliefLists[RELIEF_LIST_COUNT];
// The largest distance of a vertex of each list from the relief's centre, measured
// as it is built (no point of a flat triangle lies farther out than its corners).
extern float reliefMaxRadius[RELIEF_LIST_COUNT];

// Builds reliefLists[index] from bumpImage (computeRelief), one triangle strip per
// band. Resolution is even, 2..400. Without a usable map (1024 by 512, 32 bits) the
// sphere stays smooth.
void buildReliefList(int index, int resolution);
