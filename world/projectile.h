// Projectile: a shot. It starts at the firing ship's centre, flies straight along
// the ship's nose, never hits its owner, and expires after its lifetime.
#pragma once

#include "world/body.h"

class Ship;

class Projectile : public Body {
public:
    // A template: health, lifetime in ms and launch speed in units per ms; its box
    // is 0.4 units on every side.
    Projectile(int health, float lifetime, float launchSpeed);
    // A live shot made from a template and launched by owner.
    Projectile(const Projectile& templateShot, Ship* owner);

    // Moves, then counts the lifetime down; false once the lifetime is used up.
    bool update(float step) override;

    // (Re)initialises this shot from a template and the firing ship.
    void launch(const Projectile& templateShot, Ship* firingShip);

    void setOwner(Ship* s) { owner = s; }
    Ship* getOwner() const { return owner; }
    void setLifetime(float ms) { lifetime = ms; }
    float getLifetime() const { return lifetime; }
    void setLaunchSpeed(float speed) { launchSpeed = speed; }
    float getLaunchSpeed() const { return launchSpeed; }

    // Not owned; a ship's own shots never hit it.
    Ship* owner;
    // Milliseconds left.
    float lifetime;
    // Added along the owner's nose at launch, on top of the owner's velocity.
    float launchSpeed;
};
