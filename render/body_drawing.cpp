// Drawing a plain body: its collision box as a wire cube, in the body's own frame.
#include "world/body.h"

#include <GL/freeglut.h>

void Body::applyTransform() const {
    glTranslatef(position.x, position.y, position.z);
    applyOrientation();
}

void Body::applyOrientation() const { glMultMatrixf(orientationMatrix().data()); }

// Sets no colour, texture or lighting: the box takes whatever the caller has set.
void Body::draw() {
    glPushMatrix();
    applyTransform();
    const Vec3 half = box.getHalfExtents();
    glScalef(2 * half.x, 2 * half.y, 2 * half.z);
    glutWireCube(1.0);
    glPopMatrix();
}
