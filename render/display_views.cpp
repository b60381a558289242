// Composition of the two views.
#include "render/display_views.h"

#include "render/cameras.h"
#include "render/draw_world.h"
#include "render/frame_caption.h"
#include "render/instruments.h"
#include "render/lighting.h"
#include "render/overlay.h"
#include "render/sky_box.h"
#include "world/world.h"

#include <GL/freeglut.h>

ViewWindow viewWindow;
FrustumPlanes leftViewFrustum;
FrustumPlanes rightViewFrustum;

// Columns between the two views.
constexpr int VIEW_GAP = 5;

namespace {

int shownAlone = -1;

} // namespace

void showSingleView(int player) { shownAlone = player; }

int singleViewPlayer() { return shownAlone; }

int viewCount() { return shownAlone < 0 ? 2 : 1; }

ViewRect viewRect(int view, int w, int h) {
    // The right view is as wide as the left one and starts after the gap, so its last
    // columns fall outside the sub-window: it is cut off, not narrowed.
    return ViewRect{view == 0 ? 0 : w / 2 + VIEW_GAP, 0, w / 2, h};
}

int viewPlayer(int view) {
    if (shownAlone >= 0)
        return shownAlone;
    return view == 0 ? leftViewPlayer : rightViewPlayer;
}

ViewPlacement viewPlacement(int view, const FrameLayout& layout) {
    const int w = layout.width;
    const int h = layout.height;
    ViewPlacement placement{};
    // The insets are a third of a half-window view in each direction, so their aspect
    // is half the sub-window's whatever the views.
    placement.insetAspect = static_cast<float>(w) / static_cast<float>(h) * 0.5f;
    // The cockpit models are scaled with the window's width (3 at 1024 pixels).
    placement.cockpitScale = static_cast<float>(w) * 0.0029296875f;
    placement.aspect = layout.aspect;
    placement.barScale = static_cast<float>(viewWindow.topLevelHeight) * 0.0019157088f;
    if (shownAlone < 0) {
        placement.rect = viewRect(view, w, h);
        placement.globe = globeInset(view, w, h);
        placement.indicator = indicatorInset(view, w, h);
        placement.cockpitAspect = layout.aspect;
        placement.flatHalfWidth = 10.0f;
        return placement;
    }
    // One view twice as wide as a half: the instruments keep their size and sit where
    // they sit in a half view, a sixth of the width in from either side.
    placement.rect = ViewRect{0, 0, w, h};
    placement.globe = ViewRect{w / 12, h - h / 3, w / 6, h / 3};
    placement.indicator = ViewRect{3 * w / 4, h - h / 3, w / 6, h / 3};
    placement.cockpitAspect = static_cast<float>(w) / static_cast<float>(2 * h);
    placement.flatHalfWidth = 20.0f;
    return placement;
}

const FrustumPlanes& viewFrustum(int view) {
    return view == 0 ? leftViewFrustum : rightViewFrustum;
}

FrameLayout beginFrame() {
    FrameLayout layout{viewWindow.width, viewWindow.height, 0.0f};
    // Both views share the aspect of one half: W / (2 H); a view alone has the whole.
    layout.aspect = shownAlone < 0
                        ? static_cast<float>(layout.width) / static_cast<float>(2 * layout.height)
                        : static_cast<float>(layout.width) / static_cast<float>(layout.height);
    glutSetWindow(viewWindow.subWindowId);
    glClearColor(0.3f, 0.3f, 0.3f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    return layout;
}

void beginView(int view, const FrameLayout& layout) {
    FrustumPlanes& frustum = view == 0 ? leftViewFrustum : rightViewFrustum;
    resetMaterial();
    const ViewRect rect = viewPlacement(view, layout).rect;
    glViewport(rect.x, rect.y, rect.width, rect.height);
    // Clearing ignores the viewport: the left view's clear greys the whole sub-window,
    // gap included, and the right view clears only depth to keep the left's pixels.
    glClear(view == 0 ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_DEPTH_BUFFER_BIT);
    projectionTable[projectionIndex](layout.aspect);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    viewModeTable[viewMode]();
    shipViewTable[shipViewIndex](viewPlayer(view));
    extractFrustum(frustum);
    // After the camera, so the world light keeps its direction in world space.
    placeLights();
}

void displayViews() {
    const FrameLayout layout = beginFrame();
    if (shipCount < 2) {
        // GLUT may ask for a picture before start-up has built the world.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        return;
    }
    for (int view = 0; view < viewCount(); ++view) {
        beginView(view, layout);
        drawSkyBox();
        drawWorld(viewFrustum(view));
        drawOverlay(viewPlayer(view), viewPlacement(view, layout));
    }
    // The game sets neither: without them not a call changes.
    if (!frameCaption().empty() || !frameHeading().empty())
        drawFrameCaption(layout.width, layout.height);
    glutSwapBuffers();
}

void setProvisionalCamera(int w, int h) {
    setPerspective(static_cast<float>(w) / static_cast<float>(h));
    glMatrixMode(GL_MODELVIEW);
    // Without loading the identity: displayViews starts every view afresh anyway.
    // A reshape that arrives before the cameras and the world exist leaves it there.
    if (!viewModeTable[viewMode] || !shipViewTable[shipViewIndex] || shipCount == 0)
        return;
    viewModeTable[viewMode]();
    shipViewTable[shipViewIndex](viewPlayer(0));
}
