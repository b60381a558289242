// The composed frame of the running game: the grey frame and gap, the viewports, the
// view modes, and a frozen game that stops asking for work.
#include "app/game_loop.h"
#include "app/platform_tick.h"
#include "app/window_record.h"
#include "frame_grab.h"
#include "render/cameras.h"
#include "render/display_views.h"
#include "render/frame_caption.h"
#include "support/game_frame.h"
#include "support/gl_test_support.h"
#include "world/contact_rules.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

constexpr int FRAME_GREY = 51; // 0.2 of the top-level window
constexpr int VIEW_GREY = 76;  // 0.3 of the sub-window's clear

void expectGrey(const RgbImage& frame, int x, int y, int grey) {
    const Rgb p = pixelAt(frame, x, y);
    EXPECT_EQ(p.r, grey) << "at (" << x << ", " << y << ")";
    EXPECT_EQ(p.g, grey) << "at (" << x << ", " << y << ")";
    EXPECT_EQ(p.b, grey) << "at (" << x << ", " << y << ")";
}

// The 5-pixel frame around the sub-window, and the gap columns between the views.
void expectFrameAndGap(const RgbImage& frame, int subWidth) {
    for (int y : {0, 4, frame.height / 2, frame.height - 1}) {
        for (int x : {0, 4, frame.width - 5, frame.width - 1})
            expectGrey(frame, x, y, FRAME_GREY);
    }
    for (int x : {10, frame.width / 2, frame.width - 10}) {
        expectGrey(frame, x, 2, FRAME_GREY);
        expectGrey(frame, x, frame.height - 3, FRAME_GREY);
    }
    // Sub-window columns W/2 .. W/2 + 4, at the frame's offset of 5.
    for (int column = subWidth / 2; column <= subWidth / 2 + 4; ++column)
        for (int y : {6, frame.height / 3, frame.height / 2, frame.height - 6})
            expectGrey(frame, 5 + column, y, VIEW_GREY);
    // Just outside the gap the views show something else than the clear grey.
    int notGrey = 0;
    for (int y = 5; y < frame.height - 5; ++y) {
        const Rgb left = pixelAt(frame, 5 + subWidth / 2 - 1, y);
        const Rgb right = pixelAt(frame, 5 + subWidth / 2 + 5, y);
        notGrey += (left.r != VIEW_GREY || left.g != VIEW_GREY) ? 1 : 0;
        notGrey += (right.r != VIEW_GREY || right.g != VIEW_GREY) ? 1 : 0;
    }
    EXPECT_GT(notGrey, frame.height);
}

std::array<GLint, 4> currentViewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

TEST(Views, GreyFrameAndGapAtTheStartSize) {
    startGameForTest();
    const RgbImage frame = captureGameFrame();
    ASSERT_EQ(frame.width, 1039);
    ASSERT_EQ(frame.height, 522);
    expectFrameAndGap(frame, 1029);
    // The right view's viewport is the last one set, the overlay having restored it.
    EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{519, 0, 514, 512}));
}

TEST(Views, GreyFrameAndGapAfterAResize) {
    startGameForTest(1010, 510);
    ASSERT_EQ(mainWindow.subWindow(0).width, 1000);
    ASSERT_EQ(mainWindow.subWindow(0).height, 500);
    // The drawing code is handed the sizes it draws at; the overlay's bar keeps its
    // thickness by the top-level window's height, not the sub-window's.
    EXPECT_EQ(viewWindow.width, 1000);
    EXPECT_EQ(viewWindow.height, 500);
    EXPECT_EQ(viewWindow.topLevelHeight, 510);
    const RgbImage frame = captureGameFrame();
    expectFrameAndGap(frame, 1000);
    EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{505, 0, 500, 500}));
}

TEST(Views, ViewRectanglesSplitTheSubWindow) {
    const ViewRect left = viewRect(0, 1029, 512);
    const ViewRect right = viewRect(1, 1029, 512);
    EXPECT_EQ((std::array<int, 4>{left.x, left.y, left.width, left.height}),
              (std::array<int, 4>{0, 0, 514, 512}));
    EXPECT_EQ((std::array<int, 4>{right.x, right.y, right.width, right.height}),
              (std::array<int, 4>{519, 0, 514, 512}));
}

TEST(Views, ViewFromBehindShowsTheOwnShipInTheMiddleOfEachView) {
    startGameForTest();
    viewMode = 0;
    const RgbImage inside = captureGameFrame();
    viewMode = 1;
    const RgbImage behind = captureGameFrame();
    // The ship lies 12 units ahead of the eye, seen from straight behind: a thin
    // shape about 40 pixels wide around the crosshair.
    const int centreY = 5 + 256;
    for (int viewCentreX : {5 + 257, 5 + 519 + 257}) {
        const int changed = differingPixels(inside, behind, viewCentreX - 30, centreY - 12, 60, 24);
        EXPECT_GT(changed, 15) << "view centred at " << viewCentreX;
    }
}

