// Firing and retiring shots through the pool of spare projectiles.
#pragma once

class Projectile;
class Ship;

// Reuses the most recently retired shot (or makes one), launches it from the ship
// with the template of that kind, and appends it to the live shots.
Projectile* fireProjectile(int kind, Ship* firingShip);

// Takes a live shot out of play into the spare pool.
void retireProjectile(Projectile* shot);
