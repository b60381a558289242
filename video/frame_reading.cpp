// Window pictures from the back buffer.
#include "video/frame_reading.h"

#include <GL/freeglut.h>

#include <algorithm>

RgbImage grabWindow(int glutWindowId) {
    glutSetWindow(glutWindowId);
    RgbImage image;
    image.width = glutGet(GLUT_WINDOW_WIDTH);
    image.height = glutGet(GLUT_WINDOW_HEIGHT);
    std::vector<uint8_t> bottomUp(static_cast<size_t>(image.width) * image.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    // OpenGL counts rows from the bottom; pictures start at the top.
    image.pixels.resize(bottomUp.size());
    const size_t rowBytes = static_cast<size_t>(image.width) * 3;
    for (int row = 0; row < image.height; ++row)
        std::copy_n(bottomUp.data() + (image.height - 1 - row) * rowBytes, rowBytes,
                    image.pixels.data() + row * rowBytes);
    return image;
}

void placePicture(RgbImage& frame, const RgbImage& inner, int x, int y) {
    const int x0 = std::max(x, 0);
    const int x1 = std::min(x + inner.width, frame.width);
    if (x1 <= x0)
        return;
    for (int row = 0; row < inner.height; ++row) {
        const int frameRow = y + row;
        if (frameRow < 0 || frameRow >= frame.height)
            continue;
        std::copy_n(inner.pixels.data() + (static_cast<size_t>(row) * inner.width + (x0 - x)) * 3,
                    static_cast<size_t>(x1 - x0) * 3,
                    frame.pixels.data() + (static_cast<size_t>(frameRow) * frame.width + x0) * 3);
    }
}
