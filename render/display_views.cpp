// Composition of the two views.
#include "render/display_views.h"

#include "app/window_record.h"
#include "render/cameras.h"
#include "render/draw_world.h"
#include "render/lighting.h"
#include "render/overlay.h"
#include "render/sky_box.h"
#include "world/world.h"

#include <GL/freeglut.h>

FrustumPlanes leftViewFrustum;
FrustumPlanes rightViewFrustum;

// Columns between the two views.
constexpr int VIEW_GAP = 5;

ViewRect viewRect(int view, int w, int h) {
    // The right view is as wide as the left one and starts after the gap, so its last
    // columns fall outside the sub-window: it is cut off, not narrowed.
    return ViewRect{view == 0 ? 0 : w / 2 + VIEW_GAP, 0, w / 2, h};
}

namespace {

void drawView(int view, int player, float aspect, int w, int h, FrustumPlanes& frustum) {
    resetMaterial();
    const ViewRect rect = viewRect(view, w, h);
    glViewport(rect.x, rect.y, rect.width, rect.height);
    // Clearing ignores the viewport: the left view's clear greys the whole sub-window,
    // gap included, and the right view clears only depth to keep the left's pixels.
    glClear(view == 0 ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_DEPTH_BUFFER_BIT);
    projectionTable[projectionIndex](aspect);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    viewModeTable[viewMode]();
    shipViewTable[shipViewIndex](player);
    extractFrustum(frustum);
    // After the camera, so the world light keeps its direction in world space.
    placeLights();
    drawSkyBox();
    drawWorld(frustum);
    drawOverlay(player);
}

} // namespace

void displayViews() {
    const WindowRecord& sub = mainWindow.subWindow(0);
    const int w = sub.width;
    const int h = sub.height;
    // Both views share the aspect of one half: W / (2 H).
    const float aspect = static_cast<float>(w) / static_cast<float>(2 * h);
    glutSetWindow(sub.getId());
    glClearColor(0.3f, 0.3f, 0.3f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    if (shipCount < 2) {
        // GLUT may ask for a picture before start-up has built the world.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        return;
    }
    drawView(0, leftViewPlayer, aspect, w, h, leftViewFrustum);
    drawView(1, rightViewPlayer, aspect, w, h, rightViewFrustum);
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
