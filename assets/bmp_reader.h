// Reading 24-bit Windows BMP files into RGB bytes: files only, no OpenGL.
#pragma once

#include <cstdint>

struct BmpImage {
    uint32_t width;
    uint32_t height;
    // width * height * 3 bytes, R, G, B, bottom row first, rows not padded.
    unsigned char* pixels;
};

// Fills image from the file at path; 1 on success, 0 after printing why not.
// On failure image->pixels is null.
int loadBmp(const char* path, BmpImage* image);
