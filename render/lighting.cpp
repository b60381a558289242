// Light slots, the light pair and the base material.
#include "render/lighting.h"

#include <GL/gl.h>

#include <initializer_list>

LightRecord lightRecords[LIGHT_SLOT_COUNT];

namespace {

const GLenum LIGHT_ENUMS[LIGHT_SLOT_COUNT] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                              GL_LIGHT4};

void setMaterial(GLenum parameter, float r, float g, float b, float a) {
    const GLfloat value[4] = {r, g, b, a};
    glMaterialfv(GL_FRONT, parameter, value);
}

} // namespace

void initLighting() {
    for (LightRecord& record : lightRecords)
        record.enabled = false;
    lightRecords[0].direction.set(5, 6, 5);
    const GLfloat white[4] = {1, 1, 1, 1};
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2}) {
        glLightfv(light, GL_DIFFUSE, white);
        glLightfv(light, GL_SPECULAR, white);
    }
    setLightEnabled(0, true);
    glEnable(GL_LIGHTING);
}

void setLightEnabled(int slot, bool on) {
    LightRecord& record = lightRecords[slot];
    if (on && !record.enabled) {
        glEnable(LIGHT_ENUMS[slot]);
        record.enabled = true;
    } else if (!on && record.enabled) {
        glDisable(LIGHT_ENUMS[slot]);
        record.enabled = false;
    }
}

void placeLights() {
    for (int slot = 0; slot < LIGHT_SLOT_COUNT; ++slot) {
        if (!lightRecords[slot].enabled)
            continue;
        const Vec4 position = lightRecords[slot].direction.withW(0.0f);
        glLightfv(LIGHT_ENUMS[slot], GL_POSITION, &position.x);
    }
}

void resetMaterial() {
    setMaterial(GL_AMBIENT, 0.5f, 0.5f, 0.5f, 1.0f);
    setMaterial(GL_SPECULAR, 1, 1, 1, 1);
    setMaterial(GL_DIFFUSE, 1, 1, 1, 1);
    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
    setMaterial(GL_EMISSION, 0, 0, 0, 1);
    const GLfloat ambient[4] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
}

void beginLightPair() {
    glDisable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);
}

void placeLightPair(float d) {
    const GLfloat above[4] = {0, d, 0, 1};
    const GLfloat below[4] = {0, -d, 0, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, above);
    glLightfv(GL_LIGHT2, GL_POSITION, below);
}

void endLightPair() {
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHT2);
    glEnable(GL_LIGHT0);
}
