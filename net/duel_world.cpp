// Running the duel for an online session.
#include "net/duel_world.h"

#include "world/contact_rules.h"
#include "world/duel_step.h"
#include "world/entity_list.h"
#include "world/world_update.h"

#include <algorithm>

DuelWorld::DuelWorld(int states, bool drawn, Listener listener)
    : states_(static_cast<size_t>(states)), heard_(static_cast<size_t>(states)), drawn_(drawn),
      listener_(listener) {}

void DuelWorld::save(uint32_t step) { states_[step % states_.size()].save(); }

void DuelWorld::load(uint32_t step) { states_[step % states_.size()].restore(); }

StepEvents unheardEvents(const StepEvents& now, const StepEvents& before) {
    StepEvents out;
    for (int s = 0; s < MAX_SHIPS; ++s) {
        out.shotsFired[s] = std::max(0, now.shotsFired[s] - before.shotsFired[s]);
        out.hits[s] = std::max(0, now.hits[s] - before.hits[s]);
    }
    // The explosions of a step start in a fixed order: those past the ones heard are
    // the new ones.
    out.explosionCount = std::max(0, now.explosionCount - before.explosionCount);
    for (int e = 0; e < out.explosionCount && e < StepEvents::MAX_EXPLOSIONS; ++e) {
        const int from = before.explosionCount + e;
        out.explosionAt[e] = now.explosionAt[std::min(from, StepEvents::MAX_EXPLOSIONS - 1)];
    }
    return out;
}

namespace {

StepEvents mostOfBoth(const StepEvents& a, const StepEvents& b) {
    StepEvents out = a.explosionCount >= b.explosionCount ? a : b;
    for (int s = 0; s < MAX_SHIPS; ++s) {
        out.shotsFired[s] = std::max(a.shotsFired[s], b.shotsFired[s]);
        out.hits[s] = std::max(a.hits[s], b.hits[s]);
    }
    return out;
}

} // namespace

void DuelWorld::run(uint32_t step, const StepInput& input, bool again) {
    Heard& heard = heard_[step % heard_.size()];
    if (heard.step != step) {
        heard.step = step;
        heard.events = StepEvents{};
    }
    int flash[2] = {hitFlash[0], hitFlash[1]};
    if (again) {
        runDuelStep(input, 0.0f);
        particlesHeldMs_ += DUEL_STEP_MS;
    } else {
        runDuelStep(input, DUEL_STEP_MS + particlesHeldMs_);
        particlesHeldMs_ = 0.0f;
    }
    if (!drawn_)
        retireBurntOutExplosions();
    if (again) {
        for (int s = 0; s < 2; ++s)
            if (stepEvents.hits[s] > 0 && heard.events.hits[s] > 0)
                hitFlash[s] = flash[s];
    }
    if (listener_)
        listener_(unheardEvents(stepEvents, heard.events), gameRunning);
    heard.events = mostOfBoth(heard.events, stepEvents);
}

uint64_t DuelWorld::hash() { return duelStateHash(); }

bool DuelWorld::running() { return gameRunning; }
