// Starting explosions and retiring finished ones through the pool of spare systems.
#pragma once

#include "math/vec3.h"

class ParticleSystem;

// Restarts the most recently retired system at position (or makes one) and appends
// it to the burning explosions.
void spawnExplosion(Vec3 position);

// Takes a finished system out of the burning explosions into the spare pool.
void retireExplosion(ParticleSystem* system);
