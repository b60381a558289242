// Random stream, gradient noise and the sphere mapping of the image generator.
#include "noise.h"

#include <cmath>

uint64_t Random::next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

float Random::uniform() { return static_cast<float>(next() >> 40) / 16777216.0f; }

Vec3 Random::onSphere() {
    const float y = range(-1.0f, 1.0f);
    const float lon = range(0.0f, 6.2831853f);
    const float r = std::sqrt(1.0f - y * y);
    return Vec3(r * std::cos(lon), y, r * std::sin(lon));
}

GradientNoise::GradientNoise(uint64_t seed) {
    Random random(seed);
    for (int i = 0; i < 256; i++)
        perm_[i] = static_cast<uint8_t>(i);
    for (int i = 255; i > 0; i--) {
        const int j = static_cast<int>(random.next() % uint64_t(i + 1));
        const uint8_t t = perm_[i];
        perm_[i] = perm_[j];
        perm_[j] = t;
    }
    for (int i = 0; i < 256; i++)
        perm_[256 + i] = perm_[i];
}

namespace {

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

// The twelve edge directions of a cube (four of them twice), picked by a hash.
const float GRADIENTS[16][3] = {
    {1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0}, {1, 0, 1}, {-1, 0, 1}, {1, 0, -1}, {-1, 0, -1},
    {0, 1, 1}, {0, -1, 1}, {0, 1, -1}, {0, -1, -1}, {1, 1, 0}, {0, -1, 1}, {-1, 1, 0}, {0, -1, -1}};

float gradient(int hash, float x, float y, float z) {
    const float* g = GRADIENTS[hash & 15];
    return g[0] * x + g[1] * y + g[2] * z;
}

// floor() without the library call, for the coordinates the generator uses.
int floorToInt(float v) {
    const int i = static_cast<int>(v);
    return v < static_cast<float>(i) ? i - 1 : i;
}

int wrap(int i, int period) {
    const int m = i % period;
    return m < 0 ? m + period : m;
}

} // namespace

float GradientNoise::at(float x, float y, float z) const {
    const int fx = floorToInt(x), fy = floorToInt(y), fz = floorToInt(z);
    const int ix = fx & 255, iy = fy & 255, iz = fz & 255;
    return blend(x - fx, y - fy, z - fz, ix, (ix + 1) & 255, iy, (iy + 1) & 255, iz,
                 (iz + 1) & 255);
}

float GradientNoise::tiled(float x, float y, float z, int periodX, int periodY) const {
    const int ix = floorToInt(x), iy = floorToInt(y), iz = floorToInt(z);
    return blend(x - ix, y - iy, z - iz, wrap(ix, periodX), wrap(ix + 1, periodX),
                 wrap(iy, periodY), wrap(iy + 1, periodY), iz & 255, (iz + 1) & 255);
}

float GradientNoise::blend(float x, float y, float z, int x0, int x1, int y0, int y1, int z0,
                           int z1) const {
    const float u = fade(x), v = fade(y), w = fade(z);
    const int a0 = perm_[x0], a1 = perm_[x1];
    const int b00 = perm_[a0 + y0], b10 = perm_[a1 + y0], b01 = perm_[a0 + y1],
              b11 = perm_[a1 + y1];
    const float n000 = gradient(perm_[b00 + z0], x, y, z);
    const float n100 = gradient(perm_[b10 + z0], x - 1, y, z);
    const float n010 = gradient(perm_[b01 + z0], x, y - 1, z);
    const float n110 = gradient(perm_[b11 + z0], x - 1, y - 1, z);
    const float n001 = gradient(perm_[b00 + z1], x, y, z - 1);
    const float n101 = gradient(perm_[b10 + z1], x - 1, y, z - 1);
    const float n011 = gradient(perm_[b01 + z1], x, y - 1, z - 1);
    const float n111 = gradient(perm_[b11 + z1], x - 1, y - 1, z - 1);
    return mix(mix(mix(n000, n100, u), mix(n010, n110, u), v),
               mix(mix(n001, n101, u), mix(n011, n111, u), v), w);
}

float GradientNoise::fbm(const Vec3& p, int octaves, float gain) const {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f;
    for (int i = 0; i < octaves; i++) {
        // Each octave is shifted so that the lattice points do not line up.
        sum += amplitude * at(p.x * frequency + 17.3f * i, p.y * frequency - 5.1f * i,
                              p.z * frequency + 31.7f * i);
        total += amplitude;
        amplitude *= gain;
        frequency *= 2.0f;
    }
    return sum / total * 1.6f;
}

float GradientNoise::tiledFbm(float x, float y, int periodX, int periodY, int octaves) const {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    for (int i = 0; i < octaves; i++) {
        const int scaleFactor = 1 << i;
        sum += amplitude * tiled(x * scaleFactor, y * scaleFactor, 7.7f * i, periodX * scaleFactor,
                                 periodY * scaleFactor);
        total += amplitude;
        amplitude *= 0.5f;
    }
    return sum / total * 1.6f;
}

float GradientNoise::ridged(const Vec3& p, int octaves) const {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = 1.0f, weight = 1.0f;
    for (int i = 0; i < octaves; i++) {
        float crest = 1.0f - std::fabs(at(p.x * frequency - 11.9f * i, p.y * frequency + 3.3f * i,
                                          p.z * frequency + 23.1f * i));
        crest *= crest * weight;
        // Finer crests grow mostly on the coarser ones.
        weight = clamp01(crest * 1.5f);
        sum += amplitude * crest;
        total += amplitude;
        amplitude *= 0.5f;
        frequency *= 2.0f;
    }
    return sum / total;
}

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float mix(float a, float b, float t) { return a + (b - a) * t; }

Rgb mix(Rgb a, Rgb b, float t) { return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)}; }

Rgb scale(Rgb c, float s) { return {c.r * s, c.g * s, c.b * s}; }

float rowLatitude(int y, int height) {
    const float v = 1.0f - (y + 0.5f) / static_cast<float>(height);
    return static_cast<float>(M_PI) * (v - 0.5f);
}

Vec3 sphereDirection(int x, int y, int width, int height) {
    const float u = (x + 0.5f) / static_cast<float>(width);
    const float lon = 2.0f * static_cast<float>(M_PI) * (1.0f - u);
    const float lat = rowLatitude(y, height);
    return Vec3(std::cos(lat) * std::cos(lon), std::sin(lat), std::cos(lat) * std::sin(lon));
}
