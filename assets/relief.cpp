// Compiling the relief spheres into display lists, one list per level of detail of
// each height map; the geometry itself comes from relief_geometry.cpp.
#include "assets/relief.h"

#include "assets/relief_geometry.h"

#include <GL/gl.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

unsigned int reliefLists[RELIEF_LIST_COUNT];
float reliefMaxRadius[RELIEF_LIST_COUNT];
float reliefInnerRadius[RELIEF_LIST_COUNT];
ReliefSeamGap reliefSeamGaps[RELIEF_LIST_COUNT][RELIEF_MAX_SEAM_GAPS];
int reliefSeamGapCount[RELIEF_LIST_COUNT];

namespace {

// The band whose vertices start at `first` (R + 1 pairs): its seam edges are the
// first pair (u = 1) and the last (u = 0).
void noteSeamGap(int index, int first, int pairs) {
    const Vec3* p = reliefPositions + first;
    const Vec3 corners[4] = {p[0], p[1], p[2 * pairs - 1], p[2 * pairs - 2]};
    const float upperStep = corners[3].length() - corners[0].length();
    const float lowerStep = corners[2].length() - corners[1].length();
    if (upperStep == 0.0f && lowerStep == 0.0f)
        return;
    ReliefSeamGap& gap = reliefSeamGaps[index][reliefSeamGapCount[index]++];
    std::copy(corners, corners + 4, gap.corners);
    gap.opensTowardsPlusZ = upperStep > 0.0f || lowerStep > 0.0f;
    gap.opensTowardsMinusZ = upperStep < 0.0f || lowerStep < 0.0f;
}

} // namespace

void buildReliefList(int index, int resolution) {
    const bool inRange = index >= 0 && index < RELIEF_LIST_COUNT && resolution >= 2 &&
                         resolution <= RELIEF_MAX_RESOLUTION && resolution % 2 == 0;
    assert(inRange && "relief index must be 0..11 and resolution even, 2..400");
    if (!inRange)
        return;
    std::printf("STARTING READING...\n");
    if (!heightMapUsable())
        std::printf("no 1024 by 512 32-bit height map: relief %d is a smooth sphere\n", index);
    computeRelief(resolution);

    // A rebuilt entry replaces its old list instead of leaking it.
    if (reliefLists[index] != 0 && glIsList(reliefLists[index]))
        glDeleteLists(reliefLists[index], 1);
    const GLuint id = glGenLists(1);
    reliefLists[index] = id;
    glNewList(id, GL_COMPILE);
    const int bands = resolution / 2;
    const int pairs = resolution + 1;
    float maxRadius = 0.0f;
    float minRadius = reliefPositions[0].length();
    reliefSeamGapCount[index] = 0;
    int n = 0;
    for (int i = 0; i < bands; i++) {
        noteSeamGap(index, n, pairs);
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k < 2 * pairs; k++, n++) {
            glNormal3f(reliefNormals[n].x, reliefNormals[n].y, reliefNormals[n].z);
            glTexCoord2f(reliefTexCoords[n].x, reliefTexCoords[n].y);
            glVertex3f(reliefPositions[n].x, reliefPositions[n].y, reliefPositions[n].z);
            maxRadius = std::max(maxRadius, reliefPositions[n].length());
            minRadius = std::min(minRadius, reliefPositions[n].length());
        }
        glEnd();
    }
    glEndList();
    reliefMaxRadius[index] = maxRadius;
    // A face's corners lie less than a cell's diagonal, sqrt 2 * 2 pi / R, apart
    // in direction, so every point of it is at least minRadius * cos(diagonal) out;
    // a little less for the rounding of the vertices.
    const double diagonal = std::sqrt(2.0) * 2.0 * 3.1415926535 / resolution;
    reliefInnerRadius[index] =
        diagonal < 1.5 ? 0.999f * minRadius * static_cast<float>(std::cos(diagonal)) : 0.0f;
}
