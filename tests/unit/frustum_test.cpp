// Clip planes from matrices, and the sphere and box culling at their edges.
#include "render/frustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// The matrix gluPerspective builds, column-major.
void perspective(double fovyDeg, double aspect, double zNear, double zFar, float out[16]) {
    const double f = 1.0 / std::tan(fovyDeg * M_PI / 360.0);
    for (int i = 0; i < 16; ++i)
        out[i] = 0.0f;
    out[0] = static_cast<float>(f / aspect);
    out[5] = static_cast<float>(f);
    out[10] = static_cast<float>((zFar + zNear) / (zNear - zFar));
    out[11] = -1.0f;
    out[14] = static_cast<float>(2.0 * zFar * zNear / (zNear - zFar));
}

void expectPlane(const Plane& p, float a, float b, float c, float d) {
    const float tol = 1e-6f;
    EXPECT_NEAR(p.a, a, tol);
    EXPECT_NEAR(p.b, b, tol);
    EXPECT_NEAR(p.c, c, tol);
    EXPECT_NEAR(p.d, d, tol);
}

TEST(Frustum, IdentityMatricesGiveTheUnitCube) {
    FrustumPlanes f;
    frustumFromMatrices(IDENTITY, IDENTITY, f);
    expectPlane(f.planes[PLANE_RIGHT], -1, 0, 0, 1);
    expectPlane(f.planes[PLANE_LEFT], 1, 0, 0, 1);
    expectPlane(f.planes[PLANE_BOTTOM], 0, 1, 0, 1);
    expectPlane(f.planes[PLANE_TOP], 0, -1, 0, 1);
    expectPlane(f.planes[PLANE_FAR], 0, 0, -1, 1);
    expectPlane(f.planes[PLANE_NEAR], 0, 0, 1, 1);
}

class GameFrustum : public testing::Test {
protected:
    void SetUp() override {
        float projection[16];
        perspective(40.0, 1.0, 1.0, 100000.0, projection);
        frustumFromMatrices(projection, IDENTITY, frustum);
    }
    FrustumPlanes frustum;
};

TEST_F(GameFrustum, PlanesMeasureSignedDistances) {
    // The near plane is z = -1 facing -z: a point at z = -10 is 9 in front of it.
    EXPECT_NEAR(frustum.planes[PLANE_NEAR].distanceTo(Vec3(0, 0, -10)), 9.0f, 1e-4f);
    // The far plane lies 100000 away; in float its distance is only roughly right.
    EXPECT_NEAR(frustum.planes[PLANE_FAR].distanceTo(Vec3(0, 0, -10)), 99990.0f, 500.0f);
    // The side planes are 20 degrees off the line of sight.
    const float side = std::sin(20.0f * static_cast<float>(M_PI) / 180.0f) * 10.0f;
    EXPECT_NEAR(frustum.planes[PLANE_TOP].distanceTo(Vec3(0, 0, -10)), side, 1e-4f);
    EXPECT_NEAR(frustum.planes[PLANE_LEFT].distanceTo(Vec3(0, 0, -10)), side, 1e-4f);
}

TEST_F(GameFrustum, SphereCulling) {
    // Centre on the near plane: drawn, with the value equal to its radius.
    EXPECT_FLOAT_EQ(sphereInFrustum(frustum, Vec3(0, 0, -1), 2.0f), 2.0f);
    EXPECT_NEAR(sphereInFrustum(frustum, Vec3(0, 0, -50), 4.0f), 53.0f, 1e-3f);
    // Behind the eye, touching the near plane from outside: culled.
    EXPECT_EQ(sphereInFrustum(frustum, Vec3(0, 0, 1), 2.0f), 0.0f);
    // Just reaching inside from behind: drawn with a small positive value.
    const float value = sphereInFrustum(frustum, Vec3(0, 0, 1), 2.01f);
    EXPECT_GT(value, 0.0f);
    EXPECT_LT(value, 0.02f);
    // Far to the side: culled by a side plane.
    EXPECT_EQ(sphereInFrustum(frustum, Vec3(100, 0, -10), 5.0f), 0.0f);
}

TEST_F(GameFrustum, SphereTangentFromOutsideIsCulled) {
    // Exactly tangent to the plane x = 0 of the identity frustum's left plane.
    FrustumPlanes cube;
    frustumFromMatrices(IDENTITY, IDENTITY, cube);
    const Plane& left = cube.planes[PLANE_LEFT];
    const Vec3 centre(-3.0f, 0.0f, 0.0f);
    const float e = left.distanceTo(centre);
    EXPECT_EQ(sphereInFrustum(cube, centre, -e), 0.0f);
    EXPECT_GT(sphereInFrustum(cube, centre, -e + 0.01f), 0.0f);
}

OrientedBox boxAt(const Vec3& centre, const Vec3& half) {
    return OrientedBox(half, centre, Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1));
}

TEST_F(GameFrustum, BoxCulling) {
    EXPECT_TRUE(boxInFrustum(frustum, boxAt(Vec3(0, 0, -10), Vec3(0.5f, 0.25f, 0.5f))));
    // Entirely behind the eye.
    EXPECT_FALSE(boxInFrustum(frustum, boxAt(Vec3(0, 0, 5), Vec3(0.5f, 0.5f, 0.5f))));
    // Crossing the near plane: drawn.
    EXPECT_TRUE(boxInFrustum(frustum, boxAt(Vec3(0, 0, -1), Vec3(0.5f, 0.5f, 0.5f))));
}

TEST(Frustum, BoxWithEveryCornerOnAPlaneIsCulled) {
    // A flat box lying in the plane x = -1, the identity frustum's left side.
    FrustumPlanes cube;
    frustumFromMatrices(IDENTITY, IDENTITY, cube);
    EXPECT_FALSE(boxInFrustum(cube, boxAt(Vec3(-1, 0, 0), Vec3(0, 0.5f, 0.5f))));
    EXPECT_TRUE(boxInFrustum(cube, boxAt(Vec3(-1, 0, 0), Vec3(0.01f, 0.5f, 0.5f))));
}

TEST(Frustum, RotatedBoxUsesItsOwnAxes) {
    FrustumPlanes cube;
    frustumFromMatrices(IDENTITY, IDENTITY, cube);
    // Long along world y after a quarter turn: it reaches into the cube from above.
    const OrientedBox box(Vec3(5, 0.1f, 0.1f), Vec3(0, 5.5f, 0), Vec3(0, 1, 0), Vec3(-1, 0, 0),
                          Vec3(0, 0, 1));
    EXPECT_TRUE(boxInFrustum(cube, box));
    const OrientedBox unturned(Vec3(5, 0.1f, 0.1f), Vec3(0, 5.5f, 0), Vec3(1, 0, 0), Vec3(0, 1, 0),
                               Vec3(0, 0, 1));
    EXPECT_FALSE(boxInFrustum(cube, unturned));
}

} // namespace
