// Basic closed surfaces: lofts through cross-sections, surfaces of revolution and
// boxes. Every shape comes out wound outwards.
#pragma once

#include "part.h"

#include <vector>

// One cross-section of a loft: a closed loop of points, or a single point where
// the surface closes to a tip.
using Ring = std::vector<Vec3>;

// A closed loop in the plane z = centre.z: a super-ellipse (exponent 2 is an
// ellipse, larger values square it off) starting at the top and running round
// through +x.
Ring superEllipseRing(const Vec3& centre, float halfWidth, float halfHeight, float exponent,
                      int points);

// A symmetric aerofoil section: leading edge at `leadingEdge`, chord along
// `chordAxis`, thickness along `thicknessAxis` (both unit). It starts at the
// trailing edge, runs over the upper surface to the leading edge and back below.
// `points` is made even.
Ring aerofoilRing(const Vec3& leadingEdge, const Vec3& chordAxis, const Vec3& thicknessAxis,
                  float chord, float thicknessRatio, int points);

// The surface through the rings in order (all of one size, except single-point
// tips at either end). Open ends are closed with flat caps. Texture coordinates
// run round the rings (u) and along them (v).
Part loft(const std::vector<Ring>& rings);

// A point of a profile turned about the z axis: distance from the axis and z.
struct ProfilePoint {
    float radius;
    float z;
};

// The profile swept once round the z axis. A profile that starts and ends on the
// axis gives a closed body; otherwise (closedLoop) the last point joins the first
// and the result is a ring-shaped body such as a nozzle.
Part lathe(const std::vector<ProfilePoint>& profile, int segments, bool closedLoop = false);

// An axis-aligned box; `bevel` cuts its edges at 45 degrees.
Part box(const Vec3& centre, const Vec3& halfExtents, float bevel = 0.0f);

// A sphere made of `rings` bands of `segments` quads.
Part sphere(const Vec3& centre, float radius, int segments, int rings);
