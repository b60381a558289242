// The relief builder: vertices in the scratch arrays, and the triangles of the
// display list as OpenGL's feedback mode returns them.
#include "assets/relief.h"
#include "assets/relief_geometry.h"
#include "assets/tga_loader.h"
#include "support/gl_test_support.h"
#include "support/image_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

constexpr double P = 3.1415926535;

// Gives bumpImage a map of the given size whose alpha is alpha(column, row),
// rows counted as stored (bottom first).
void setHeightMap(const std::function<uint8_t(int, int)>& alpha, uint32_t width = 1024,
                  uint32_t height = 512, int bits = 32) {
    std::free(bumpImage.pixels);
    const int bytes = bits / 8;
    bumpImage.pixels = static_cast<unsigned char*>(std::malloc(size_t(width) * height * bytes));
    bumpImage.width = width;
    bumpImage.height = height;
    bumpImage.bitsPerPixel = bits;
    for (uint32_t row = 0; row < height; row++)
        for (uint32_t column = 0; column < width; column++) {
            unsigned char* p = bumpImage.pixels + (size_t(row) * width + column) * bytes;
            std::memset(p, 90, bytes);
            if (bytes == 4)
                p[3] = alpha(column, row);
        }
}

float radius(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// The triangles of a relief list as object-space points: drawn in feedback mode
// through an orthographic box of +-5 that maps back exactly.
std::vector<std::vector<Vec3>> listTriangles(unsigned int list, size_t maxTriangles) {
    std::vector<float> buffer(maxTriangles * 12 + 4096);
    glViewport(0, 0, 100, 100);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-5, 5, -5, 5, -5, 5);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::vector<Vec3>> triangles;
    EXPECT_GE(used, 0) << "feedback buffer too small";
    for (GLint i = 0; i < used;) {
        EXPECT_EQ(buffer[i], GL_POLYGON_TOKEN);
        const int n = static_cast<int>(buffer[i + 1]);
        std::vector<Vec3> corners;
        for (int k = 0; k < n; k++) {
            const float* w = &buffer[i + 2 + 3 * k];
            corners.emplace_back((w[0] / 50.0f - 1.0f) * 5.0f, (w[1] / 50.0f - 1.0f) * 5.0f,
                                 -5.0f * (2.0f * w[2] - 1.0f));
        }
        triangles.push_back(corners);
        i += 2 + 3 * n;
    }
    return triangles;
}

class Relief : public testing::Test {
protected:
    void SetUp() override { makeTestWindow(100, 100); }
    void TearDown() override {
        std::free(bumpImage.pixels);
        bumpImage = TgaImage{nullptr, 0, 0, 0};
    }

    std::string build(int index, int resolution) {
        return capturedStdout([&] { buildReliefList(index, resolution); });
    }

    // Every vertex of the scratch arrays and of the list lies at this radius.
    void expectRadius(int resolution, float expected) {
        const int vertices = resolution / 2 * (resolution + 1) * 2;
        for (int n = 0; n < vertices; n++)
            ASSERT_NEAR(radius(reliefPositions[n]), expected, 1e-5f) << "vertex " << n;
        const auto triangles = listTriangles(reliefLists[0], size_t(vertices));
        // Every band gives 2R triangles; at the poles half of them shrink to
        // nothing, as do any that OpenGL adds to join the strips.
        size_t drawn = 0;
        for (const auto& t : triangles) {
            for (const Vec3& corner : t)
                ASSERT_NEAR(radius(corner), expected, 2e-3f);
            drawn += cross(t[1] - t[0], t[2] - t[0]).length() > 1e-5f;
        }
        EXPECT_EQ(drawn, size_t(resolution) * (resolution - 2));
    }
};

TEST_F(Relief, LevelMapGivesASphereOfRadiusFour) {
    setHeightMap([](int, int) { return 0; });
    EXPECT_EQ(build(0, 100), "STARTING READING...\n");
    const double latHigh = 2 * P / 100 - P / 2;
    EXPECT_FLOAT_EQ(reliefNormals[0].x, static_cast<float>(std::cos(latHigh)));
    EXPECT_FLOAT_EQ(reliefNormals[0].y, static_cast<float>(std::sin(latHigh)));
    EXPECT_FLOAT_EQ(reliefNormals[0].z, 0.0f);
    EXPECT_FLOAT_EQ(reliefTexCoords[0].x, 1.0f);
    EXPECT_FLOAT_EQ(reliefTexCoords[0].y, 0.02f);
    EXPECT_FLOAT_EQ(reliefPositions[0].x, 4.0f * reliefNormals[0].x);
    EXPECT_FLOAT_EQ(reliefPositions[0].y, 4.0f * reliefNormals[0].y);
    // The pair's lower vertex sits on the south pole.
    EXPECT_FLOAT_EQ(reliefTexCoords[1].y, 0.0f);
    EXPECT_NEAR(reliefPositions[1].y, -4.0f, 1e-6f);
    expectRadius(100, 4.0f);
}

