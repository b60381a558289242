// Shot reuse: spareProjectiles holds retired shots, projectiles the live ones.
#include "world/projectile_pool.h"

#include "world/entity_pool.h"
#include "world/out_of_memory.h"
#include "world/projectile.h"
#include "world/world.h"

#include <cassert>
#include <new>

Projectile* fireProjectile(int kind, Ship* firingShip) {
    assert(kind >= 0 && kind < PROJECTILE_KIND_COUNT && projectileTemplates[kind] &&
           "fire only kinds whose template setUpWorld made");
    const Projectile& templateShot = *projectileTemplates[kind];
    Projectile* shot = static_cast<Projectile*>(takeFromPool(spareProjectiles));
    if (shot) {
        shot->launch(templateShot, firingShip);
    } else {
        shot = new (std::nothrow) Projectile(templateShot, firingShip);
        if (!shot)
            outOfMemory("a shot");
    }
    entityListAppendPointer(projectiles, shot);
    return shot;
}

void retireProjectile(Projectile* shot) { retireToPool(shot, projectiles, spareProjectiles); }
