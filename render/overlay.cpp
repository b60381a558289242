// The overlay camera, the cockpit with its tilting ship, the health bar and the
// crosshair.
#include "render/overlay.h"

#include "assets/textures.h"
#include "render/cameras.h"
#include "render/instruments.h"
#include "render/models.h"
#include "world/contact_rules.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/glu.h>

void drawOverlay(int p, const ViewPlacement& view) {
    const float s = view.cockpitScale;
    // Over the world, depth-tested only against itself.
    glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHT1);
    gluLookAt(0, 2, 5, 0, 0, 0, 0, 4, -4);
    glPushMatrix();
    const GLfloat cockpitLight[4] = {0, 1, 9, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, cockpitLight);
    glTranslatef(0, -0.8f, 1.3f);
    glRotatef(180, 0, 1, 0);
    glScalef(s, s, s);
    const bool flash = hitFlash[p] != 0;
    if (flash) {
        // Red tint for the frames after a hit.
        glEnable(GL_COLOR_MATERIAL);
        glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        glColor4f(1, 0, 0, 1);
    }
    drawCockpitShip(p);
    glPushMatrix();
    glTranslatef(0, -0.2f, 1.8f);
    glScalef(4, 5, 4);
    glRotatef(-90, 1, 0, 0);
    // A view wider than a half-window one draws the frame at a half's aspect, so that
    // the frame spans it as it spans a half; the tilting ship keeps its shape.
    const bool stretched = view.cockpitAspect != view.aspect;
    if (stretched) {
        setPerspective(view.cockpitAspect);
        glMatrixMode(GL_MODELVIEW);
    }
    glCallList(cockpitList);
    if (stretched) {
        setPerspective(view.aspect);
        glMatrixMode(GL_MODELVIEW);
    }
    if (flash) {
        glDisable(GL_COLOR_MATERIAL);
        --hitFlash[p];
    }
    glPopMatrix();
    glPopMatrix();
    drawAttitudeGlobe(p, view);
    drawDirectionIndicator(p, view);
    drawHealthAndCrosshair(p, view);
    glDisable(GL_LIGHT1);
    glEnable(GL_LIGHT0);
}

void drawCockpitShip(int p) {
    const Ship& ship = *ships[p];
    const ControlState& c = ship.controls;
    glPushMatrix();
    // After the overlay's half turn, forward thrust moves the model away from the eye.
    glTranslatef(0, 0, static_cast<float>(ship.thrustIndicator) * 0.05f);
    glRotatef(30 - 10 * (c.pitchUp.level - c.pitchDown.level), 1, 0, 0);
    glRotatef(-20 * (c.yawLeft.level - c.yawRight.level), 0, 1, 0);
    glRotatef(20 * (c.rollRight.level - c.rollLeft.level), 0, 0, 1);
    glRotatef(-90, 1, 0, 0);
    glRotatef(-90, 0, 1, 0);
    glTranslatef(-0.1f, 0.25f, 0);
    glCallList(tiltModelList);
    glPopMatrix();
}

namespace {

void setFrontMaterial(GLenum parameter, float r, float g, float b, float a) {
    const GLfloat value[4] = {r, g, b, a};
    glMaterialfv(GL_FRONT, parameter, value);
}

} // namespace

void drawHealthAndCrosshair(int p, const ViewPlacement& view) {
    // Keeps the bar's thickness in pixels when the window is taller or shorter than 522.
    const float f = view.barScale;
    const float halfWidth = view.flatHalfWidth;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-halfWidth, halfWidth, -10, 10, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    // As far from the view's left edge in a wider flat projection as in a half view.
    glTranslatef(-0.7f - (halfWidth - 10.0f), -5, 0);
    glRotatef(90, 0, 0, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTranslatef(3, 8, 0);

    // No light is on here: the frame, the bar and the crosshair show their ambient
    // colour under the white light-model ambient, with their diffuse alpha.
    setFrontMaterial(GL_DIFFUSE, 0.3f, 0.3f, 0.3f, 1.0f);
    setFrontMaterial(GL_AMBIENT, 0.2f, 0.2f, 0.2f, 1.0f);
    glBegin(GL_LINES);
    glVertex4f(0, 0, 0, 1);
    glVertex4f(6, 0, 0, 1);
    glVertex4f(6, 0.8f / f, 0, 1);
    glVertex4f(0, 0.8f / f, 0, 1);
    glEnd();

    setFrontMaterial(GL_AMBIENT, 0.6f, 0.2f, 0.2f, 0.4f);
    setFrontMaterial(GL_DIFFUSE, 1.0f, 0.1f, 0.1f, 0.8f);
    glColor4f(1.0f, 0.1f, 0.1f, 0.8f);
    const float length = static_cast<float>(ships[p]->getHealth()) * 0.059f;
    glBegin(GL_POLYGON);
    glVertex4f(0.1f, 0.1f / f, 0, 1);
    glVertex4f(length, 0.1f / f, 0, 1);
    glVertex4f(length, 0.7f / f, 0, 1);
    glVertex4f(0.1f, 0.7f / f, 0, 1);
    glEnd();
    glPopMatrix();

    // The crosshair sits on the overlay camera's centre, the middle of the view.
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_CROSSHAIR]);
    glBegin(GL_POLYGON);
    glTexCoord2f(0, 0);
    glVertex4f(-0.4f, -0.4f, 0, 1);
    glTexCoord2f(1, 0);
    glVertex4f(0.4f, -0.4f, 0, 1);
    glTexCoord2f(1, 1);
    glVertex4f(0.4f, 0.4f, 0, 1);
    glTexCoord2f(0, 1);
    glVertex4f(-0.4f, 0.4f, 0, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glDisable(GL_BLEND);
}
