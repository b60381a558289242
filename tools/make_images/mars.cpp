// Mars: rust-red plains, dark albedo markings, old cratered southern highlands,
// a volcanic bulge with its great volcano, a long canyon and white polar caps.
// The colour is drawn on the planet; the alpha is the relief.
#include "craters.h"
#include "families.h"
#include "sphere_field.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 512;
constexpr uint64_t SEED = 4;
constexpr int CRATER_COUNT = 420;
constexpr float ALPHA_LOW = 6.0f;
constexpr float ALPHA_RANGE = 210.0f;
constexpr float NORTH_CAP_LATITUDE = 1.33f; // radians
constexpr float SOUTH_CAP_LATITUDE = -1.4f;

const Rgb RUST = {186, 92, 52};
const Rgb BRIGHT_DUST = {214, 142, 92};
const Rgb DARK_MARIA = {98, 60, 44};
const Rgb POLAR_ICE = {240, 236, 230};

const Vec3 BULGE_CENTRE(-0.55f, 0.1f, -0.83f);
const Vec3 GREAT_VOLCANO(-0.35f, 0.32f, -0.88f);
const Vec3 SMALL_VOLCANOES[] = {Vec3(-0.62f, 0.02f, -0.78f), Vec3(-0.6f, 0.16f, -0.78f),
                                Vec3(-0.63f, -0.12f, -0.77f)};
// The canyon follows a great circle eastwards from the bulge.
const Vec3 CANYON_START(-0.35f, -0.1f, -0.93f);
const Vec3 CANYON_END(0.35f, -0.16f, -0.92f);

Vec3 unit(Vec3 v) {
    v.setLength(1.0f);
    return v;
}

float angleBetween(const Vec3& a, const Vec3& b) {
    return std::acos(std::max(-1.0f, std::min(1.0f, dot(a, b))));
}

// A volcano cone of the given angular radius with a summit caldera.
float volcano(const Vec3& d, const Vec3& centre, float radius, float height) {
    const float r = angleBetween(d, unit(centre)) / radius;
    if (r >= 1.0f)
        return 0.0f;
    const float cone = height * std::pow(1.0f - r, 1.6f);
    const float caldera = 0.25f * height * smoothstep(0.12f, 0.0f, r);
    return cone - caldera;
}

// Depth of the canyon: a trough along the arc between its two ends.
float canyon(const Vec3& d) {
    const Vec3 a = unit(CANYON_START), b = unit(CANYON_END);
    const Vec3 pole = unit(cross(a, b));
    const float across = std::asin(std::max(-1.0f, std::min(1.0f, dot(d, pole))));
    const float span = angleBetween(a, b);
    const float along = angleBetween(a, unit(d - pole * dot(d, pole)));
    const float inside = smoothstep(0.0f, 0.1f, along) * smoothstep(span, span - 0.15f, along) *
                         (angleBetween(b, d) < span + 0.2f);
    const float width = 0.045f * (1.0f + 0.5f * std::sin(along * 23.0f));
    return -0.3f * inside * std::exp(-std::pow(across / width, 2.0f));
}

float terrain(const GradientNoise& n, const Vec3& d) {
    float e = 0.4f * n.fbm(d * 1.6f, 6);
    // The south is old high ground, the north lower and smoother.
    e += 0.35f * smoothstep(0.35f, -0.35f, d.y + 0.25f * n.fbm(d * 2.0f + Vec3(4, 4, 4), 3));
    e += 0.5f * std::exp(-std::pow(angleBetween(d, unit(BULGE_CENTRE)) / 0.45f, 2.0f));
    e += volcano(d, GREAT_VOLCANO, 0.16f, 0.9f);
    for (const Vec3& v : SMALL_VOLCANOES)
        e += volcano(d, v, 0.06f, 0.5f);
    return e + canyon(d);
}

} // namespace

bool makeMars(const std::string& folder) {
    const GradientNoise noise(SEED);
    Random random(SEED);
    SphereField height(WIDTH, HEIGHT);
    height.fill([&](const Vec3& d) { return terrain(noise, d); });
    // Craters crowd the southern highlands.
    addCraters(height, scatterCraters(random, CRATER_COUNT, 0.008f, 0.12f, 1.4f,
                                      [](const Vec3& c) { return c.y < 0.1f ? 1.0f : 0.3f; }));
    // The volcano summits may clip; the rest of the planet keeps its range.
    const float low = height.quantile(0.002f), high = height.quantile(0.997f);

    Image image(WIDTH, HEIGHT, 4);
    SphereField alpha(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; y++) {
        const float lat = rowLatitude(y, HEIGHT);
        for (int x = 0; x < WIDTH; x++) {
            const Vec3& d = height.direction(x, y);
            const float h = clamp01((height.at(x, y) - low) / (high - low));
            // Dark markings in the middle latitudes, bright dust elsewhere.
            const float albedo = noise.fbm(d * 2.2f + Vec3(11, 3, 7), 6);
            const float belt = std::exp(-std::pow((lat + 0.2f) / 0.55f, 2.0f));
            Rgb c = mix(RUST, BRIGHT_DUST, smoothstep(0.2f, 0.6f, -albedo));
            c = mix(c, DARK_MARIA, smoothstep(0.0f, 0.4f, albedo - 0.35f + 0.45f * belt));
            c = scale(c, 0.92f + 0.12f * noise.fbm(d * 24.0f, 3));
            c = scale(c, height.shade(x, y, 0.05f));
            // Polar ice, with dark troughs spiralling through it.
            if (std::fabs(lat) > 1.1f) {
                const float capEdge =
                    0.1f * noise.fbm(d * 3.0f, 5) + 0.05f * noise.fbm(d * 12.0f, 3);
                const float cap = smoothstep(NORTH_CAP_LATITUDE - 0.02f, NORTH_CAP_LATITUDE + 0.02f,
                                             lat + capEdge) +
                                  smoothstep(-SOUTH_CAP_LATITUDE - 0.02f,
                                             -SOUTH_CAP_LATITUDE + 0.02f, -lat + capEdge);
                // They wind out from the pole, which itself stays plain.
                const float troughs =
                    1.0f - 0.07f * smoothstep(1.55f, 1.45f, std::fabs(lat)) *
                               (1.0f + std::sin(40.0f * lat + 2.0f * std::atan2(d.z, d.x)));
                c = mix(c, scale(POLAR_ICE, troughs), clamp01(cap));
            }
            image.set(x, y, c);
            alpha.at(x, y) = ALPHA_LOW + ALPHA_RANGE * h;
        }
    }
    setReliefAlpha(image, alpha);
    return writeTga(folder + "Marsbump.tga", image);
}
