// Clip-plane extraction and frustum culling.
#include "render/frustum.h"

#include <GL/gl.h>

#include <cmath>

void frustumFromMatrices(const float projection[16], const float modelView[16],
                         FrustumPlanes& frustum) {
    // K = P x M takes world coordinates to clip coordinates; row k of K is
    // (K[k], K[4 + k], K[8 + k], K[12 + k]) in column-major order.
    float k[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int i = 0; i < 4; ++i)
                sum += projection[4 * i + row] * modelView[4 * col + i];
            k[4 * col + row] = sum;
        }
    auto row = [&k](int r, int col) { return k[4 * col + r]; };
    // A point is inside when -w <= x, y, z <= w in clip space; each plane is one of
    // those six inequalities written as row3 +/- row_i >= 0.
    const int axisRow[FRUSTUM_PLANE_COUNT] = {0, 0, 1, 1, 2, 2};
    const float sign[FRUSTUM_PLANE_COUNT] = {-1, 1, 1, -1, -1, 1};
    for (int p = 0; p < FRUSTUM_PLANE_COUNT; ++p) {
        float e[4];
        for (int col = 0; col < 4; ++col)
            e[col] = row(3, col) + sign[p] * row(axisRow[p], col);
        const float length = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
        Plane& plane = frustum.planes[p];
        plane.a = e[0] / length;
        plane.b = e[1] / length;
        plane.c = e[2] / length;
        plane.d = e[3] / length;
    }
}

void extractFrustum(FrustumPlanes& frustum) {
    float projection[16];
    float modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    frustumFromMatrices(projection, modelView, frustum);
}

float sphereInFrustum(const FrustumPlanes& frustum, Vec3 centre, float radius) {
    float e = 0.0f;
    for (const Plane& plane : frustum.planes) {
        e = plane.distanceTo(centre);
        if (e <= -radius)
            return 0.0f;
    }
    // e is now the distance in front of the near plane, the last one.
    return e + radius;
}

bool boxInFrustum(const FrustumPlanes& frustum, OrientedBox box) {
    const Vec3 m = box.centre;
    const Vec3 u = box.axes[0] * box.halfExtents.x;
    const Vec3 v = box.axes[1] * box.halfExtents.y;
    const Vec3 w = box.axes[2] * box.halfExtents.z;
    const Vec3 corners[8] = {m + u + v + w, m + u + v - w, m + u - v + w, m + u - v - w,
                             m - u + v + w, m - u + v - w, m - u - v + w, m - u - v - w};
    for (const Plane& plane : frustum.planes) {
        bool anyInside = false;
        for (const Vec3& corner : corners)
            if (plane.distanceTo(corner) > 0.0f) {
                anyInside = true;
                break;
            }
        if (!anyInside)
            return false;
    }
    return true;
}
