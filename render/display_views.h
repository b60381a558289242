// The sub-window's drawing: player 1's view on the left, player 2's on the right,
// with a 5-pixel grey gap between them.
#pragma once

#include "render/frustum.h"

// The clip planes of the left and the right view, recomputed for every frame.
extern FrustumPlanes leftViewFrustum;
extern FrustumPlanes rightViewFrustum;

// Where a view lies in a sub-window of width w and height h (glViewport arguments).
struct ViewRect {
    int x;
    int y;
    int width;
    int height;
};
ViewRect viewRect(int view, int w, int h);

// The sub-window's display callback.
void displayViews();

// The camera reshapeViews leaves behind for the whole sub-window; displayViews
// loads its own matrices before drawing, so this has no visible effect.
void setProvisionalCamera(int w, int h);
