// Where a shot meets a moving ship: the direction to fire along so that a shot
// leaving at the shooter's velocity plus its launch speed along the nose reaches the
// target, and how close a shot already on its way passes by it.
#pragma once

#include "math/vec3.h"

// A body's motion as a pilot predicts it: place, velocity (units per ms) and a steady
// acceleration (units per ms squared).
struct Motion {
    Vec3 position;
    Vec3 velocity;
    Vec3 acceleration;

    Vec3 at(float t) const { return position + velocity * t + acceleration * (0.5f * t * t); }
};

struct Lead {
    // False when no shot can catch the target within maxTime (it runs away faster
    // than the shots fly); direction then points where it will be at maxTime.
    bool reachable;
    // Milliseconds from firing to meeting.
    float time;
    // Unit vector to fire along.
    Vec3 direction;
};

// The shot leaves `shooter`'s place with its velocity plus launchSpeed along the
// direction.
Lead solveLead(const Motion& shooter, const Motion& target, float launchSpeed, float maxTime);

struct Pass {
    // Milliseconds from now to the closest approach, within [0, maxTime].
    float time;
    // The target's place minus the shot's at that time.
    Vec3 offset;
};

// The closest approach of a shot flying straight at `shotVelocity` from `shotPosition`
// to the target, within maxTime.
Pass closestPass(const Vec3& shotPosition, const Vec3& shotVelocity, const Motion& target,
                 float maxTime);

// Whether a straight path from `from` at `velocity` for `time` ms comes within
// `margin` of any planet's surface.
bool pathMeetsPlanet(const Vec3& from, const Vec3& velocity, float time, float margin);
