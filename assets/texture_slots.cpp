// The texture slots' names, filled by loadTextures (textures.cpp).
#include "assets/texture_slots.h"

unsigned int textureNames[TEXTURE_SLOT_COUNT];
