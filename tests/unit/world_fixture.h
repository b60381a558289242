// A fresh world for simulation tests: the initial scene, no keys held, a fixed
// random sequence, the game running.
#pragma once

#include "app/control_mapping.h"
#include "app/game_init.h"
#include "app/game_loop.h"
#include "app/keyboard.h"
#include "render/cameras.h"
#include "world/celestial_body.h"
#include "world/contact_rules.h"
#include "world/entity_list.h"
#include "world/particle_system.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

inline void resetKeyboard() {
    std::fill(std::begin(keyIsDown), std::end(keyIsDown), false);
    std::fill(std::begin(keyPressPending), std::end(keyPressPending), false);
    std::fill(std::begin(specialIsDown), std::end(specialIsDown), false);
    std::fill(std::begin(specialPressPending), std::end(specialPressPending), false);
}

// The world is rebuilt for every test; the objects of earlier worlds are never
// freed (the game never frees a body), which costs a few kilobytes per test. They
// stay reachable from here, so the leak checker of the sanitized build does not
// take them for leaks.
inline void keepEarlierWorld() {
    // Made once and never destroyed: a static vector would be gone before the leak
    // check runs at exit.
    static std::vector<const void*>& earlier = *new std::vector<const void*>;
    earlier.insert(earlier.end(), std::begin(celestialBodies), std::end(celestialBodies));
    earlier.insert(earlier.end(), std::begin(ships), std::end(ships));
    earlier.insert(earlier.end(), std::begin(projectileTemplates), std::end(projectileTemplates));
    for (const EntityList* list : {projectiles, spareProjectiles, explosions, spareExplosions})
        earlier.push_back(list);
}

inline void freshWorld(unsigned seed = 1) {
    keepEarlierWorld();
    resetKeyboard();
    std::srand(seed);
    viewMode = 0;
    gameRunning = true;
    hitFlash[0] = hitFlash[1] = 0;
    setUpWorld();
}

class WorldTest : public testing::Test {
protected:
    void SetUp() override { freshWorld(); }
};

inline Projectile* liveShot(int i) { return entityListPointerAt<Projectile>(projectiles, i); }
inline Projectile* spareShot(int i) { return entityListPointerAt<Projectile>(spareProjectiles, i); }
inline ParticleSystem* liveExplosion(int i) {
    return entityListPointerAt<ParticleSystem>(explosions, i);
}
inline ParticleSystem* spareExplosion(int i) {
    return entityListPointerAt<ParticleSystem>(spareExplosions, i);
}

// A shot of ship `owner` at rest at the given place, far from anything else by default.
inline Projectile* placeShot(int owner, float x, float y = 60, float z = 0) {
    Projectile* shot = fireProjectile(0, ships[owner]);
    shot->setPosition(x, y, z);
    shot->setVelocity(0, 0, 0);
    return shot;
}
