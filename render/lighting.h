// Lights and the base material. Light 0 is the world light, fixed in world space;
// lights 1 and 2 are a pair above and below an object drawn in its own light.
#pragma once

#include "math/vec3.h"

struct LightRecord {
    // Mirrors the OpenGL enable state, so redundant enables and disables are skipped.
    bool enabled = false;
    // Sent as GL_POSITION with w = 0: the direction towards a light at infinity.
    Vec3 direction;
};

constexpr int LIGHT_SLOT_COUNT = 5;
extern LightRecord lightRecords[LIGHT_SLOT_COUNT];

// Colours of lights 0 to 2, light 0 on, lighting on. Lights 1 and 2 stay off.
void initLighting();

// Switches slot's light (GL_LIGHT0 + slot) only if its state changes.
void setLightEnabled(int slot, bool on);

// Sends every enabled slot's direction; call once per view, after the camera.
void placeLights();

// The base material every view starts from (front faces), and a white ambient
// light model: every surface gets at least half its colour.
void resetMaterial();

// The light pair: beginLightPair turns light 0 off and lights 1 and 2 on;
// placeLightPair(d), sent after the caller's model-view is set up, puts them at
// (0, d, 0) and (0, -d, 0) of that space; endLightPair restores light 0. Slot 0's
// flag stays set throughout, so placeLights keeps placing light 0.
void beginLightPair();
void placeLightPair(float d);
void endLightPair();
