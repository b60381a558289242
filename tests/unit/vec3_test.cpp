// Vector arithmetic: rescaling, rotation direction, bases, products and printing.
#include "expect_vec.h"
#include "math/vec3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Vec3, SetLengthRescalesAndLeavesZeroAlone) {
    Vec3 v(3, 0, 4);
    v.setLength(1);
    expectVec(v, 0.6f, 0, 0.8f);

    Vec3 zero(0, 0, 0);
    zero.setLength(1);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);

    Vec3 up(0, 2, 0);
    up.setLength(5);
    expectVec(up, 0, 5, 0);
    up.setLength(-1);
    expectVec(up, 0, -1, 0);
}

TEST(Vec3, RotateFollowsTheRightHandRule) {
    Vec3 a(1, 0, 0);
    a.rotate(90, Vec3(0, 0, 1));
    expectVec(a, 0, 1, 0);

    Vec3 b(0, 1, 0);
    b.rotate(90, Vec3(1, 0, 0));
    expectVec(b, 0, 0, 1);

    Vec3 c(1, 0, 0);
    c.rotate(-90, Vec3(0, 0, 1));
    expectVec(c, 0, -1, 0);
}

TEST(Vec3, RotateUsesTheTruncatedDegreeFactor) {
    EXPECT_EQ(DEG_TO_RAD, 0.017453292519444445);
    EXPECT_NE(DEG_TO_RAD, M_PI / 180.0);
    // A full turn comes back close to, but not bit for bit onto, the start.
    Vec3 v(0.3f, -0.5f, 0.8f);
    v.rotate(360, Vec3(0, 1, 0));
    expectVec(v, 0.3f, -0.5f, 0.8f, 1e-5f);
    // With the exact pi the sine of 360 degrees would be about -2.4e-16; with the
    // game's factor it is -1.8e-10, which a rotation of a large vector makes visible.
    Vec3 far(1.0e6f, 0, 0);
    far.rotate(360, Vec3(0, 1, 0));
    EXPECT_NEAR(far.z, -std::sin(360 * DEG_TO_RAD) * 1.0e6, 1e-6);
    EXPECT_GT(far.z, 1.0e-4f);
}

TEST(Vec3, ToBasisTakesTheAxesAsColumns) {
    Vec3 v(0.25f, -2, 7);
    v.toBasis(Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1));
    expectVec(v, 0.25f, -2, 7);

    Vec3 x(1, 0, 0);
    x.toBasis(Vec3(0, 1, 0), Vec3(-1, 0, 0), Vec3(0, 0, 1));
    expectVec(x, 0, 1, 0);

    // All three components come from the old vector, not from a half-updated one.
    Vec3 mix(1, 2, 3);
    mix.toBasis(Vec3(0, 1, 0), Vec3(0, 0, 1), Vec3(1, 0, 0));
    expectVec(mix, 3, 1, 2);
}

TEST(Vec3, ProductsAndSums) {
    expectVec(cross(Vec3(1, 0, 0), Vec3(0, 1, 0)), 0, 0, 1);
    expectVec(cross(Vec3(0, 1, 0), Vec3(1, 0, 0)), 0, 0, -1);
    expectVec(cross(Vec3(2, 3, 4), Vec3(2, 3, 4)), 0, 0, 0);
    EXPECT_EQ(dot(Vec3(1, 2, 3), Vec3(4, 5, 6)), 32.0f);
    expectVec(Vec3(1, 2, 3) * Vec3(4, 5, 6), 4, 10, 18);
    expectVec(2.0f * Vec3(1, 2, 3), 2, 4, 6);
    expectVec(Vec3(1, 2, 3) - Vec3(3, 2, 1), -2, 0, 2);
    // The sum runs z, y, x: the small x survives only when the large ones cancel first.
    EXPECT_EQ(Vec3(1.0f, 1.0e8f, -1.0e8f).sum(), 1.0f);
    EXPECT_EQ(Vec3(-1.0e8f, 1.0e8f, 1.0f).sum(), 0.0f);
}

TEST(Vec3, ProjectionOfIncludingTheZeroVector) {
    expectVec(Vec3(0, 0, 2).projectionOf(Vec3(1, 1, 1)), 0, 0, 1);
    const Vec3 p = Vec3(0, 0, 0).projectionOf(Vec3(1, 1, 1));
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(p.z, 0.0f);
}

TEST(Vec3, IndexAndWithW) {
    const Vec3 v(7, 8, 9);
    EXPECT_EQ(v[0], 7.0f);
    EXPECT_EQ(v[1], 8.0f);
    EXPECT_EQ(v[2], 9.0f);
    const Vec4 w = Vec3(1, 2, 3).withW(0);
    EXPECT_EQ(w.x, 1.0f);
    EXPECT_EQ(w.y, 2.0f);
    EXPECT_EQ(w.z, 3.0f);
    EXPECT_EQ(w.w, 0.0f);
}

#if defined(NDEBUG) && defined(__SANITIZE_ADDRESS__)
#error "the sanitized build keeps its asserts, so that it runs the death test below"
#endif
#ifdef NDEBUG
TEST(Vec3, IndexOutsideTheVectorReadsZero) {
    const Vec3 v(7, 8, 9);
    EXPECT_EQ(v[3], 0.0f);
    EXPECT_EQ(v[-1], 0.0f);
}
#else
TEST(Vec3DeathTest, IndexOutsideTheVectorAsserts) {
    const Vec3 v(7, 8, 9);
    EXPECT_DEATH((void)v[3], "index must be 0, 1 or 2");
}
#endif

TEST(Vec3, PrintWritesSixDecimals) {
    testing::internal::CaptureStdout();
    Vec3(1, -2.5f, 0).print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "(1.000000, -2.500000, 0.000000)\n");
}

} // namespace
