// Contact rules. The passes walk the live shots by index and retire shots as they
// go; a retirement moves the later shots down one place, so the index then stays.
#include "world/contact_rules.h"

#include "world/celestial_body.h"
#include "world/collision.h"
#include "world/entity_list.h"
#include "world/near_pairs.h"
#include "world/out_of_memory.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/step_events.h"
#include "world/world.h"

#include <new>
#include <vector>

int hitFlash[2];

namespace {

Projectile* shotAt(int i) { return entityListPointerAt<Projectile>(projectiles, i); }

// The placed boxes of the live shots, index for index. Each shot is placed once per
// pass rather than once per pair it takes part in.
OrientedBox* placedShotBoxes = nullptr;
int placedShotCapacity = 0;

OrientedBox* placeShots(float step) {
    const int count = entityListCount(projectiles);
    if (count > placedShotCapacity) {
        delete[] placedShotBoxes;
        placedShotCapacity = count + count / 2;
        placedShotBoxes = new (std::nothrow) OrientedBox[placedShotCapacity];
        // Without room for the boxes no contact can be tested: the program ends.
        if (!placedShotBoxes)
            outOfMemory("room for the shots' contact boxes");
    }
    for (int i = 0; i < count; ++i)
        placedShotBoxes[i] = shotAt(i)->worldBoxAfter(step);
    return placedShotBoxes;
}

void removePlaced(OrientedBox* placed, int& count, int i) {
    for (int k = i; k + 1 < count; ++k)
        placed[k] = placed[k + 1];
    --count;
}

// Shots that meet burst together, with one explosion midway. Each shot in firing
// order bursts with the first later shot it meets that is still flying; one that has
// burst meets nothing more. Only the near pairs are tested (the rest cannot meet),
// in the order the pairs of the list would be. The placed boxes of the burst shots
// are then taken out, so that the list and the boxes stay index for index.
void shotsAgainstShots(OrientedBox* placed, int& count) {
    static std::vector<BoxPair> near;
    static std::vector<Projectile*> shots;
    static std::vector<char> burst;
    findNearPairs(placed, count, near);
    if (near.empty())
        return;
    shots.resize(count);
    burst.assign(count, 0);
    for (int i = 0; i < count; ++i)
        shots[i] = shotAt(i);
    bool anyBurst = false;
    for (const BoxPair& pair : near) {
        const int i = pair.first;
        const int j = pair.second;
        if (burst[i] || burst[j] || !boxesOverlap(placed[i], placed[j]))
            continue;
        spawnExplosion(0.5f * (placed[i].centre + placed[j].centre));
        retireProjectile(shots[i]);
        retireProjectile(shots[j]);
        burst[i] = burst[j] = 1;
        anyBurst = true;
    }
    if (!anyBurst)
        return;
    int kept = 0;
    for (int i = 0; i < count; ++i)
        if (!burst[i])
            placed[kept++] = placed[i];
    count = kept;
}

// A shot that reaches a planet bursts there; the planet is not moved. The shots keep
// the boxes placed for the pass before: nothing has moved them since.
void shotsAgainstPlanets(float step, OrientedBox* placed, int& count) {
    for (int k = 0; k < celestialBodyCount; ++k) {
        CelestialBody* planet = celestialBodies[k];
        const float radius = planet->getRadius();
        const Vec3 centre = planet->positionAfter(step);
        int j = 0;
        while (j < count) {
            if (boxTouchesSphere(placed[j], centre, radius)) {
                spawnExplosion(placed[j].centre);
                retireProjectile(shotAt(j));
                removePlaced(placed, count, j);
            } else {
                ++j;
            }
        }
    }
}

// Ship s bounces off planets, swaps velocities with a later ship it touches, and is
// hit by the other ship's shots. The shots are taken where they are now, the ship
// where it will be.
void shipContacts(int s, float step) {
    Ship* ship = ships[s];
    const OrientedBox placed = ship->worldBoxAfter(step);

    for (int k = 0; k < celestialBodyCount; ++k) {
        CelestialBody* planet = celestialBodies[k];
        if (boxTouchesSphere(placed, planet->positionAfter(step), planet->getRadius()))
            bounceOff(*ship, *planet);
    }

    for (int t = s + 1; t < shipCount; ++t)
        if (boxesOverlap(placed, ships[t]->worldBoxAfter(step)))
            exchangeVelocities(*ship, *ships[t]);

    int j = 0;
    while (j < entityListCount(projectiles)) {
        Projectile* shot = shotAt(j);
        if (shot->getOwner() == ship) {
            ++j;
            continue;
        }
        // A shot far from the ship is passed by before its box is placed, on the
        // numbers the box test would leave on at once.
        if (boxesFarApart(placed.centre, placed.halfExtents, shot->position,
                          shot->box.halfExtents)) {
            ++j;
            continue;
        }
        const OrientedBox p = shot->worldBox();
        if (!boxesOverlap(placed, p)) {
            ++j;
            continue;
        }
        hitFlash[s] = HIT_FLASH_STEPS;
        noteHit(s);
        mergeVelocities(*ship, *shot);
        ship->health -= HIT_DAMAGE;
        const Vec3 midway = 0.5f * (placed.centre + p.centre);
        retireProjectile(shot);
        spawnExplosion(midway);
    }
}

} // namespace

void resolveCollisions(float step) {
    OrientedBox* placed = placeShots(step);
    int count = entityListCount(projectiles);
    shotsAgainstShots(placed, count);
    shotsAgainstPlanets(step, placed, count);
    for (int s = 0; s < shipCount; ++s)
        shipContacts(s, step);
}

void mergeVelocities(Body& a, Body& b) {
    const float ma = a.getMass();
    const float mb = b.getMass();
    const float sum = ma + mb;
    const Vec3 merged = (ma / sum) * a.velocity + (mb / sum) * b.velocity;
    a.velocity = merged;
    b.velocity = merged;
}

void bounceOff(Body& x, const CelestialBody& k) {
    const Vec3 u = x.velocity - k.velocity;
    const Vec3 n = x.position - k.position;
    const float nn = dot(n, n);
    // Coincident centres give no normal to reflect about; dividing by zero would
    // make the velocity not-a-number for good.
    if (nn == 0.0f)
        return;
    x.velocity = k.velocity + u - (2.0f * (dot(u, n) / nn)) * n;
}

void exchangeVelocities(Body& a, Body& b) {
    const float ma = a.getMass();
    const float mb = b.getMass();
    const float sum = ma + mb;
    const Vec3 va = a.velocity;
    const Vec3 vb = b.velocity;
    a.velocity = ((ma - mb) / sum) * va + (2.0f * mb / sum) * vb;
    b.velocity = ((mb - ma) / sum) * vb + (2.0f * ma / sum) * va;
}
