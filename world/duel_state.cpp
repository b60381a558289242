// The duel state's hash, and saving and restoring it with the explosions.
#include "world/duel_state.h"

#include "world/celestial_body.h"
#include "world/fnv_hash.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"
#include "world/world_update.h"

#include <algorithm>
#include <initializer_list>

namespace {

void addMotion(Fnv1a& h, const Body& body) {
    for (const Vec3& v : {body.position, body.velocity, body.right, body.up, body.back})
        h.add(v);
}

int shipIndex(const Ship* ship) {
    for (int s = 0; s < shipCount; ++s)
        if (ships[s] == ship)
            return s;
    return -1;
}

template <typename T> void fill(std::vector<T*>& out, const EntityList* list) {
    out.clear();
    for (int i = 0; i < entityListCount(list); ++i)
        out.push_back(entityListPointerAt<T>(list, i));
}

template <typename T> void refill(EntityList* list, const std::vector<T*>& objects) {
    list->count = 0;
    for (T* object : objects)
        entityListAppendPointer(list, object);
}

// The objects of both lists that the sorted `known` does not hold, in list order.
void collectUnknown(std::vector<void*>& out, const std::vector<const void*>& known,
                    std::initializer_list<const EntityList*> lists) {
    for (const EntityList* list : lists)
        for (int i = 0; i < entityListCount(list); ++i) {
            void* object = entityListPointerAt<void>(list, i);
            if (!std::binary_search(known.begin(), known.end(), static_cast<const void*>(object)))
                out.push_back(object);
        }
}

} // namespace

uint64_t duelStateHash() {
    Fnv1a h;
    for (int s = 0; s < shipCount; ++s) {
        const Ship& ship = *ships[s];
        addMotion(h, ship);
        h.add(ship.health);
        h.add(ship.thrustIndicator);
        for (ControlState::Channel channel : ControlState::CHANNELS) {
            h.add((ship.controls.*channel).level);
            h.add((ship.controls.*channel).active);
        }
        h.add(ship.controls.fireRequest);
    }
    for (int k = 0; k < celestialBodyCount; ++k) {
        const CelestialBody& planet = *celestialBodies[k];
        addMotion(h, planet);
        h.add(planet.spinAngle);
        h.add(planet.cloudSpinAngle);
    }
    h.add(entityListCount(projectiles));
    for (int i = 0; i < entityListCount(projectiles); ++i) {
        const Projectile& shot = *entityListPointerAt<Projectile>(projectiles, i);
        addMotion(h, shot);
        h.add(shot.lifetime);
        h.add(shipIndex(shot.owner));
    }
    h.add(gameRunning);
    return h.value();
}

void DuelSnapshot::save() {
    ships_.clear();
    for (int s = 0; s < shipCount; ++s)
        ships_.push_back(*ships[s]);
    planets_.clear();
    for (int k = 0; k < celestialBodyCount; ++k)
        planets_.push_back(*celestialBodies[k]);

    fill(liveShots_, projectiles);
    fill(spareShots_, spareProjectiles);
    shotValues_.clear();
    for (const Projectile* shot : liveShots_)
        shotValues_.push_back(*shot);

    burning_.clear();
    particles_.clear();
    for (int i = 0; i < entityListCount(explosions); ++i) {
        ParticleSystem* system = entityListPointerAt<ParticleSystem>(explosions, i);
        burning_.push_back({system, system->origin, system->liveCount});
        particles_.insert(particles_.end(), system->particles,
                          system->particles + system->particleCount);
    }
    fill(spareExplosions_, spareExplosions);

    known_.clear();
    known_.insert(known_.end(), liveShots_.begin(), liveShots_.end());
    known_.insert(known_.end(), spareShots_.begin(), spareShots_.end());
    for (const Burning& b : burning_)
        known_.push_back(b.system);
    known_.insert(known_.end(), spareExplosions_.begin(), spareExplosions_.end());
    std::sort(known_.begin(), known_.end());

    rand_ = saveRandState();
    gameRunning_ = gameRunning;
}

void DuelSnapshot::restore() const {
    for (int s = 0; s < shipCount; ++s)
        *ships[s] = ships_[s];
    for (int k = 0; k < celestialBodyCount; ++k)
        *celestialBodies[k] = planets_[k];

    // Objects are never freed and only move between their two lists or are made
    // anew, so an unchanged total means there is no new one to find.
    std::vector<void*> newShots, newSystems;
    if (static_cast<size_t>(entityListCount(projectiles) + entityListCount(spareProjectiles)) !=
        liveShots_.size() + spareShots_.size())
        collectUnknown(newShots, known_, {projectiles, spareProjectiles});
    if (static_cast<size_t>(entityListCount(explosions) + entityListCount(spareExplosions)) !=
        burning_.size() + spareExplosions_.size())
        collectUnknown(newSystems, known_, {explosions, spareExplosions});

    refill(projectiles, liveShots_);
    for (size_t i = 0; i < liveShots_.size(); ++i)
        *liveShots_[i] = shotValues_[i];
    refill(spareProjectiles, spareShots_);
    for (void* shot : newShots)
        entityListAppendPointer(spareProjectiles, shot);

    explosions->count = 0;
    const Particle* saved = particles_.data();
    for (const Burning& b : burning_) {
        b.system->origin = b.origin;
        b.system->liveCount = b.liveCount;
        std::copy(saved, saved + b.system->particleCount, b.system->particles);
        saved += b.system->particleCount;
        entityListAppendPointer(explosions, b.system);
    }
    refill(spareExplosions, spareExplosions_);
    for (void* system : newSystems)
        entityListAppendPointer(spareExplosions, system);

    restoreRandState(rand_);
    gameRunning = gameRunning_;
}
