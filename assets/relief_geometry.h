// The geometry of the relief spheres: a sphere of radius 4 displaced by the height
// map in bumpImage, computed into scratch arrays. No OpenGL; relief.h compiles it.
#pragma once

#include "math/vec3.h"

// 200 bands of 401 vertex pairs: the finest resolution, 400.
constexpr int RELIEF_MAX_RESOLUTION = 400;
constexpr int RELIEF_MAX_VERTICES = 160400;

// Scratch space of the builder, overwritten by every build: the vertices in strip
// order, band by band from the south pole, the upper vertex of each pair first.
// Texture coordinates are (u, v, 0).
extern Vec3 reliefPositions[RELIEF_MAX_VERTICES];
extern Vec3 reliefNormals[RELIEF_MAX_VERTICES];
extern Vec3 reliefTexCoords[RELIEF_MAX_VERTICES];

// Computes the vertices of a relief of the given resolution (even, 2..400) from
// bumpImage into the scratch arrays, in the order above: resolution / 2 triangle
// strips around the y axis (north at +y, u = 1 on +x), each vertex pushed out from
// radius 4 by 0.0005 of the radius per unit of the map's alpha. Returns how many it
// stored (resolution / 2 bands of resolution + 1 pairs), 0 for a resolution out of
// range. Without a usable map the sphere stays smooth.
int computeRelief(int resolution);

// Whether bumpImage holds a height map the builder can read: 1024 by 512, 32 bits.
bool heightMapUsable();

// The alpha (0..255) of the height-map pixel at column trunc(1023 u) and row
// trunc(511 v), rows counted from the bottom; 0 when bumpImage holds no usable map.
float sampleBumpHeight(float u, float v);
