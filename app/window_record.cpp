// The window records and their GLUT calls.
#include "app/window_record.h"

#include <GL/freeglut.h>

#include <algorithm>

MainWindowRecord mainWindow;

void WindowRecord::setDisplayFunc(DisplayFunc f) {
    displayFunc = f;
    glutSetWindow(id);
    glutDisplayFunc(f);
}

void WindowRecord::setReshapeFunc(ReshapeFunc f) {
    reshapeFunc = f;
    glutSetWindow(id);
    glutReshapeFunc(f);
}

void WindowRecord::setKeyboardFunc(KeyboardFunc f) {
    keyboardFunc = f;
    glutSetWindow(id);
    glutKeyboardFunc(f);
}

void WindowRecord::setKeyboardUpFunc(KeyboardFunc f) {
    keyboardUpFunc = f;
    glutSetWindow(id);
    glutKeyboardUpFunc(f);
}

void WindowRecord::setIgnoreKeyRepeat(bool flag) {
    ignoreKeyRepeat = flag;
    glutSetWindow(id);
    glutIgnoreKeyRepeat(flag ? 1 : 0);
}

void WindowRecord::setSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
}

void WindowRecord::setPlacement(int newX, int newY, int newWidth, int newHeight) {
    x = newX;
    y = newY;
    width = std::max(newWidth, 1);
    height = std::max(newHeight, 1);
    glutSetWindow(id);
    glutPositionWindow(x, y);
    glutReshapeWindow(width, height);
}

void WindowRecord::refresh() {
    glutSetWindow(id);
    if (reshapeFunc)
        reshapeFunc(width, height);
    glutPostRedisplay();
}

void WindowRecord::createSubWindow(int parent, int newX, int newY, int newWidth, int newHeight,
                                   DisplayFunc display, ReshapeFunc reshape, KeyboardFunc keyboard,
                                   KeyboardFunc keyboardUp, bool ignoreRepeat) {
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    parentId = parent;
    id = glutCreateSubWindow(parent, newX, newY, newWidth, newHeight);
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    setDisplayFunc(display);
    setReshapeFunc(reshape);
    setKeyboardFunc(keyboard);
    setKeyboardUpFunc(keyboardUp);
    setIgnoreKeyRepeat(ignoreRepeat);
}

void MainWindowRecord::setIdleFunc(IdleFunc f) {
    idleFunc = f;
    glutSetWindow(id);
    glutIdleFunc(f);
}

void MainWindowRecord::create(const char* title, int newWidth, int newHeight, DisplayFunc display,
                              ReshapeFunc reshape, IdleFunc idle, KeyboardFunc keyboard,
                              KeyboardFunc keyboardUp, bool ignoreRepeat) {
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(newWidth, newHeight);
    glutInitWindowPosition(100, 100);
    id = glutCreateWindow(title);
    width = newWidth;
    height = newHeight;
    setDisplayFunc(display);
    setReshapeFunc(reshape);
    setIdleFunc(idle);
    setKeyboardFunc(keyboard);
    setKeyboardUpFunc(keyboardUp);
    setIgnoreKeyRepeat(ignoreRepeat);
    subWindowCount = 0;
}

void MainWindowRecord::addSubWindow(int newX, int newY, int newWidth, int newHeight,
                                    DisplayFunc display, ReshapeFunc reshape, KeyboardFunc keyboard,
                                    KeyboardFunc keyboardUp, bool ignoreRepeat) {
    if (subWindowCount >= MAX_SUB_WINDOWS)
        return;
    subWindows[subWindowCount].createSubWindow(id, newX, newY, newWidth, newHeight, display,
                                               reshape, keyboard, keyboardUp, ignoreRepeat);
    ++subWindowCount;
}

void MainWindowRecord::refreshAll() {
    for (int i = 0; i < subWindowCount; ++i)
        subWindows[i].refresh();
    refresh();
}
