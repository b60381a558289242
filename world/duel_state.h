// The duel state: everything the simulation steps decide and nothing else, so that
// two machines given the same step inputs can compare it.
//
// It holds the ships (place, motion, frame, health, control levels and requests,
// thrust indicator), the planets (place, frame and both spins), the live shots in
// firing order (the contact pass walks them in that order) with their owners and
// lifetimes, and whether the game runs.
//
// Outside it, because drawing writes them too and so they depend on when frames are
// drawn: the explosions and their particles (an explosion leaves its list when it is
// drawn with no live particle), rand's state (the particles draw from it), the hit
// flashes (the overlay counts them down) and every Body::box (scratch, stored by the
// contact pass and by drawing). The view choice is outside it as well: it comes with
// the inputs but belongs to whoever watches. The order of the spare pools is not in
// it either: a reused shot is launched afresh, whichever it is.
#pragma once

#include "world/celestial_body.h"
#include "world/particle_system.h"
#include "world/projectile.h"
#include "world/rand_state.h"
#include "world/ship.h"

#include <cstdint>
#include <vector>

// FNV-1a over the duel state's values (never addresses).
uint64_t duelStateHash();

// The duel state together with the explosions and rand's state, as they were at one
// moment, so that restoring shows no explosion twice and loses none. A snapshot
// belongs to the world it was taken of (setUpWorld makes a new one).
class DuelSnapshot {
public:
    void save();
    // Objects made after the save go to the spare pools, to be reused: a restored
    // explosion keeps its particles, and one started later is rearmed, not made anew.
    void restore() const;

private:
    struct Burning {
        ParticleSystem* system;
        Vec3 origin;
        int liveCount;
    };

    std::vector<Ship> ships_;
    std::vector<CelestialBody> planets_;
    std::vector<Projectile*> liveShots_;
    std::vector<Projectile> shotValues_;
    std::vector<Projectile*> spareShots_;
    std::vector<Burning> burning_;
    std::vector<Particle> particles_;
    std::vector<ParticleSystem*> spareExplosions_;
    // Every shot and explosion known at the save, sorted, to tell the later ones.
    std::vector<const void*> known_;
    RandState rand_{};
    bool gameRunning_ = true;
};
