// Contact tests: oriented box against oriented box, and oriented box against sphere.
// Both only read their arguments; touching counts as contact.
#pragma once

#include "math/vec3.h"
#include "world/oriented_box.h"

// Separating-axis test over the fifteen candidate axes of two boxes.
bool boxesOverlap(const OrientedBox& a, const OrientedBox& b);

// Whether the sphere and the box share at least one point.
bool boxTouchesSphere(OrientedBox box, const Vec3& centre, float radius);
