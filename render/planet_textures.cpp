// The planets' texture slots, in the order of the world's planet table.
#include "render/planet_textures.h"

#include "assets/textures.h"
#include "world/world.h"

namespace {

struct PlanetSlots {
    int surface;
    // -1: no cloud layer.
    int clouds;
};

const PlanetSlots PLANET_SLOTS[MAX_CELESTIAL_BODIES] = {
    {TEX_PLANET, -1}, {TEX_EARTH, TEX_CLOUDS}, {TEX_RUST, -1}, {TEX_VENUS, -1}, {TEX_MARS, -1},
};

} // namespace

void fillPlanetTextures() {
    for (int k = 0; k < MAX_CELESTIAL_BODIES; ++k) {
        planetTextures[k].surface = textureNames[PLANET_SLOTS[k].surface];
        planetTextures[k].clouds =
            PLANET_SLOTS[k].clouds >= 0 ? textureNames[PLANET_SLOTS[k].clouds] : 0;
    }
}
