// The two contact tests.
//
// boxesOverlap is the separating-axis test: two convex boxes are apart exactly when
// some line exists on which their projections do not meet. For two boxes the only
// candidates are the three face normals of each and the nine cross products of an
// edge direction of one with one of the other. Each test compares the projected
// distance of the centres, |s|, with the sum of the projected half sizes rA + rB;
// the first axis with rA + rB < |s| separates them. Everything is worked in A's
// frame: t is the centre offset and R the rotation from B's axes to A's.
#include "world/collision.h"

#include <cmath>

namespace {

// True when the projections onto one axis do not meet. Equality still touches.
bool separated(float rA, float rB, float s) { return rA + rB < std::fabs(s); }

// Whether the edge-pair axis ai x bj, whose components in A's frame are c0 = R[k][j]
// and c1 = R[l][j] (k, l the other two indices), is long enough to point somewhere.
// For nearly parallel edges it is nearly zero, and its components are then mostly
// rounding: R entries carry up to about 8 float epsilons (2^-21) from the rounded
// dot products and from frames that are unit and square only to 2 or 3 epsilons
// after their repair, while rB reads the same axis through other R entries. Below a
// length of 2^-16 (32 times that noise) the axis is treated as exactly parallel
// edges are: it does not separate. Its sum of squares is formed from the small
// entries themselves, not as 1 - R[i][j]^2, which cancels away everything below
// 2^-24. Skipping such an axis can hide a gap of at most its length times the
// half-extent along the parallel edges: under 2^-16 * 0.5, about the float spacing
// of positions 64 units out; the other fourteen axes see anything wider.
constexpr float SHORTEST_EDGE_AXIS_SQUARED = 0x1p-32f;
bool hasDirection(float c0, float c1) { return c0 * c0 + c1 * c1 >= SHORTEST_EDGE_AXIS_SQUARED; }

} // namespace

bool boxesOverlap(const OrientedBox& a, const OrientedBox& b) {
    const Vec3* A = a.axes;
    const Vec3* B = b.axes;
    const Vec3& eA = a.halfExtents;
    const Vec3& eB = b.halfExtents;

    const Vec3 T = b.centre - a.centre;
    float t[3];
    float R[3][3];
    float AbsR[3][3];

    // A's face normals a0, a1, a2: A reaches eA[i] along its own axis. Row i of R is
    // worked out only when axis ai is reached, so far-apart boxes cost little.
    for (int i = 0; i < 3; ++i) {
        t[i] = dot(T, A[i]);
        for (int j = 0; j < 3; ++j) {
            R[i][j] = dot(A[i], B[j]);
            AbsR[i][j] = std::fabs(R[i][j]);
        }
        const float rB = eB[0] * AbsR[i][0] + eB[1] * AbsR[i][1] + eB[2] * AbsR[i][2];
        if (separated(eA[i], rB, t[i]))
            return false;
    }

    // B's face normals b0, b1, b2: the offset is projected onto bj through R.
    for (int j = 0; j < 3; ++j) {
        const float rA = eA[0] * AbsR[0][j] + eA[1] * AbsR[1][j] + eA[2] * AbsR[2][j];
        const float s = t[0] * R[0][j] + t[1] * R[1][j] + t[2] * R[2][j];
        if (separated(rA, eB[j], s))
            return false;
    }

    // Edge pairs. When the two edges are parallel the cross product is zero, and
    // both sides of the comparison are 0: such an axis never separates, nor does one
    // too short to have a direction.

    // a0 x b0
    if (hasDirection(R[1][0], R[2][0]) &&
        separated(eA[1] * AbsR[2][0] + eA[2] * AbsR[1][0], eB[1] * AbsR[0][2] + eB[2] * AbsR[0][1],
                  t[2] * R[1][0] - t[1] * R[2][0]))
        return false;
    // a0 x b1
    if (hasDirection(R[1][1], R[2][1]) &&
        separated(eA[1] * AbsR[2][1] + eA[2] * AbsR[1][1], eB[0] * AbsR[0][2] + eB[2] * AbsR[0][0],
                  t[2] * R[1][1] - t[1] * R[2][1]))
        return false;
    // a0 x b2
    if (hasDirection(R[1][2], R[2][2]) &&
        separated(eA[1] * AbsR[2][2] + eA[2] * AbsR[1][2], eB[0] * AbsR[0][1] + eB[1] * AbsR[0][0],
                  t[2] * R[1][2] - t[1] * R[2][2]))
        return false;
    // a1 x b0
    if (hasDirection(R[0][0], R[2][0]) &&
        separated(eA[0] * AbsR[2][0] + eA[2] * AbsR[0][0], eB[1] * AbsR[1][2] + eB[2] * AbsR[1][1],
                  t[0] * R[2][0] - t[2] * R[0][0]))
        return false;
    // a1 x b1
    if (hasDirection(R[0][1], R[2][1]) &&
        separated(eA[0] * AbsR[2][1] + eA[2] * AbsR[0][1], eB[0] * AbsR[1][2] + eB[2] * AbsR[1][0],
                  t[0] * R[2][1] - t[2] * R[0][1]))
        return false;
    // a1 x b2
    if (hasDirection(R[0][2], R[2][2]) &&
        separated(eA[0] * AbsR[2][2] + eA[2] * AbsR[0][2], eB[0] * AbsR[1][1] + eB[1] * AbsR[1][0],
                  t[0] * R[2][2] - t[2] * R[0][2]))
        return false;
    // a2 x b0
    if (hasDirection(R[0][0], R[1][0]) &&
        separated(eA[0] * AbsR[1][0] + eA[1] * AbsR[0][0], eB[1] * AbsR[2][2] + eB[2] * AbsR[2][1],
                  t[1] * R[0][0] - t[0] * R[1][0]))
        return false;
    // a2 x b1
    if (hasDirection(R[0][1], R[1][1]) &&
        separated(eA[0] * AbsR[1][1] + eA[1] * AbsR[0][1], eB[0] * AbsR[2][2] + eB[2] * AbsR[2][0],
                  t[1] * R[0][1] - t[0] * R[1][1]))
        return false;
    // a2 x b2
    if (hasDirection(R[0][2], R[1][2]) &&
        separated(eA[0] * AbsR[1][2] + eA[1] * AbsR[0][2], eB[0] * AbsR[2][1] + eB[1] * AbsR[2][0],
                  t[1] * R[0][2] - t[0] * R[1][2]))
        return false;

    // No axis separates them.
    return true;
}

// The squared distance from the sphere's centre to the nearest point of the box,
// summed per box axis over the parts of the offset that stick out beyond a face:
// beyond one face that is the distance to the face, beyond two (three) it becomes
// the Euclidean distance to the edge (corner).
bool boxTouchesSphere(OrientedBox box, const Vec3& centre, float radius) {
    const Vec3 d = centre - box.centre;
    float sum = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const float c = dot(d, box.axes[i]);
        const float e = box.halfExtents[i];
        if (c < -e)
            sum += (c + e) * (c + e);
        else if (c > e)
            sum += (c - e) * (c - e);
    }
    return radius * radius >= sum;
}
