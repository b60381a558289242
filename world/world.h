// The world's containers: the fixed tables of planets, ships and shot templates,
// the live and spare lists of shots and explosions, and the set-up that fills them.
#pragma once

#include "world/entity_list.h"

class CelestialBody;
class Ship;
class Projectile;

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

// Builds the five planets, the two ships, the shot template and the four empty
// lists. Runs once at start-up, after the textures and ship models exist.
void setUpWorld();
