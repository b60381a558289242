// Body construction, steering, integration and the orientation frame.
#include "world/body.h"

#include "math/frame.h"

Body::Body(int healthIn, int thrustIn, int massIn, int turnRateIn, double maxSpeedIn)
    : position(0, 0, 0), velocity(0, 0, 0), acceleration(0, 0, 0), box(), thrustDirection(0, 0, 0),
      health(healthIn), thrust(thrustIn), mass(massIn), turnRate(turnRateIn), maxSpeed(maxSpeedIn),
      controls(), right(1, 0, 0), up(0, 1, 0), back(0, 0, 1) {}

void Body::print() const {
    velocity.print();
    position.print();
}

bool Body::update(float step) {
    position.x += velocity.x * step;
    position.y += velocity.y * step;
    position.z += velocity.z * step;
    return true;
}

void Body::steer() {
    // Turning follows the levels of this step: there is no angular inertia.
    const float yaw = turnRate * (controls.yawLeft.level - controls.yawRight.level);
    const float pitch = turnRate * (controls.pitchUp.level - controls.pitchDown.level);
    const float roll = turnRate * (controls.rollLeft.level - controls.rollRight.level);
    turnFrame(yaw, pitch, roll);

    // Taken after the turn, so this step's thrust already follows the turned nose.
    thrustDirection.set(
        0, 0, static_cast<float>(controls.thrustReverse.active - controls.thrustForward.active));
    thrustDirection.toBasis(right, up, back);
    const float k = static_cast<float>(static_cast<double>(thrust) / mass);
    acceleration = thrustDirection * k;
    applyAcceleration();
    controls.endStep();
}

void Body::applyAcceleration() { velocity += acceleration; }

void Body::setAxes(const BodyAxes& axes) {
    right = axes[0];
    up = axes[1];
    back = axes[2];
}

OrientedBox Body::worldBox() {
    box.setAxes(right, up, back);
    box.setCentre(position);
    return box;
}

OrientedBox Body::worldBoxAfter(float t) {
    box.setAxes(right, up, back);
    box.setCentre(positionAfter(t));
    return box;
}

void Body::turnFrame(float yaw, float pitch, float roll) {
    ::turnFrame(right, up, back, yaw, pitch, roll);
}

Mat4 Body::orientationMatrix() const { return frameMatrix(right, up, back); }

Mat4& Body::inverseOrientationMatrix(Mat4& inverse) const {
    invertMatrix4(orientationMatrix(), inverse);
    return inverse;
}

void Body::copyFrom(const Body& other) {
    mass = other.mass;
    maxSpeed = other.maxSpeed;
    turnRate = other.turnRate;
    box = other.box;
    right = other.right;
    up = other.up;
    back = other.back;
    velocity = other.velocity;
    position = other.position;
}
