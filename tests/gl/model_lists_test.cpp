// Model display lists on the real OpenGL: what a list draws (counted and measured
// in feedback mode) and the material, blend and colour state it leaves behind.
#include "render/mesh_model.h"
#include "render/model_lists.h"
#include "support/gl_feedback.h"
#include "support/gl_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

MeshMaterial flatMaterial(float r, float g, float b, float alpha) {
    return {{r * 0.5f, g * 0.5f, b * 0.5f},
            {r, g, b},
            {0.1f, 0.2f, 0.3f},
            {0.0f, 0.01f, 0.02f},
            alpha,
            17.0f + r,
            -1};
}

const float VERTICES[] = {0.1f,  0.2f, 0.3f, -0.4f, 0.1f,  0.0f,  0.2f, -0.3f,
                          -0.1f, 0.4f, 0.4f, 0.2f,  -0.2f, -0.4f, 0.4f};
const float NORMALS[] = {0, 1, 0, 0, 0, 1, 1, 0, 0};
const float TEX_COORDS[] = {0, 0};
const MeshFace FACES[] = {{{0, 1, 2}, {0, 1, 2}, {0, 0, 0}},
                          {{1, 2, 3}, {1, 2, 0}, {0, 0, 0}},
                          {{2, 3, 4}, {2, 0, 1}, {0, 0, 0}},
                          {{3, 4, 0}, {0, 1, 2}, {0, 0, 0}},
                          {{4, 0, 1}, {1, 2, 0}, {0, 0, 0}}};

// A five-face model over the shared arrays with the given materials and groups.
MeshModel smallModel(const MeshMaterial* materials, int materialCount, const MeshGroup* groups,
                     int groupCount, int faceCount = 5) {
    return {materials, materialCount, FACES, faceCount, VERTICES,   5,     NORMALS,
            3,         TEX_COORDS,    1,     groups,    groupCount, false, true};
}

void expectColour(GLenum face, GLenum parameter, const float* rgb, float alpha) {
    GLfloat value[4];
    glGetMaterialfv(face, parameter, value);
    EXPECT_FLOAT_EQ(value[0], rgb[0]);
    EXPECT_FLOAT_EQ(value[1], rgb[1]);
    EXPECT_FLOAT_EQ(value[2], rgb[2]);
    EXPECT_FLOAT_EQ(value[3], alpha);
}

void expectCurrentColour(float r, float g, float b, float a) {
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], r);
    EXPECT_FLOAT_EQ(colour[1], g);
    EXPECT_FLOAT_EQ(colour[2], b);
    EXPECT_FLOAT_EQ(colour[3], a);
}

class ModelLists : public testing::Test {
protected:
    void SetUp() override {
        makeTestWindow(64, 64);
        useIdentityView();
    }
};

TEST_F(ModelLists, GroupsDrawEveryFaceAndLeaveTheLastMaterialCurrent) {
    const MeshMaterial materials[2] = {flatMaterial(1, 0, 0, 1), flatMaterial(0, 0, 1, 1)};
    const MeshGroup groups[2] = {{0, 3}, {1, 2}};
    const unsigned int list = buildModelList(smallModel(materials, 2, groups, 2));
    ASSERT_TRUE(glIsList(list));

    const auto triangles = feedbackPolygons(list);
    ASSERT_EQ(triangles.size(), 5u);
    for (size_t f = 0; f < triangles.size(); ++f) {
        ASSERT_EQ(triangles[f].size(), 3u);
        for (int c = 0; c < 3; ++c) {
            // Corners in face order, each at its own vertex.
            const float* v = &VERTICES[3 * FACES[f].vertex[c]];
            EXPECT_NEAR(triangles[f][c].x, v[0], 1e-4f);
            EXPECT_NEAR(triangles[f][c].y, v[1], 1e-4f);
            EXPECT_NEAR(triangles[f][c].z, v[2], 1e-4f);
        }
    }

    glCallList(list);
    const MeshMaterial& last = materials[1];
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        expectColour(face, GL_AMBIENT, last.ambient, 1.0f);
        expectColour(face, GL_DIFFUSE, last.diffuse, 1.0f);
        expectColour(face, GL_SPECULAR, last.specular, 1.0f);
        expectColour(face, GL_EMISSION, last.emission, 1.0f);
        GLfloat shininess = 0.0f;
        glGetMaterialfv(face, GL_SHININESS, &shininess);
        EXPECT_FLOAT_EQ(shininess, last.shininess);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ModelLists, NormalsComeFromTheCornersOwnIndex) {
    // One group drawing only the second face, whose corners use normals 1, 2, 0.
    const MeshMaterial materials[1] = {flatMaterial(1, 1, 1, 1)};
    const MeshGroup groups[1] = {{0, 2}};
    const unsigned int list = buildModelList(smallModel(materials, 1, groups, 1, 2));
    glCallList(list);
    GLfloat normal[3];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    // The last corner drawn is corner 2 of face 1: normal index 0, (0, 1, 0).
    EXPECT_FLOAT_EQ(normal[0], 0.0f);
    EXPECT_FLOAT_EQ(normal[1], 1.0f);
    EXPECT_FLOAT_EQ(normal[2], 0.0f);
}

