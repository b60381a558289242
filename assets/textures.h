// The texture set: the game's texture slots, one OpenGL texture name per slot, and
// the start-up loading of every texture and relief model the game draws with.
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

// Fills the eleven texture slots from the image files under "Data/" and builds the
// twelve relief lists from the four height maps. Needs the current OpenGL context;
// leaves GL_TEXTURE_2D enabled and GL_UNPACK_ALIGNMENT at 1. A BMP that cannot be
// read ends the program.
void loadTextures();
