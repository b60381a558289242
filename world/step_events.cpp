// The record of one step's audible events.
#include "world/step_events.h"

StepEvents stepEvents;

void clearStepEvents() { stepEvents = StepEvents(); }

void noteShotFired(const Ship* ship) {
    for (int s = 0; s < shipCount; ++s)
        if (ships[s] == ship)
            ++stepEvents.shotsFired[s];
}

void noteHit(int ship) { ++stepEvents.hits[ship]; }

void noteExplosion(const Vec3& at) {
    if (stepEvents.explosionCount < StepEvents::MAX_EXPLOSIONS)
        stepEvents.explosionAt[stepEvents.explosionCount] = at;
    // Saturates rather than wraps when nobody clears the record (tests that never step).
    if (stepEvents.explosionCount < 1000000)
        ++stepEvents.explosionCount;
}
