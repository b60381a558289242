// The overlay's images: the attitude globe (sky above, ground below, a bright
// horizon, a latitude and longitude grid and marked poles) and the crosshair.
#include "families.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int GLOBE_WIDTH = 512;
constexpr int GLOBE_HEIGHT = 256;
constexpr float LATITUDE_STEP = 15.0f;  // degrees between latitude lines
constexpr float LONGITUDE_STEP = 30.0f; // degrees between meridians
constexpr float GRID_WIDTH = 1.1f;      // degrees across a grid line
constexpr float MAJOR_WIDTH = 2.0f;     // every 90 degrees of longitude
constexpr float HORIZON_WIDTH = 3.2f;
constexpr float POLE_CAP = 7.0f; // degrees from the pole to the cap's edge
// The globe is see-through between its lines, so that the player's ship turning
// inside it stays visible; the lines and caps are solid.
constexpr float FILL_ALPHA = 110.0f;

const Rgb SKY_HIGH = {28, 78, 168};
const Rgb SKY_LOW = {92, 160, 232};
const Rgb GROUND_HIGH = {150, 96, 46};
const Rgb GROUND_LOW = {82, 50, 24};
const Rgb GRID = {236, 240, 246};
const Rgb MAJOR = {255, 214, 64};
const Rgb HORIZON = {255, 255, 255};
const Rgb NORTH_CAP = {250, 250, 250};
const Rgb SOUTH_CAP = {200, 32, 28};
const Rgb CAP_RING = {16, 16, 20};

constexpr int CROSSHAIR_SIZE = 64;
constexpr float ARM_INNER = 7.0f; // gap around the centre, in texels from it
constexpr float ARM_OUTER = 29.0f;
constexpr float ARM_HALF_WIDTH = 2.2f;
constexpr float DOT_RADIUS = 3.0f;
constexpr float OUTLINE = 1.4f; // dark border that keeps it visible on bright planets
const Rgb CROSSHAIR = {255, 255, 255};
const Rgb CROSSHAIR_EDGE = {0, 0, 0};

// Coverage of a line of the given full width at distance d, antialiased over
// one pixel of size pixel.
float line(float d, float width, float pixel) {
    return clamp01((0.5f * width - std::fabs(d)) / pixel + 0.5f);
}

// Distance to the nearest multiple of step.
float offGrid(float v, float step) { return std::remainder(v, step); }

bool makeGlobe(const std::string& folder) {
    Image image(GLOBE_WIDTH, GLOBE_HEIGHT, 4);
    const float pixel = 180.0f / GLOBE_HEIGHT; // degrees per row
    for (int y = 0; y < GLOBE_HEIGHT; y++) {
        const float lat = rowLatitude(y, GLOBE_HEIGHT) * 180.0f / static_cast<float>(M_PI);
        const float circle = std::max(std::cos(lat * static_cast<float>(M_PI) / 180.0f), 0.05f);
        for (int x = 0; x < GLOBE_WIDTH; x++) {
            const float lon = 360.0f * (x + 0.5f) / GLOBE_WIDTH;
            const float up = std::fabs(lat) / 90.0f;
            Rgb c = lat > 0.0f ? mix(SKY_LOW, SKY_HIGH, up) : mix(GROUND_HIGH, GROUND_LOW, up);
            // Meridian widths are measured along the surface, so the lines keep
            // their width as they close in on the poles.
            const float meridian = offGrid(lon, LONGITUDE_STEP) * circle;
            const float major = offGrid(lon, 90.0f) * circle;
            const float parallel = offGrid(lat, LATITUDE_STEP);
            const float pixelAcross = pixel * 360.0f / 180.0f * 0.5f * circle;
            const float meridianInk = line(meridian, GRID_WIDTH, std::max(pixelAcross, 0.1f));
            const float parallelInk = line(parallel, GRID_WIDTH, pixel);
            const float majorInk = line(major, MAJOR_WIDTH, std::max(pixelAcross, 0.1f));
            const float horizonInk = line(lat, HORIZON_WIDTH, pixel);
            c = mix(c, GRID, meridianInk);
            c = mix(c, GRID, parallelInk);
            c = mix(c, MAJOR, majorInk);
            c = mix(c, HORIZON, horizonInk);
            // Caps over the poles: white in the north, red in the south, each
            // inside a dark ring.
            const float fromPole = 90.0f - std::fabs(lat);
            const Rgb cap = lat > 0.0f ? NORTH_CAP : SOUTH_CAP;
            const float ringInk = line(fromPole - POLE_CAP, 1.6f, pixel);
            const float capInk = clamp01((POLE_CAP - 0.8f - fromPole) / pixel + 0.5f);
            c = mix(c, CAP_RING, ringInk);
            c = mix(c, cap, capInk);
            const float ink =
                std::max({meridianInk, parallelInk, majorInk, horizonInk, ringInk, capInk});
            image.set(x, y, c, FILL_ALPHA + (255.0f - FILL_ALPHA) * ink);
        }
    }
    return writeTga(folder + "test1.tga", image);
}

bool makeCrosshair(const std::string& folder) {
    Image image(CROSSHAIR_SIZE, CROSSHAIR_SIZE, 4);
    const float centre = CROSSHAIR_SIZE / 2.0f;
    for (int y = 0; y < CROSSHAIR_SIZE; y++)
        for (int x = 0; x < CROSSHAIR_SIZE; x++) {
            const float dx = x + 0.5f - centre, dy = y + 0.5f - centre;
            const float ax = std::fabs(dx), ay = std::fabs(dy);
            // Distance to the shape: four arms and a centre dot.
            const float alongArm = std::max(ax, ay), acrossArm = std::min(ax, ay);
            const float outsideArm =
                std::max({acrossArm - ARM_HALF_WIDTH, ARM_INNER - alongArm, alongArm - ARM_OUTER});
            const float outsideDot = std::sqrt(dx * dx + dy * dy) - DOT_RADIUS;
            const float distance = std::min(outsideArm, outsideDot);
            const float core = clamp01(0.5f - distance);
            const float edge = clamp01(0.5f - (distance - OUTLINE));
            // Fully transparent away from the shape; the colour there is the edge
            // colour so that filtering does not bleed another hue into the border.
            const Rgb c = core > 0.0f ? mix(CROSSHAIR_EDGE, CROSSHAIR, core) : CROSSHAIR_EDGE;
            image.set(x, y, c, 255.0f * std::max(core, 0.6f * edge));
        }
    return writeTga(folder + "crosshair.tga", image);
}

} // namespace

bool makeInstruments(const std::string& folder) {
    return makeGlobe(folder) && makeCrosshair(folder);
}
