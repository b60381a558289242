// Composition of the two views.
#include "render/display_views.h"

#include "render/cameras.h"
#include "render/draw_world.h"
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

ViewRect viewRect(int view, int w, int h) {
    // The right view is as wide as the left one and starts after the gap, so its last
    // columns fall outside the sub-window: it is cut off, not narrowed.
    return ViewRect{view == 0 ? 0 : w / 2 + VIEW_GAP, 0, w / 2, h};
}

int viewPlayer(int view) { return view == 0 ? leftViewPlayer : rightViewPlayer; }

const FrustumPlanes& viewFrustum(int view) {
    return view == 0 ? leftViewFrustum : rightViewFrustum;
}

FrameLayout beginFrame() {
    FrameLayout layout{viewWindow.width, viewWindow.height, 0.0f};
    // Both views share the aspect of one half: W / (2 H).
    layout.aspect = static_cast<float>(layout.width) / static_cast<float>(2 * layout.height);
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
    const ViewRect rect = viewRect(view, layout.width, layout.height);
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
    for (int view = 0; view < 2; ++view) {
        beginView(view, layout);
        drawSkyBox();
        drawWorld(viewFrustum(view));
        drawOverlay(viewPlayer(view));
    }
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
    shipViewTable[shipViewIndex](leftViewPlayer);
}
