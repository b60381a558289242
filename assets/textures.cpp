// The texture set.
#include "assets/texture_slots.h"

unsigned int textureNames[TEXTURE_SLOT_COUNT];
