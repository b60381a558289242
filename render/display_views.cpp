// Composition of the two views.
#include "render/display_views.h"

#include <GL/freeglut.h>

void displayViews() {
    glClearColor(0.3f, 0.3f, 0.3f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

void setProvisionalCamera(int w, int h) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, static_cast<float>(w) / static_cast<float>(h), 1.0, 100000.0);
    glMatrixMode(GL_MODELVIEW);
}
