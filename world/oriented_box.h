// An oriented box: half sizes along three unit axes about a centre. Every body
// carries one for collisions and for culling.
#pragma once

#include "math/vec3.h"

struct OrientedBox {
    Vec3 halfExtents;
    Vec3 centre;
    Vec3 axes[3];

    OrientedBox() : halfExtents(0.5f, 0.25f, 0.5f), axes{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}} {}
    OrientedBox(const Vec3& half, const Vec3& c, const Vec3& a0, const Vec3& a1, const Vec3& a2)
        : halfExtents(half), centre(c), axes{a0, a1, a2} {}

    void setHalfExtents(const Vec3& half) { halfExtents = half; }
    void setCentre(const Vec3& c) { centre = c; }
    void setAxes(const Vec3& a0, const Vec3& a1, const Vec3& a2) {
        axes[0] = a0;
        axes[1] = a1;
        axes[2] = a2;
    }
    void setAxes(const Vec3 threeAxes[3]) { setAxes(threeAxes[0], threeAxes[1], threeAxes[2]); }
    Vec3 getHalfExtents() const { return halfExtents; }
    Vec3 getCentre() const { return centre; }
    const Vec3* getAxes() const { return axes; }
};
