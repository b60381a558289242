// The two instruments in the top third of a view: the attitude globe, with the
// player's ship turned as it is in the world, and the direction indicator pointing
// at the other ship.
#include "render/instruments.h"

#include "assets/textures.h"
#include "math/mat4.h"
#include "render/cameras.h"
#include "render/lighting.h"
#include "render/sphere_drawing.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/gl.h>

ViewRect globeInset(int p, int w, int h) {
    return ViewRect{p == 0 ? 0 : w / 2 + 5, h - h / 3, w / 6, h / 3};
}

ViewRect indicatorInset(int p, int w, int h) {
    return ViewRect{p == 0 ? w / 3 : 5 * w / 6 + 5, h - h / 3, w / 6, h / 3};
}

namespace {

void setViewport(const ViewRect& r) { glViewport(r.x, r.y, r.width, r.height); }

} // namespace

void drawAttitudeGlobe(int p, const ViewPlacement& view) {
    setViewport(view.globe);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    setPerspective(view.insetAspect);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    ships[p]->drawScaled(1.0f);
    beginLightPair();
    placeLightPair(1.0f);
    resetMaterial();
    drawSphere(1.0, 40, true, textureNames[TEX_TEST]);
    endLightPair();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    setViewport(view.rect);
}

void drawDirectionIndicator(int p, const ViewPlacement& view) {
    const Ship& self = *ships[p];
    const Ship& other = *ships[p == 0 ? 1 : 0];
    Vec3 d = other.getPosition() - self.getPosition();
    const Vec3 back = self.back;

    setViewport(view.indicator);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    setPerspective(view.insetAspect);
    d.setLength(0.5f);

    // The direction is shown in the ship's own frame, 3 units in front of the
    // inset's eye, which looks along the ship's nose.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0, 0, -3);
    Mat4 inverse;
    self.inverseOrientationMatrix(inverse);
    glMultMatrixf(inverse.data());

    glPointSize(2.0f);
    glBegin(GL_POINTS);
    glColor3f(0, 1, 1);
    glVertex4f(d.x, d.y, d.z, 1);
    glEnd();
    glPointSize(5.0f);
    glBegin(GL_POINTS);
    glColor3f(1, 1, 0);
    glVertex4f(0, 0, 0, 1);
    glEnd();
    // Green when the other ship is behind, red when it is ahead, abeam or here.
    if (dot(back, d) > 0)
        glColor3f(0, 1, 0);
    else
        glColor3f(1, 0, 0);
    glBegin(GL_LINES);
    glVertex4f(0, 0, 0, 1);
    glVertex4f(d.x, d.y, d.z, 1);
    glEnd();
    glPopMatrix();

    glEnable(GL_LIGHTING);
    beginLightPair();
    placeLightPair(1.0f);
    resetMaterial();
    drawSphere(1.0, 30, true, textureNames[TEX_TEST]);
    // Light 0 stays off until the overlay has finished.
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHT2);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    setViewport(view.rect);
}
