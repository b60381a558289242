// The duel's step, in the game's order.
#include "world/duel_step.h"

#include "world/contact_rules.h"
#include "world/step_events.h"
#include "world/world_update.h"

void runDuelStep(const StepInput& input, float particleMs) {
    clearStepEvents();
    applyStepInput(input);
    resolveCollisions(DUEL_STEP_MS);
    updateWorld(DUEL_STEP_MS, particleMs);
}
