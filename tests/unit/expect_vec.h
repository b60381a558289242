// Comparing a vector with expected components, within a tolerance.
#pragma once

#include "math/vec3.h"

#include <gtest/gtest.h>

inline void expectVec(const Vec3& v, float x, float y, float z, float tol = 1e-6f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}
