// Stamping craters into a sphere height field.
#include "craters.h"

#include <algorithm>
#include <cmath>

namespace {

// Crater profile against the distance from the centre in rim radii: a bowl with
// a flattened floor, a rim crest at 1 and its slope down to the plain.
float craterProfile(float r) {
    const float bowl = r < 1.0f ? std::max(r * r - 1.0f, -0.75f) : 0.0f;
    const float rim = 0.45f * std::exp(-std::pow((r - 1.0f) / 0.22f, 2.0f));
    return bowl + rim;
}

constexpr float REACH = 1.8f; // beyond this many radii a crater changes nothing

} // namespace

void addCraters(SphereField& field, const std::vector<Crater>& craters) {
    const int w = field.width(), h = field.height();
    for (const Crater& c : craters) {
        const float lat = std::asin(c.centre.y);
        const float reach = c.radius * REACH;
        const float cosReach = std::cos(reach);
        // Rows whose latitude lies within reach of the centre.
        const float top = (0.5f - (lat + reach) / static_cast<float>(M_PI)) * h;
        const float bottom = (0.5f - (lat - reach) / static_cast<float>(M_PI)) * h;
        const int y0 = std::max(0, static_cast<int>(top) - 1);
        const int y1 = std::min(h - 1, static_cast<int>(bottom) + 1);
        for (int y = y0; y <= y1; y++)
            for (int x = 0; x < w; x++) {
                const Vec3& d = field.direction(x, y);
                const float cosAngle = dot(d, c.centre);
                if (cosAngle < cosReach)
                    continue;
                const float r = std::acos(std::min(1.0f, cosAngle)) / c.radius;
                field.at(x, y) += c.depth * craterProfile(r);
            }
    }
}
