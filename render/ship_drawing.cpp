// Drawing a ship: its model lit by its own pair of lights instead of the world light.
#include "world/ship.h"

#include "render/lighting.h"
#include "render/models.h"

#include <GL/gl.h>

namespace {

void drawModelOf(const ModelHandle* model) {
    // Before the ship models are built there is nothing to draw.
    if (model)
        model->draw();
}

} // namespace

void Ship::draw() {
    beginLightPair();
    glPushMatrix();
    applyTransform();
    // One unit above and below the ship in its own frame, so they turn with it.
    placeLightPair(1.0f);
    drawModelOf(model);
    glPopMatrix();
    endLightPair();
}

void Ship::drawScaled(float scale) {
    beginLightPair();
    glPushMatrix();
    glScalef(scale, scale, scale);
    applyOrientation();
    placeLightPair(scale);
    drawModelOf(model);
    glPopMatrix();
    endLightPair();
}
