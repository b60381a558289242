// The duel's step, in the game's order.
#include "world/duel_step.h"

#include "world/contact_rules.h"
#include "world/entity_list.h"
#include "world/particle_system.h"
#include "world/step_events.h"
#include "world/world_update.h"

void runDuelStep(const StepInput& input) {
    clearStepEvents();
    applyStepInput(input);
    resolveCollisions(DUEL_STEP_MS);
    updateWorld(DUEL_STEP_MS);
}

void retireBurntOutExplosions() {
    for (int i = entityListCount(explosions) - 1; i >= 0; --i) {
        ParticleSystem* system = entityListPointerAt<ParticleSystem>(explosions, i);
        if (system->liveCount <= 0)
            retireExplosion(system);
    }
}