TEST_F(ModelLists, TranslucentMaterialBlendsAndAnOpaqueOneStopsIt) {
    const MeshMaterial glassThenSteel[2] = {flatMaterial(0.5f, 0.6f, 0.7f, 0.25f),
                                            flatMaterial(0.3f, 0.3f, 0.3f, 1.0f)};
    const MeshGroup glassOnly[1] = {{0, 5}};
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
    glCallList(buildModelList(smallModel(glassThenSteel, 2, glassOnly, 1)));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    expectCurrentColour(1, 1, 1, 0.25f);
    expectColour(GL_FRONT, GL_DIFFUSE, glassThenSteel[0].diffuse, 0.25f);

    const MeshGroup glassThenOpaque[2] = {{0, 2}, {1, 3}};
    glCallList(buildModelList(smallModel(glassThenSteel, 2, glassThenOpaque, 2)));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(ModelLists, ReusedMaterialSwitchesAgainInEveryGroup) {
    const MeshMaterial materials[2] = {flatMaterial(0.5f, 0.6f, 0.7f, 0.25f),
                                       flatMaterial(0.3f, 0.3f, 0.3f, 1.0f)};
    const MeshGroup groups[3] = {{0, 1}, {1, 2}, {0, 2}};
    const unsigned int list = buildModelList(smallModel(materials, 2, groups, 3));
    EXPECT_EQ(feedbackPolygons(list).size(), 5u);
    glCallList(list);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    expectColour(GL_BACK, GL_AMBIENT, materials[0].ambient, 0.25f);
}

TEST_F(ModelLists, ModelStoredAlongYLeavesBlendAndColourAlone) {
    const MeshMaterial materials[1] = {flatMaterial(0.5f, 0.6f, 0.7f, 0.25f)};
    const MeshGroup groups[1] = {{0, 5}};
    MeshModel model = smallModel(materials, 1, groups, 1);
    model.turnedOntoZ = true;
    model.switchesBlending = false;
    const unsigned int list = buildModelList(model);
    for (bool blending : {false, true}) {
        if (blending)
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ZERO);
        glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
        glPushMatrix();
        glCallList(list);
        glPopMatrix();
        EXPECT_EQ(glIsEnabled(GL_BLEND), blending ? GL_TRUE : GL_FALSE);
        GLint source = 0;
        glGetIntegerv(GL_BLEND_SRC, &source);
        EXPECT_EQ(source, GL_ONE);
        expectCurrentColour(0.2f, 0.3f, 0.4f, 0.5f);
        // The material itself still switches.
        expectColour(GL_FRONT, GL_DIFFUSE, materials[0].diffuse, 0.25f);
    }
}

TEST_F(ModelLists, TurnsCompiledIntoTheListAccumulateWithoutAPush) {
    const MeshMaterial materials[1] = {flatMaterial(1, 1, 1, 1)};
    const MeshGroup groups[1] = {{0, 1}};
    MeshModel model = smallModel(materials, 1, groups, 1, 1);
    model.turnedOntoZ = true;
    model.switchesBlending = false;
    const unsigned int list = buildModelList(model);
    const auto triangles = feedbackPolygons(list, 2);
    ASSERT_EQ(triangles.size(), 2u);
    // The three turns take (x, y, z) to (-z, x, -y): a model's +y becomes -z.
    const FeedbackPoint once = triangles[0][0];
    const FeedbackPoint twice = triangles[1][0];
    EXPECT_NEAR(once.x, -0.3f, 1e-4f);
    EXPECT_NEAR(once.y, 0.1f, 1e-4f);
    EXPECT_NEAR(once.z, -0.2f, 1e-4f);
    EXPECT_NEAR(twice.x, 0.2f, 1e-4f);
    EXPECT_NEAR(twice.y, -0.3f, 1e-4f);
    EXPECT_NEAR(twice.z, -0.1f, 1e-4f);
    // Two calls leave two turns on the matrix: (x, y, z) to (y, -z, -x).
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    const float twoTurns[16] = {0, 0, -1, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(matrix[i], twoTurns[i], 1e-6f) << i;
}

} // namespace
