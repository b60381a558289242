// The relief geometry: a latitude-longitude sphere whose vertices are pushed out by
// the alpha channel of the height map in bumpImage, computed into the scratch arrays.
// No OpenGL here; relief.cpp compiles the arrays into display lists.
#include "assets/relief_geometry.h"

#include "assets/tga_reader.h"

#include <cmath>

Vec3 reliefPositions[RELIEF_MAX_VERTICES];
Vec3 reliefNormals[RELIEF_MAX_VERTICES];
Vec3 reliefTexCoords[RELIEF_MAX_VERTICES];

namespace {

// The game's own pi, not the full-precision one; the vertices depend on it.
constexpr double P = 3.1415926535;
constexpr double HALF_P = 1.57079632675;
constexpr float BASE_RADIUS = 4.0f;
constexpr float DISPLACEMENT_PER_UNIT = 0.0005f;
constexpr uint32_t MAP_WIDTH = 1024;
constexpr uint32_t MAP_HEIGHT = 512;

// Index into 0..last for a coordinate that should lie in [0, 1]; anything outside,
// NaN included, is held at the edge rather than read beyond the image.
int texel(float t, int last) {
    if (!(t > 0.0f))
        return 0;
    if (t >= 1.0f)
        return last;
    return static_cast<int>(static_cast<float>(last) * t);
}

// Sines and cosines of one latitude or longitude, taken once and shared by all
// the vertices that lie on it.
struct Angle {
    double cos = 1.0, sin = 0.0;
    Angle() = default;
    explicit Angle(double a) : cos(std::cos(a)), sin(std::sin(a)) {}
};

// The longitudes of the build in progress; static like the vertex arrays, so a
// build allocates nothing.
Angle longitudes[RELIEF_MAX_RESOLUTION + 1];

void storeVertex(int n, const Angle& lat, const Angle& lon, float u, float v) {
    const Vec3 normal(static_cast<float>(lat.cos * lon.cos), static_cast<float>(lat.sin),
                      static_cast<float>(lat.cos * lon.sin));
    const float h = sampleBumpHeight(u, v);
    reliefNormals[n] = normal;
    reliefTexCoords[n] = Vec3(u, v, 0.0f);
    reliefPositions[n] = (1.0f + DISPLACEMENT_PER_UNIT * h) * (BASE_RADIUS * normal);
}

} // namespace

bool heightMapUsable() {
    return bumpImage.pixels && bumpImage.width == MAP_WIDTH && bumpImage.height == MAP_HEIGHT &&
           bumpImage.bitsPerPixel == 32;
}

float sampleBumpHeight(float u, float v) {
    if (!heightMapUsable())
        return 0.0f;
    const int column = texel(u, MAP_WIDTH - 1);
    const int row = texel(v, MAP_HEIGHT - 1);
    return bumpImage.pixels[4 * (MAP_WIDTH * row + column) + 3];
}

int computeRelief(int resolution) {
    if (resolution < 2 || resolution > RELIEF_MAX_RESOLUTION || resolution % 2 != 0)
        return 0;
    const int bands = resolution / 2;
    const int pairs = resolution + 1;
    for (int j = 0; j < pairs; j++)
        longitudes[j] = Angle(2 * j * P / resolution);
    int n = 0;
    for (int i = 0; i < bands; i++) {
        const Angle latLow(2 * i * P / resolution - HALF_P);
        const Angle latHigh((2 * i + 2) * P / resolution - HALF_P);
        const float vLow = static_cast<float>(2 * i) / static_cast<float>(resolution);
        const float vHigh = static_cast<float>(2 * i + 2) / static_cast<float>(resolution);
        for (int j = 0; j < pairs; j++) {
            const float u = 1.0f - static_cast<float>(j) / static_cast<float>(resolution);
            storeVertex(n++, latHigh, longitudes[j], u, vHigh);
            storeVertex(n++, latLow, longitudes[j], u, vLow);
        }
    }
    return n;
}