TEST_F(Relief, HighestAlphaRaisesEveryVertexByAnEighth) {
    setHeightMap([](int, int) { return 255; });
    build(0, 100);
    expectRadius(100, 4.0f * 1.1275f);
}

TEST_F(Relief, SeamOnPlusXNorthOnPlusY) {
    setHeightMap([](int, int) { return 0; });
    build(0, 100);
    // Band 24 straddles the equator; j = 25 is a quarter turn from the seam.
    const int pair = 24 * 101 + 25;
    EXPECT_FLOAT_EQ(reliefTexCoords[2 * pair].x, 0.75f);
    EXPECT_NEAR(reliefNormals[2 * pair].x, 0.0f, 1e-6f);
    EXPECT_GT(reliefNormals[2 * pair].z, 0.99f);
    // The last pair of the last band: the north pole above, u = 0 back on the seam.
    const int last = 49 * 101 + 100;
    EXPECT_FLOAT_EQ(reliefTexCoords[2 * last].y, 1.0f);
    EXPECT_FLOAT_EQ(reliefTexCoords[2 * last].x, 0.0f);
    EXPECT_NEAR(reliefPositions[2 * last].y, 4.0f, 1e-6f);
    EXPECT_GT(reliefNormals[2 * last + 1].x, 0.0f);
}

TEST_F(Relief, EachVertexRisesByTheAlphaUnderItsTextureCoordinate) {
    setHeightMap([](int column, int row) { return static_cast<uint8_t>(column * 7 + row * 3); });
    build(1, 200);
    for (int n = 0; n < 100 * 201 * 2; n++) {
        const int column = static_cast<int>(1023 * reliefTexCoords[n].x);
        const int row = static_cast<int>(511 * reliefTexCoords[n].y);
        const float alpha = static_cast<uint8_t>(column * 7 + row * 3);
        ASSERT_NEAR(radius(reliefPositions[n]), 4.0f * (1.0f + 0.0005f * alpha), 2e-5f) << n;
    }
}

TEST_F(Relief, SamplesReadTheCornersOfTheMap) {
    setHeightMap([](int column, int row) {
        return column == 1023 && row == 511 ? 200 : (column == 0 && row == 0 ? 17 : 1);
    });
    EXPECT_EQ(sampleBumpHeight(1.0f, 1.0f), 200.0f);
    EXPECT_EQ(sampleBumpHeight(0.0f, 0.0f), 17.0f);
    EXPECT_EQ(sampleBumpHeight(0.5f, 0.5f), 1.0f);
    // Outside [0, 1] the edge is read, never memory beyond the map.
    EXPECT_EQ(sampleBumpHeight(1.5f, 7.0f), 200.0f);
    EXPECT_EQ(sampleBumpHeight(-0.5f, NAN), 17.0f);
}

TEST_F(Relief, NoUsableMapGivesASmoothSphere) {
    bumpImage = TgaImage{nullptr, 32, 1024, 512};
    std::string out = build(0, 100);
    EXPECT_EQ(out.rfind("STARTING READING...\n", 0), 0u) << out;
    EXPECT_NE(out.find("smooth sphere"), std::string::npos) << out;
    expectRadius(100, 4.0f);
    // A map of another size or depth is not read at all.
    for (const auto& [w, h, bits] :
         {std::tuple{512u, 512u, 32}, std::tuple{1024u, 256u, 32}, std::tuple{1024u, 512u, 24}}) {
        setHeightMap([](int, int) { return 255; }, w, h, bits);
        build(0, 100);
        expectRadius(100, 4.0f);
        EXPECT_EQ(sampleBumpHeight(1.0f, 1.0f), 0.0f);
    }
}

TEST_F(Relief, FinestResolutionFillsTheScratchArraysExactly) {
    setHeightMap([](int, int) { return 255; });
    build(0, 400);
    const int last = RELIEF_MAX_VERTICES - 1;
    // The last vertex: lower one of the final pair, one band below the north pole.
    EXPECT_FLOAT_EQ(reliefTexCoords[last].y, 398.0f / 400.0f);
    EXPECT_FLOAT_EQ(reliefTexCoords[last].x, 0.0f);
    expectRadius(400, 4.0f * 1.1275f);
}

TEST_F(Relief, RebuildingAnEntryReplacesItsList) {
    setHeightMap([](int, int) { return 0; });
    build(5, 100);
    const unsigned int first = reliefLists[5];
    build(5, 100);
    EXPECT_TRUE(glIsList(reliefLists[5]));
    EXPECT_TRUE(reliefLists[5] == first || !glIsList(first));
}

} // namespace
