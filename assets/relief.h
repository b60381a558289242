// Relief spheres: spheres of radius 4 displaced by a height map, at three levels
// of detail, compiled into display lists.
#pragma once

#include "math/vec3.h"

constexpr int RELIEF_LIST_COUNT = 12;
// 200 bands of 401 vertex pairs: the finest resolution, 400.
constexpr int RELIEF_MAX_RESOLUTION = 400;
constexpr int RELIEF_MAX_VERTICES = 160400;

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

// Scratch space of the builder, overwritten by every build: the vertices in strip
// order, band by band from the south pole, the upper vertex of each pair first.
// Texture coordinates are (u, v, 0).
extern Vec3 reliefPositions[RELIEF_MAX_VERTICES];
extern Vec3 reliefNormals[RELIEF_MAX_VERTICES];
extern Vec3 reliefTexCoords[RELIEF_MAX_VERTICES];

// Builds reliefLists[index] from bumpImage: resolution / 2 triangle strips around
// the y axis (north at +y, u = 1 on +x), each vertex pushed out from radius 4 by
// 0.0005 of the radius per unit of the map's alpha. Resolution is even, 2..400.
// Without a usable map (1024 by 512, 32 bits) the sphere stays smooth.
void buildReliefList(int index, int resolution);

// Computes the vertices of a relief of the given resolution (even, 2..400) from
// bumpImage into the scratch arrays, in the order above; returns how many it
// stored (resolution / 2 bands of resolution + 1 pairs), 0 for a resolution out of
// range. No OpenGL involved.
int computeRelief(int resolution);

// Whether bumpImage holds a height map the builder can read: 1024 by 512, 32 bits.
bool heightMapUsable();

// The alpha (0..255) of the height-map pixel at column trunc(1023 u) and row
// trunc(511 v), rows counted from the bottom; 0 when bumpImage holds no usable map.
float sampleBumpHeight(float u, float v);
