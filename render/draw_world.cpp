// The per-view drawing pass over the world's tables and lists.
#include "render/draw_world.h"

#include "world/celestial_body.h"
#include "world/particle_system.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"

void drawWorld(const FrustumPlanes& frustum) {
    drawCelestialBodies(frustum);
    drawProjectiles(frustum);
    drawShips(frustum);
    drawExplosions();
}

void drawCelestialBodies(const FrustumPlanes& frustum) {
    for (int k = 0; k < celestialBodyCount; ++k) {
        CelestialBody& body = *celestialBodies[k];
        // The value is the planet's distance in front of the near plane plus its radius;
        // it chooses the level of detail.
        const float value = sphereInFrustum(frustum, body.getPosition(), body.getRadius());
        if (value != 0.0f)
            body.drawAtDistance(value);
    }
}

void drawProjectiles(const FrustumPlanes& frustum) {
    for (int i = 0; i < entityListCount(projectiles); ++i) {
        Projectile& shot = *entityListPointerAt<Projectile>(projectiles, i);
        if (boxInFrustum(frustum, shot.worldBox()))
            shot.draw();
    }
}

void drawShips(const FrustumPlanes& frustum) {
    for (int s = 0; s < shipCount; ++s)
        if (boxInFrustum(frustum, ships[s]->worldBox()))
            ships[s]->draw();
}

void drawExplosions() {
    // A finished explosion takes itself out of the list while drawing; the next one
    // has then moved into its place.
    for (int i = 0; i < entityListCount(explosions);)
        if (entityListPointerAt<ParticleSystem>(explosions, i)->draw())
            ++i;
}
