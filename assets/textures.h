// Start-up loading of every texture and relief model the game draws with.
#pragma once

// Fills the eleven texture slots from the image files under "Data/" and builds the
// twelve relief lists from the four height maps. Needs the current OpenGL context;
// leaves GL_TEXTURE_2D enabled and GL_UNPACK_ALIGNMENT at 1. A BMP that cannot be
// read ends the program.
void loadTextures();
