// Reading finished frames back from a GLUT window, and placing one window's picture
// inside another's, as the window system shows a sub-window inside its parent.
#pragma once

#include <cstdint>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 3 bytes, top row first
};

// The back buffer of a GLUT window, top row first. Read it right after the window's
// display callback: Mesa keeps the back buffer's pixels after the swap, and unlike the
// front buffer they do not depend on what covers the window on the screen.
RgbImage grabWindow(int glutWindowId);

// Copies `inner` into `frame` with its top left corner at (x, y); whatever falls
// outside the frame is left out.
void placePicture(RgbImage& frame, const RgbImage& inner, int x, int y);
