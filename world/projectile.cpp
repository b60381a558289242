// Shot construction, launch and expiry.
#include "world/projectile.h"

#include "world/ship.h"

Projectile::Projectile(int healthIn, float lifetimeIn, float launchSpeedIn)
    : Body(100, 10, 10000, 1, 0.005), owner(nullptr), lifetime(lifetimeIn),
      launchSpeed(launchSpeedIn) {
    health = healthIn;
    box.setHalfExtents(Vec3(0.2f, 0.2f, 0.2f));
}

Projectile::Projectile(const Projectile& templateShot, Ship* firingShip)
    : Body(100, 10, 10000, 1, 0.005), owner(nullptr), lifetime(0), launchSpeed(0) {
    launch(templateShot, firingShip);
}

bool Projectile::update(float step) {
    Body::update(step);
    // Tested before counting down: 5000 ms give 500 live updates and a 501st that
    // reports the shot spent.
    if (lifetime > 0.0f) {
        lifetime -= step;
        return true;
    }
    return false;
}

void Projectile::launch(const Projectile& templateShot, Ship* firingShip) {
    copyFrom(templateShot);
    launchSpeed = templateShot.launchSpeed;
    lifetime = templateShot.lifetime;
    owner = firingShip;
    position = firingShip->position;
    right = firingShip->right;
    up = firingShip->up;
    back = firingShip->back;
    // The nose is -back: the shot leaves forwards, carried by the ship's own motion.
    velocity = firingShip->velocity + back * -launchSpeed;
}
