// Relief spheres compiled into display lists: three levels of detail of each of the
// four height maps. The geometry comes from relief_geometry.h.
#pragma once

#include "assets/relief_geometry.h"
#include "math/vec3.h"

constexpr int RELIEF_LIST_COUNT = 12;

// Entry 3 * set + level: set 0 Earth, 1 Pluto, 2 Mars, 3 Venus; level 0, 1, 2 are
// resolutions 100, 200 and 400.
extern unsigned int reliefLists[RELIEF_LIST_COUNT];
// The largest distance of a vertex of each list from the relief's centre, measured
// as it is built (no point of a flat triangle lies farther out than its corners).
extern float reliefMaxRadius[RELIEF_LIST_COUNT];
// The radius of a ball around the centre that no face of the list enters.
extern float reliefInnerRadius[RELIEF_LIST_COUNT];

// The texture seam (on +x, where u = 1 meets u = 0) does not close: the two edges
// that meet there take their heights from opposite columns of the map, and where
// those differ one sees into the relief between them. Each gap lies in the plane
// z = 0: one quad per band whose seam edges differ, corners in the band's order.
struct ReliefSeamGap {
    Vec3 corners[4];
    // From which side of z = 0 the gap opens into the relief: from +z where the
    // u = 0 edge (on the -z side) stands farther out, from -z where the u = 1 edge does.
    bool opensTowardsPlusZ = false;
    bool opensTowardsMinusZ = false;
};
constexpr int RELIEF_MAX_SEAM_GAPS = RELIEF_MAX_RESOLUTION / 2;
extern ReliefSeamGap reliefSeamGaps[RELIEF_LIST_COUNT][RELIEF_MAX_SEAM_GAPS];
extern int reliefSeamGapCount[RELIEF_LIST_COUNT];

// Builds reliefLists[index] from bumpImage (computeRelief), one triangle strip per
// band. Resolution is even, 2..400. Without a usable map (1024 by 512, 32 bits) the
// sphere stays smooth.
void buildReliefList(int index, int resolution);
