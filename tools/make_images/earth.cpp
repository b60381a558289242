// The Earth-like world: its colour map (as TGA and BMP), its height map, whose
// alpha follows the very same continents, and its cloud layer.
#include "families.h"
#include "sphere_field.h"

#include <cmath>

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 512;
constexpr uint64_t TERRAIN_SEED = 1917;
constexpr uint64_t CLOUD_SEED = 52;
constexpr float LAND_FRACTION = 0.32f;
constexpr float CONTINENT_FREQUENCY = 1.1f;
constexpr float CONTINENT_WARP = 0.45f;
constexpr float MOUNTAIN_FREQUENCY = 3.5f;
constexpr float ICE_CAP_LATITUDE = 1.2f; // radians, about 69 degrees
constexpr float OCEAN_ALPHA = 4.0f;
constexpr float SEA_ICE_ALPHA = 22.0f;
constexpr float LAND_ALPHA_LOW = 18.0f;
constexpr float LAND_ALPHA_RANGE = 150.0f;

const Rgb DEEP_OCEAN = {8, 24, 72};
const Rgb OPEN_OCEAN = {16, 52, 120};
const Rgb SHELF_SEA = {34, 110, 150};
const Rgb RAIN_FOREST = {30, 78, 30};
const Rgb GRASSLAND = {96, 122, 56};
const Rgb DESERT = {206, 176, 122};
const Rgb STEPPE = {150, 140, 90};
const Rgb TUNDRA = {118, 116, 92};
const Rgb ROCK = {112, 98, 84};
const Rgb SNOW = {242, 244, 248};
const Rgb ICE = {228, 236, 246};

// Offsets that bend the noise domain, so that coasts and cloud banks curl.
// They vary slowly, so they are computed on a coarse grid and read filtered -
// except around the poles, where a coarse row would spread one point's offset
// over a whole ring of the map.
class Warp {
public:
    Warp(const GradientNoise& n, float frequency, Vec3 (*bend)(Vec3))
        : noise_(n), frequency_(frequency), x_(WIDTH / 4, HEIGHT / 4), y_(WIDTH / 4, HEIGHT / 4),
          z_(WIDTH / 4, HEIGHT / 4) {
        for (int y = 0; y < HEIGHT / 4; y++)
            for (int x = 0; x < WIDTH / 4; x++) {
                const Vec3 offset = exact(bend(x_.direction(x, y)));
                x_.at(x, y) = offset.x;
                y_.at(x, y) = offset.y;
                z_.at(x, y) = offset.z;
            }
    }
    // The warped point for pixel (x, y) whose (bent) direction is d.
    Vec3 at(int x, int y, const Vec3& d, float amount) const {
        Vec3 offset(x_.sampleFor(x, y, WIDTH, HEIGHT), y_.sampleFor(x, y, WIDTH, HEIGHT),
                    z_.sampleFor(x, y, WIDTH, HEIGHT));
        const float polar = smoothstep(1.25f, 1.35f, std::fabs(rowLatitude(y, HEIGHT)));
        if (polar > 0.0f)
            offset = offset * (1.0f - polar) + exact(d) * polar;
        return d * frequency_ + offset * amount;
    }

private:
    Vec3 exact(const Vec3& d) const {
        const Vec3 q = d * frequency_;
        return Vec3(noise_.fbm(q + Vec3(5.2f, 1.3f, 0.7f), 4),
                    noise_.fbm(q + Vec3(1.7f, 9.2f, 3.1f), 4),
                    noise_.fbm(q + Vec3(8.3f, 2.8f, 4.1f), 4));
    }

    const GradientNoise& noise_;
    float frequency_;
    SphereField x_, y_, z_;
};

Vec3 unbent(Vec3 d) { return d; }

// Land colour from height (0 at the coast, 1 on the highest peaks), latitude and
// a moisture value in about [0, 1].
Rgb landColour(float height, float lat, float moisture) {
    const float polar = std::fabs(lat) / 1.5708f;
    // Deserts gather in the dry belts near 25 degrees.
    const float dryBelt = std::exp(-std::pow((std::fabs(lat) - 0.42f) / 0.16f, 2.0f));
    const float wet = clamp01(moisture - 0.45f * dryBelt);
    const float warmth = clamp01(1.05f - 1.15f * polar - 0.7f * height);
    Rgb lowland = mix(DESERT, STEPPE, smoothstep(0.25f, 0.45f, wet));
    lowland = mix(lowland, GRASSLAND, smoothstep(0.4f, 0.6f, wet));
    lowland =
        mix(lowland, RAIN_FOREST, smoothstep(0.6f, 0.8f, wet) * smoothstep(0.55f, 0.8f, warmth));
    Rgb c = mix(TUNDRA, lowland, smoothstep(0.15f, 0.4f, warmth));
    c = mix(c, ROCK, smoothstep(0.5f, 0.8f, height));
    return mix(c, SNOW, smoothstep(0.8f, 0.92f, height + 0.25f * (1.0f - warmth)));
}

// 0 away from the poles, 1 on the ice caps, with a ragged edge.
float iceCover(const GradientNoise& n, const Vec3& d, float lat) {
    if (std::fabs(lat) < ICE_CAP_LATITUDE - 0.45f)
        return 0.0f;
    const float edge = ICE_CAP_LATITUDE + 0.13f * n.fbm(d * 1.5f, 2) + 0.07f * n.fbm(d * 6.0f, 4);
    return smoothstep(edge - 0.015f, edge + 0.015f, std::fabs(lat));
}

