// Orientation frames: a body's right, up and back axes, their matrices, and turning
// them by yaw, pitch and roll while keeping them orthonormal.
#pragma once

#include "math/mat4.h"
#include "math/vec3.h"

// Columns right, up, back; no translation. Turns local coordinates into world ones.
inline Mat4 frameMatrix(const Vec3& right, const Vec3& up, const Vec3& back) {
    Mat4 r;
    r[0] = right.x;
    r[1] = right.y;
    r[2] = right.z;
    r[4] = up.x;
    r[5] = up.y;
    r[6] = up.z;
    r[8] = back.x;
    r[9] = back.y;
    r[10] = back.z;
    r[15] = 1.0f;
    return r;
}

// Turns the frame (angles in degrees) and repairs it. Every rotation is about the
// axes as they were before the turn. The repair re-derives back and up from right,
// so rounding never accumulates beyond one call's worth.
inline void turnFrame(Vec3& right, Vec3& up, Vec3& back, float yaw, float pitch, float roll) {
    const Vec3 r0 = right;
    const Vec3 u0 = up;
    const Vec3 b0 = back;
    right.rotate(yaw, u0).rotate(roll, b0);
    up.rotate(pitch, r0).rotate(roll, b0);
    back = cross(right, up);
    up = cross(back, right);
    right.setLength(1.0f);
    up.setLength(1.0f);
    back.setLength(1.0f);
}
