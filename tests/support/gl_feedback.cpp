// Feedback-mode capture of display lists.
#include "support/gl_feedback.h"

#include <GL/gl.h>

namespace {
const int VIEW_SIZE = 64;
}

void useIdentityView() {
    glViewport(0, 0, VIEW_SIZE, VIEW_SIZE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::vector<std::vector<FeedbackPoint>> feedbackPolygons(unsigned int list, int calls) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    for (int i = 0; i < calls; ++i)
        glCallList(list);
    const int used = glRenderMode(GL_RENDER);
    const float half = VIEW_SIZE / 2.0f;
    std::vector<std::vector<FeedbackPoint>> polygons;
    for (int i = 0; i + 1 < used;) {
        // Only polygons are drawn by the lists under test.
        if (buffer[i] != GL_POLYGON_TOKEN)
            return {};
        const int corners = static_cast<int>(buffer[i + 1]);
        std::vector<FeedbackPoint> polygon;
        for (int c = 0; c < corners; ++c) {
            const GLfloat* w = &buffer[i + 2 + 3 * c];
            polygon.push_back({w[0] / half - 1.0f, w[1] / half - 1.0f, 2.0f * w[2] - 1.0f});
        }
        polygons.push_back(polygon);
        i += 2 + 3 * corners;
    }
    return polygons;
}
