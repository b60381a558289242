// Lead and closest approach, in the shooter's frame of motion.
#include "pilot/lead.h"

#include "world/celestial_body.h"
#include "world/world.h"

#include <algorithm>
#include <cmath>

namespace {

// The least t >= 0 with |r + w t| = s t, or a negative number when there is none.
float meetingTime(const Vec3& r, const Vec3& w, float s) {
    const float a = dot(w, w) - s * s;
    const float b = 2.0f * dot(r, w);
    const float c = dot(r, r);
    if (std::fabs(a) < 1e-12f)
        return b < 0.0f ? -c / b : -1.0f;
    const float disc = b * b - 4.0f * a * c;
    if (disc < 0.0f)
        return -1.0f;
    const float root = std::sqrt(disc);
    const float t1 = (-b - root) / (2.0f * a);
    const float t2 = (-b + root) / (2.0f * a);
    const float lo = std::min(t1, t2);
    const float hi = std::max(t1, t2);
    return lo >= 0.0f ? lo : hi;
}

Vec3 unit(const Vec3& v) {
    const float l = v.length();
    return l > 0.0f ? v * (1.0f / l) : Vec3(0, 0, -1);
}

} // namespace

Lead solveLead(const Motion& shooter, const Motion& target, float launchSpeed, float maxTime) {
    // Relative to the shooter's velocity the shot flies at launchSpeed, and only the
    // target's relative motion matters.
    const Vec3 r = target.position - shooter.position;
    const Vec3 w = target.velocity - shooter.velocity;
    float t = meetingTime(r, w, launchSpeed);
    if (t < 0.0f || t > maxTime)
        return Lead{false, maxTime,
                    unit(r + w * maxTime + target.acceleration * (0.5f * maxTime * maxTime))};
    // The acceleration bends the meeting point: a few rounds of "where will it be when
    // a shot could be there" settle it.
    for (int i = 0; i < 3; ++i) {
        const Vec3 p = r + w * t + target.acceleration * (0.5f * t * t);
        t = p.length() / launchSpeed;
    }
    const Vec3 p = r + w * t + target.acceleration * (0.5f * t * t);
    return Lead{t <= maxTime, t, unit(p)};
}

Pass closestPass(const Vec3& shotPosition, const Vec3& shotVelocity, const Motion& target,
                 float maxTime) {
    const Vec3 r = target.position - shotPosition;
    const Vec3 w = target.velocity - shotVelocity;
    const Vec3& a = target.acceleration;
    const float ww = dot(w, w);
    float t = ww > 0.0f ? std::clamp(-dot(r, w) / ww, 0.0f, maxTime) : 0.0f;
    // Newton's steps on the rate of change of the distance, for the acceleration.
    for (int i = 0; i < 2; ++i) {
        const Vec3 d = r + w * t + a * (0.5f * t * t);
        const Vec3 v = w + a * t;
        const float vv = dot(v, v);
        if (vv <= 0.0f)
            break;
        t = std::clamp(t - dot(d, v) / vv, 0.0f, maxTime);
    }
    return Pass{t, r + w * t + a * (0.5f * t * t)};
}

bool pathMeetsPlanet(const Vec3& from, const Vec3& velocity, float time, float margin) {
    const float vv = dot(velocity, velocity);
    for (int k = 0; k < celestialBodyCount; ++k) {
        const CelestialBody* planet = celestialBodies[k];
        const Vec3 rel = from - planet->position;
        const float t = vv > 0.0f ? std::clamp(-dot(rel, velocity) / vv, 0.0f, time) : 0.0f;
        const float reach = planet->getRadius() + margin;
        const Vec3 closest = rel + velocity * t;
        if (dot(closest, closest) < reach * reach)
            return true;
    }
    return false;
}
