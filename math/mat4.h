// The 4x4 matrix handed to OpenGL (column-major floats) and its general inverse.
#pragma once

#include <cmath>

// Element k is row (k mod 4), column (k div 4), as glMultMatrixf reads it.
struct Mat4 {
    float m[16] = {};

    float& operator[](int k) { return m[k]; }
    float operator[](int k) const { return m[k]; }
    const float* data() const { return m; }

    static Mat4 identity() {
        Mat4 r;
        r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
        return r;
    }
};

// dst := inverse of src, by cofactors (the adjugate over the determinant).
// A singular source has no inverse; dst is then the identity, so that a degenerate
// frame gives a usable camera instead of infinities. src and dst may not alias.
inline void invertMatrix4(const Mat4& source, Mat4& dst) {
    // s is the transpose of the column-major source: s[4r + c] = source[4c + r].
    float s[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            s[4 * r + c] = source[4 * c + r];

    // Pairs of the lower two rows, for the 2x2 minors of the first eight cofactors.
    float p[12] = {s[10] * s[15], s[11] * s[14], s[9] * s[15], s[11] * s[13],
                   s[9] * s[14],  s[10] * s[13], s[8] * s[15], s[11] * s[12],
                   s[8] * s[14],  s[10] * s[12], s[8] * s[13], s[9] * s[12]};
    float* d = dst.m;
    d[0] = p[0] * s[5] + p[3] * s[6] + p[4] * s[7];
    d[0] -= p[1] * s[5] + p[2] * s[6] + p[5] * s[7];
    d[1] = p[1] * s[4] + p[6] * s[6] + p[9] * s[7];
    d[1] -= p[0] * s[4] + p[7] * s[6] + p[8] * s[7];
    d[2] = p[2] * s[4] + p[7] * s[5] + p[10] * s[7];
    d[2] -= p[3] * s[4] + p[6] * s[5] + p[11] * s[7];
    d[3] = p[5] * s[4] + p[8] * s[5] + p[11] * s[6];
    d[3] -= p[4] * s[4] + p[9] * s[5] + p[10] * s[6];
    d[4] = p[1] * s[1] + p[2] * s[2] + p[5] * s[3];
    d[4] -= p[0] * s[1] + p[3] * s[2] + p[4] * s[3];
    d[5] = p[0] * s[0] + p[7] * s[2] + p[8] * s[3];
    d[5] -= p[1] * s[0] + p[6] * s[2] + p[9] * s[3];
    d[6] = p[3] * s[0] + p[6] * s[1] + p[11] * s[3];
    d[6] -= p[2] * s[0] + p[7] * s[1] + p[10] * s[3];
    d[7] = p[4] * s[0] + p[9] * s[1] + p[10] * s[2];
    d[7] -= p[5] * s[0] + p[8] * s[1] + p[11] * s[2];

    // Pairs of the upper two rows, for the last eight cofactors.
    float q[12] = {s[2] * s[7], s[3] * s[6], s[1] * s[7], s[3] * s[5], s[1] * s[6], s[2] * s[5],
                   s[0] * s[7], s[3] * s[4], s[0] * s[6], s[2] * s[4], s[0] * s[5], s[1] * s[4]};
    d[8] = q[0] * s[13] + q[3] * s[14] + q[4] * s[15];
    d[8] -= q[1] * s[13] + q[2] * s[14] + q[5] * s[15];
    d[9] = q[1] * s[12] + q[6] * s[14] + q[9] * s[15];
    d[9] -= q[0] * s[12] + q[7] * s[14] + q[8] * s[15];
    d[10] = q[2] * s[12] + q[7] * s[13] + q[10] * s[15];
    d[10] -= q[3] * s[12] + q[6] * s[13] + q[11] * s[15];
    d[11] = q[5] * s[12] + q[8] * s[13] + q[11] * s[14];
    d[11] -= q[4] * s[12] + q[9] * s[13] + q[10] * s[14];
    d[12] = q[2] * s[10] + q[5] * s[11] + q[1] * s[9];
    d[12] -= q[4] * s[11] + q[0] * s[9] + q[3] * s[10];
    d[13] = q[8] * s[11] + q[0] * s[8] + q[7] * s[10];
    d[13] -= q[6] * s[10] + q[9] * s[11] + q[1] * s[8];
    d[14] = q[6] * s[9] + q[11] * s[11] + q[3] * s[8];
    d[14] -= q[10] * s[11] + q[2] * s[8] + q[7] * s[9];
    d[15] = q[10] * s[10] + q[4] * s[8] + q[9] * s[9];
    d[15] -= q[8] * s[9] + q[11] * s[10] + q[5] * s[8];

    const float det = s[0] * d[0] + s[1] * d[1] + s[2] * d[2] + s[3] * d[3];
    const float reciprocal = 1.0f / det;
    if (det == 0.0f || !std::isfinite(reciprocal)) {
        dst = Mat4::identity();
        return;
    }
    for (float& e : dst.m)
        e *= reciprocal;
}
