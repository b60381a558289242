// The star field of the sky box: a dense field of faint stars, fewer bright ones,
// a few coloured giants, and faint nebulae; it tiles without a seam.
#include "families.h"
#include "noise.h"

#include <cmath>
#include <vector>

namespace {

constexpr int SIZE = 1024;
constexpr uint64_t SEED = 31337;
constexpr int FAINT_STARS = 9000;
constexpr int MEDIUM_STARS = 900;
constexpr int BRIGHT_STARS = 70;
constexpr int NEBULA_CELLS = 3;          // noise cells across the tile at the coarsest octave
constexpr float NEBULA_STRENGTH = 75.0f; // brightest nebula glow, out of 255

const Rgb NEBULA_RED = {1.0f, 0.32f, 0.42f};
const Rgb NEBULA_BLUE = {0.3f, 0.45f, 1.0f};

// Star colours by temperature, from cool red to hot blue-white; most stars are
// close to white.
Rgb starColour(Random& random) {
    const float t = random.uniform();
    if (t < 0.04f)
        return {1.0f, 0.62f, 0.45f}; // red
    if (t < 0.12f)
        return {1.0f, 0.82f, 0.6f}; // orange
    if (t < 0.2f)
        return {0.7f, 0.8f, 1.0f}; // blue
    if (t < 0.5f)
        return {1.0f, 0.96f, 0.88f}; // yellow-white
    return {0.94f, 0.96f, 1.0f};     // white
}

// Adds light to a float canvas; positions wrap, so the tile stays seamless.
struct Canvas {
    std::vector<Rgb> light = std::vector<Rgb>(size_t(SIZE) * SIZE, Rgb{0, 0, 0});
    void add(int x, int y, Rgb c, float amount) {
        Rgb& p = light[size_t((y % SIZE + SIZE) % SIZE) * SIZE + (x % SIZE + SIZE) % SIZE];
        p.r += c.r * amount;
        p.g += c.g * amount;
        p.b += c.b * amount;
    }
    // A round star of the given peak brightness and spread (in pixels), centred
    // between pixels, plus thin diffraction spikes for the brightest.
    void star(float cx, float cy, Rgb c, float peak, float spread, float spikes) {
        const int reach = static_cast<int>(std::ceil(spread * 3.0f + spikes));
        for (int dy = -reach; dy <= reach; dy++)
            for (int dx = -reach; dx <= reach; dx++) {
                const int px = static_cast<int>(std::floor(cx)) + dx;
                const int py = static_cast<int>(std::floor(cy)) + dy;
                const float ox = px + 0.5f - cx, oy = py + 0.5f - cy;
                float a = peak * std::exp(-(ox * ox + oy * oy) / (2.0f * spread * spread));
                if (spikes > 0.0f) {
                    const float along = std::fabs(ox) < 0.7f
                                            ? std::fabs(oy)
                                            : (std::fabs(oy) < 0.7f ? std::fabs(ox) : 1e9f);
                    a += 0.35f * peak * std::exp(-along / (0.3f * spikes));
                }
                add(px, py, c, a);
            }
    }
};

} // namespace

bool makeStarField(const std::string& folder) {
    Random random(SEED);
    const GradientNoise noise(SEED);
    Canvas canvas;
    // Faint nebulae: two colours of cloudy glow, patchy rather than even. They are
    // soft, so they are computed on every second pixel and filtered up.
    constexpr int COARSE = SIZE / 2;
    std::vector<Rgb> glow(size_t(COARSE) * COARSE);
    for (int y = 0; y < COARSE; y++)
        for (int x = 0; x < COARSE; x++) {
            const float u = static_cast<float>(x) / COARSE * NEBULA_CELLS;
            const float v = static_cast<float>(y) / COARSE * NEBULA_CELLS;
            const float red = clamp01(noise.tiledFbm(u, v, NEBULA_CELLS, NEBULA_CELLS, 6) * 0.9f);
            const float blue =
                clamp01(noise.tiledFbm(u + 0.37f, v + 11.3f, NEBULA_CELLS, NEBULA_CELLS, 6) * 0.9f);
            const float dust = clamp01(
                0.6f + noise.tiledFbm(u + 5.1f, v + 2.2f, NEBULA_CELLS * 2, NEBULA_CELLS * 2, 4));
            const float r = NEBULA_STRENGTH * red * red * dust;
            const float b = NEBULA_STRENGTH * blue * blue * dust;
            glow[size_t(y) * COARSE + x] = {NEBULA_RED.r * r + NEBULA_BLUE.r * b,
                                            NEBULA_RED.g * r + NEBULA_BLUE.g * b,
                                            NEBULA_RED.b * r + NEBULA_BLUE.b * b};
        }
    auto coarse = [&](int x, int y) { return glow[size_t(y % COARSE) * COARSE + x % COARSE]; };
    for (int y = 0; y < SIZE; y++)
        for (int x = 0; x < SIZE; x++) {
            const int cx = x / 2, cy = y / 2;
            const float tx = (x % 2) * 0.5f, ty = (y % 2) * 0.5f;
            const Rgb top = mix(coarse(cx, cy), coarse(cx + 1, cy), tx);
            const Rgb bottom = mix(coarse(cx, cy + 1), coarse(cx + 1, cy + 1), tx);
            canvas.add(x, y, mix(top, bottom, ty), 1.0f);
            canvas.add(x, y, {1, 1, 1}, 3.0f); // the sky is never quite black
        }
    for (int i = 0; i < FAINT_STARS; i++) {
        const float x = random.range(0, SIZE), y = random.range(0, SIZE);
        const float brightness = 60.0f + 130.0f * std::pow(random.uniform(), 2.0f);
        canvas.star(x, y, starColour(random), brightness, 0.45f, 0.0f);
    }
    for (int i = 0; i < MEDIUM_STARS; i++) {
        const float x = random.range(0, SIZE), y = random.range(0, SIZE);
        canvas.star(x, y, starColour(random), random.range(150.0f, 260.0f), 0.6f, 0.0f);
    }
    for (int i = 0; i < BRIGHT_STARS; i++) {
        const float x = random.range(0, SIZE), y = random.range(0, SIZE);
        const Rgb c = starColour(random);
        const float size = random.range(0.8f, 1.4f);
        canvas.star(x, y, c, 300.0f, size, i < 12 ? random.range(3.0f, 7.0f) : 0.0f);
        canvas.star(x, y, c, 18.0f, size * 3.5f, 0.0f); // halo
    }
    Image image(SIZE, SIZE, 3);
    for (int y = 0; y < SIZE; y++)
        for (int x = 0; x < SIZE; x++)
            image.set(x, y, canvas.light[size_t(y) * SIZE + x]);
    return writeBmp(folder + "Stars1.bmp", image);
}
