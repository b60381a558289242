// The cameras of the two views: the projection, the view-mode offset (inside the
// ship or 12 units behind it) and the view from a ship, each selected from a table.
#pragma once

using ProjectionOperation = void (*)(float aspect);
using CameraOffsetOperation = void (*)();
using ShipViewOperation = void (*)(int player);

constexpr int VIEW_MODE_COUNT = 2;
// The camera offset both views use, an index into viewModeTable: 0 looks out of the
// ship, 1 from behind it. Switched by the keys.
extern int viewMode;

extern CameraOffsetOperation viewModeTable[VIEW_MODE_COUNT];
extern ProjectionOperation projectionTable[1];
extern ShipViewOperation shipViewTable[1];
extern int projectionIndex;
extern int shipViewIndex;
// The player each view follows: the left view player 1 (index 0), the right view
// player 2 (index 1).
extern int leftViewPlayer;
extern int rightViewPlayer;

void initCameras();

// Perspective of 40 degrees vertically, near 1, far 100000; leaves GL_PROJECTION
// as the matrix mode.
void setPerspective(float aspect);

// View mode 0: the eye at the ship's centre, looking along its nose.
void cameraInShip();
// View mode 1: the eye 12 units behind the ship, looking at its centre.
void cameraBehind();

// Multiplies the inverse of the ship's drawing transform onto the model-view matrix,
// so that the ship's own frame becomes the eye frame.
void viewFromShip(int player);
