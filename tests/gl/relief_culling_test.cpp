// Culling a relief's far faces: on only beyond the bound, OpenGL's culling state as
// it was afterwards, and the game's picture the same but for isolated pixels at
// silhouettes either way.
#include "app/window_record.h"
#include "assets/relief.h"
#include "assets/tga_loader.h"
#include "frame_grab.h"
#include "render/cameras.h"
#include "render/relief_culling.h"
#include "render/sphere_drawing.h"
#include "support/game_frame.h"
#include "support/gl_test_support.h"
#include "support/image_test_support.h"
#include "world/celestial_body.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Polygons that reach the rasterizer when drawRelief draws under the current
// matrices: feedback mode returns no culled face.
int polygonsDrawn(int set, int level) {
    std::vector<GLfloat> buffer(4000000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    drawRelief(1.0f, set, level, 0);
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer too small";
    int polygons = 0;
    for (GLint i = 0; i < used; i += 2 + 2 * static_cast<int>(buffer[i + 1]))
        polygons += buffer[i] == GL_POLYGON_TOKEN;
    return polygons;
}

TEST(ReliefCulling, FarFacesGoOnlyBeyondTheRadiusPlusTheNearPlanesReach) {
    makeTestWindow(100, 100);
    // Every height 255: each vertex at 4 * 1.1275 = 4.51 from the centre.
    bumpImage.width = 1024;
    bumpImage.height = 512;
    bumpImage.bitsPerPixel = 32;
    std::free(bumpImage.pixels);
    bumpImage.pixels = static_cast<unsigned char*>(std::malloc(1024 * 512 * 4));
    std::memset(bumpImage.pixels, 255, 1024 * 512 * 4);
    capturedStdout([] { buildReliefList(0, 100); });
    EXPECT_NEAR(reliefMaxRadius[0], 4.51f, 1e-5f);

    // The default views' projection: the near rectangle's corners lie 1.1253 away.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, 1029.0 / 1024.0, 1.0, 100000.0);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(nearPlaneReach(projection), 1.1253f, 1e-4f);
    // A field of view wide enough to see the whole relief from the bound, so that
    // feedback mode returns every face it does not cull: sqrt(1 + 2 tan^2 75 deg) away.
    glLoadIdentity();
    gluPerspective(150.0, 1.0, 1.0, 1000.0);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float reach = nearPlaneReach(projection);
    EXPECT_NEAR(reach, 5.3723f, 1e-3f);
    glMatrixMode(GL_MODELVIEW);
    const float bound = 4.51f + reach;
    glLoadIdentity();
    glTranslatef(0, 0, -bound);
    reliefCullingAllowed = false;
    const int everyFace = polygonsDrawn(0, 0);
    reliefCullingAllowed = true;
    EXPECT_GE(everyFace, 50 * 200); // 50 strips of 202 vertices, some cut by the view
    for (float margin : {-0.002f, 0.002f}) {
        // The eye looks at the relief's centre from just within, then just beyond.
        glLoadIdentity();
        glTranslatef(0, 0, -(bound + margin));
        const int drawn = polygonsDrawn(0, 0);
        if (margin < 0)
            EXPECT_EQ(drawn, everyFace);
        else // the faces on the near cap, a little over a quarter
            EXPECT_LT(drawn, everyFace * 2 / 5);
        EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
        GLint mode = 0;
        glGetIntegerv(GL_CULL_FACE_MODE, &mode);
        EXPECT_EQ(mode, GL_BACK);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Any projection but a perspective one keeps every face.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_TRUE(std::isinf(nearPlaneReach(projection)));
}

// A moment of the game: each ship's eye and the point it looks at, and the view mode.
struct Moment {
    const char* what;
    int viewMode;
    int planet[2];
    Vec3 eye[2], target[2];
};

constexpr int EARTH = 1, PLUTO = 2, VENUS = 3, MARS = 4;
// Directions from the centre of the highest vertex at spin 0, per planet index.
const Vec3 PEAK[5] = {{},
                      {-0.6858f, -0.2285f, -0.691f},
                      {-0.0411f, 0.3862f, -0.9215f},
                      {0.259f, 0.7147f, 0.6498f},
                      {-0.3291f, 0.3806f, -0.8642f}};

// Eye and target relative to the planet's centre.
const Moment MOMENTS[] = {
    {"finest level", 0, {EARTH, MARS}, {{0, 3, 12}, {10, 4, -6}}, {{0, 0, 0}, {0, 0, 0}}},
    {"finest level from behind",
     1,
     {PLUTO, VENUS},
     {{-8, 2, 25}, {0, -20, 8}},
     {{0, 0, 0}, {0, 0, 0}}},
    {"middle level", 0, {PLUTO, VENUS}, {{0, 0, 70}, {60, 20, 0}}, {{0, 0, 0}, {0, 0, 0}}},
    {"coarsest level", 1, {EARTH, MARS}, {{0, 20, 120}, {0, 0, -125}}, {{0, 0, 0}, {0, 0, 0}}},
    {"at the edge of the view", 0, {EARTH, MARS}, {{0, 0, 8}, {0, 0, -9}}, {{5, 0, 0}, {0, 4, 0}}},
    {"the seam, from outside",
     0,
     {EARTH, MARS},
     {{6.2f, 0.5f, 1.5f}, {6.3f, -0.5f, -1.5f}},
     {{4.1f, 0.3f, 0}, {4.2f, 0, 0}}},
    {"grazing the surface",
     0,
     {EARTH, MARS},
     {{0, 4.45f, 0}, {4.6f, 0, 0}},
     {{10, -1.5f, 0}, {0.6f, -6, 0}}},
    {"just beyond the bound",
     0,
     {EARTH, MARS},
     {{0, 5.6f, 0}, {5.7f, 0, 0}},
     {{6, -1, 0}, {-1, -6, 0}}},
    {"above a pole, along the seam's plane",
     0,
     {VENUS, MARS},
     {{0, 20, 0}, {0, 20, 0}},
     {{0, 0, 0}, {0, 0, 0}}},
    {"inside a mountain",
     0,
     {MARS, PLUTO},
     {PEAK[MARS] * 4.1f, PEAK[PLUTO] * 4.1f},
     {PEAK[MARS] * 4.1f + Vec3(0, 0, 1), PEAK[PLUTO] * 4.1f + Vec3(1, 0, 0)}},
};

// 2,000 random moments of kelvidron-cull-compare changed at most 4 pixels in one
// frame, never two side by side: an edge-on face at a silhouette, or a depth tie.
constexpr size_t MOST_PIXELS_CULLING_CHANGES = 8;

TEST(ReliefCulling, GameMomentsDifferOnlyInIsolatedPixels) {
    startGameForTest();
    for (const Moment& m : MOMENTS) {
        viewMode = m.viewMode;
        for (int p = 0; p < 2; ++p) {
            const Vec3 centre = celestialBodies[m.planet[p]]->getPosition();
            placeEye(p, m.viewMode, centre + m.eye[p], centre + m.target[p]);
        }
        reliefCullingAllowed = false;
        const RgbImage everyFace = captureGameFrame();
        reliefCullingAllowed = true;
        const RgbImage culled = captureGameFrame();
        ASSERT_EQ(everyFace.pixels.size(), culled.pixels.size());
        const int w = culled.width, h = culled.height;
        auto differs = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= w || y >= h)
                return false;
            const size_t i = (static_cast<size_t>(y) * w + x) * 3;
            return !std::equal(&culled.pixels[i], &culled.pixels[i] + 3, &everyFace.pixels[i]);
        };
        size_t differing = 0, clustered = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (differs(x, y)) {
                    ++differing;
                    clustered += differs(x + 1, y) || differs(x - 1, y + 1) || differs(x, y + 1) ||
                                 differs(x + 1, y + 1);
                }
        EXPECT_LE(differing, MOST_PIXELS_CULLING_CHANGES) << m.what;
        EXPECT_EQ(clustered, 0u) << m.what << ": differing pixels side by side";
        // KELVIDRON_TEST_PICTURES names a folder for the two pictures of a moment that differs.
        if (differing != 0 && std::getenv("KELVIDRON_TEST_PICTURES")) {
            const std::string name = std::string(std::getenv("KELVIDRON_TEST_PICTURES")) + "/" +
                                     std::to_string(&m - MOMENTS);
            writePng(name + "-all.png", everyFace);
            writePng(name + "-culled.png", culled);
        }
    }
}

} // namespace
