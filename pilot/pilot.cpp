// The computer pilot's looks, steering, thrust and trigger.
#include "pilot/pilot.h"

#include "pilot/steering.h"
#include "world/celestial_body.h"
#include "world/duel_step.h"
#include "world/entity_list.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"
#include "world/world_update.h"

#include <algorithm>
#include <cmath>

namespace {

const PilotSkill SKILLS[PILOT_LEVELS] = {
    // A beginner: sees the duel three times a second, aims a few degrees off, taps
    // fire about once a second when the shot looks roughly right, and flies slowly.
    {25, 4.0f, 80, 2.0f, false, false, 0.004f, 8.0f},
    // A fair duel.
    {12, 1.0f, 30, 1.0f, false, true, 0.005f, 9.0f},
    // Hard: every step, on target, a shot every fifth of a second that will hit.
    {1, 0.0f, 20, 0.7f, true, true, 0.006f, 10.0f},
};

// The ship's box half extents with a shot's half size added: how far a shot's centre
// may pass from the ship's centre along each of its axes and still hit.
const Vec3 HIT_REACH(0.7f, 0.45f, 0.7f);

// Planets and the edge are looked for this far ahead along the ship's path (ms).
constexpr float SAFETY_HORIZON = 5000.0f;
// Clear space kept above a planet's surface.
constexpr float PLANET_MARGIN = 6.0f;
// Where the pilot turns back from the edge, inside the ±70 at which a ship is put back
// at the origin.
constexpr float EDGE = 58.0f;
// Beyond this distance from the origin the pilot is drawn back towards it.
constexpr float HOME_RADIUS = 35.0f;

Vec3 unit(const Vec3& v) {
    const float l = v.length();
    return l > 0.0f ? v * (1.0f / l) : Vec3(0, 0, 0);
}

// The nose points along push or against it, whichever is nearer: thrust pushes both
// ways.
Vec3 alongOrAgainst(const Vec3& push, const Vec3& nose) {
    return dot(push, nose) >= 0.0f ? push : push * -1.0f;
}

Vec3 noseOf(const Body& b) { return b.back * -1.0f; }

bool inArena(const Vec3& p) {
    for (int i = 0; i < 3; ++i)
        if (!(std::fabs(p[i]) < ARENA_HALF_SIZE - 1.0f))
            return false;
    return true;
}

} // namespace

const PilotSkill& pilotSkill(int level) { return SKILLS[std::clamp(level, 1, PILOT_LEVELS) - 1]; }

Pilot::Pilot(int ship, int level, uint32_t seed, bool leadsShots)
    : ship_(ship), level_(std::clamp(level, 1, PILOT_LEVELS)), skill_(pilotSkill(level)),
      leads_(leadsShots), random_(seed * 2654435761u + static_cast<uint32_t>(ship * 3 + level)) {}

float Pilot::uniform() {
    // 24 bits of the generator's word: exactly representable, the same everywhere.
    return static_cast<float>(random_() >> 8) * (1.0f / 16777216.0f);
}

Motion Pilot::foeMotion() const {
    const Ship& foe = *ships[1 - ship_];
    Motion m{foe.position, foe.velocity, Vec3(0, 0, 0)};
    if (!leads_)
        m.velocity = Vec3(0, 0, 0);
    else if (skill_.predictsAcceleration && seen_ >= HISTORY) {
        // The velocity gained over the remembered steps, per ms squared; the oldest
        // entry is the next to be overwritten.
        const Vec3 oldest = foeVelocities_[seen_ % HISTORY];
        m.acceleration = (foe.velocity - oldest) * (1.0f / ((HISTORY - 1) * DUEL_STEP_MS));
    }
    return m;
}

