// Lights and the base material, read back from OpenGL.
#include "render/lighting.h"
#include "support/gl_test_support.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>

namespace {

using Rgba = std::array<float, 4>;

Rgba lightValue(GLenum light, GLenum parameter) {
    Rgba v{};
    glGetLightfv(light, parameter, v.data());
    return v;
}

Rgba materialValue(GLenum parameter) {
    Rgba v{};
    glGetMaterialfv(GL_FRONT, parameter, v.data());
    return v;
}

class Lighting : public testing::Test {
protected:
    void SetUp() override {
        makeTestWindow(64, 64);
        for (LightRecord& record : lightRecords)
            record = LightRecord{};
        initLighting();
        resetMaterial();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(Lighting, StartUpState) {
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(lightRecords[0].enabled);
    for (int slot = 1; slot < LIGHT_SLOT_COUNT; ++slot)
        EXPECT_FALSE(lightRecords[slot].enabled) << slot;
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2}) {
        EXPECT_EQ(lightValue(light, GL_DIFFUSE), (Rgba{1, 1, 1, 1}));
        EXPECT_EQ(lightValue(light, GL_SPECULAR), (Rgba{1, 1, 1, 1}));
        EXPECT_EQ(lightValue(light, GL_AMBIENT), (Rgba{0, 0, 0, 1}));
    }
}

TEST_F(Lighting, BaseMaterial) {
    EXPECT_EQ(materialValue(GL_AMBIENT), (Rgba{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(materialValue(GL_DIFFUSE), (Rgba{1, 1, 1, 1}));
    EXPECT_EQ(materialValue(GL_SPECULAR), (Rgba{1, 1, 1, 1}));
    EXPECT_EQ(materialValue(GL_EMISSION), (Rgba{0, 0, 0, 1}));
    Rgba shininess{};
    glGetMaterialfv(GL_FRONT, GL_SHININESS, shininess.data());
    EXPECT_EQ(shininess[0], 0.0f);
    Rgba ambient{};
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient.data());
    EXPECT_EQ(ambient, (Rgba{1, 1, 1, 1}));
}

TEST_F(Lighting, WorldLightIsPlacedThroughTheCamera) {
    placeLights();
    EXPECT_EQ(lightValue(GL_LIGHT0, GL_POSITION), (Rgba{5, 6, 5, 0}));
    // A camera turned a quarter about y sees the fixed world direction turned with it.
    glRotatef(90, 0, 1, 0);
    placeLights();
    const Rgba p = lightValue(GL_LIGHT0, GL_POSITION);
    EXPECT_NEAR(p[0], 5, 1e-5);
    EXPECT_NEAR(p[1], 6, 1e-5);
    EXPECT_NEAR(p[2], -5, 1e-5);
    EXPECT_EQ(p[3], 0);
}

TEST_F(Lighting, SetLightEnabledFollowsItsFlag) {
    setLightEnabled(0, true);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    setLightEnabled(0, false);
    setLightEnabled(0, false);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(lightRecords[0].enabled);
    // A disabled slot is not placed.
    glLightfv(GL_LIGHT0, GL_POSITION, Rgba{1, 2, 3, 1}.data());
    placeLights();
    EXPECT_EQ(lightValue(GL_LIGHT0, GL_POSITION), (Rgba{1, 2, 3, 1}));
    setLightEnabled(3, true);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
}

TEST_F(Lighting, LightPairSitsAboveAndBelow) {
    beginLightPair();
    placeLightPair(2);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    EXPECT_EQ(lightValue(GL_LIGHT1, GL_POSITION), (Rgba{0, 2, 0, 1}));
    EXPECT_EQ(lightValue(GL_LIGHT2, GL_POSITION), (Rgba{0, -2, 0, 1}));
    endLightPair();
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    EXPECT_TRUE(lightRecords[0].enabled);
}

TEST_F(Lighting, UnlitSideShowsHalfItsColour) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    placeLights();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // A quad facing +z; the light comes from (5, 6, 5). Face it away by flipping the
    // normal: only the ambient term remains.
    glBegin(GL_QUADS);
    glNormal3f(-5, -6, -5);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    unsigned char pixel[3] = {};
    glReadPixels(32, 32, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    for (unsigned char channel : pixel)
        EXPECT_NEAR(channel, 128, 1);
}

} // namespace
