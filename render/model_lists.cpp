// Display lists of the polygon models: one triangle batch per material group.
#include "render/model_lists.h"

#include <GL/gl.h>

#include <cassert>

void applyMeshMaterial(const MeshModel& model, int index) {
    const MeshMaterial& m = model.materials[index];
    glEnd();
    const GLenum parameters[4] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};
    const float* colours[4] = {m.ambient, m.diffuse, m.specular, m.emission};
    for (int i = 0; i < 4; ++i) {
        const GLfloat value[4] = {colours[i][0], colours[i][1], colours[i][2], m.alpha};
        glMaterialfv(GL_FRONT_AND_BACK, parameters[i], value);
    }
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
    if (model.switchesBlending) {
        if (m.alpha < 1.0f) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glColor4f(1, 1, 1, m.alpha);
        } else {
            glDisable(GL_BLEND);
        }
    }
    glBegin(GL_TRIANGLES);
}

int buildModelList(const MeshModel& model) {
    assert(meshModelProblem(model).empty() &&
           "model data is inconsistent: regenerate it with kelvidron-make-models");
    const GLuint id = glGenLists(1);
    glNewList(id, GL_COMPILE);
    if (model.turnedOntoZ) {
        // Stored along y; these turns lay it along z with its nose towards -z.
        glRotatef(180, 0, 1, 0);
        glRotatef(90, 0, 0, 1);
        glRotatef(90, 1, 0, 0);
    }
    glBegin(GL_TRIANGLES);
    int facesLeft = 0;
    int group = 0;
    for (int f = 0; f < model.faceCount; ++f) {
        if (facesLeft == 0) {
            applyMeshMaterial(model, model.groups[group].material);
            facesLeft = model.groups[group].faceCount;
            ++group;
        }
        --facesLeft;
        const MeshFace& face = model.faces[f];
        for (int c = 0; c < 3; ++c) {
            const float* n = model.normals + 3 * face.normal[c];
            const float* t = model.texCoords + 2 * face.texCoord[c];
            const float* v = model.vertices + 3 * face.vertex[c];
            glNormal3f(n[0], n[1], n[2]);
            glTexCoord2f(t[0], t[1]);
            glVertex3f(v[0], v[1], v[2]);
        }
    }
    glEnd();
    glEndList();
    return static_cast<int>(id);
}
