// Reading finished frames back from the game's windows and putting them together as
// the player sees them: the grey frame of the top-level window around the views.
#pragma once

#include "math/vec3.h"
#include "video/frame_reading.h"

// Resizes the top-level window and lets the window system map both windows and
// report their sizes, so that the stored sizes are the ones a frame is drawn at; then
// draws one frame, so that the next one is as every later frame of the game.
void settleGameWindows(int width, int height);

// The game's start-up (windows, textures, models, world) after glutInit, with the idle
// callback off so that the caller alone decides when steps run and frames are drawn;
// then the windows settled at that size. The capture tool, the tests and the
// benchmarks all start the game this way.
void startGameWithoutIdle(int width, int height);

// Refreshes both windows as an idle pass does, draws them once (the top-level
// window, then the sub-window) and returns the
// top-level window's picture with the sub-window's placed at its stored position.
RgbImage captureGameFrame();

// Puts a player's eye at `eye` looking at `target`, up as near world +y as the nose
// allows (-z when looking straight down); in view mode 1 the camera sits 12 units
// behind the ship, so the ship goes that far ahead of the eye.
void placeEye(int player, int mode, const Vec3& eye, const Vec3& target);
