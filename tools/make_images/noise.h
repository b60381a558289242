// Deterministic randomness for the image generator: a seeded random stream,
// gradient noise (plain, and tiling for flat images), fractal sums of it, and the
// mapping of map pixels onto the sphere.
#pragma once

#include "image_file.h"
#include "math/vec3.h"

#include <cstdint>

// A small, fixed random stream (splitmix64): the same seed gives the same images
// on every machine and compiler.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next();
    float uniform(); // [0, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    Vec3 onSphere(); // uniformly distributed unit vector

private:
    uint64_t state_;
};

// Gradient noise on an integer lattice with values in about [-1, 1].
class GradientNoise {
public:
    explicit GradientNoise(uint64_t seed);
    float at(float x, float y, float z) const;
    float at(const Vec3& p) const { return at(p.x, p.y, p.z); }
    // The lattice repeats every periodX cells in x and periodY in y (1..256), so
    // an image sampled over whole periods tiles without a seam.
    float tiled(float x, float y, float z, int periodX, int periodY) const;
    // Octaves of doubling frequency and amplitudes falling by gain, scaled back to
    // about [-1, 1].
    float fbm(const Vec3& p, int octaves, float gain = 0.5f) const;
    // As fbm, tiling over periodX by periodY cells at the first octave.
    float tiledFbm(float x, float y, int periodX, int periodY, int octaves) const;
    // Sharp crests where the noise crosses zero (mountain chains, cracks), in [0, 1].
    float ridged(const Vec3& p, int octaves) const;

private:
    // The noise at (x, y, z) given the lattice cell's corner indices, each in 0..255.
    float blend(float x, float y, float z, int x0, int x1, int y0, int y1, int z0, int z1) const;
    uint8_t perm_[512];
};

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);
float mix(float a, float b, float t);
Rgb mix(Rgb a, Rgb b, float t);
Rgb scale(Rgb c, float s);

// Maps are equirectangular with the north pole along the top row; longitude runs so
// that u = 1 (the right edge) lies on +x and u = 0.75 on +z, as the globes and
// reliefs of the game are textured.
Vec3 sphereDirection(int x, int y, int width, int height);
// Latitude in radians of the centre of row y, +pi/2 at the top.
float rowLatitude(int y, int height);
