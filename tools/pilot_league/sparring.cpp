// A ship that sits still, one that flies straight across, one that circles, one that
// turns away when aimed at, and the computer pilot behind the same face.
#include "sparring.h"

#include "pilot/pilot.h"
#include "pilot/steering.h"
#include "world/ship.h"
#include "world/world.h"

#include <random>

namespace {

class Still : public Contender {
public:
    ShipInput decide() override { return ShipInput{}; }
};

// Turns onto a heading of its seed for its first steps, then holds thrust for good:
// it crosses the arena at top speed, is put back at the origin and crosses again.
class Straight : public Contender {
public:
    explicit Straight(uint32_t seed) {
        std::mt19937 random(seed);
        yawSteps_ = static_cast<int>(random() % 60);
        pitchSteps_ = static_cast<int>(random() % 30);
        yawBit_ = random() % 2 ? YAW_LEFT_BIT : YAW_RIGHT_BIT;
        pitchBit_ = random() % 2 ? PITCH_UP_BIT : PITCH_DOWN_BIT;
    }
    ShipInput decide() override {
        ShipInput in;
        if (step_ < yawSteps_)
            in.channels |= yawBit_;
        if (step_ < pitchSteps_)
            in.channels |= pitchBit_;
        if (step_ >= yawSteps_ && step_ >= pitchSteps_)
            in.channels |= THRUST_FORWARD_BIT;
        ++step_;
        return in;
    }

private:
    int step_ = 0;
    int yawSteps_, pitchSteps_;
    uint8_t yawBit_, pitchBit_;
};

// Full thrust with the yaw held for part of every twenty steps: a steady circle some
// twenty units across, its size and sense from the seed.
class Circling : public Contender {
public:
    explicit Circling(uint32_t seed) {
        std::mt19937 random(seed);
        heldSteps_ = 11 + static_cast<int>(random() % 6);
        yawBit_ = random() % 2 ? YAW_LEFT_BIT : YAW_RIGHT_BIT;
    }
    ShipInput decide() override {
        ShipInput in;
        in.channels = THRUST_FORWARD_BIT;
        if (step_ % 20 < heldSteps_)
            in.channels |= yawBit_;
        ++step_;
        return in;
    }

private:
    int step_ = 0;
    int heldSteps_;
    uint8_t yawBit_;
};

// Drifts until the other ship's nose points at it (within 12 degrees), then turns its
// nose away from the other ship and thrusts, for a while after it is no longer aimed at.
class Turning : public Contender {
public:
    Turning(int ship, uint32_t seed) : ship_(ship), random_(seed) {}
    ShipInput decide() override {
        const Ship& me = *ships[ship_];
        const Ship& other = *ships[1 - ship_];
        Vec3 away = me.position - other.position;
        const float range = away.length();
        if (range > 0.0f)
            away = away * (1.0f / range);
        const Vec3 otherNose = other.back * -1.0f;
        if (dot(otherNose, away) > 0.978f)
            fleeing_ = 150 + static_cast<int>(random_() % 100);
        ShipInput in;
        if (fleeing_ > 0) {
            --fleeing_;
            in.channels = turnChannels(noseError(me.right, me.up, me.back, away), me.controls);
            if (dot(me.back * -1.0f, away) > 0.8f)
                in.channels |= THRUST_FORWARD_BIT;
        }
        return in;
    }

private:
    int ship_;
    std::mt19937 random_;
    int fleeing_ = 0;
};

// A beginner's stand-in: turns its nose onto the other ship where it is now (no lead,
// no thrust) and taps fire twice a second while the nose is within two degrees.
class Aimer : public Contender {
public:
    explicit Aimer(int ship) : ship_(ship) {}
    ShipInput decide() override {
        const Ship& me = *ships[ship_];
        const Vec3 to = ships[1 - ship_]->position - me.position;
        const float range = to.length();
        ShipInput in;
        in.channels = turnChannels(noseError(me.right, me.up, me.back, to), me.controls);
        if (++sinceShot_ >= 50 && range > 0.0f && dot(me.back * -1.0f, to) > 0.99939f * range) {
            in.fire = true;
            sinceShot_ = 0;
        }
        return in;
    }

private:
    int ship_;
    int sinceShot_ = 0;
};

class PilotContender : public Contender {
public:
    PilotContender(int ship, int level, uint32_t seed) : pilot_(ship, level, seed) {}
    ShipInput decide() override { return pilot_.decide(); }

private:
    Pilot pilot_;
};

} // namespace

const std::vector<std::string>& contenderNames() {
    static const std::vector<std::string> names{"still", "straight", "circling", "turning",
                                                "aimer", "level1",   "level2",   "level3"};
    return names;
}

std::unique_ptr<Contender> makeContender(const std::string& name, int ship, uint32_t seed) {
    if (name == "still")
        return std::make_unique<Still>();
    if (name == "straight")
        return std::make_unique<Straight>(seed);
    if (name == "circling")
        return std::make_unique<Circling>(seed);
    if (name == "turning")
        return std::make_unique<Turning>(ship, seed);
    if (name == "aimer")
        return std::make_unique<Aimer>(ship);
    for (int level = 1; level <= PILOT_LEVELS; ++level)
        if (name == "level" + std::to_string(level))
            return std::make_unique<PilotContender>(ship, level, seed);
    return nullptr;
}
