// Turning BMP files (read by bmp_reader.h) into mip-mapped textures in the game's
// texture slots.
#pragma once

// Loads the BMP at path into textureNames[slot] with mipmaps; format is both the
// internal and the data format (GL_RGB), filter the minifying and magnifying
// filter. A file that cannot be loaded ends the program with exit status 1.
// Expects GL_UNPACK_ALIGNMENT 1, since the rows are tightly packed.
void loadBmpTexture(const char* path, int slot, int format, int filter);
