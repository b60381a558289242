// Reading uncompressed true-colour TGA files (24 or 32 bits) into RGB or RGBA
// bytes: files only, no OpenGL.
#pragma once

#include <cstdint>

struct TgaImage {
    // width * height * bitsPerPixel / 8 bytes, R, G, B (, A), the file's last row
    // first; owned by the record (null when it holds no image).
    unsigned char* pixels;
    int bitsPerPixel;
    uint32_t width;
    uint32_t height;
};

// The height map the relief builder samples.
extern TgaImage bumpImage;

// Reads the TGA at path into image, printing what it finds (the size lines, or why
// it failed). Whatever pixels image held are released first; on failure it is left
// without pixels.
bool readTga(TgaImage* image, const char* path);

// Releases the record's pixels and leaves it without any.
void releaseTgaPixels(TgaImage* image);
