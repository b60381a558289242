// Reading 24-bit Windows BMP files into RGB bytes, and turning them into
// mip-mapped textures in the game's texture slots.
#pragma once

#include <cstdint>

struct BmpImage {
    uint32_t width;
    uint32_t height;
    // width * height * 3 bytes, R, G, B, bottom row first, rows not padded.
    unsigned char* pixels;
};

// Fills image from the file at path; 1 on success, 0 after printing why not.
// On failure image->pixels is null. Reads the file only: no OpenGL involved.
int loadBmp(const char* path, BmpImage* image);

// Loads the BMP at path into textureNames[slot] with mipmaps; format is both the
// internal and the data format (GL_RGB), filter the minifying and magnifying
// filter. A file that cannot be loaded ends the program with exit status 1.
// Expects GL_UNPACK_ALIGNMENT 1, since the rows are tightly packed.
void loadBmpTexture(const char* path, int slot, int format, int filter);
