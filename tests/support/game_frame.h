// A started game in real windows, and what its frames show.
#pragma once

#include "png_writer.h"

// The game started in its windows with the idle callback off (startGameWithoutIdle),
// once GLUT is initialised for the test process.
void startGameForTest(int width = 1039, int height = 522);

// One pixel of a picture, as 0..255 channels.
struct Rgb {
    int r, g, b;
};
Rgb pixelAt(const RgbImage& image, int x, int y);

// Pixels that differ by more than `tolerance` in some channel, within a rectangle.
int differingPixels(const RgbImage& a, const RgbImage& b, int x, int y, int width, int height,
                    int tolerance = 24);
