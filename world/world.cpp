// The initial scene: planets, ships, the shot template and the lists.
#include "world/world.h"

#include "world/celestial_body.h"
#include "world/out_of_memory.h"
#include "world/projectile.h"
#include "world/ship.h"

#include <new>

CelestialBody* celestialBodies[MAX_CELESTIAL_BODIES];
int celestialBodyCount = 0;
Ship* ships[MAX_SHIPS];
int shipCount = 0;
Projectile* projectileTemplates[PROJECTILE_KIND_COUNT];
EntityList* projectiles = nullptr;
EntityList* spareProjectiles = nullptr;
EntityList* explosions = nullptr;
EntityList* spareExplosions = nullptr;
ModelHandle* shipModelHandles[MAX_SHIPS];
PlanetTextures planetTextures[MAX_CELESTIAL_BODIES];

namespace {

struct PlanetRow {
    float x, y, z;
    float radius;
    double spinRate;
    bool clouds;
    double cloudSpinRate;
    // -1: a plain sphere.
    int reliefModel;
};

// The textures the planets wear are the renderer's choice (render/planet_textures.cpp).
// The spin rates that look odd are the floats nearest 0.006, 0.004 and 0.01 widened
// to double; only the Earth spins at exactly 0.006.
const PlanetRow PLANETS[MAX_CELESTIAL_BODIES] = {
    {10, -15, 25, 8.0f, 0.006000000052154064, false, 0.0, -1},
    {30, -6, -18, 4.0f, 0.006, true, 0.004000000189989805, 0},
    {50, 30, 0, 5.0f, 0.009999999776482582, false, 0.0, 1},
    {35, -20, 20, 4.0f, 0.009999999776482582, false, 0.0, 3},
    {-50, 10, -40, 4.3f, 0.006000000052154064, false, 0.0, 2},
};

// An object of the initial scene that cannot be made ends the program, as a shot does.
template <typename T> T* made(T* object, const char* what) {
    if (!object)
        outOfMemory(what);
    return object;
}

EntityList* makeList() {
    // Each element is one object pointer.
    return made(entityListCreate(static_cast<int>(sizeof(void*)), 25), "a list of the world");
}

Ship* makeShip(float x, ModelHandle* model) {
    Ship* ship = made(new (std::nothrow) Ship(100, 10, 999999, 1, 0.01), "a ship");
    ship->setPosition(x, 0, 0);
    ship->setVelocity(0, 0, 0);
    ship->setModel(model);
    return ship;
}

} // namespace

void setUpWorld() {
    celestialBodyCount = 0;
    for (const PlanetRow& row : PLANETS) {
        const PlanetTextures& textures = planetTextures[celestialBodyCount];
        CelestialBody* planet = made(new (std::nothrow) CelestialBody(), "a planet");
        celestialBodies[celestialBodyCount] = planet;
        planet->setPosition(row.x, row.y, row.z);
        planet->setRadius(row.radius);
        planet->setSurfaceTexture(static_cast<int>(textures.surface));
        planet->setSpinRate(row.spinRate);
        if (row.clouds) {
            planet->setCloudTexture(static_cast<int>(textures.clouds));
            planet->setCloudSpinRate(row.cloudSpinRate);
        }
        planet->setVelocity(0, 0, 0);
        if (row.reliefModel >= 0) {
            planet->useModel = true;
            planet->modelIndex = row.reliefModel;
        }
        ++celestialBodyCount;
    }

    // Both face -z, ten units apart on the x axis, at rest.
    ships[0] = makeShip(5, shipModelHandles[0]);
    ships[1] = makeShip(-5, shipModelHandles[1]);
    shipCount = 2;

    projectileTemplates[0] =
        made(new (std::nothrow) Projectile(10, 5000.0f, 0.01f), "the shot template");

    projectiles = makeList();
    spareProjectiles = makeList();
    explosions = makeList();
    spareExplosions = makeList();
}
