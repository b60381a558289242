// Camera tables and operations.
#include "render/cameras.h"

#include "math/mat4.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/glu.h>

int viewMode = 0;
CameraOffsetOperation viewModeTable[VIEW_MODE_COUNT];
ProjectionOperation projectionTable[1];
ShipViewOperation shipViewTable[1];
int projectionIndex = 0;
int shipViewIndex = 0;
int leftViewPlayer = 0;
int rightViewPlayer = 1;

void initCameras() {
    viewModeTable[0] = cameraInShip;
    viewModeTable[1] = cameraBehind;
    projectionTable[0] = setPerspective;
    shipViewTable[0] = viewFromShip;
    viewMode = 0;
    projectionIndex = 0;
    shipViewIndex = 0;
}

void setPerspective(float aspect) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, aspect, 1.0, 100000.0);
}

void cameraInShip() {}

void cameraBehind() {
    // gluLookAt makes the up vector perpendicular to the line of sight, which
    // leaves the ship's own up axis up.
    gluLookAt(0, 0, 12, 0, 0, 0, 0, 0.5, -2);
}

void viewFromShip(int player) {
    const Ship& ship = *ships[player];
    Mat4 inverse;
    ship.inverseOrientationMatrix(inverse);
    glMultMatrixf(inverse.data());
    const Vec3 p = ship.getPosition();
    glTranslatef(-p.x, -p.y, -p.z);
}
