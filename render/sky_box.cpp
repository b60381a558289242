// The star box around the arena.
#include "render/sky_box.h"

#include "assets/textures.h"

#include <GL/gl.h>

namespace {

constexpr float H = 100.0f;

// Faces in drawing order, four corners each. The arena (within +/-70) lies inside,
// and the box does not follow the camera: the stars are fixed in the world.
const float FACES[6][4][3] = {
    {{-H, -H, -H}, {H, -H, -H}, {H, -H, H}, {-H, -H, H}}, // y = -100
    {{-H, H, -H}, {H, H, -H}, {H, H, H}, {-H, H, H}},     // y = +100
    {{H, -H, -H}, {H, H, -H}, {H, H, H}, {H, -H, H}},     // x = +100
    {{-H, -H, -H}, {-H, H, -H}, {-H, H, H}, {-H, -H, H}}, // x = -100
    {{H, -H, H}, {-H, -H, H}, {-H, H, H}, {H, H, H}},     // z = +100
    {{H, -H, -H}, {-H, -H, -H}, {-H, H, -H}, {H, H, -H}}, // z = -100
};

// The star image repeats twice across each face.
const float TEX_COORDS[4][2] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};

} // namespace

void drawSkyBox() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_STARS]);
    for (const auto& face : FACES) {
        glBegin(GL_POLYGON);
        for (int corner = 0; corner < 4; ++corner) {
            glTexCoord2f(TEX_COORDS[corner][0], TEX_COORDS[corner][1]);
            glVertex4f(face[corner][0], face[corner][1], face[corner][2], 1.0f);
        }
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
}
