// The six clip planes of a view, taken from the current OpenGL matrices, and the
// sphere and box tests the drawing pass culls with.
#pragma once

#include "math/vec3.h"
#include "world/oriented_box.h"

// A plane a*x + b*y + c*z + d with (a, b, c) of length 1 pointing into the view:
// the value at a point is its signed distance, positive inside.
struct Plane {
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;

    float distanceTo(const Vec3& p) const { return a * p.x + b * p.y + c * p.z + d; }
};

enum FrustumPlaneIndex {
    PLANE_RIGHT = 0,
    PLANE_LEFT,
    PLANE_BOTTOM,
    PLANE_TOP,
    PLANE_FAR,
    PLANE_NEAR,
    FRUSTUM_PLANE_COUNT
};

struct FrustumPlanes {
    Plane planes[FRUSTUM_PLANE_COUNT];
};

// Fills the planes from projection x model-view as OpenGL holds them now.
void extractFrustum(FrustumPlanes& frustum);

// The same from given column-major matrices (the part that needs no context).
void frustumFromMatrices(const float projection[16], const float modelView[16],
                         FrustumPlanes& frustum);

// 0 when the sphere is outside; otherwise its centre's distance in front of the
// near plane plus its radius, which is then above 0 and chooses a planet's detail.
float sphereInFrustum(const FrustumPlanes& frustum, Vec3 centre, float radius);

// False when one plane has all eight corners on or behind it. A box near a corner of
// the view volume may pass although it is outside; it is then drawn, harmlessly.
bool boxInFrustum(const FrustumPlanes& frustum, OrientedBox box);
