// The computer pilot: flies one ship through the step input exactly as a player's
// keys do (the same channels with their ramps, the same fire requests), from what a
// pilot sees in the cockpit and on the instruments (both ships' places, velocities
// and axes, its own health, the planets and the live shots) and its own seeded random
// stream, never the C library's or the clock, so that the same seed and the same
// duel give the same choices on every machine.
#pragma once

#include "math/vec3.h"
#include "pilot/lead.h"
#include "world/step_input.h"

#include <cstdint>
#include <random>

// What sets the three levels apart.
struct PilotSkill {
    // Steps between fresh looks at the duel; in between the pilot steers for what it
    // saw last.
    int reactionSteps;
    // How far off its aim may be, in degrees, drawn afresh at each look.
    float aimNoiseDegrees;
    // The fastest it taps fire, in steps.
    int fireIntervalSteps;
    // It fires when the shot is predicted to pass within this share of the hit box.
    float fireTolerance;
    // Whether it reckons with the other ship's acceleration as well as its velocity.
    bool predictsAcceleration;
    // Whether it turns away from shots coming at it and shoots them down.
    bool evades;
    // The speed it keeps below, units per ms (the ships' cap is 0.01).
    float cruiseSpeed;
    // The distance it closes to before it holds off.
    float engageRange;
};

constexpr int PILOT_LEVELS = 3;
// Level 1 to 3.
const PilotSkill& pilotSkill(int level);

class Pilot {
public:
    // Flies ships[ship] against the other ship. A pilot that does not lead its shots
    // aims and fires at where the other ship is now (for measuring what leading
    // is worth).
    Pilot(int ship, int level, uint32_t seed, bool leadsShots = true);

    // This step's input for its ship: called once before each step runs.
    ShipInput decide();

    int level() const { return level_; }
    int ship() const { return ship_; }

private:
    enum class Mode { Attack, Chase, Avoid, Evade };

    void look();
    Motion foeMotion() const;
    Vec3 safetyPush() const;
    Vec3 wantedVelocityChange() const;
    bool foeOutruns() const;
    bool headOn() const;
    bool findThreat(Vec3& dodge, Motion& threat, float& time) const;
    bool gunOn(uint8_t channels) const;
    Vec3 noisy(const Vec3& aim);
    float uniform();

    int ship_;
    int level_;
    PilotSkill skill_;
    bool leads_;
    std::mt19937 random_;
    long steps_ = 0;
    long nextLook_ = 0;
    long lookStep_ = 0;
    long lastShot_ = -100000;
    Mode mode_ = Mode::Attack;
    // Where the nose should point and which way thrust should push, as last decided.
    Vec3 goal_{0, 0, -1};
    Vec3 push_{0, 0, 0};
    // The other ship's velocity over the last steps, for its acceleration.
    static constexpr int HISTORY = 8;
    Vec3 foeVelocities_[HISTORY];
    int seen_ = 0;
    // A shot coming at this ship that it aims to shoot down.
    bool hasThreat_ = false;
    // Looks left of a slide off the line of fire, and its way.
    int sidestep_ = 0;
    Vec3 sideways_{0, 0, 0};
    Motion threat_{};
};
