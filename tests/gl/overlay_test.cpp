// The cockpit overlay in real frames: the instrument insets, the red flash after a
// hit and the health bar.
#include "app/window_record.h"
#include "frame_grab.h"
#include "render/instruments.h"
#include "render/overlay.h"
#include "support/game_frame.h"
#include "world/contact_rules.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

namespace {

std::array<int, 4> asArray(const ViewRect& r) { return {r.x, r.y, r.width, r.height}; }

TEST(Overlay, InsetsInTheTopThirdOfEachView) {
    EXPECT_EQ(asArray(globeInset(0, 1029, 512)), (std::array<int, 4>{0, 342, 171, 170}));
    EXPECT_EQ(asArray(globeInset(1, 1029, 512)), (std::array<int, 4>{519, 342, 171, 170}));
    EXPECT_EQ(asArray(indicatorInset(0, 1029, 512)), (std::array<int, 4>{343, 342, 171, 170}));
    EXPECT_EQ(asArray(indicatorInset(1, 1029, 512)), (std::array<int, 4>{862, 342, 171, 170}));
}

// A point on the left pillar of the cockpit frame, in frame coordinates, for the
// left view (0) or the right one (1).
Rgb cockpitPixel(const RgbImage& frame, int view) {
    return pixelAt(frame, 5 + 40 + view * 519, 5 + 250);
}

// The frame is a cool grey (more blue than red); the flash makes it reddish.
bool tintedRed(const Rgb& p) { return p.r > p.g + 8 && p.r > p.b; }

TEST(Overlay, AHitTintsThatPlayersCockpitForTwentyFramesOfItsView) {
    startGameForTest();
    const RgbImage before = captureGameFrame();
    ASSERT_FALSE(tintedRed(cockpitPixel(before, 0)));
    hitFlash[0] = 20;
    for (int frame = 1; frame <= 20; ++frame) {
        const RgbImage image = captureGameFrame();
        EXPECT_TRUE(tintedRed(cockpitPixel(image, 0))) << "frame " << frame;
        EXPECT_FALSE(tintedRed(cockpitPixel(image, 1))) << "frame " << frame;
        EXPECT_EQ(hitFlash[0], 20 - frame);
        EXPECT_EQ(hitFlash[1], 0);
    }
    const RgbImage after = captureGameFrame();
    EXPECT_FALSE(tintedRed(cockpitPixel(after, 0)));
    EXPECT_EQ(hitFlash[0], 0);
    // The tint is the only change: the picture is the one from before the hit.
    EXPECT_EQ(differingPixels(before, after, 0, 0, before.width, before.height, 0), 0);
}

// Rows of the health bar's red in the given column of the frame.
int barRows(const RgbImage& frame, int column) {
    int rows = 0;
    for (int y = 0; y < frame.height; ++y) {
        const Rgb p = pixelAt(frame, column, y);
        if (p.r > 120 && p.g < 90 && p.b < 90)
            ++rows;
    }
    return rows;
}

TEST(Overlay, HealthBarShortensByAFixedStepPerHit) {
    startGameForTest();
    // The bar stands upright near the left edge of each view.
    const int column = 5 + 27;
    const int full = barRows(captureGameFrame(), column);
    ships[0]->health = 95;
    const int hitOnce = barRows(captureGameFrame(), column);
    ships[0]->health = 50;
    const int half = barRows(captureGameFrame(), column);
    // 20 units of the orthographic overlay span the view's 512 rows; the overlay
    // camera's tilt shortens upright lengths by cos(21.8 degrees).
    const double rowsPerUnit = 512.0 / 20.0 * 0.9285;
    EXPECT_NEAR(full, 5.8 * rowsPerUnit, 2.0);
    EXPECT_NEAR(full - hitOnce, 0.295 * rowsPerUnit, 1.5);
    EXPECT_NEAR(half, (2.95 - 0.1) * rowsPerUnit, 2.0);
    // The other player's bar is untouched.
    EXPECT_EQ(barRows(captureGameFrame(), column + 519), full);
}

TEST(Overlay, LeavesTheStateTheNextViewExpects) {
    startGameForTest();
    captureGameFrame();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

} // namespace
