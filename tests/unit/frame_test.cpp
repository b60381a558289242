// Orientation frames: the matrix handed to OpenGL, its inverse, and turning with repair.
#include "expect_vec.h"
#include "math/frame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[4 * k + row] * b[4 * col + k];
            r[4 * col + row] = sum;
        }
    return r;
}

void expectIdentity(const Mat4& m, float tol) {
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(m[k], (k % 5 == 0) ? 1.0f : 0.0f, tol) << "element " << k;
}

TEST(Frame, InitialFrameIsTheIdentityBothWays) {
    const Mat4 m = frameMatrix(Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1));
    expectIdentity(m, 0);
    Mat4 inv;
    invertMatrix4(m, inv);
    expectIdentity(inv, 0);
}

TEST(Frame, MatrixIsColumnMajorAndInverseIsTheTranspose) {
    const Mat4 m = frameMatrix(Vec3(0, 1, 0), Vec3(-1, 0, 0), Vec3(0, 0, 1));
    const float expected[8] = {0, 1, 0, 0, -1, 0, 0, 0};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(m[k], expected[k]) << "element " << k;
    Mat4 inv;
    invertMatrix4(m, inv);
    const float expectedInverse[8] = {0, -1, 0, 0, 1, 0, 0, 0};
    for (int k = 0; k < 8; ++k)
        EXPECT_NEAR(inv[k], expectedInverse[k], 1e-7f) << "element " << k;
    EXPECT_NEAR(inv[15], 1.0f, 1e-7f);
}

TEST(Frame, InverseOfAGeneralMatrixUndoesIt) {
    // Scale, shear and a translation column: not a rotation.
    Mat4 m;
    const float values[16] = {2, 0.5f, 0, 0, 0.25f, 3, 1, 0, 0, -1, 4, 0, 7, -3, 5, 1};
    for (int k = 0; k < 16; ++k)
        m[k] = values[k];
    Mat4 inv;
    invertMatrix4(m, inv);
    expectIdentity(multiply(m, inv), 1e-6f);
    expectIdentity(multiply(inv, m), 1e-6f);

    // A full projective matrix exercises every cofactor.
    const float dense[16] = {4, 1, 2, 0.5f, -1, 3, 0, 2, 2, 0, 5, -1, 1, -2, 1, 3};
    for (int k = 0; k < 16; ++k)
        m[k] = dense[k];
    invertMatrix4(m, inv);
    expectIdentity(multiply(m, inv), 1e-5f);
}

TEST(Frame, SingularMatrixInvertsToTheIdentity) {
    Mat4 zero;
    Mat4 inv;
    inv[3] = 42;
    invertMatrix4(zero, inv);
    expectIdentity(inv, 0);

    // Two equal columns: the determinant is exactly zero.
    const Mat4 flat = frameMatrix(Vec3(1, 0, 0), Vec3(1, 0, 0), Vec3(0, 0, 1));
    invertMatrix4(flat, inv);
    for (float e : inv.m)
        EXPECT_TRUE(std::isfinite(e));
    expectIdentity(inv, 0);
}

struct Axes {
    Vec3 right{1, 0, 0};
    Vec3 up{0, 1, 0};
    Vec3 back{0, 0, 1};
    void turn(float yaw, float pitch, float roll) { turnFrame(right, up, back, yaw, pitch, roll); }
};

TEST(Frame, YawTurnsTheNoseLeft) {
    Axes a;
    a.turn(90, 0, 0);
    expectVec(a.right, 0, 0, -1);
    expectVec(a.up, 0, 1, 0);
    expectVec(a.back, 1, 0, 0);
}

TEST(Frame, PitchRaisesTheNose) {
    Axes a;
    a.turn(0, 90, 0);
    expectVec(a.right, 1, 0, 0);
    expectVec(a.up, 0, 0, 1);
    expectVec(a.back, 0, -1, 0);
}

TEST(Frame, RollLiftsTheRightWing) {
    Axes a;
    a.turn(0, 0, 90);
    expectVec(a.right, 0, 1, 0);
    expectVec(a.up, -1, 0, 0);
    expectVec(a.back, 0, 0, 1);
}

TEST(Frame, RotationsUseTheAxesFromBeforeTheTurn) {
    // Yaw and roll together: right turns about the old up, then about the old back.
    Axes a;
    a.turn(90, 0, 90);
    Vec3 right(1, 0, 0);
    right.rotate(90, Vec3(0, 1, 0)).rotate(90, Vec3(0, 0, 1));
    expectVec(a.right, right.x, right.y, right.z);
}

TEST(Frame, RepairMakesADriftedFrameOrthonormal) {
    Axes a;
    a.right = Vec3(1.3f, 0.1f, 0.0f);
    a.up = Vec3(0.2f, 0.7f, 0.05f);
    a.back = Vec3(0.0f, 0.0f, 3.0f);
    a.turn(0, 0, 0);
    EXPECT_NEAR(a.right.length(), 1.0f, 1e-6f);
    EXPECT_NEAR(a.up.length(), 1.0f, 1e-6f);
    EXPECT_NEAR(a.back.length(), 1.0f, 1e-6f);
    EXPECT_NEAR(dot(a.back, a.right), 0.0f, 1e-6f);
    EXPECT_NEAR(dot(a.back, a.up), 0.0f, 1e-6f);
    EXPECT_NEAR(dot(a.up, a.right), 0.0f, 1e-6f);
    // right keeps its direction: it is only rescaled.
    expectVec(a.right, 1.3f / std::sqrt(1.7f), 0.1f / std::sqrt(1.7f), 0);
}

TEST(Frame, ManySmallTurnsStayOrthonormal) {
    Axes a;
    for (int i = 0; i < 100000; ++i)
        a.turn(1.0000001f, -0.35f, 0.6f);
    EXPECT_NEAR(a.right.length(), 1.0f, 1e-5f);
    EXPECT_NEAR(a.up.length(), 1.0f, 1e-5f);
    EXPECT_NEAR(a.back.length(), 1.0f, 1e-5f);
    EXPECT_NEAR(dot(a.right, a.up), 0.0f, 1e-5f);
    // The frame stays right-handed.
    const Vec3 c = cross(a.right, a.up);
    expectVec(c, a.back.x, a.back.y, a.back.z, 1e-5f);
}

} // namespace
