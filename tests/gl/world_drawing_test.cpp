// How bodies, ships, planets and explosions draw themselves, checked through the
// real OpenGL: feedback mode records what reaches the rasteriser (and the pass-
// through markers of stand-in display lists), state queries what is left behind.
#include "assets/relief.h"
#include "render/celestial_drawing.h"
#include "render/lighting.h"
#include "render/models.h"
#include "support/gl_test_support.h"
#include "world/celestial_body.h"
#include "world/entity_list.h"
#include "world/particle_system.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// What one drawing sent down the pipeline, in window coordinates.
struct Feedback {
    std::vector<float> markers; // glPassThrough values, in order
    int points = 0;
    int lines = 0;
    int polygons = 0;
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;

    void vertex(const float* v) {
        minX = std::min(minX, v[0]);
        maxX = std::max(maxX, v[0]);
        minY = std::min(minY, v[1]);
        maxY = std::max(maxY, v[1]);
    }
};

template <typename Draw> Feedback feedbackOf(Draw draw) {
    static std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint size = glRenderMode(GL_RENDER);
    EXPECT_GE(size, 0) << "feedback buffer overflowed";
    Feedback f;
    for (GLint i = 0; i < size;) {
        const GLint token = static_cast<GLint>(buffer[i++]);
        switch (token) {
        case GL_PASS_THROUGH_TOKEN:
            f.markers.push_back(buffer[i++]);
            break;
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            ++f.points;
            f.vertex(&buffer[i]);
            i += 3;
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            ++f.lines;
            f.vertex(&buffer[i]);
            f.vertex(&buffer[i + 3]);
            i += 6;
            break;
        case GL_POLYGON_TOKEN: {
            const int n = static_cast<int>(buffer[i++]);
            ++f.polygons;
            for (int k = 0; k < n; ++k, i += 3)
                f.vertex(&buffer[i]);
            break;
        }
        default:
            ADD_FAILURE() << "unknown feedback token " << token;
            return f;
        }
    }
    return f;
}

// World x and y from -20 to 20 fill the 100-pixel window: window = (world + 20) * 2.5.
float windowOf(float world) { return (world + 20.0f) * 2.5f; }

GLint modelviewDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

class WorldDrawing : public testing::Test {
protected:
    void SetUp() override {
        makeTestWindow(100, 100);
        glViewport(0, 0, 100, 100);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-20, 20, -20, 20, -20, 20);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        initLighting();
        resetMaterial();
        // Stand-ins for the relief models: each only marks that it was called.
        for (int i = 0; i < RELIEF_LIST_COUNT; ++i) {
            reliefLists[i] = glGenLists(1);
            glNewList(reliefLists[i], GL_COMPILE);
            glPassThrough(static_cast<GLfloat>(100 + i));
            glEndList();
        }
    }
};

TEST(ReliefLevel, EachBoundBelongsToTheNearerFinerLevel) {
    EXPECT_EQ(reliefLevelForDistance(150.5f), -1);
    EXPECT_EQ(reliefLevelForDistance(150.0f), 0);
    EXPECT_EQ(reliefLevelForDistance(100.5f), 0);
    EXPECT_EQ(reliefLevelForDistance(100.0f), 1);
    EXPECT_EQ(reliefLevelForDistance(55.0f), 2);
    EXPECT_EQ(reliefLevelForDistance(0.0f), 2);
}

