// The world as an online session runs it: a ring of saved duel states to go back to,
// the duel's own step, and what a step made heard and seen only once, however often
// it is run again.
#pragma once

#include "net/rollback_session.h"
#include "world/duel_state.h"
#include "world/step_events.h"

#include <vector>

class DuelWorld : public RollbackWorld {
public:
    // Who hears a step's events (the sound, from a floor this one cannot see), or none.
    using Listener = void (*)(const StepEvents& events, bool running);

    // `states`: how many steps back the session may go, plus one. Without drawing
    // (`drawn` false) burnt-out explosions are retired after every step, as drawing
    // would, so that memory stays bounded.
    DuelWorld(int states, bool drawn, Listener listener);

    void save(uint32_t step) override;
    void load(uint32_t step) override;
    // A step run again plays only the sounds its earlier runs did not (a shot that
    // was not guessed is heard late, one heard is not heard twice), and a hit that
    // had already flashed does not flash anew. It leaves the explosions' particles
    // where they are; the next new step moves them by the time they were held.
    void run(uint32_t step, const StepInput& input, bool again) override;
    uint64_t hash() override;
    bool running() override;

private:
    struct Heard {
        uint32_t step = UINT32_MAX;
        StepEvents events;
    };

    std::vector<DuelSnapshot> states_;
    std::vector<Heard> heard_;
    bool drawn_;
    Listener listener_;
    // Milliseconds of particle motion held by steps run again.
    float particlesHeldMs_ = 0.0f;
};

// What `now` holds beyond `before` (both of one step): the events not yet heard.
StepEvents unheardEvents(const StepEvents& now, const StepEvents& before);
