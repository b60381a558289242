// The contact tests: touching counts, cross-product axes separate, parallel edges
// never do; spheres against faces, edges and corners of turned boxes.
#include "world/collision.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Vec3 X(1, 0, 0), Y(0, 1, 0), Z(0, 0, 1);

OrientedBox axisBox(const Vec3& half, const Vec3& centre) {
    return OrientedBox(half, centre, X, Y, Z);
}

// A box turned by `degrees` about a unit axis.
OrientedBox turnedBox(const Vec3& half, const Vec3& centre, float degrees, const Vec3& axis) {
    Vec3 a = X, b = Y, c = Z;
    a.rotate(degrees, axis);
    b.rotate(degrees, axis);
    c.rotate(degrees, axis);
    return OrientedBox(half, centre, a, b, c);
}

// Half the length of the box's shadow on a unit direction.
float shadow(const OrientedBox& box, const Vec3& n) {
    float r = 0;
    for (int i = 0; i < 3; ++i)
        r += box.halfExtents[i] * std::fabs(dot(box.axes[i], n));
    return r;
}

bool faceAxesSeparate(const OrientedBox& a, const OrientedBox& b) {
    const Vec3 t = b.centre - a.centre;
    for (const OrientedBox* box : {&a, &b})
        for (const Vec3& n : box->axes)
            if (std::fabs(dot(t, n)) > shadow(a, n) + shadow(b, n))
                return true;
    return false;
}

TEST(BoxesOverlap, EqualBoxesAndTouchingFacesOverlap) {
    const Vec3 half(0.5f, 0.5f, 0.5f);
    EXPECT_TRUE(boxesOverlap(axisBox(half, Vec3()), axisBox(half, Vec3())));
    EXPECT_TRUE(boxesOverlap(axisBox(half, Vec3()), axisBox(half, Vec3(1.0f, 0, 0))));
    EXPECT_FALSE(boxesOverlap(axisBox(half, Vec3()), axisBox(half, Vec3(1.0001f, 0, 0))));
    EXPECT_TRUE(boxesOverlap(axisBox(half, Vec3()), axisBox(half, Vec3(0, 0, -1.0f))));
    EXPECT_FALSE(boxesOverlap(axisBox(half, Vec3()), axisBox(half, Vec3(0, 0, -1.0001f))));
    // A box turned 45 degrees reaches 0.5 * sqrt(2) along x; the separating face axis
    // belongs to the first box in one order and to the second in the other.
    const OrientedBox diamond = turnedBox(half, Vec3(0, 0, 0), 45, Z);
    EXPECT_TRUE(boxesOverlap(axisBox(half, Vec3(1.2f, 0, 0)), diamond));
    EXPECT_FALSE(boxesOverlap(axisBox(half, Vec3(1.21f, 0, 0)), diamond));
    EXPECT_TRUE(boxesOverlap(diamond, axisBox(half, Vec3(1.2f, 0, 0))));
    EXPECT_FALSE(boxesOverlap(diamond, axisBox(half, Vec3(1.21f, 0, 0))));
}

TEST(BoxesOverlap, AnEdgeEdgeAxisSeparatesWhatNoFaceAxisDoes) {
    // Two cubes turned so that an edge of one (along z) crosses past an edge of the
    // other (along y): only the axis z x y, i.e. x, sees the gap between them.
    const Vec3 half(0.5f, 0.5f, 0.5f);
    const OrientedBox a = turnedBox(half, Vec3(0, 0, 0), 45, Z);
    const float reach = 2 * 0.5f * std::sqrt(2.0f);
    const OrientedBox apart = turnedBox(half, Vec3(reach + 0.01f, 0.3f, 0.3f), 45, Y);
    ASSERT_FALSE(faceAxesSeparate(a, apart)) << "the set-up must defeat the face axes";
    EXPECT_FALSE(boxesOverlap(a, apart));
    EXPECT_FALSE(boxesOverlap(apart, a)); // the order of the boxes does not matter

    const OrientedBox touching = turnedBox(half, Vec3(reach - 0.01f, 0.3f, 0.3f), 45, Y);
    EXPECT_TRUE(boxesOverlap(a, touching));
}

TEST(BoxesOverlap, ParallelAxesNeverSeparateOnTheirZeroCrossProducts) {
    // Same orientation: every cross product of an axis with its twin is zero.
    const Vec3 half(0.2f, 0.2f, 0.2f);
    const OrientedBox a = axisBox(half, Vec3(0, 0, 0));
    EXPECT_TRUE(boxesOverlap(a, axisBox(half, Vec3(0.39f, 0.39f, 0.39f))));
    EXPECT_FALSE(boxesOverlap(a, axisBox(half, Vec3(0.39f, 0.41f, 0.39f))));
    // A shot a tenth of a unit behind another in the same turned frame overlaps it.
    const OrientedBox s1 = turnedBox(half, Vec3(3, 1, 2), 33, Vec3(0.6f, 0.8f, 0));
    OrientedBox s2 = s1;
    s2.centre = s1.centre + s1.axes[2] * 0.1f;
    EXPECT_TRUE(boxesOverlap(s1, s2));
    s2.centre = s1.centre + s1.axes[2] * 0.41f;
    EXPECT_FALSE(boxesOverlap(s1, s2));
}

TEST(BoxTouchesSphere, CentreInsideTouchesForAnyRadius) {
    const OrientedBox box = axisBox(Vec3(0.5f, 0.25f, 0.5f), Vec3(1, 1, 1));
    EXPECT_TRUE(boxTouchesSphere(box, Vec3(1.4f, 1.2f, 0.6f), 0.0f));
}

TEST(BoxTouchesSphere, FacesEdgesAndCornersCountTheEuclideanDistance) {
    const OrientedBox box = axisBox(Vec3(0.5f, 0.5f, 0.5f), Vec3(0, 0, 0));
    // A face: 1 beyond it.
    EXPECT_TRUE(boxTouchesSphere(box, Vec3(1.5f, 0, 0), 1.0f));
    EXPECT_FALSE(boxTouchesSphere(box, Vec3(1.5001f, 0, 0), 1.0f));
    EXPECT_TRUE(boxTouchesSphere(box, Vec3(0, -1.5f, 0), 1.0f));
    // An edge: 0.375 and 0.5 beyond two faces is 0.625 from the edge.
    EXPECT_TRUE(boxTouchesSphere(box, Vec3(0.875f, 1.0f, 0), 0.625f));
    EXPECT_FALSE(boxTouchesSphere(box, Vec3(0.875f, 1.0f, 0), 0.62f));
    // A corner: (0.25, 0.5, 0.5) beyond three faces is 0.75 from the corner.
    EXPECT_TRUE(boxTouchesSphere(box, Vec3(-0.75f, 1.0f, -1.0f), 0.75f));
    EXPECT_FALSE(boxTouchesSphere(box, Vec3(-0.75f, 1.0f, -1.0f), 0.74f));
}

TEST(BoxTouchesSphere, ATurnedBoxUsesItsOwnAxes) {
    const OrientedBox rod = turnedBox(Vec3(5, 0.1f, 0.1f), Vec3(0, 0, 0), 90, Z);
    EXPECT_TRUE(boxTouchesSphere(rod, Vec3(0, 5.9f, 0), 1.0f));
    EXPECT_FALSE(boxTouchesSphere(rod, Vec3(0, 6.1f, 0), 1.0f));
    EXPECT_TRUE(boxTouchesSphere(rod, Vec3(1.05f, 0, 0), 1.0f));
    EXPECT_FALSE(boxTouchesSphere(rod, Vec3(1.2f, 0, 0), 1.0f));
}

} // namespace
