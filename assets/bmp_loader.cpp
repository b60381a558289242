// Turning a BMP file into a mip-mapped texture in one of the game's texture slots.
#include "assets/bmp_loader.h"

#include "assets/bmp_reader.h"
#include "assets/textures.h"

#include <GL/glu.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>

void loadBmpTexture(const char* path, int slot, int format, int filter) {
    assert(slot >= 0 && slot < TEXTURE_SLOT_COUNT && "texture slot must be 0..10");
    BmpImage* record = static_cast<BmpImage*>(std::malloc(sizeof(BmpImage)));
    // No room for the record ends the program, as an unreadable BMP does.
    if (!record) {
        std::printf("Error allocating space for image");
        std::exit(1);
    }
    if (!loadBmp(path, record)) {
        std::printf("whoops, couldn't load the image");
        std::exit(1);
    }
    glBindTexture(GL_TEXTURE_2D, textureNames[slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    // Textures are lit: the texel colour scales the lit surface colour.
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    gluBuild2DMipmaps(GL_TEXTURE_2D, format, static_cast<GLint>(record->width),
                      static_cast<GLint>(record->height), static_cast<GLenum>(format),
                      GL_UNSIGNED_BYTE, record->pixels);
    std::free(record->pixels);
    std::free(record);
    std::printf("just bounded the image to the texture\n");
}
