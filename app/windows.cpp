// Creation of the two windows and the callbacks that keep their layout.
#include "app/windows.h"

#include "app/game_loop.h"
#include "app/keyboard.h"
#include "app/window_record.h"
#include "render/display_views.h"

#include <GL/freeglut.h>

// The sub-window sits this many pixels inside the top-level window on every side.
constexpr int FRAME_MARGIN = 5;

namespace {

// The drawing code reads the sizes from its own record, not from the window records:
// it is handed them after every change of a stored size.
void handSizesToViews() {
    const WindowRecord& sub = mainWindow.subWindow(0);
    viewWindow = ViewWindow{sub.getId(), sub.width, sub.height, mainWindow.height};
}

} // namespace

void createWindows() {
    mainWindow.create("Kelvidron", 1039, 522, displayMain, reshapeMain, onIdle, keyDown, keyUp,
                      true);
    glutSetWindow(mainWindow.getId());
    glutSpecialFunc(specialDown);
    glutSpecialUpFunc(specialUp);

    mainWindow.addSubWindow(FRAME_MARGIN, FRAME_MARGIN, 1029, 512, displayViews, reshapeViews,
                            keyDown, keyUp, true);
    // Both windows share the key callbacks, so the key state does not depend on
    // which of them has the focus.
    glutSetWindow(mainWindow.subWindow(0).getId());
    glutSpecialFunc(specialDown);
    glutSpecialUpFunc(specialUp);
    handSizesToViews();
}

void displayMain() {
    glClearColor(0.2f, 0.2f, 0.2f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

void reshapeMain(int w, int h) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, w, h, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    mainWindow.setSize(w, h);
    // setPlacement raises a size of zero or less (a window of 10 pixels or less) to 1.
    mainWindow.subWindow(0).setPlacement(FRAME_MARGIN, FRAME_MARGIN, w - 2 * FRAME_MARGIN,
                                         h - 2 * FRAME_MARGIN);
    handSizesToViews();
}

void reshapeViews(int w, int h) {
    glViewport(0, 0, w, h);
    mainWindow.subWindow(0).setSize(w, h);
    handSizesToViews();
    setProvisionalCamera(w, h);
}