Vec3 Pilot::safetyPush() const {
    const Ship& me = *ships[ship_];
    const Vec3 p = me.position;
    const Vec3 v = me.velocity;
    const float vv = dot(v, v);
    Vec3 push(0, 0, 0);
    for (int k = 0; k < celestialBodyCount; ++k) {
        const CelestialBody& planet = *celestialBodies[k];
        const Vec3 rel = p - planet.position;
        const float t = vv > 0.0f ? std::clamp(-dot(rel, v) / vv, 0.0f, SAFETY_HORIZON) : 0.0f;
        const Vec3 closest = rel + v * t;
        const float reach = planet.getRadius() + PLANET_MARGIN;
        const float d = closest.length();
        if (d >= reach)
            continue;
        // Sideways off the path, harder the deeper the path goes, and braking the
        // sooner it gets there.
        Vec3 side = closest - unit(v) * dot(closest, unit(v));
        if (side.length() < 0.5f)
            side = Vec3(-v.z, 0.3f * v.x, v.x + 0.001f);
        const float depth = std::min(1.0f, (reach - d) / PLANET_MARGIN);
        const float urgency = 1.0f - t / SAFETY_HORIZON;
        // Braking needs no turn when the nose lies along the path (chasing past a
        // planet, it does), so it weighs as much as the way round.
        push += unit(side) * depth + unit(v) * (-0.5f - urgency);
    }
    float back[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const float ahead = p[i] + v[i] * SAFETY_HORIZON;
        if (ahead > EDGE || p[i] > EDGE)
            back[i] = -1.0f;
        else if (ahead < -EDGE || p[i] < -EDGE)
            back[i] = 1.0f;
    }
    push += Vec3(back[0], back[1], back[2]);
    if (std::sqrt(vv) > skill_.cruiseSpeed * 1.2f)
        push += unit(v) * -0.5f;
    return push;
}

Vec3 Pilot::wantedVelocityChange() const {
    const Ship& me = *ships[ship_];
    const Ship& foe = *ships[1 - ship_];
    Vec3 wanted;
    if (foeOutruns()) {
        // It will run off the edge and be put back at the origin, still moving as
        // before, and cannot be caught on the way: wait a little ahead of the origin
        // on its line, to one side.
        const Vec3 side = unit(cross(foe.velocity, Vec3(0.3f, 1.0f, 0.2f))) * 12.0f;
        const Vec3 d = foe.velocity * 1500.0f + side - me.position;
        wanted = unit(d) * std::min(d.length() * 0.0004f, skill_.cruiseSpeed);
    } else {
        const Vec3 r = foe.position - me.position;
        const float range = r.length();
        // Keep pace with the other ship and close in (or fall back) towards the range.
        const float closing = std::clamp((range - skill_.engageRange) * 0.0004f, -0.003f, 0.004f);
        wanted = foe.velocity + unit(r) * closing;
    }
    // Far out, drift back towards the middle: a ship that runs off the edge comes back
    // at the origin, and the edge is no place to wait for it.
    const float out = me.position.length();
    if (out > HOME_RADIUS)
        wanted += me.position * (-0.0001f * (out - HOME_RADIUS) / out);
    const float speed = wanted.length();
    if (speed > skill_.cruiseSpeed)
        wanted = wanted * (skill_.cruiseSpeed / speed);
    return wanted - me.velocity;
}

bool Pilot::headOn() const {
    const Ship& me = *ships[ship_];
    const Ship& other = *ships[1 - ship_];
    const Vec3 los = unit(other.position - me.position);
    const Vec3 lateral =
        (other.velocity - me.velocity) - los * dot(other.velocity - me.velocity, los);
    if (!(dot(noseOf(other), los) < -0.998f && dot(noseOf(me), los) > 0.998f &&
          lateral.length() < 0.0015f))
        return false;
    // Only when its own shots do not outnumber the other's: then they are all met.
    int mine = 0;
    int theirs = 0;
    for (int i = 0; i < entityListCount(projectiles); ++i) {
        const Ship* owner = entityListPointerAt<Projectile>(projectiles, i)->getOwner();
        mine += owner == &me;
        theirs += owner == &other;
    }
    return theirs >= mine;
}

bool Pilot::foeOutruns() const {
    const Ship& foe = *ships[1 - ship_];
    return foe.velocity.length() > skill_.cruiseSpeed &&
           !inArena(foe.position + foe.velocity * 6000.0f);
}

