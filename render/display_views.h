// The sub-window's drawing: player 1's view on the left, player 2's on the right,
// with a 5-pixel grey gap between them; or one player's view alone across all of it.
#pragma once

#include "render/frustum.h"

// The windows the views are drawn into, as the window shell (app/windows.cpp) last
// stored their sizes; it writes this record whenever it does, so drawing never
// reaches up into the window records. The overlay keeps its health bar's thickness
// by the top-level window's height, everything else follows the sub-window.
struct ViewWindow {
    int subWindowId = 0;
    int width = 0; // the sub-window's
    int height = 0;
    int topLevelHeight = 0;
};
extern ViewWindow viewWindow;

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

// Which views the sub-window shows: the game's two side by side (player -1), or the
// given player's alone across the whole sub-window, as a program beside the game
// shows a player at their own machine. Set before the first frame.
void showSingleView(int player);
// The player shown alone, or -1 for the two views; and how many views a frame draws.
int singleViewPlayer();
int viewCount();

// The sub-window's display callback.
void displayViews();

// Drawn over the finished views just before the buffer swap, in the sub-window's
// context (a program beside the game writes a line of its own there); the game sets
// none.
extern void (*drawOverViews)();

// The steps of displayViews, callable one by one so that a benchmark can time the
// parts of a frame; displayViews itself is beginFrame, then for each view (the left
// and the right one, or the one alone) beginView, drawSkyBox, drawWorld and
// drawOverlay, then the buffer swap.
struct FrameLayout {
    int width; // the sub-window's size in viewWindow
    int height;
    float aspect; // W / (2 H), shared by both views; W / H for a single view
};

// Where a view, its instruments and its overlay lie in the sub-window, so that the
// overlay and the instruments need not know how the sub-window is shared.
struct ViewPlacement {
    ViewRect rect;      // the view itself
    ViewRect globe;     // the attitude globe's inset
    ViewRect indicator; // the direction indicator's inset
    float insetAspect;  // both insets' projection
    // The cockpit models' scale, and the aspect their frame is drawn at: a single
    // view stretches the frame of a half-window view across its whole width.
    float cockpitScale;
    float cockpitAspect;
    float aspect; // the view's own projection
    // Half the width of the flat projection under the health bar and the crosshair
    // (10 in a half-window view; wider views widen it, so both keep their shape), and
    // the bar's thickness factor, kept by the top-level window's height.
    float flatHalfWidth;
    float barScale;
};
ViewPlacement viewPlacement(int view, const FrameLayout& layout);
// Selects the sub-window and sets the state both views share.
FrameLayout beginFrame();
// A view's steps before anything is drawn: base material, viewport, clear, camera,
// clip planes and world light.
void beginView(int view, const FrameLayout& layout);
// The player a view follows and its clip planes as beginView left them.
int viewPlayer(int view);
const FrustumPlanes& viewFrustum(int view);

// The camera reshapeViews leaves behind for the whole sub-window; displayViews
// loads its own matrices before drawing, so this has no visible effect.
void setProvisionalCamera(int w, int h);
