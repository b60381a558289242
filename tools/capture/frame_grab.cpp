// Grabbing and composing the game's frame.
#include "frame_grab.h"

#include "app/game_init.h"
#include "app/window_record.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <GL/glx.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

// The X server shows the GLUT window: mapped, with its parents.
bool shown(int glutWindowId) {
    glutSetWindow(glutWindowId);
    XWindowAttributes attributes{};
    return XGetWindowAttributes(glXGetCurrentDisplay(), glXGetCurrentDrawable(), &attributes) &&
           attributes.map_state == IsViewable;
}

} // namespace

void startGameWithoutIdle(int width, int height) {
    initGame();
    mainWindow.setIdleFunc(nullptr);
    settleGameWindows(width, height);
}

void settleGameWindows(int width, int height) {
    glutSetWindow(mainWindow.getId());
    glutReshapeWindow(width, height);
    // Until both windows are shown at their sizes: the first map and configure
    // events of a new window come in several batches. The deadline only ends a hang.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        glutMainLoopEvent();
        const WindowRecord& sub = mainWindow.subWindow(0);
        if (mainWindow.width == width && mainWindow.height == height &&
            sub.width == std::max(width - 10, 1) && sub.height == std::max(height - 10, 1) &&
            shown(mainWindow.getId()) && shown(sub.getId()))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // One frame to throw away: OpenGL may notice the new window size only while
    // drawing it (and then starts its buffers afresh), and the star box is lit with
    // the normal the previous frame left current.
    captureGameFrame();
}

RgbImage captureGameFrame() {
    // As at the end of an idle pass: every window gets its reshape with its stored
    // size first, which also lets OpenGL catch up with a window that was resized.
    mainWindow.refreshAll();
    glutSetWindow(mainWindow.getId());
    mainWindow.displayFunc();
    RgbImage frame = grabWindow(mainWindow.getId());
    for (int i = 0; i < mainWindow.subWindowCount; ++i) {
        const WindowRecord& sub = mainWindow.subWindow(i);
        glutSetWindow(sub.getId());
        sub.displayFunc();
        placePicture(frame, grabWindow(sub.getId()), sub.x, sub.y);
    }
    return frame;
}

void placeEye(int player, int mode, const Vec3& eye, const Vec3& target) {
    Vec3 back = eye - target;
    back.setLength(1.0f);
    Vec3 right = cross(std::fabs(back.y) > 0.99f ? Vec3(0, 0, -1) : Vec3(0, 1, 0), back);
    right.setLength(1.0f);
    const Vec3 ship = mode == 1 ? eye - 12.0f * back : eye;
    ships[player]->setPosition(ship.x, ship.y, ship.z);
    ships[player]->setAxes(BodyAxes{right, cross(back, right), back});
}
