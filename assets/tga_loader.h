// Reading uncompressed true-colour TGA files (24 or 32 bits) into RGB or RGBA
// bytes, and uploading them as mip-mapped textures.
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
// it failed): no OpenGL involved. Whatever pixels image held are released first; on
// failure it is left without pixels.
bool readTga(TgaImage* image, const char* path);

// Releases the record's pixels and leaves it without any.
void releaseTgaPixels(TgaImage* image);

// Reads the TGA at path into image (readTga) and uploads it into textureNames[slot] with
// the given filter. Prints what it finds; false after printing why it failed,
// leaving the slot as it was and image without pixels.
bool loadTga(TgaImage* image, const char* path, int slot, int filter);

// loadTga on a scratch record whose pixels are released afterwards.
bool loadTgaTexture(const char* path, int slot, int filter);

// loadTga on the caller's record, which keeps the pixels for later sampling.
bool loadTgaImage(TgaImage* image, const char* path, int slot, int filter);
