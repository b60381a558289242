// Sphere and relief drawing.
#include "render/sphere_drawing.h"

#include "assets/relief.h"
#include "render/relief_culling.h"

#include <GL/glu.h>

void drawSphere(double radius, int detail, bool textured, unsigned int texture) {
    GLUquadric* quadric = gluNewQuadric();
    if (!quadric)
        return; // out of memory: skip the sphere rather than crash in GLU
    if (textured)
        glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    // GLU's poles lie on its z axis; these turns put them on y and its seam on +x.
    glRotated(-90, 1, 0, 0);
    glRotated(-90, 0, 0, 1);
    glColor4f(1, 1, 1, 1);
    if (textured)
        glBindTexture(GL_TEXTURE_2D, texture);
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricNormals(quadric, GLU_SMOOTH);
    if (textured)
        gluQuadricTexture(quadric, GL_TRUE);
    gluSphere(quadric, radius, detail, detail);
    gluDeleteQuadric(quadric);
    glPopMatrix();
    if (textured)
        glDisable(GL_TEXTURE_2D);
}

void drawRelief(float scale, int set, int level, unsigned int texture) {
    if (level < 0) {
        drawSphere(4.0 * static_cast<double>(scale), 25, true, texture);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    const int list = 3 * set + level;
    // Culling is switched off again before anything else draws.
    const bool cull = reliefMayCullFarFaces(list, scale);
    if (cull) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
    }
    glPushMatrix();
    glScalef(scale, scale, scale);
    glCallList(reliefLists[list]);
    glPopMatrix();
    if (cull) {
        glCullFace(GL_BACK);
        glDisable(GL_CULL_FACE);
    }
    glDisable(GL_TEXTURE_2D);
}
