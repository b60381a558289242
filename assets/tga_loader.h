// Uploading TGA images (read by tga_reader.h) as mip-mapped textures.
#pragma once

#include "assets/tga_reader.h"

// Reads the TGA at path into image (readTga) and uploads it into textureNames[slot] with
// the given filter. Prints what it finds; false after printing why it failed,
// leaving the slot as it was and image without pixels.
bool loadTga(TgaImage* image, const char* path, int slot, int filter);

// loadTga on a scratch record whose pixels are released afterwards.
bool loadTgaTexture(const char* path, int slot, int filter);

// loadTga on the caller's record, which keeps the pixels for later sampling.
bool loadTgaImage(TgaImage* image, const char* path, int slot, int filter);
