// The texture set: which image goes into which slot, and in which order the
// images and height maps are read.
#include "assets/textures.h"

#include "assets/bmp_loader.h"
#include "assets/relief.h"
#include "assets/tga_loader.h"

#include <GL/gl.h>

#include <cstdlib>

unsigned int textureNames[TEXTURE_SLOT_COUNT];

namespace {

// A height map goes into a texture slot as well (Mars and Venus are drawn with
// theirs), then becomes the relief set at resolutions 400, 200 and 100.
void loadReliefSet(const char* path, int slot, int set) {
    loadTgaImage(&bumpImage, path, slot, GL_LINEAR);
    buildReliefList(3 * set + 2, 400);
    buildReliefList(3 * set + 1, 200);
    buildReliefList(3 * set, 100);
}

} // namespace

void loadTextures() {
    glEnable(GL_TEXTURE_2D);
    // Image rows are tightly packed.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(TEXTURE_SLOT_COUNT, textureNames);

    loadBmpTexture("Data/Stars1.bmp", TEX_STARS, GL_RGB, GL_LINEAR);
    loadBmpTexture("Data/planet.bmp", TEX_PLANET, GL_RGB, GL_LINEAR);
    loadBmpTexture("Data/Earthmap.bmp", TEX_EARTH_BMP, GL_RGB, GL_LINEAR);

    loadReliefSet("Data/Earthbump.tga", TEX_EARTH, 0);
    loadReliefSet("Data/Plutobump.tga", TEX_RUST, 1);
    loadReliefSet("Data/Marsbump.tga", TEX_MARS, 2);
    loadReliefSet("Data/Venusbump.tga", TEX_VENUS, 3);
    // The reliefs are compiled; the last height map is no longer needed.
    std::free(bumpImage.pixels);
    bumpImage.pixels = nullptr;

    loadTgaTexture("Data/Cloudmap.tga", TEX_CLOUDS, GL_LINEAR);
    loadTgaTexture("Data/test1.tga", TEX_TEST, GL_LINEAR);
    // The Earth's colour map replaces its height map in the slot.
    loadTgaTexture("Data/Earthmap.tga", TEX_EARTH, GL_LINEAR);
    // So does the rust image for Pluto's height map.
    loadBmpTexture("Data/Pastellarust.bmp", TEX_RUST, GL_RGB, GL_LINEAR);
    loadTgaTexture("Data/crosshair.tga", TEX_CROSSHAIR, GL_LINEAR);
}
