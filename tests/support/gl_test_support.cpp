// GLUT start-up and event pumping for the OpenGL tests.
#include "support/gl_test_support.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

void ensureGlutInit() {
    static bool done = false;
    if (done)
        return;
    int argc = 1;
    char name[] = "gl_tests";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    // Closing a test window must not end the test process.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    done = true;
}

int makeTestWindow(int width, int height) {
    ensureGlutInit();
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGBA);
    glutInitWindowSize(width, height);
    glutInitWindowPosition(0, 0);
    const int id = glutCreateWindow("kelvidron test");
    glutDisplayFunc([] {});
    return id;
}

bool pumpEventsUntil(const std::function<bool()>& done) {
    // Only a guard against a hang: on a loaded machine events may take long to come.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        glutMainLoopEvent();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

bool pumpEventsUntilShown(int glutWindowId) {
    const int previous = glutGetWindow();
    glutSetWindow(glutWindowId);
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (previous)
        glutSetWindow(previous);
    return pumpEventsUntil([&] {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display, window, &attributes) &&
               attributes.map_state == IsViewable;
    });
}

std::string windowTitleOf(int glutWindowId) {
    const int previous = glutGetWindow();
    glutSetWindow(glutWindowId);
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    std::string title;
    char* name = nullptr;
    if (display && window && XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    if (previous)
        glutSetWindow(previous);
    return title;
}
