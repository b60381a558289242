// Spheres and reliefs: the state they leave behind, and where their poles and
// texture seam lie.
#include "render/sphere_drawing.h"
#include "support/gl_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using Matrix = std::array<GLfloat, 16>;

Matrix modelView() {
    Matrix m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

std::array<GLfloat, 4> currentColour() {
    std::array<GLfloat, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    return c;
}

class SphereDrawing : public testing::Test {
protected:
    void SetUp() override {
        makeTestWindow(64, 64);
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        const GLubyte texel[4] = {200, 100, 50, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(30, 1, 2, 3);
        glTranslatef(1, 2, 3);
    }
    GLuint texture = 0;
};

TEST_F(SphereDrawing, UntexturedLeavesTheTextureSwitchAsItWas) {
    const Matrix before = modelView();
    for (bool enabled : {false, true}) {
        if (enabled)
            glEnable(GL_TEXTURE_2D);
        else
            glDisable(GL_TEXTURE_2D);
        glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
        drawSphere(2.0, 10, false, texture);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), enabled ? GL_TRUE : GL_FALSE);
        EXPECT_EQ(currentColour(), (std::array<GLfloat, 4>{1, 1, 1, 1}));
        EXPECT_EQ(modelView(), before);
    }
}

TEST_F(SphereDrawing, TexturedLeavesTexturingOff) {
    const Matrix before = modelView();
    glEnable(GL_TEXTURE_2D);
    drawSphere(2.0, 10, true, texture);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(currentColour(), (std::array<GLfloat, 4>{1, 1, 1, 1}));
    EXPECT_EQ(modelView(), before);

    glColor4f(0, 0, 0, 0);
    drawRelief(1.0f, 0, -1, texture);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(currentColour(), (std::array<GLfloat, 4>{1, 1, 1, 1}));
    EXPECT_EQ(modelView(), before);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

struct TexturedCorner {
    float x, y, z, s, t;
};

// Every corner a textured sphere sends down, in model coordinates, with its
// texture coordinates (identity matrices: window coordinates map straight back).
std::vector<TexturedCorner> sphereCorners(double radius, int detail) {
    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    GLuint name = 0;
    glGenTextures(1, &name);
    drawSphere(radius, detail, true, name);
    const int used = glRenderMode(GL_RENDER);
    // Each corner: x, y, z, then four colour and four texture values.
    const int stride = 3 + 4 + 4;
    std::vector<TexturedCorner> corners;
    for (int i = 0; i < used;) {
        EXPECT_EQ(buffer[i], GL_POLYGON_TOKEN);
        if (buffer[i] != GL_POLYGON_TOKEN)
            break;
        const int count = static_cast<int>(buffer[i + 1]);
        for (int c = 0; c < count; ++c) {
            const GLfloat* v = &buffer[i + 2 + stride * c];
            // Window x and y back to [-2, 2]; depth from [0, 1] back to [-2, 2] with
            // glOrtho's flip of z.
            corners.push_back(
                {v[0] / 16.0f - 2.0f, v[1] / 16.0f - 2.0f, 2.0f - 4.0f * v[2], v[7], v[8]});
        }
        i += 2 + stride * count;
    }
    return corners;
}

TEST_F(SphereDrawing, NorthPoleAtPlusYWithTheSeamOnPlusX) {
    const std::vector<TexturedCorner> corners = sphereCorners(1.0, 16);
    ASSERT_FALSE(corners.empty());
    int north = 0, south = 0, seam = 0;
    for (const TexturedCorner& c : corners) {
        EXPECT_NEAR(std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z), 1.0f, 0.02f);
        if (c.y > 0.999f) {
            ++north;
            EXPECT_NEAR(c.t, 1.0f, 1e-5f);
        }
        if (c.y < -0.999f) {
            ++south;
            EXPECT_NEAR(c.t, 0.0f, 1e-5f);
        }
        // The seam (s = 0 or 1) runs through +x.
        if ((c.s < 1e-5f || c.s > 1 - 1e-5f) && std::fabs(c.y) < 0.9f) {
            ++seam;
            EXPECT_GT(c.x, 0.0f);
            EXPECT_NEAR(c.z, 0.0f, 0.02f);
        }
        // t grows from the south pole to the north pole.
        EXPECT_NEAR(c.t, 0.5f + std::asin(std::max(-1.0f, std::min(1.0f, c.y))) / 3.14159265f,
                    0.02f);
    }
    EXPECT_GT(north, 0);
    EXPECT_GT(south, 0);
    EXPECT_GT(seam, 0);
}

} // namespace