// Player 2 alone across the sub-window: no gap, one viewport over all of it, the
// game's 40 degrees vertically at the whole width's aspect, player 2's own cockpit
// (its flash, not player 1's) spanning the width, and their ship in the middle from
// behind.
TEST(Views, OnePlayersViewAloneFillsTheSubWindow) {
    startGameForTest();
    showSingleView(1);
    hitFlash[0] = 20;
    hitFlash[1] = 20;
    viewMode = 0;
    const RgbImage inside = captureGameFrame();
    EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{0, 0, 1029, 512}));
    int notGrey = 0;
    for (int y = 5; y < inside.height - 5; ++y)
        for (int column = 1029 / 2; column <= 1029 / 2 + 4; ++column) {
            const Rgb p = pixelAt(inside, 5 + column, y);
            notGrey += (p.r != VIEW_GREY || p.g != VIEW_GREY) ? 1 : 0;
        }
    EXPECT_GT(notGrey, 4 * inside.height) << "no gap";
    for (int x : {5 + 85, 5 + 1029 - 85}) {
        const Rgb pillar = pixelAt(inside, x, 5 + 250);
        EXPECT_TRUE(pillar.r > pillar.g + 8 && pillar.r > pillar.b) << "cockpit pillar at " << x;
    }
    EXPECT_EQ(hitFlash[1], 19);
    EXPECT_EQ(hitFlash[0], 20) << "player 1's overlay is not drawn";

    beginView(0, beginFrame());
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float focal = 1.0f / std::tan(20.0f * static_cast<float>(M_PI) / 180.0f);
    EXPECT_NEAR(projection[5], focal, 1e-5f);
    EXPECT_NEAR(projection[0], focal * 512.0f / 1029.0f, 1e-5f);

    viewMode = 1;
    const RgbImage behind = captureGameFrame();
    EXPECT_GT(differingPixels(inside, behind, 5 + 514 - 30, 5 + 256 - 12, 60, 24), 15);
    showSingleView(-1);
    viewMode = 0;
    hitFlash[0] = 0;
    hitFlash[1] = 0;
}

// A caption and a heading are drawn over the frame where they say, and a frame
// without them is the game's to the pixel.
TEST(Views, ACaptionShowsOverTheFrameAndLeavesNoTrace) {
    startGameForTest();
    const RgbImage plain = captureGameFrame();
    setFrameCaption("waiting for the other player");
    const RgbImage captioned = captureGameFrame();
    setFrameCaption("");
    const RgbImage after = captureGameFrame();
    // The band a little above the middle: 42 rows centred 2/3 of the way up.
    const int bandTop = 5 + 512 - (512 * 2 / 3 + 21);
    EXPECT_GT(differingPixels(plain, captioned, 5 + 400, bandTop + 8, 229, 26), 500);
    EXPECT_EQ(differingPixels(plain, captioned, 0, 0, plain.width, bandTop - 1, 0), 0);
    EXPECT_EQ(differingPixels(plain, after, 0, 0, plain.width, plain.height, 0), 0);
    // A heading takes the band of 34 rows along the top alone.
    setFrameHeading("Computer pilots: level 3 against level 2");
    const RgbImage headed = captureGameFrame();
    setFrameHeading("");
    EXPECT_GT(differingPixels(plain, headed, 5 + 300, 5 + 8, 429, 18), 500);
    EXPECT_EQ(differingPixels(plain, headed, 0, 5 + 34, plain.width, plain.height - 39, 0), 0);
    EXPECT_EQ(differingPixels(plain, captureGameFrame(), 0, 0, plain.width, plain.height, 0), 0);
}

int idlePasses = 0;
int framesDrawn = 0;
struct Counts {
    int idle, frames;
    uint64_t steps;
};
Counts atFrozenFrame{};
bool frozenFrameDrawn = false;

void stopLoop(int) { glutLeaveMainLoop(); }
void countingIdle() {
    ++idlePasses;
    onIdle();
}
// The first frame drawn after the freeze starts a second of watching: proving that
// nothing happens takes time by its nature.
void countingDisplay() {
    ++framesDrawn;
    displayViews();
    if (!gameRunning && !frozenFrameDrawn) {
        frozenFrameDrawn = true;
        atFrozenFrame = Counts{idlePasses, framesDrawn, stepsRun};
        glutTimerFunc(1000, stopLoop, 0);
    }
}

// Counts what the X server makes the game do, so no other test's window may expose it.
TEST(SerialViews, FrozenGameStopsSteppingAndDrawingOnItsOwn) {
    startGameForTest();
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    mainWindow.subWindow(0).setDisplayFunc(countingDisplay);
    ships[1]->health = 0;
    lastTick = GetTickCount();
    mainWindow.setIdleFunc(countingIdle);
    // The real event loop: the first step freezes the game; afterwards, nothing may
    // call the idle callback or ask for a frame. The long timer only ends a hang.
    glutTimerFunc(600000, stopLoop, 0);
    glutMainLoop();
    ASSERT_TRUE(frozenFrameDrawn);
    EXPECT_FALSE(gameRunning);
    EXPECT_EQ(mainWindow.idleFunc, nullptr);
    EXPECT_EQ(idlePasses, atFrozenFrame.idle);
    EXPECT_EQ(framesDrawn, atFrozenFrame.frames);
    EXPECT_EQ(stepsRun, atFrozenFrame.steps);
}

} // namespace
