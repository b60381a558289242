// Contact tests: oriented box against oriented box, and oriented box against sphere.
// Both only read their arguments; touching counts as contact.
#pragma once

#include "math/vec3.h"
#include "world/oriented_box.h"

// Separating-axis test over the fifteen candidate axes of two boxes.
bool boxesOverlap(const OrientedBox& a, const OrientedBox& b);

// A cheap first look that boxesOverlap takes itself, inline for the pair loops:
// true only for boxes whose centres lie so far apart that the test's first axes
// would separate them anyway. Along some face normal ai of A the offset T reaches
// |T . ai| >= |T| / sqrt(3), since A's axes are square; A reaches at most its
// half size along ai and B at most the sum of its half sizes. So once |T|^2 is over
// 3 times the squared sum of both boxes' half sizes, that face normal separates
// them. The 2% on top covers the rounding of the projections (a few float
// epsilons). A not-a-number offset fails the comparison and is tested in full.
// Given by centres and half sizes, it can be asked before a box is placed.
inline bool boxesFarApart(const Vec3& centreA, const Vec3& eA, const Vec3& centreB,
                          const Vec3& eB) {
    const Vec3 T = centreB - centreA;
    const float reach = eA[0] + eA[1] + eA[2] + eB[0] + eB[1] + eB[2];
    return dot(T, T) > 3.06f * reach * reach;
}
inline bool boxesFarApart(const OrientedBox& a, const OrientedBox& b) {
    return boxesFarApart(a.centre, a.halfExtents, b.centre, b.halfExtents);
}

// Whether the sphere and the box share at least one point.
bool boxTouchesSphere(OrientedBox box, const Vec3& centre, float radius);
