// What the planets look like: the texture set's slots each planet of the world's
// table wears, handed to the world before it is set up.
#pragma once

// Writes the names of each planet's surface and cloud textures from textureNames
// into the world's planetTextures. Call after loadTextures and before setUpWorld;
// it makes no OpenGL call.
void fillPlanetTextures();