bool Pilot::findThreat(Vec3& dodge, Motion& threat, float& time) const {
    const Ship& me = *ships[ship_];
    const Motion self{me.position, me.velocity, Vec3(0, 0, 0)};
    float soonest = 2500.0f;
    bool found = false;
    for (int i = 0; i < entityListCount(projectiles); ++i) {
        const Projectile* shot = entityListPointerAt<Projectile>(projectiles, i);
        if (shot->getOwner() == &me)
            continue;
        const Pass pass = closestPass(shot->position, shot->velocity, self,
                                      std::min(shot->getLifetime(), 2500.0f));
        if (pass.offset.length() > 1.5f || pass.time >= soonest || pass.time <= 0.0f)
            continue;
        soonest = pass.time;
        time = pass.time;
        found = true;
        threat = Motion{shot->position, shot->velocity, Vec3(0, 0, 0)};
        // Away from the shot's line.
        const Vec3 along = unit(shot->velocity - me.velocity);
        dodge = pass.offset - along * dot(pass.offset, along);
        if (dodge.length() < 0.05f)
            dodge = cross(along, me.up);
        dodge = unit(dodge);
    }
    return found;
}

Vec3 Pilot::noisy(const Vec3& aim) {
    if (skill_.aimNoiseDegrees <= 0.0f)
        return aim;
    Vec3 across = cross(aim, Vec3(0, 1, 0));
    if (across.length() < 0.1f)
        across = cross(aim, Vec3(1, 0, 0));
    across = unit(across);
    const Vec3 other = cross(aim, across);
    // A point in the unit disc, by rejection.
    float u = 0.0f, w = 0.0f;
    do {
        u = 2.0f * uniform() - 1.0f;
        w = 2.0f * uniform() - 1.0f;
    } while (u * u + w * w > 1.0f);
    const float spread = skill_.aimNoiseDegrees * 0.017453292f;
    return unit(aim + (across * u + other * w) * spread);
}

void Pilot::look() {
    const Ship& me = *ships[ship_];
    const Vec3 nose = noseOf(me);
    const Vec3 safety = safetyPush();
    hasThreat_ = false;
    if (safety.length() > 0.2f) {
        mode_ = Mode::Avoid;
        push_ = unit(safety);
        goal_ = alongOrAgainst(push_, nose);
        return;
    }
    Vec3 dodge;
    Motion threat;
    float threatTime = 0.0f;
    if (skill_.evades && findThreat(dodge, threat, threatTime)) {
        // A shot that can be met head on is shot down; one that cannot is dodged.
        const Lead meet = solveLead(Motion{me.position, me.velocity, Vec3(0, 0, 0)}, threat,
                                    projectileTemplates[0]->getLaunchSpeed(), 2000.0f);
        if (meet.reachable && dot(meet.direction, nose) > 0.97f) {
            hasThreat_ = true;
            threat_ = threat;
            mode_ = Mode::Attack;
            goal_ = meet.direction;
            push_ = Vec3(0, 0, 0);
            return;
        }
        if (threatTime > 1500.0f) {
            mode_ = Mode::Evade;
            push_ = dodge;
            goal_ = alongOrAgainst(push_, nose);
            return;
        }
    }
    if (skill_.evades && sidestep_ > 0) {
        --sidestep_;
        mode_ = Mode::Evade;
        push_ = sideways_;
        goal_ = alongOrAgainst(push_, nose);
        return;
    }
    if (skill_.evades && headOn()) {
        // Nose to nose, every shot meets one coming the other way: slide off the line.
        const Ship& other = *ships[1 - ship_];
        const Vec3 los = unit(other.position - me.position);
        Vec3 side = cross(los, uniform() < 0.5f ? me.up : me.right);
        if (uniform() < 0.5f)
            side = side * -1.0f;
        sideways_ = unit(side);
        sidestep_ = 150 / skill_.reactionSteps;
    }
    const Vec3 change = wantedVelocityChange();
    const float need = change.length();
    if (need > 0.004f || (mode_ == Mode::Chase && need > 0.0015f)) {
        mode_ = Mode::Chase;
        push_ = unit(change);
        goal_ = alongOrAgainst(push_, nose);
        return;
    }
    mode_ = Mode::Attack;
    const Ship& foe = *ships[1 - ship_];
    if (foeOutruns() && !inArena(foe.position + foe.velocity * 2500.0f)) {
        // Face where it will come back, before it does: aimed as if it were already
        // there.
        const Motion back{Vec3(0, 0, 0), foe.velocity, Vec3(0, 0, 0)};
        goal_ = solveLead(Motion{me.position, me.velocity, Vec3(0, 0, 0)}, back,
                          projectileTemplates[0]->getLaunchSpeed(), 3000.0f)
                    .direction;
        push_ = need > 0.0005f ? unit(change) : Vec3(0, 0, 0);
        return;
    }
    const Lead lead =
        solveLead(Motion{me.position, me.velocity, Vec3(0, 0, 0)}, foeMotion(),
                  projectileTemplates[0]->getLaunchSpeed(), projectileTemplates[0]->getLifetime());
    goal_ = noisy(lead.direction);
    push_ = need > 0.0005f ? unit(change) : Vec3(0, 0, 0);
}

