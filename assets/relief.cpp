// Compiling the relief spheres into display lists, one list per level of detail of
// each height map; the geometry itself comes from relief_geometry.cpp.
#include "assets/relief.h"

#include "assets/relief_geometry.h"

#include <GL/gl.h>

#include <algorithm>
#include <cassert>
#include <cstdio>

unsigned int reliefLists[RELIEF_LIST_COUNT];
float reliefMaxRadius[RELIEF_LIST_COUNT];

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
    int n = 0;
    for (int i = 0; i < bands; i++) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k < 2 * pairs; k++, n++) {
            glNormal3f(reliefNormals[n].x, reliefNormals[n].y, reliefNormals[n].z);
            glTexCoord2f(reliefTexCoords[n].x, reliefTexCoords[n].y);
            glVertex3f(reliefPositions[n].x, reliefPositions[n].y, reliefPositions[n].z);
            maxRadius = std::max(maxRadius, reliefPositions[n].length());
        }
        glEnd();
    }
    glEndList();
    reliefMaxRadius[index] = maxRadius;
}
