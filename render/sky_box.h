// The star box: a textured cube of half-size 100 fixed around the origin of the world.
#pragma once

void drawSkyBox();
