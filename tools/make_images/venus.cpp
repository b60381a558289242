// Venus: what shows is its deck of yellow-white clouds, banded along the
// latitudes and bent into wide chevrons by the fast upper winds; the alpha holds
// the gentle relief of the hidden surface, with highland plateaus and domes.
#include "craters.h"
#include "families.h"
#include "sphere_field.h"

#include <cmath>

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 512;
constexpr uint64_t SEED = 225;
constexpr float ALPHA_LOW = 8.0f;
constexpr float ALPHA_RANGE = 120.0f;
constexpr float CHEVRON = 0.35f; // radians the bands bend towards the poles

const Rgb PALE_CLOUD = {246, 236, 206};
const Rgb CREAM = {232, 212, 160};
const Rgb OCHRE = {204, 166, 100};
const Rgb POLAR_COLLAR = {250, 246, 232};

const Vec3 HIGHLANDS[] = {Vec3(0.3f, 0.8f, 0.5f), Vec3(-0.7f, -0.1f, 0.7f)};

float surface(const GradientNoise& n, const Vec3& d) {
    float e = 0.35f * n.fbm(d * 2.0f + Vec3(20, 0, 0), 6);
    for (const Vec3& centre : HIGHLANDS) {
        Vec3 c = centre;
        c.setLength(1.0f);
        const float r = std::acos(std::fmin(1.0f, dot(c, d)));
        // Flat-topped plateaus with steep edges.
        e += 0.45f * smoothstep(0.5f, 0.3f, r + 0.1f * n.fbm(d * 6.0f, 3));
    }
    return e;
}

} // namespace

bool makeVenus(const std::string& folder) {
    const GradientNoise noise(SEED);
    Random random(SEED);
    SphereField height(WIDTH, HEIGHT);
    height.fill([&](const Vec3& d) { return surface(noise, d); });
    // Volcanic domes rather than impact craters: few, broad and shallow.
    std::vector<Crater> domes =
        scatterCraters(random, 40, 0.02f, 0.06f, -0.8f, [](const Vec3&) { return 1.0f; });
    addCraters(height, domes);
    const float low = height.quantile(0.001f), high = height.quantile(0.999f);

    Image image(WIDTH, HEIGHT, 4);
    SphereField alpha(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; y++) {
        const float lat = rowLatitude(y, HEIGHT);
        for (int x = 0; x < WIDTH; x++) {
            const Vec3& d = height.direction(x, y);
            const float lon = 2.0f * static_cast<float>(M_PI) * (1.0f - (x + 0.5f) / WIDTH);
            // Bands bent poleward in a wide V, then stirred.
            const float bent =
                std::fabs(lat) - CHEVRON * std::fabs(std::sin(0.5f * lon + 0.6f)) * std::cos(lat);
            const float stirred = bent + 0.08f * noise.fbm(d * 3.0f + Vec3(1, 2, 3), 5);
            const float bands = 0.5f + 0.5f * std::sin(stirred * 9.0f + 0.8f * noise.at(d * 2.0f));
            const float haze = noise.fbm(d * 2.5f + Vec3(5, 5, 5), 3);
            Rgb c = mix(CREAM, OCHRE, smoothstep(0.45f, 1.0f, bands) * 0.75f);
            c = mix(c, PALE_CLOUD, smoothstep(0.0f, 0.6f, haze) * 0.7f);
            c = mix(c, POLAR_COLLAR, smoothstep(1.1f, 1.4f, std::fabs(lat)));
            c = scale(c, 0.97f + 0.04f * noise.fbm(d * 10.0f, 2));
            const float h = clamp01((height.at(x, y) - low) / (high - low));
            image.set(x, y, c);
            alpha.at(x, y) = ALPHA_LOW + ALPHA_RANGE * h;
        }
    }
    setReliefAlpha(image, alpha);
    return writeTga(folder + "Venusbump.tga", image);
}
