// The contact pass of every step: shots burst on each other and on planets, ships
// bounce off planets and off each other, and shots that hit the other ship damage it.
#pragma once

class Body;
class CelestialBody;

constexpr int HIT_FLASH_STEPS = 20;
constexpr int HIT_DAMAGE = 5;

// Per ship index: set to HIT_FLASH_STEPS by a hit; the overlay tints that player's
// cockpit red while it is non-zero and counts it down as it draws.
extern int hitFlash[2];

// Tests contacts at the places the bodies will have at the end of a step of the
// given length and applies the rules to them.
void resolveCollisions(float step);

// Perfectly inelastic: both bodies take the mass-weighted mean velocity.
void mergeVelocities(Body& a, Body& b);
// Mirror reflection of x's velocity (relative to k) about the plane through k's
// centre facing x. When the centres coincide there is no such plane and the
// velocity is left as it is.
void bounceOff(Body& x, const CelestialBody& k);
// Elastic along the velocities; equal masses swap velocities.
void exchangeVelocities(Body& a, Body& b);
