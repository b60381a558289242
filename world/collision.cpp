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

// The index after k in the cycle 0, 1, 2: ak x a(next(k)) = a(next(next(k))).
int next(int k) { return k == 2 ? 0 : k + 1; }

// Half the size of a box along a direction square to its axis k, given the
// direction's components on the box's axes: each of the other two edges counts by
// its own component, the lower-numbered edge first.
float radiusAcross(const Vec3& halfExtents, const float (&c)[3], int k) {
    const int lo = k == 0 ? 1 : 0;
    const int hi = k == 2 ? 1 : 2;
    return halfExtents[lo] * std::fabs(c[lo]) + halfExtents[hi] * std::fabs(c[hi]);
}

// Whether an edge-pair axis, given by its components on A's axes, is long enough
// to point somewhere. Between nearly parallel edges it is nearly zero, and its
// components are then mostly rounding: R entries carry up to about 8 float epsilons
// (2^-21) from the rounded dot products and from frames that are unit and square
// only to 2 or 3 epsilons after their repair, while rB reads the same axis through
// other entries of R. Below a length of 2^-16, 32 times that noise, the axis is
// treated as that of exactly parallel edges: it does not separate. The squared
// length is summed from the small components themselves, not taken as
// 1 - R[i][j]^2, which cancels away everything below 2^-24. Leaving such an axis
// out hides a gap of at most its length times the half-extent along the parallel
// edges, under 2^-16 * 0.5: about the float spacing of positions 64 units out.
bool hasDirection(const float (&c)[3]) {
    return c[0] * c[0] + c[1] * c[1] + c[2] * c[2] >= 0x1p-32f;
}

} // namespace

bool boxesOverlap(const OrientedBox& a, const OrientedBox& b) {
    const Vec3* A = a.axes;
    const Vec3* B = b.axes;
    const Vec3& eA = a.halfExtents;
    const Vec3& eB = b.halfExtents;

    const Vec3 T = b.centre - a.centre;
    if (boxesFarApart(a, b))
        return false;
    float t[3];
    float R[3][3];
    float AbsR[3][3];

    // A's face normals a0, a1, a2: A reaches eA[i] along its own axis. Row i of R is
    // worked out only when axis ai is reached, so far-apart boxes cost little. The
    // normal along which the offset reaches furthest beyond A is tried first: it is
    // the likeliest to separate (a stream of shots lies along their noses), and which
    // axis separates first never changes the answer.
    int first = 0;
    for (int i = 0; i < 3; ++i) {
        t[i] = dot(T, A[i]);
        if (std::fabs(t[i]) - eA[i] > std::fabs(t[first]) - eA[first])
            first = i;
    }
    for (int k = 0; k < 3; ++k) {
        const int i = k == 0 ? first : (k <= first ? k - 1 : k);
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

    // Edge pairs ai x bj, in the order a0 x b0, a0 x b1, ..., a2 x b2. With (i, p, q)
    // and (j, m, n) cyclic orders of 0, 1, 2, so that ai x ap = aq and ai x aq = -ap:
    //   on A's axes  ai x bj = R[p][j] aq - R[q][j] ap,
    //   on B's axes  ai x bj = R[i][n] bm - R[i][m] bn.
    // The axis is left unnormalised, since both sides of the comparison carry its
    // length. For parallel edges it is zero and so are both sides: it never separates.
    for (int i = 0; i < 3; ++i) {
        const int p = next(i);
        const int q = next(p);
        for (int j = 0; j < 3; ++j) {
            const int m = next(j);
            const int n = next(m);
            float onA[3];
            onA[i] = 0;
            onA[p] = -R[q][j];
            onA[q] = R[p][j];
            float onB[3];
            onB[j] = 0;
            onB[m] = R[i][n];
            onB[n] = -R[i][m];
            const float rA = radiusAcross(eA, onA, i);
            const float rB = radiusAcross(eB, onB, j);
            const float s = t[q] * onA[q] + t[p] * onA[p]; // t . (ai x bj)
            if (hasDirection(onA) && separated(rA, rB, s))
                return false;
        }
    }

    // No axis separates them.
    return true;
}

// The squared distance from the sphere's centre to the nearest point of the box,
// summed per box axis over the parts of the offset that stick out beyond a face:
// beyond one face that is the distance to the face, beyond two (three) it becomes
// the Euclidean distance to the edge (corner).
bool boxTouchesSphere(OrientedBox box, const Vec3& centre, float radius) {
    const Vec3 d = centre - box.centre;
    // No point of the box lies farther from its centre than the sum of its half
    // sizes: a sphere beyond that by a margin far above the rounding of the sum below
    // cannot touch it.
    const Vec3& e = box.halfExtents;
    const float reach = radius + 1.01f * (e[0] + e[1] + e[2]) + 1e-3f;
    if (dot(d, d) > reach * reach)
        return false;
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