TEST_F(WorldDrawing, ARelievedPlanetCallsTheListOfItsLevel) {
    CelestialBody planet;
    planet.useModel = true;
    planet.modelIndex = 2;
    planet.setSurfaceTexture(0);
    const struct {
        float distance;
        int list;
    } cases[] = {{150.0f, 6}, {100.0f, 7}, {55.0f, 8}, {0.0f, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        const GLint depth = modelviewDepth();
        const Feedback f = feedbackOf([&] { planet.drawAtDistance(c.distance); });
        ASSERT_EQ(f.markers.size(), 1u);
        EXPECT_EQ(f.markers[0], 100.0f + c.list);
        EXPECT_EQ(f.polygons, 0);
        EXPECT_EQ(modelviewDepth(), depth);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
    // Beyond 150: no list, a plain sphere of the relief models' radius 4.
    planet.setPosition(3, 0, 0);
    const Feedback far = feedbackOf([&] { planet.drawAtDistance(150.5f); });
    EXPECT_TRUE(far.markers.empty());
    EXPECT_GT(far.polygons, 0);
    EXPECT_NEAR(far.minX, windowOf(3 - 4), 0.3f);
    EXPECT_NEAR(far.maxX, windowOf(3 + 4), 0.3f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(WorldDrawing, APlainPlanetIsASphereOfItsRadiusWithTheCloudsAbove) {
    CelestialBody planet;
    planet.setRadius(8);
    planet.setPosition(0, 2, 0);
    const Feedback bare = feedbackOf([&] { planet.drawAtDistance(40); });
    EXPECT_GT(bare.polygons, 0);
    EXPECT_NEAR(bare.minY, windowOf(2 - 8), 0.3f);
    EXPECT_NEAR(bare.maxY, windowOf(2 + 8), 0.3f);

    planet.setCloudTexture(0);
    const Feedback clouded = feedbackOf([&] { planet.drawAtDistance(40); });
    EXPECT_GT(clouded.polygons, bare.polygons);
    EXPECT_NEAR(clouded.maxY, windowOf(2 + 8.8f), 0.3f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // The clouds follow the radius also over a relief model.
    planet.useModel = true;
    planet.modelIndex = 0;
    const Feedback relief = feedbackOf([&] { planet.drawAtDistance(60); });
    ASSERT_EQ(relief.markers.size(), 1u);
    EXPECT_EQ(relief.markers[0], 101.0f);
    EXPECT_NEAR(relief.maxY, windowOf(2 + 8.8f), 0.3f);
}

TEST_F(WorldDrawing, APlainBodyIsAWireCubeOfItsBoxInItsFrame) {
    Body body(100, 10, 10000, 1, 0.005);
    body.setHalfExtents(Vec3(1.0f, 0.25f, 0.5f));
    body.setPosition(2, 0, 0);
    body.turnFrame(90, 0, 0); // the long side now lies along z, the short along x
    const GLint depth = modelviewDepth();
    const Feedback f = feedbackOf([&] { body.draw(); });
    EXPECT_GE(f.lines, 12);
    EXPECT_EQ(f.polygons, 0);
    EXPECT_NEAR(f.minX, windowOf(1.5f), 1e-3f);
    EXPECT_NEAR(f.maxX, windowOf(2.5f), 1e-3f);
    EXPECT_NEAR(f.minY, windowOf(-0.25f), 1e-3f);
    EXPECT_NEAR(f.maxY, windowOf(0.25f), 1e-3f);
    EXPECT_EQ(modelviewDepth(), depth);
}

class ShipDrawing : public WorldDrawing {
protected:
    void SetUp() override {
        WorldDrawing::SetUp();
        modelLists[0] = glGenLists(1);
        glNewList(modelLists[0], GL_COMPILE);
        glPassThrough(7);
        glEndList();
        handle.index = 0;
    }

    Vec4 eyePositionOf(GLenum light) {
        Vec4 p;
        glGetLightfv(light, GL_POSITION, &p.x);
        return p;
    }

    void expectWorldLightBack() {
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
        EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
        EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
        EXPECT_TRUE(lightRecords[0].enabled);
    }

    ModelHandle handle;
};

TEST_F(ShipDrawing, TheModelIsDrawnBetweenTheShipsOwnLights) {
    Ship ship(100, 10, 999999, 1, 0.01, &handle);
    ship.setPosition(1, 2, 3);
    ship.turnFrame(0, 0, 90); // rolled: up now points along -x
    const GLint depth = modelviewDepth();
    const Feedback f = feedbackOf([&] { ship.draw(); });
    ASSERT_EQ(f.markers.size(), 1u);
    EXPECT_EQ(f.markers[0], 7.0f);
    // One unit above and below the ship along its own up axis.
    const Vec4 above = eyePositionOf(GL_LIGHT1);
    const Vec4 below = eyePositionOf(GL_LIGHT2);
    EXPECT_NEAR(above.x, 0.0f, 1e-5f);
    EXPECT_NEAR(above.y, 2.0f, 1e-5f);
    EXPECT_NEAR(above.z, 3.0f, 1e-5f);
    EXPECT_NEAR(below.x, 2.0f, 1e-5f);
    EXPECT_EQ(above.w, 1.0f);
    expectWorldLightBack();
    EXPECT_EQ(modelviewDepth(), depth);
}

TEST_F(ShipDrawing, TheAttitudeViewDrawsTheModelAtTheOriginScaledAndTurned) {
    Ship ship(100, 10, 999999, 1, 0.01, &handle);
    ship.setPosition(10, 10, 10); // ignored: only the orientation counts
    const Feedback f = feedbackOf([&] { ship.drawScaled(2.0f); });
    ASSERT_EQ(f.markers.size(), 1u);
    // The lights are placed at (0, s, 0) inside the scale s.
    const Vec4 above = eyePositionOf(GL_LIGHT1);
    EXPECT_NEAR(above.x, 0.0f, 1e-5f);
    EXPECT_NEAR(above.y, 4.0f, 1e-5f);
    expectWorldLightBack();
}

TEST_F(ShipDrawing, AShipWithoutAModelYetDrawsNothing) {
    Ship ship(100, 10, 999999, 1, 0.01);
    const Feedback f = feedbackOf([&] { ship.draw(); });
    EXPECT_TRUE(f.markers.empty());
    EXPECT_EQ(f.points + f.lines + f.polygons, 0);
    expectWorldLightBack();
}

TEST_F(WorldDrawing, AnExplosionDrawsItsLivePointsAndLeavesWhenBurntOut) {
    std::srand(5);
    setUpWorld();
    spawnExplosion(Vec3(1, -1, 0));
    ParticleSystem* system = entityListPointerAt<ParticleSystem>(explosions, 0);

    bool more = false;
    Feedback f = feedbackOf([&] { more = system->draw(); });
    EXPECT_TRUE(more);
    EXPECT_EQ(f.points, 300);
    EXPECT_NEAR(f.minX, windowOf(1), 1e-3f);
    EXPECT_NEAR(f.maxY, windowOf(-1), 1e-3f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));

    while (system->liveCount > 150)
        system->update(10);
    ASSERT_GT(system->liveCount, 0);
    f = feedbackOf([&] { more = system->draw(); });
    EXPECT_TRUE(more);
    EXPECT_EQ(f.points, system->liveCount);

    while (system->liveCount > 0)
        system->update(10);
    EXPECT_EQ(entityListCount(explosions), 1); // still listed until drawn
    f = feedbackOf([&] { more = system->draw(); });
    EXPECT_FALSE(more);
    EXPECT_EQ(f.points, 0);
    EXPECT_EQ(entityListCount(explosions), 0);
    ASSERT_EQ(entityListCount(spareExplosions), 1);
    EXPECT_EQ(entityListPointerAt<ParticleSystem>(spareExplosions, 0), system);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