bool Pilot::gunOn(uint8_t channels) const {
    const Ship& me = *ships[ship_];
    const Ship& foe = *ships[1 - ship_];
    // The ship as this step's steering will leave it: the turn comes before the shot.
    Ship probe = me;
    for (int i = 0; i < 8; ++i)
        if (channels & (1u << i))
            probe.controls.press(ControlState::CHANNELS[i]);
    probe.Body::steer();
    const Projectile& shot = *projectileTemplates[0];
    const Vec3 velocity = probe.velocity + noseOf(probe) * shot.getLaunchSpeed();
    if (hasThreat_) {
        // The shot seen at the last look has flown on since.
        const float since = static_cast<float>(steps_ - lookStep_) * DUEL_STEP_MS;
        const Motion now{threat_.at(since), threat_.velocity, Vec3(0, 0, 0)};
        const Pass pass = closestPass(me.position, velocity, now, 2000.0f);
        const Vec3 o = pass.offset;
        if (std::fabs(o.x) < 0.3f && std::fabs(o.y) < 0.3f && std::fabs(o.z) < 0.3f)
            return true;
    }
    const Motion target = foeMotion();
    const Pass pass = closestPass(me.position, velocity, target, shot.getLifetime());
    const float tol = skill_.fireTolerance;
    const Vec3& o = pass.offset;
    if (std::fabs(dot(o, foe.right)) > HIT_REACH.x * tol ||
        std::fabs(dot(o, foe.up)) > HIT_REACH.y * tol ||
        std::fabs(dot(o, foe.back)) > HIT_REACH.z * tol)
        return false;
    // The other ship must still be in the arena when the shot gets there, and no
    // planet may stand in the way.
    return inArena(target.at(pass.time)) &&
           !pathMeetsPlanet(me.position, velocity, pass.time, 0.3f);
}

ShipInput Pilot::decide() {
    const Ship& me = *ships[ship_];
    const Ship& foe = *ships[1 - ship_];
    foeVelocities_[seen_ % HISTORY] = foe.velocity;
    ++seen_;
    if (steps_ >= nextLook_) {
        lookStep_ = steps_;
        look();
        // A little unevenness in when it looks again, as a person's.
        nextLook_ = steps_ + skill_.reactionSteps +
                    static_cast<long>(uniform() * static_cast<float>(skill_.reactionSteps / 2));
    }
    ShipInput input;
    const Vec3 nose = noseOf(me);
    input.channels = turnChannels(noseError(me.right, me.up, me.back, goal_), me.controls);
    // Thrust when the nose lies along the wanted push, either way round.
    const float along = dot(nose, push_);
    uint8_t thrust = 0;
    if (along > 0.85f)
        thrust = THRUST_FORWARD_BIT;
    else if (along < -0.85f)
        thrust = THRUST_REVERSE_BIT;
    input.channels |= thrust;
    if (steps_ - lastShot_ >= skill_.fireIntervalSteps && gunOn(input.channels)) {
        input.fire = true;
        lastShot_ = steps_;
    }
    ++steps_;
    return input;
}
