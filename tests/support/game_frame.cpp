// Starting the game inside a test process and comparing its frames.
#include "support/game_frame.h"

#include "frame_grab.h"
#include "support/gl_test_support.h"

#include <cstdlib>

void startGameForTest(int width, int height) {
    ensureGlutInit();
    startGameWithoutIdle(width, height);
}

Rgb pixelAt(const RgbImage& image, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
    return Rgb{image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]};
}

int differingPixels(const RgbImage& a, const RgbImage& b, int x0, int y0, int width, int height,
                    int tolerance) {
    int count = 0;
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) {
            const Rgb p = pixelAt(a, x, y);
            const Rgb q = pixelAt(b, x, y);
            if (std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance ||
                std::abs(p.b - q.b) > tolerance)
                ++count;
        }
    return count;
}
