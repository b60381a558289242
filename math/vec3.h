// The one vector type of the game: positions, velocities, axes, normals.
// Components are stored as 32-bit floats; results depend on that rounding.
#pragma once

#include "math/steady_trig.h"

#include <cassert>
#include <cmath>
#include <cstdio>

// Degrees to radians. Deliberately 3.1415926535 / 180, not full-precision pi:
// every turn of the game is computed with this factor.
constexpr double DEG_TO_RAD = 0.017453292519444445;

// A light position or direction as OpenGL takes it.
struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

struct Vec3 {
    float x;
    float y;
    float z;

    // Zero, so that arrays and members of vectors never hold garbage.
    constexpr Vec3() : x(0.0f), y(0.0f), z(0.0f) {}
    constexpr Vec3(float xIn, float yIn, float zIn) : x(xIn), y(yIn), z(zIn) {}

    void set(float xIn, float yIn, float zIn) {
        x = xIn;
        y = yIn;
        z = zIn;
    }
    void set(const Vec3& a) { set(a.x, a.y, a.z); }
    void setX(float v) { x = v; }
    void setY(float v) { y = v; }
    void setZ(float v) { z = v; }
    float getX() const { return x; }
    float getY() const { return y; }
    float getZ() const { return z; }

    // Callers loop over 0..2 only; anything else is a bug in the caller, and in a
    // release build it reads 0 rather than memory beyond the vector.
    float operator[](int i) const {
        switch (i) {
        case 0:
            return x;
        case 1:
            return y;
        case 2:
            return z;
        default:
            assert(!"Vec3 index must be 0, 1 or 2");
            return 0.0f;
        }
    }

    float length() const { return std::sqrt(x * x + y * y + z * z); }

    // A zero vector has no direction, so it is left as it is.
    void setLength(float len) {
        const float l = length();
        if (l == 0.0f)
            return;
        const float factor = len / l;
        x *= factor;
        y *= factor;
        z *= factor;
    }

    float sum() const { return z + y + x; }

    void print() const {
        std::printf("(%f, %f, %f)\n", static_cast<double>(x), static_cast<double>(y),
                    static_cast<double>(z));
    }

    // Local coordinates (this vector) to world ones, given the frame's axes as columns.
    inline Vec3& toBasis(const Vec3& a, const Vec3& b, const Vec3& c);

    // Right-handed rotation by angleDeg about the unit axis a.
    inline Vec3& rotate(float angleDeg, const Vec3& a);

    // The part of w along this vector; (0, 0, 0) when this vector is zero.
    inline Vec3 projectionOf(const Vec3& w) const;

    Vec4 withW(float w) const { return Vec4{x, y, z, w}; }

    Vec3& operator+=(const Vec3& a) {
        x += a.x;
        y += a.y;
        z += a.z;
        return *this;
    }
    Vec3& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) {
    return Vec3(a.x + b.x, a.y + b.y, a.z + b.z);
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) {
    return Vec3(a.x - b.x, a.y - b.y, a.z - b.z);
}
// Componentwise: this is not a dot product.
inline Vec3 operator*(const Vec3& a, const Vec3& b) {
    return Vec3(a.x * b.x, a.y * b.y, a.z * b.z);
}
inline Vec3 operator*(const Vec3& a, float s) { return Vec3(a.x * s, a.y * s, a.z * s); }
inline Vec3 operator*(float s, const Vec3& a) { return Vec3(s * a.x, s * a.y, s * a.z); }

// Each product is rounded to float before the sum, which runs z, y, x.
inline float dot(const Vec3& a, const Vec3& b) { return (a * b).sum(); }

inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

inline Vec3& Vec3::toBasis(const Vec3& a, const Vec3& b, const Vec3& c) {
    set(a * x + b * y + c * z);
    return *this;
}

inline Vec3& Vec3::rotate(float angleDeg, const Vec3& a) {
    // Not std::sin and std::cos: their bits depend on the CPU and the C library, and a
    // turn must come out the same on every machine.
    const SineCosine sc = steadySinCos(angleDeg * DEG_TO_RAD);
    const double c = sc.cos;
    const double s = sc.sin;
    const double t = 1.0 - c;
    const double ax = a.x, ay = a.y, az = a.z;
    // The rows of the rotation matrix are stored vectors, so each entry is rounded
    // to float before it multiplies the old components.
    const Vec3 r1(static_cast<float>(ax * ax + (1.0 - ax * ax) * c),
                  static_cast<float>(ax * ay * t - az * s),
                  static_cast<float>(ax * az * t + ay * s));
    const Vec3 r2(static_cast<float>(ax * ay * t + az * s),
                  static_cast<float>(ay * ay + (1.0 - ay * ay) * c),
                  static_cast<float>(ay * az * t - ax * s));
    const Vec3 r3(static_cast<float>(ax * az * t - ay * s),
                  static_cast<float>(ay * az * t + ax * s),
                  static_cast<float>(az * az + (1.0 - az * az) * c));
    set(dot(r1, *this), dot(r2, *this), dot(r3, *this));
    return *this;
}

inline Vec3 Vec3::projectionOf(const Vec3& w) const {
    const float along = dot(*this, *this);
    if (along == 0.0f)
        return Vec3(0.0f, 0.0f, 0.0f);
    const float ratio = dot(*this, w) / along;
    return *this * ratio;
}
