// The game's texture slots: one OpenGL texture name per slot, made at start-up.
#pragma once

// Slot indices into textureNames. Slot 4 is generated but never filled; slot 5
// is filled but never drawn.
enum TextureSlot {
    TEX_STARS = 0,
    TEX_PLANET = 1,
    TEX_EARTH = 2,
    TEX_CLOUDS = 3,
    TEX_EARTH_BMP = 5,
    TEX_TEST = 6,
    TEX_RUST = 7,
    TEX_MARS = 8,
    TEX_VENUS = 9,
    TEX_CROSSHAIR = 10,
};
constexpr int TEXTURE_SLOT_COUNT = 11;

// OpenGL texture names (GLuint), indexed by slot.
extern unsigned int textureNames[TEXTURE_SLOT_COUNT];
