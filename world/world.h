// The world's containers: the fixed tables of planets, ships and shot templates,
// the live and spare lists of shots and explosions, and the set-up that fills them.
#pragma once

#include "world/entity_list.h"

class CelestialBody;
class Ship;
class Projectile;
// Defined with the models in render/models.h; the world only passes
// handles on to the ships.
struct ModelHandle;

constexpr int MAX_CELESTIAL_BODIES = 5;
constexpr int MAX_SHIPS = 2;
constexpr int PROJECTILE_KIND_COUNT = 1;

extern CelestialBody* celestialBodies[MAX_CELESTIAL_BODIES];
extern int celestialBodyCount;
// Index 0 is player 1's ship, index 1 player 2's.
extern Ship* ships[MAX_SHIPS];
extern int shipCount;
// Indexed by projectile kind; only kind 0 exists. Templates are never in play.
extern Projectile* projectileTemplates[PROJECTILE_KIND_COUNT];

// Lists of object pointers. Every shot is in exactly one of projectiles (live, in
// firing order) and spareProjectiles; every ParticleSystem in exactly one of
// explosions and spareExplosions.
extern EntityList* projectiles;
extern EntityList* spareProjectiles;
extern EntityList* explosions;
extern EntityList* spareExplosions;

// What set-up hands to the bodies without making it: OpenGL objects that the start-up
// steps before it make and write into these tables, so that the world never reaches
// up into the renderer or the texture set for them.
// The ships' model handles, index 0 player 1's: written by buildModels (render/).
extern ModelHandle* shipModelHandles[MAX_SHIPS];
// The texture names each planet wears, in the order of the planet table: written by
// fillPlanetTextures (render/) from the texture set's textureNames.
struct PlanetTextures {
    unsigned int surface = 0;
    // Only read for a planet with a cloud layer.
    unsigned int clouds = 0;
};
extern PlanetTextures planetTextures[MAX_CELESTIAL_BODIES];

// Builds the five planets, the two ships, the shot template and the four empty
// lists. Runs once at start-up, after the textures and ship models exist.
void setUpWorld();
