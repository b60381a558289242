// Drawing a planet: surface (relief model or sphere) turned by its spin, then the
// translucent cloud layer turned by its own spin.
#include "render/celestial_drawing.h"

#include "render/sphere_drawing.h"
#include "world/celestial_body.h"

#include <GL/gl.h>

#include <cassert>

int reliefLevelForDistance(float distance) {
    if (distance > 150.0f)
        return -1;
    if (distance > 100.0f)
        return 0;
    if (distance > 55.0f)
        return 1;
    return 2;
}

void CelestialBody::drawAtDistance(float distance) {
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPushMatrix();
    applyTransform();

    glPushMatrix();
    glRotated(spinAngle, spinAxis.x, spinAxis.y, spinAxis.z);
    if (useModel) {
        assert(modelIndex >= 0 && modelIndex < 4 && "a relief planet needs a model set 0..3");
        drawRelief(modelScale, modelIndex, reliefLevelForDistance(distance),
                   static_cast<unsigned>(surfaceTexture));
    } else {
        drawSphere(static_cast<double>(radius), 20, hasSurfaceTexture,
                   static_cast<unsigned>(surfaceTexture));
    }
    glPopMatrix();

    // The clouds follow the radius, not the relief model, and are always a sphere.
    if (hasClouds) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glPushMatrix();
        glRotated(cloudSpinAngle, spinAxis.x, spinAxis.y, spinAxis.z);
        drawSphere(static_cast<double>(radius) * 1.1, 25, true,
                   static_cast<unsigned>(cloudTexture));
        glPopMatrix();
        glDisable(GL_BLEND);
    }

    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}
