// Drawing an explosion: blended, coloured points; a finished one leaves the list.
#include "world/particle_system.h"

#include "world/entity_list.h"

#include <GL/gl.h>

bool ParticleSystem::draw() {
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    const GLfloat ambient[4] = {1, 1, 1, 0.1f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int i = 0; i < particleCount; ++i) {
        const Particle& p = particles[i];
        if (!p.alive)
            continue;
        glColor4f(p.red, p.green, p.blue, 0.3f);
        glPushMatrix();
        glTranslatef(p.position.x, p.position.y, p.position.z);
        glPointSize(2.0f);
        glBegin(GL_POINTS);
        glVertex4f(0, 0, 0, 1);
        glEnd();
        glPopMatrix();
    }
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);

    if (liveCount != 0)
        return true;
    retireExplosion(this);
    return false;
}
