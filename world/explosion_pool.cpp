// Explosion reuse: spareExplosions holds finished systems, explosions the burning ones.
#include "world/explosion_pool.h"

#include "world/entity_pool.h"
#include "world/out_of_memory.h"
#include "world/particle_system.h"
#include "world/step_events.h"
#include "world/world.h"

#include <new>

void spawnExplosion(Vec3 position) {
    ParticleSystem* system = static_cast<ParticleSystem*>(takeFromPool(spareExplosions));
    if (system) {
        system->rearm(position);
    } else {
        system = new (std::nothrow) ParticleSystem(position);
        if (!system)
            outOfMemory("an explosion");
    }
    entityListAppendPointer(explosions, system);
    noteExplosion(position);
}

void retireExplosion(ParticleSystem* system) { retireToPool(system, explosions, spareExplosions); }
