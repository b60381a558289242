// Real X key events, sent by xdotool, reach the game: 's' typed over a view fires
// player 1's shot, 'r' typed over the top-level window's grey frame turns both views
// to the camera behind the ship. The test drives the game's clock itself, so what
// the frames show depends on the steps run, never on how fast the machine is.
#include "app/game_loop.h"
#include "app/keyboard.h"
#include "app/platform_tick.h"
#include "app/window_record.h"
#include "frame_grab.h"
#include "render/cameras.h"
#include "support/game_frame.h"
#include "support/gl_test_support.h"
#include "world/entity_list.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
// After gtest: Xlib's macros (None, Bool) clash with its names.
#include <GL/glx.h>

#include <cstdlib>
#include <string>

namespace {

uint32_t fakeNow = 1000;
uint32_t fakeTick() { return fakeNow; }

unsigned long xWindowOf(int glutWindowId) {
    glutSetWindow(glutWindowId);
    return glXGetCurrentDrawable();
}

// Runs xdotool, then lets the game handle events until it has seen the key go down
// and up again.
void typeKey(char key, const std::string& pointerAt) {
    const std::string command = "xdotool " + pointerAt + " key " + std::string(1, key);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const auto k = static_cast<unsigned char>(key);
    ASSERT_TRUE(pumpEventsUntil([k] { return keyPressPending[k] && !keyIsDown[k]; }))
        << "the game never saw '" << key << "' go down and up";
}

// The middles of the two views in the composed frame: 200 by 160 pixels around the
// crosshair of each 514 by 512 view, inside the 5-pixel frame.
int leftMiddleChanges(const RgbImage& a, const RgbImage& b) {
    return differingPixels(a, b, 5 + 257 - 100, 5 + 256 - 80, 200, 160);
}
int rightMiddleChanges(const RgbImage& a, const RgbImage& b) {
    return differingPixels(a, b, 5 + 519 + 257 - 100, 5 + 256 - 80, 200, 160);
}

TEST(SerialRealKeys, ShotFromTheViewAndCameraFromTheFrame) {
    startGameForTest();
    setTickSource(fakeTick);
    lastTick = fakeNow;
    const unsigned long top = xWindowOf(mainWindow.getId());
    const std::string overView = "windowfocus --sync " + std::to_string(top) +
                                 " mousemove --sync --window " + std::to_string(top) + " 500 250";
    const RgbImage start = captureGameFrame();

    typeKey('s', overView);
    // Twenty-five steps: the shot leaves player 1's ship along its nose at 10 units a
    // second and lies 2.5 units ahead, under the crosshair of the left view.
    fakeNow += 255;
    onIdle();
    ASSERT_EQ(entityListCount(projectiles), 1);
    const RgbImage fired = captureGameFrame();
    // The ships start side by side facing the same way: the shot cannot show on the
    // right. The same steps always give the same frames: at 2.5 units the shot
    // changes 940 pixels of the left middle, and the bound asks for half of that, so
    // that a shot drawn somewhat smaller still passes and a missing one never does.
    EXPECT_GT(leftMiddleChanges(start, fired), 470);
    EXPECT_EQ(rightMiddleChanges(start, fired), 0);

    // With no window manager, the grey frame at (2, 2) belongs to the top-level window.
    typeKey('r', "mousemove --sync --window " + std::to_string(top) + " 2 2");
    fakeNow += 11;
    onIdle();
    EXPECT_EQ(viewMode, 1);
    const RgbImage behind = captureGameFrame();
    // Player 2's ship, 12 units ahead of the eye, changes 582 pixels; half of that.
    EXPECT_GT(rightMiddleChanges(fired, behind), 290) << "player 2's ship from behind";
    setTickSource(nullptr);
}

} // namespace
