// Impact craters stamped into sphere height fields: a bowl, a raised rim and a
// rim that fades into the plain.
#pragma once

#include "sphere_field.h"

#include <vector>

struct Crater {
    Vec3 centre;  // unit vector
    float radius; // angular radius of the rim, radians
    float depth;  // in height-field units
};

// count craters with radii spread from minRadius to maxRadius (many small, few
// large); each centre is kept with probability keep(centre), in [0, 1].
template <typename Keep>
std::vector<Crater> scatterCraters(Random& random, int count, float minRadius, float maxRadius,
                                   float depthPerRadius, Keep keep) {
    std::vector<Crater> craters;
    while (static_cast<int>(craters.size()) < count) {
        const Vec3 centre = random.onSphere();
        const float t = random.uniform();
        // Small craters are far more common than large ones.
        const float radius = minRadius * std::pow(maxRadius / minRadius, t * t * t);
        const float depth = depthPerRadius * radius * random.range(0.6f, 1.2f);
        if (random.uniform() < keep(centre))
            craters.push_back({centre, radius, depth});
    }
    return craters;
}

// Adds the craters' relief to the field, each only over the rows it can reach.
void addCraters(SphereField& field, const std::vector<Crater>& craters);
