// Pluto and the pastel rust rock drawn on it. Both are made from one terrain:
// cratered uplands, mountain blocks and a smooth, bright heart-shaped plain.
// "Plutobump.tga" carries the terrain in its alpha (with Pluto's own colours,
// which the game replaces), and "Pastellarust.bmp" colours the same terrain as
// rusty, pastel-coloured rock, so that its shading lines up with the relief.
#include "craters.h"
#include "families.h"
#include "sphere_field.h"

#include <cmath>

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 512;
constexpr uint64_t SEED = 1930;
constexpr int CRATER_COUNT = 300;
constexpr float ALPHA_LOW = 6.0f;
constexpr float ALPHA_RANGE = 180.0f;
constexpr float HEART_SIZE = 0.32f; // radians

const Rgb PLUTO_BEIGE = {200, 176, 146};
const Rgb PLUTO_HIGHLAND = {168, 156, 146};
const Rgb PLUTO_DARK = {104, 62, 46};
const Rgb PLUTO_ICE = {238, 230, 218};

const Rgb RUST_PALETTE[] = {{236, 196, 168}, {226, 164, 138}, {214, 150, 140},
                            {200, 128, 100}, {232, 186, 176}, {242, 216, 190}};
constexpr int RUST_COLOURS = sizeof(RUST_PALETTE) / sizeof(RUST_PALETTE[0]);
const Rgb PATINA = {164, 198, 186};
const Rgb CRACK = {128, 82, 70};

const Vec3 HEART_CENTRE(0.0f, 0.3f, 0.954f);

// Inside the heart (1 deep inside, 0 outside) from the classic heart curve,
// laid flat on the sphere around its centre with its point to the south.
float heartCover(const GradientNoise& n, const Vec3& d) {
    Vec3 centre = HEART_CENTRE;
    centre.setLength(1.0f);
    if (dot(d, centre) < 0.5f)
        return 0.0f;
    Vec3 east = cross(Vec3(0, 1, 0), centre);
    east.setLength(1.0f);
    const Vec3 north = cross(centre, east);
    const float x = dot(d, east) / HEART_SIZE, y = dot(d, north) / HEART_SIZE + 0.1f;
    const float f = std::pow(x * x + y * y - 1.0f, 3.0f) - x * x * y * y * y;
    return smoothstep(0.15f, -0.15f, f + 0.35f * n.fbm(d * 7.0f, 4));
}

Rgb rustColour(const GradientNoise& n, const Vec3& d) {
    const float t = clamp01(0.5f + 0.6f * n.fbm(d * 3.0f + Vec3(2, 9, 4), 5));
    const float i = t * (RUST_COLOURS - 1);
    const int k = std::min(static_cast<int>(i), RUST_COLOURS - 2);
    return mix(RUST_PALETTE[k], RUST_PALETTE[k + 1], i - k);
}

} // namespace

bool makePluto(const std::string& folder) {
    const GradientNoise noise(SEED);
    Random random(SEED);
    SphereField height(WIDTH, HEIGHT), heart(WIDTH, HEIGHT);
    heart.fill([&](const Vec3& d) { return heartCover(noise, d); });
    height.fill([&](const Vec3& d) {
        const float uplands = 0.3f * noise.fbm(d * 2.0f, 6);
        const float blocks = 0.3f * std::pow(noise.ridged(d * 3.0f + Vec3(1, 7, 3), 5), 3.0f);
        return uplands + blocks;
    });
    addCraters(height, scatterCraters(random, CRATER_COUNT, 0.01f, 0.15f, 1.5f,
                                      [](const Vec3&) { return 1.0f; }));
    const float low = height.quantile(0.002f), high = height.quantile(0.998f);
    // The heart is a young, level ice plain: no craters, no mountains.
    for (int y = 0; y < HEIGHT; y++)
        for (int x = 0; x < WIDTH; x++)
            height.at(x, y) = mix(height.at(x, y), low + 0.1f * (high - low), heart.at(x, y));

    Image pluto(WIDTH, HEIGHT, 4), rust(WIDTH, HEIGHT, 3);
    SphereField alpha(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; y++) {
        const float lat = rowLatitude(y, HEIGHT);
        for (int x = 0; x < WIDTH; x++) {
            const Vec3& d = height.direction(x, y);
            const float h = clamp01((height.at(x, y) - low) / (high - low));
            const float shade = height.shade(x, y, 0.06f);
            const float mottling = noise.fbm(d * 5.0f + Vec3(3, 1, 8), 4);
            // Dark reddish lowlands along the equator, frosty highlands, bright heart.
            const float dark = smoothstep(
                0.1f, 0.4f, mottling + 0.5f * std::exp(-std::pow(lat / 0.35f, 2.0f)) - 0.3f);
            Rgb c = mix(PLUTO_BEIGE, PLUTO_HIGHLAND, smoothstep(0.5f, 0.8f, h));
            c = mix(c, PLUTO_DARK, dark);
            const Rgb ice = scale(PLUTO_ICE, 0.94f + 0.06f * noise.fbm(d * 14.0f, 3));
            c = mix(scale(c, shade), ice, heart.at(x, y));
            pluto.set(x, y, c);
            alpha.at(x, y) = ALPHA_LOW + ALPHA_RANGE * h;

            // Pastel rust: banded colours, sparse pale patina, dark cracks and grain.
            Rgb r = rustColour(noise, d);
            r = mix(r, PATINA,
                    0.7f * smoothstep(0.35f, 0.55f, noise.fbm(d * 6.0f + Vec3(8, 8, 1), 4)));
            const float crack = std::pow(noise.ridged(d * 9.0f + Vec3(4, 4, 4), 3), 6.0f);
            r = mix(r, CRACK, 0.6f * crack);
            r = scale(r, 0.9f + 0.1f * noise.at(d * 80.0f) + 0.25f * (h - 0.5f));
            rust.set(x, y, scale(r, 0.5f + 0.5f * shade));
        }
    }
    setReliefAlpha(pluto, alpha);
    return writeTga(folder + "Plutobump.tga", pluto) && writeBmp(folder + "Pastellarust.bmp", rust);
}
