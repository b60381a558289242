// Uploading TGA images as mip-mapped textures into the game's texture slots.
#include "assets/tga_loader.h"

#include "assets/textures.h"

#include <GL/glu.h>

#include <cassert>
#include <cstdio>

bool loadTga(TgaImage* image, const char* path, int slot, int filter) {
    assert(slot >= 0 && slot < TEXTURE_SLOT_COUNT && "texture slot must be 0..10");
    if (!readTga(image, path))
        return false;

    glBindTexture(GL_TEXTURE_2D, textureNames[slot]);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<float>(filter));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<float>(filter));
    GLenum format = GL_RGBA;
    if (image->bitsPerPixel == 24) {
        format = GL_RGB;
        std::printf("type TGA is RGB\n");
    } else {
        std::printf("type TGA is RGBA\n");
    }
    gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), static_cast<GLint>(image->width),
                      static_cast<GLint>(image->height), format, GL_UNSIGNED_BYTE, image->pixels);
    return true;
}

bool loadTgaTexture(const char* path, int slot, int filter) {
    TgaImage scratch = {nullptr, 0, 0, 0};
    const bool loaded = loadTga(&scratch, path, slot, filter);
    releaseTgaPixels(&scratch);
    return loaded;
}

bool loadTgaImage(TgaImage* image, const char* path, int slot, int filter) {
    return loadTga(image, path, slot, filter);
}
