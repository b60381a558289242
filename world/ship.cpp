// Ship flight: steering with firing, the speed cap and the alive test.
#include "world/ship.h"

#include "world/entity_list.h"
#include "world/step_events.h"

Ship::Ship(int healthIn, int thrustIn, int massIn, int turnRateIn, double maxSpeedIn,
           ModelHandle* modelIn)
    : Body(healthIn, thrustIn, massIn, turnRateIn, maxSpeedIn), model(modelIn), thrustIndicator(0) {
}

bool Ship::update(float step) {
    Body::update(step);
    return health > 0;
}

void Ship::steer() {
    // Read before the body's steering clears the flags.
    thrustIndicator = controls.thrustForward.active - controls.thrustReverse.active;
    Body::steer();
    // After the turn, so the shot leaves along the nose as turned in this step.
    if (controls.fireRequest == 1) {
        fireProjectile(0, this);
        noteShotFired(this);
    }
    controls.clearRequests();
}

void Ship::applyAcceleration() {
    velocity += acceleration;
    const float cap = static_cast<float>(maxSpeed);
    // The cap limits the vector sum: thrust against the motion brakes at the full
    // rate, thrust across it at the cap only turns the velocity.
    if (velocity.length() > cap && maxSpeed > 0.0)
        velocity.setLength(cap);
}
