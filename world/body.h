// Body: the rigid-body state every simulated object shares (position, velocity,
// orientation frame, collision box, controls) and the steering and integration steps.
#pragma once

#include "math/mat4.h"
#include "math/vec3.h"
#include "world/control_state.h"
#include "world/oriented_box.h"

#include <array>

// A body's three orientation axes, in the order right, up, back.
using BodyAxes = std::array<Vec3, 3>;

class Body {
public:
    Body(int health, int thrust, int mass, int turnRate, double maxSpeed);

    // Virtual operations, in this order: print, draw, update, steer, applyAcceleration.
    // Bodies are never deleted while the game runs, so there is no virtual destructor.
    // The drawing operations (draw, applyTransform, applyOrientation here and the
    // overrides in the derived classes) are declared with the bodies but defined in
    // render/ (body_drawing.cpp, ship_drawing.cpp, celestial_drawing.cpp,
    // particle_drawing.cpp): the world never calls OpenGL, and this is the one place
    // where it meets the renderer, at link time.

    // Velocity, then position, one line each (a debugging aid).
    virtual void print() const;
    // A wire cube of the collision box (render/body_drawing.cpp).
    virtual void draw();
    // Moves the body by one step; returns whether it is still alive.
    virtual bool update(float step);
    // Turns by the control levels, thrusts by the thrust flags, applies the
    // acceleration and ends the control step.
    virtual void steer();
    virtual void applyAcceleration();

    void setHealth(int h) { health = h; }
    int getHealth() const { return health; }
    void setHalfExtents(const Vec3& half) { box.setHalfExtents(half); }
    void setPosition(float x, float y, float z) { position.set(x, y, z); }
    Vec3 getPosition() const { return position; }
    void setVelocity(float x, float y, float z) { velocity.set(x, y, z); }
    Vec3 getVelocity() const { return velocity; }
    // No repair or normalisation: the axes are taken as given.
    void setAxes(const BodyAxes& axes);
    BodyAxes getAxes() const { return BodyAxes{right, up, back}; }
    float getMass() const { return static_cast<float>(mass); }

    // Where the body will be t milliseconds ahead.
    Vec3 positionAfter(float t) const { return position + velocity * t; }
    // The collision box placed at the current position with the current axes. The
    // stored box keeps that placement until the next refresh.
    OrientedBox worldBox();
    // The same, placed where the body will be t milliseconds ahead.
    OrientedBox worldBoxAfter(float t);

    // Yaw, pitch and roll in degrees, each about the axes as they were before.
    void turnFrame(float yaw, float pitch, float roll);
    // Columns right, up, back: local coordinates to world ones.
    Mat4 orientationMatrix() const;
    // Fills inverse with the inverse of the orientation matrix and returns it.
    Mat4& inverseOrientationMatrix(Mat4& inverse) const;

    // Translation to position, then the orientation (needs a current GL context;
    // both in render/body_drawing.cpp).
    void applyTransform() const;
    // The orientation matrix alone, without translation.
    void applyOrientation() const;

    // Takes on a template's mass, speed cap, turn rate, box, axes, velocity and
    // position; health and thrust stay.
    void copyFrom(const Body& other);

    Vec3 position;
    Vec3 velocity;
    // Added to the velocity once per step; rewritten by every steering step.
    Vec3 acceleration;
    OrientedBox box;
    // Working storage of the steering step: the last thrust direction in world space.
    Vec3 thrustDirection;
    int health;
    int thrust;
    int mass;
    // Degrees turned per step at control level 1.
    int turnRate;
    // World units per ms; applied by ships only; 0 or less means no cap.
    double maxSpeed;
    ControlState controls;
    // The frame: local x, y and z in world coordinates. The nose points along -back.
    Vec3 right;
    Vec3 up;
    Vec3 back;
};
