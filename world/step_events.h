// What the last simulation step did that a player would hear: shots fired, hits
// taken, explosions started. The world only writes this record; whoever listens reads
// it after the step, and the next step starts it afresh.
#pragma once

#include "math/vec3.h"
#include "world/world.h"

class Ship;

struct StepEvents {
    static constexpr int MAX_EXPLOSIONS = 8;

    // Per ship index.
    int shotsFired[MAX_SHIPS] = {};
    int hits[MAX_SHIPS] = {};
    // Every explosion started counts; the places of the first MAX_EXPLOSIONS are kept.
    int explosionCount = 0;
    Vec3 explosionAt[MAX_EXPLOSIONS];
};

extern StepEvents stepEvents;

void clearStepEvents();
// A ship that is not in the ships table (a test's own) is not recorded.
void noteShotFired(const Ship* ship);
void noteHit(int ship);
void noteExplosion(const Vec3& at);
