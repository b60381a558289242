// The banded gas giant: belts and zones along the latitudes, stirred by
// turbulence, with a great oval storm and a few small white ovals.
#include "families.h"
#include "sphere_field.h"

#include <cmath>

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 512;
constexpr uint64_t SEED = 5150;
constexpr float BAND_FREQUENCY = 7.0f;  // band pattern cycles from pole to pole
constexpr float TURBULENCE = 0.045f;    // radians of latitude the bands are stirred by
constexpr float STREAK_STRETCH = 14.0f; // how much longer streaks are than wide

// Colours from the darkest belt to the brightest zone.
const Rgb BAND_PALETTE[] = {{120, 74, 50},   {164, 108, 70},  {201, 150, 102},
                            {224, 196, 152}, {238, 226, 200}, {214, 176, 130}};
constexpr int PALETTE_SIZE = sizeof(BAND_PALETTE) / sizeof(BAND_PALETTE[0]);
const Rgb POLAR_HAZE = {126, 120, 116};
const Rgb STORM_RED = {196, 94, 62};
const Rgb STORM_RIM = {236, 206, 170};
const Rgb OVAL_WHITE = {246, 242, 232};

struct Oval {
    float lat, lon;   // centre, radians
    float halfWidth;  // east-west half axis, radians
    float halfHeight; // north-south half axis, radians
    Rgb colour;
    float swirlDegrees;
};

const Oval OVALS[] = {{-0.38f, 2.1f, 0.2f, 0.1f, STORM_RED, 220.0f},
                      {-0.62f, 4.2f, 0.06f, 0.04f, OVAL_WHITE, 160.0f},
                      {-0.64f, 4.45f, 0.05f, 0.035f, OVAL_WHITE, 160.0f},
                      {0.5f, 0.8f, 0.05f, 0.035f, OVAL_WHITE, -160.0f},
                      {0.28f, 5.3f, 0.07f, 0.035f, {150, 92, 62}, -140.0f}};

Rgb palette(float t) {
    t = clamp01(t) * (PALETTE_SIZE - 1);
    const int i = std::min(static_cast<int>(t), PALETTE_SIZE - 2);
    return mix(BAND_PALETTE[i], BAND_PALETTE[i + 1], t - i);
}

// Distance from the oval's centre in units of its half axes, longitude wrapped.
float ovalDistance(const Oval& o, float lat, float lon) {
    float dlon = std::remainder(lon - o.lon, 2.0f * static_cast<float>(M_PI));
    dlon *= std::cos(lat);
    const float dlat = lat - o.lat;
    return std::sqrt(std::pow(dlon / o.halfWidth, 2.0f) + std::pow(dlat / o.halfHeight, 2.0f));
}

} // namespace

bool makeGasGiant(const std::string& folder) {
    const GradientNoise noise(SEED);
    Image image(WIDTH, HEIGHT, 3);
    for (int y = 0; y < HEIGHT; y++) {
        const float lat = rowLatitude(y, HEIGHT);
        for (int x = 0; x < WIDTH; x++) {
            const Vec3 d = sphereDirection(x, y, WIDTH, HEIGHT);
            const float lon = 2.0f * static_cast<float>(M_PI) * (1.0f - (x + 0.5f) / WIDTH);
            // The flow grows more turbulent towards the poles, where the bands break up.
            const float polar = smoothstep(0.9f, 1.4f, std::fabs(lat));
            float stirredLat = lat + TURBULENCE * (1.0f + 2.5f * polar) * noise.fbm(d * 5.0f, 5);
            // Inside an oval the flow turns around its centre.
            float oval = 0.0f, ovalRadius = 0.0f;
            const Oval* inOval = nullptr;
            for (const Oval& o : OVALS) {
                const float r = ovalDistance(o, lat, lon);
                if (r < 1.6f) {
                    const float turn = o.swirlDegrees * static_cast<float>(M_PI) / 180.0f *
                                       std::pow(clamp01(1.0f - r / 1.6f), 2.0f);
                    stirredLat += o.halfHeight * 0.5f * std::sin(turn * 3.0f + r * 6.0f);
                    oval = smoothstep(1.05f, 0.8f, r);
                    ovalRadius = r;
                    inOval = &o;
                }
            }
            const float band = 0.5f + 0.5f * noise.at(0.3f, stirredLat * BAND_FREQUENCY, 4.1f) +
                               0.25f * std::sin(stirredLat * 19.0f);
            // Fine streaks run along the latitudes.
            const Vec3 s(d.x * 3.0f, stirredLat * STREAK_STRETCH * 3.0f, d.z * 3.0f);
            const float streak = noise.fbm(s + Vec3(2, 5, 1), 4);
            Rgb c = palette(band + 0.18f * streak);
            c = scale(c, 0.94f + 0.1f * streak);
            if (inOval) {
                // Rings of cloud wind around the storm's centre, under a bright collar.
                const float r = ovalRadius;
                const float rings = 0.86f + 0.14f * std::sin(r * 15.0f + 3.0f * streak);
                const Rgb core =
                    scale(mix(inOval->colour, STORM_RIM, 0.35f * smoothstep(0.2f, 0.9f, r)), rings);
                const float collar = std::exp(-std::pow((r - 1.12f) / 0.12f, 2.0f));
                c = mix(c, STORM_RIM, 0.55f * collar);
                c = mix(c, core, 0.92f * oval);
            }
            // Towards the poles the bands fade into a darker, greyer haze.
            const float haze = 0.9f * smoothstep(1.0f, 1.5f, std::fabs(lat) + 0.1f * streak);
            c = mix(c, scale(POLAR_HAZE, 0.9f + 0.15f * streak), haze);
            image.set(x, y, c);
        }
    }
    return writeBmp(folder + "planet.bmp", image);
}