// Swirls the sky around a few storm centres, so that clouds form spirals.
Vec3 stormSwirl(Vec3 d) {
    struct Storm {
        Vec3 centre;
        float radius;
        float turnDegrees;
    };
    static const Storm storms[] = {{Vec3(0.55f, 0.62f, 0.56f), 0.3f, 160.0f},
                                   {Vec3(-0.62f, -0.66f, 0.42f), 0.35f, -170.0f},
                                   {Vec3(0.1f, 0.25f, -0.96f), 0.2f, 140.0f},
                                   {Vec3(-0.3f, 0.75f, -0.59f), 0.28f, 150.0f},
                                   {Vec3(0.8f, -0.5f, -0.3f), 0.3f, -150.0f}};
    for (const Storm& s : storms) {
        Vec3 axis = s.centre;
        axis.setLength(1.0f);
        const float r = std::acos(std::fmin(1.0f, dot(axis, d))) / s.radius;
        if (r < 1.0f)
            d.rotate(s.turnDegrees * (1.0f - r) * (1.0f - r) * (1.0f - r), axis);
    }
    return d;
}

float cloudDensity(const GradientNoise& n, const Warp& warp, int x, int y, const Vec3& d,
                   float lat) {
    const float c = n.fbm(warp.at(x, y, stormSwirl(d), 0.8f), 6, 0.55f);
    const float a = std::fabs(lat);
    // Rain near the equator, clear subtropics, storm tracks in the middle latitudes.
    const float belts = 0.3f * std::exp(-std::pow(a / 0.1f, 2.0f)) -
                        0.22f * std::exp(-std::pow((a - 0.45f) / 0.14f, 2.0f)) +
                        0.15f * std::exp(-std::pow((a - 0.95f) / 0.2f, 2.0f));
    return smoothstep(-0.12f, 0.65f, c + belts);
}

} // namespace

bool makeEarth(const std::string& folder) {
    const GradientNoise terrain(TERRAIN_SEED);
    const Warp coasts(terrain, CONTINENT_FREQUENCY, unbent);
    SphereField elevation(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; y++)
        for (int x = 0; x < WIDTH; x++)
            elevation.at(x, y) =
                terrain.fbm(coasts.at(x, y, elevation.direction(x, y), CONTINENT_WARP), 7, 0.45f);
    const float seaLevel = elevation.quantile(1.0f - LAND_FRACTION);
    const float top = elevation.maximum(), bottom = elevation.minimum();

    // Height above the sea on land (0..1) with mountain chains on the continents.
    SphereField land(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; y++)
        for (int x = 0; x < WIDTH; x++) {
            const float above = (elevation.at(x, y) - seaLevel) / (top - seaLevel);
            if (above <= 0.0f)
                continue;
            const Vec3& d = elevation.direction(x, y);
            // Chains rise only in some regions, and away from the coast.
            const float region = smoothstep(0.0f, 0.5f, terrain.fbm(d * 1.6f + Vec3(7, 2, 5), 3));
            const float chains = terrain.ridged(d * MOUNTAIN_FREQUENCY + Vec3(3, 3, 3), 6);
            land.at(x, y) = clamp01(0.4f * above + 0.75f * chains * chains * region *
                                                       smoothstep(0.0f, 0.2f, above));
        }

    const GradientNoise weather(CLOUD_SEED);
    const Warp winds(weather, 2.2f, stormSwirl);
    Image map(WIDTH, HEIGHT, 3), bump(WIDTH, HEIGHT, 4), clouds(WIDTH, HEIGHT, 4);
    SphereField heights(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; y++) {
        const float lat = rowLatitude(y, HEIGHT);
        for (int x = 0; x < WIDTH; x++) {
            const Vec3& d = elevation.direction(x, y);
            const float e = elevation.at(x, y);
            const float ice = iceCover(terrain, d, lat);
            Rgb c;
            float alpha;
            if (e < seaLevel) {
                const float depth = (seaLevel - e) / (seaLevel - bottom);
                c = mix(SHELF_SEA, OPEN_OCEAN, smoothstep(0.0f, 0.08f, depth));
                c = mix(c, DEEP_OCEAN, smoothstep(0.1f, 0.6f, depth));
                alpha = mix(OCEAN_ALPHA, SEA_ICE_ALPHA, ice);
            } else {
                const float h = land.at(x, y);
                const float moisture = 0.66f + 0.5f * terrain.fbm(d * 2.5f + Vec3(9, 1, 4), 5);
                c = scale(landColour(h, lat, moisture), land.shade(x, y, 0.08f));
                alpha = LAND_ALPHA_LOW + LAND_ALPHA_RANGE * h;
            }
            if (ice > 0.0f)
                c = mix(c, scale(ICE, 1.0f + 0.05f * terrain.fbm(d * 12.0f, 3)), ice);
            map.set(x, y, c);
            heights.at(x, y) = alpha;
            clouds.set(x, y, {255, 255, 255}, 255.0f * cloudDensity(weather, winds, x, y, d, lat));
        }
    }
    // The picture of the height map is its alpha in grey, from black to the highest land.
    setReliefAlpha(bump, heights);
    for (int y = 0; y < HEIGHT; y++)
        for (int x = 0; x < WIDTH; x++) {
            const float grey = bump.at(x, y)[3] * (255.0f / (LAND_ALPHA_LOW + LAND_ALPHA_RANGE));
            bump.set(x, y, {grey, grey, grey}, bump.at(x, y)[3]);
        }
    return writeTga(folder + "Earthmap.tga", map) && writeBmp(folder + "Earthmap.bmp", map) &&
           writeTga(folder + "Earthbump.tga", bump) && writeTga(folder + "Cloudmap.tga", clouds);
}
