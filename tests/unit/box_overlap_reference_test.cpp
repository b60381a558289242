// boxesOverlap against a reference worked another way: in double precision, on
// normalised axes, with the gap along every candidate axis measured in world units.
// Random pairs of four kinds (general, nearly parallel, exactly parallel, touching
// or just apart), then each of the fifteen axes alone deciding a contact.
#include "math/frame.h"
#include "world/collision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

struct D3 {
    double x, y, z;
};
D3 d3(const Vec3& v) { return {v.x, v.y, v.z}; }
double dotD(const D3& a, const D3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3 crossD(const D3& a, const D3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The fifteen candidate axes in the order boxesOverlap tries them (A's faces, B's
// faces, then ai x bj for i, j = 0..2), normalised. Float products are exact in
// double, so the cross products keep their direction down to lengths far below
// anything float can tell apart; one with none left at all comes back zero.
void candidateAxes(const OrientedBox& a, const OrientedBox& b, D3 (&axes)[15]) {
    int n = 0;
    for (const Vec3& v : a.axes)
        axes[n++] = d3(v);
    for (const Vec3& v : b.axes)
        axes[n++] = d3(v);
    for (const Vec3& u : a.axes)
        for (const Vec3& v : b.axes)
            axes[n++] = crossD(d3(u), d3(v));
    for (D3& axis : axes) {
        const double length = std::sqrt(dotD(axis, axis));
        const double scale = length < 1e-12 ? 0 : 1 / length;
        axis = {axis.x * scale, axis.y * scale, axis.z * scale};
    }
}

// The gap between the boxes' shadows on a unit axis, in world units: positive
// means apart.
double gapAlong(const OrientedBox& a, const OrientedBox& b, const D3& offset, const D3& unit) {
    double shadows = 0;
    for (int k = 0; k < 3; ++k)
        shadows += a.halfExtents[k] * std::fabs(dotD(d3(a.axes[k]), unit)) +
                   b.halfExtents[k] * std::fabs(dotD(d3(b.axes[k]), unit));
    return std::fabs(dotD(offset, unit)) - shadows;
}

// The largest gap over the candidate axes: positive exactly when the boxes are apart.
double referenceGap(const OrientedBox& a, const OrientedBox& b, const D3& offset) {
    D3 axes[15];
    candidateAxes(a, b, axes);
    double gap = -HUGE_VAL;
    for (const D3& axis : axes)
        if (dotD(axis, axis) > 0)
            gap = std::max(gap, gapAlong(a, b, offset, axis));
    return gap;
}

// The band about touching in which float and double may honestly differ. The
// float test's R entries carry up to about 8 float epsilons (2^-21) of rounding
// and of frames that are not quite square; along an edge axis of length l that
// error is magnified by 1/l, over distances up to |T| + the half-extents. An edge
// axis shorter than 2^-16 is not tested at all, which can hide a gap of at most
// 2^-16 times a half-extent. Axes near that length may go either way, hence the
// factors of two.
double undecidedBand(const OrientedBox& a, const OrientedBox& b) {
    const double shortAxis = 0x1p-16;
    double shortestTested = 1, largestHalf = 0;
    for (int k = 0; k < 3; ++k) {
        largestHalf = std::max(largestHalf, double(std::max(a.halfExtents[k], b.halfExtents[k])));
        for (const Vec3& v : b.axes) {
            const D3 axis = crossD(d3(a.axes[k]), d3(v));
            const double length = std::sqrt(dotD(axis, axis));
            if (length >= shortAxis / 2)
                shortestTested = std::min(shortestTested, length);
        }
    }
    const D3 offset = d3(b.centre - a.centre);
    const double reach =
        std::sqrt(dotD(offset, offset)) + a.halfExtents.sum() + b.halfExtents.sum();
    return 0x1p-21 * reach / shortestTested + 2 * shortAxis * largestHalf;
}

class PairMaker {
public:
    explicit PairMaker(unsigned seed) : rng_(seed) {}

    float uniform(float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(rng_);
    }

    // Three different half-extents, so that no mistake hides behind equal sizes.
    Vec3 halfExtents() { return Vec3(uniform(0.1f, 1), uniform(0.1f, 1), uniform(0.1f, 1)); }

    // A frame as the game makes them: turned and repaired, in float.
    void frame(Vec3 axes[3]) {
        axes[0] = Vec3(1, 0, 0);
        axes[1] = Vec3(0, 1, 0);
        axes[2] = Vec3(0, 0, 1);
        turnFrame(axes[0], axes[1], axes[2], uniform(-180, 180), uniform(-180, 180),
                  uniform(-180, 180));
    }

    // The frame turned by 1e-9 to 1e-2 radians about a random axis, worked in double
    // and rounded to float: what a frame turned away and back, or repaired, looks like.
    void nearlyParallel(const Vec3 from[3], Vec3 to[3]) {
        const double angle = std::pow(10.0, uniform(-9, -2));
        Vec3 k(uniform(-1, 1), uniform(-1, 1), uniform(-1, 1));
        k.setLength(1);
        const D3 kd = d3(k);
        const double c = std::cos(angle), s = std::sin(angle);
        for (int i = 0; i < 3; ++i) {
            const D3 v = d3(from[i]), kv = crossD(kd, v);
            const double along = dotD(kd, v) * (1 - c);
            to[i] = Vec3(float(v.x * c + kv.x * s + kd.x * along),
                         float(v.y * c + kv.y * s + kd.y * along),
                         float(v.z * c + kv.z * s + kd.z * along));
        }
    }

private:
    std::mt19937 rng_;
};

struct Tally {
    int checked = 0;
    int undecided = 0;
    int overlapping = 0;
};

void check(const OrientedBox& a, const OrientedBox& b, Tally& tally) {
    const double gap = referenceGap(a, b, d3(b.centre - a.centre));
    ++tally.checked;
    if (std::fabs(gap) <= undecidedBand(a, b)) {
        ++tally.undecided;
        return;
    }
    const bool expected = gap < 0;
    tally.overlapping += expected;
    ASSERT_EQ(boxesOverlap(a, b), expected) << "gap " << gap;
    ASSERT_EQ(boxesOverlap(b, a), expected) << "gap " << gap << " (boxes swapped)";
}

// The offset at which the two boxes touch along the direction d, by bisection on
// the reference's gap.
float touchingScale(OrientedBox a, OrientedBox b, const Vec3& d) {
    double lo = 0, hi = 8;
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        const D3 offset{d.x * mid, d.y * mid, d.z * mid};
        (referenceGap(a, b, offset) > 0 ? hi : lo) = mid;
    }
    return float(lo);
}

TEST(BoxesOverlapReference, AgreesOutsideTheTouchingBand) {
    PairMaker make(20261208);
    Tally general, nearParallel, parallel, touching;
    for (int n = 0; n < 20000; ++n) {
        Vec3 axesA[3], turned[3], nearlyA[3];
        make.frame(axesA);
        make.frame(turned);
        make.nearlyParallel(axesA, nearlyA);
        const Vec3 centre(make.uniform(-50, 50), make.uniform(-50, 50), make.uniform(-50, 50));
        const Vec3 offset(make.uniform(-1.5f, 1.5f), make.uniform(-1.5f, 1.5f),
                          make.uniform(-1.5f, 1.5f));
        const OrientedBox a(make.halfExtents(), centre, axesA[0], axesA[1], axesA[2]);
        OrientedBox b(make.halfExtents(), centre + offset, turned[0], turned[1], turned[2]);
        check(a, b, general);
        // Exactly parallel: A's axes, reordered and flipped in turn.
        b.setAxes(axesA[n % 3], axesA[(n + 1) % 3] * (n % 2 ? -1.0f : 1.0f), axesA[(n + 2) % 3]);
        check(a, b, parallel);
        // B turned a hair from A; its centre anywhere within both boxes' reach.
        b.setAxes(nearlyA);
        check(a, b, nearParallel);
        // Touching or a little apart, turned either way: the offset scaled onto the
        // touching distance, then moved by 10^-5 to 10^-2 of it, in or out.
        if (n % 2)
            b.setAxes(turned);
        const Vec3 unit = offset * (1 / offset.length());
        const float moved = std::pow(10.0f, make.uniform(-5, -2)) * (n % 4 < 2 ? 1 : -1);
        b.centre = a.centre + unit * (touchingScale(a, b, unit) * (1 + moved));
        check(a, b, touching);
        if (HasFatalFailure())
            return;
    }
    for (const Tally* t : {&general, &nearParallel, &parallel, &touching}) {
        // Both answers must be well represented, and the band must leave most pairs
        // (touching ones largely are within it).
        EXPECT_GT(t->overlapping, t->checked / 10);
        EXPECT_LT(t->overlapping, t->checked - t->checked / 10 - t->undecided);
        EXPECT_LT(t->undecided, t == &touching ? t->checked / 2 : t->checked / 10);
    }
    std::printf("pairs: %d general, %d nearly parallel, %d parallel, %d touching; undecided: "
                "%d, %d, %d, %d\n",
                general.checked, nearParallel.checked, parallel.checked, touching.checked,
                general.undecided, nearParallel.undecided, parallel.undecided, touching.undecided);
}

// The offset of B from A at which, along the unit axis n, the feature of B nearest
// A touches the feature of A nearest B, centre on centre: a vertex on the middle
// of a face for a face axis, two edges crossing at their midpoints for an edge axis.
D3 featureContact(const OrientedBox& a, const OrientedBox& b, const D3& n) {
    // Axes square to n (within float's rounding of the frames) point at a face or an edge.
    const auto side = [](double d) { return std::fabs(d) < 1e-5 ? 0 : d > 0 ? 1 : -1; };
    D3 t{0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        const D3 ak = d3(a.axes[k]), bk = d3(b.axes[k]);
        const double along = a.halfExtents[k] * side(dotD(ak, n));
        const double back = b.halfExtents[k] * side(dotD(bk, n));
        t = {t.x + along * ak.x + back * bk.x, t.y + along * ak.y + back * bk.y,
             t.z + along * ak.z + back * bk.z};
    }
    return t;
}

TEST(BoxesOverlapAxes, EachAxisAloneTellsTouchingFromApart) {
    // For each axis in turn, two turned boxes with three different half-extents each
    // that only this axis can separate: a thousandth of a unit in, they overlap; a
    // thousandth out, they are apart. An axis left out, or a row with a mistyped
    // index, gets one of the two wrong.
    PairMaker make(15);
    for (int k = 0; k < 15; ++k) {
        for (int tries = 0;; ++tries) {
            ASSERT_LT(tries, 100) << "no pair that only axis " << k + 1 << " separates";
            Vec3 axesA[3], axesB[3];
            make.frame(axesA);
            make.frame(axesB);
            const OrientedBox a(make.halfExtents(), Vec3(1, 2, 3), axesA[0], axesA[1], axesA[2]);
            OrientedBox b(make.halfExtents(), Vec3(), axesB[0], axesB[1], axesB[2]);
            D3 axes[15];
            candidateAxes(a, b, axes);
            const D3 contact = featureContact(a, b, axes[k]);
            double others = -HUGE_VAL;
            for (int m = 0; m < 15; ++m)
                if (m != k)
                    others = std::max(others, gapAlong(a, b, contact, axes[m]));
            if (others > -0.05) // another axis would see the gap too
                continue;
            for (double out : {-1e-3, 1e-3}) {
                const D3& n = axes[k];
                b.centre =
                    a.centre + Vec3(float(contact.x + out * n.x), float(contact.y + out * n.y),
                                    float(contact.z + out * n.z));
                EXPECT_EQ(boxesOverlap(a, b), out < 0) << "axis " << k + 1 << ", " << out;
                EXPECT_EQ(boxesOverlap(b, a), out < 0) << "axis " << k + 1 << ", " << out;
            }
            break;
        }
    }
}

} // namespace
