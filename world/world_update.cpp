// Moving the world by one step.
#include "world/world_update.h"

#include "world/celestial_body.h"
#include "world/entity_list.h"
#include "world/particle_system.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"

bool gameRunning = true;

namespace {

bool insideArena(const Vec3& p) {
    // Written so that a not-a-number position also counts as outside.
    for (int i = 0; i < 3; ++i)
        if (!(p[i] > -ARENA_HALF_SIZE && p[i] < ARENA_HALF_SIZE))
            return false;
    return true;
}

} // namespace

void updateWorld(float step) { updateWorld(step, step); }

void updateWorld(float step, float particleStep) {
    // Finished explosions stay listed until they are next drawn.
    if (particleStep > 0.0f)
        for (int i = 0; i < entityListCount(explosions); ++i)
            entityListPointerAt<ParticleSystem>(explosions, i)->update(particleStep);

    for (int s = 0; s < shipCount; ++s) {
        Ship* ship = ships[s];
        const bool alive = ship->update(step);
        // Back to the centre, still moving as before.
        if (!insideArena(ship->position))
            ship->position.set(0, 0, 0);
        if (!alive)
            gameRunning = false;
    }

    for (int k = 0; k < celestialBodyCount; ++k)
        celestialBodies[k]->update(step);

    int j = 0;
    while (j < entityListCount(projectiles)) {
        Projectile* shot = entityListPointerAt<Projectile>(projectiles, j);
        if (shot->update(step))
            ++j;
        else
            retireProjectile(shot);
    }
}
