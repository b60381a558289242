// Explosion particles: construction, restart and the per-step update.
#include "world/particle_system.h"

#include "world/out_of_memory.h"

#include <cstdlib>
#include <new>

namespace {

// One of fifty values from -0.005 to 0.0048 per component, rescaled to length 1.
// The middle value is a tiny negative number, so the vector is never zero.
Vec3 randomDirection() {
    // Three separate statements: the draws must happen in the order x, y, z.
    const float x = static_cast<float>((std::rand() % 50) * 0.0002f - 0.005);
    const float y = static_cast<float>((std::rand() % 50) * 0.0002f - 0.005);
    const float z = static_cast<float>((std::rand() % 50) * 0.0002f - 0.005);
    Vec3 direction(x, y, z);
    direction.setLength(1.0f);
    return direction;
}

float randomHundredth() { return static_cast<float>((std::rand() % 100) * 0.01); }

// Faster fading particles also accelerate harder.
Vec3 randomAcceleration(float fadeRate) { return randomDirection() * (fadeRate * 0.0002f); }

} // namespace

ParticleSystem::ParticleSystem(const Vec3& originIn)
    : particleCount(PARTICLE_COUNT), origin(originIn), particles(nullptr),
      liveCount(PARTICLE_COUNT) {
    particles = new (std::nothrow) Particle[PARTICLE_COUNT];
    // An explosion without its particles ends the program, as a shot that cannot be made does.
    if (!particles)
        outOfMemory("an explosion");
    for (int i = 0; i < particleCount; ++i) {
        Particle& p = particles[i];
        p.fadeRate = static_cast<float>((std::rand() % 100) * 0.01 + 0.07);
        p.life = 1.0f;
        p.position = origin;
        p.velocity.set(0, 0, 0);
        p.acceleration = randomAcceleration(p.fadeRate);
        p.alive = true;
        p.red = randomHundredth();
        p.green = randomHundredth();
        p.blue = randomHundredth();
    }
}

ParticleSystem::~ParticleSystem() { delete[] particles; }

void ParticleSystem::rearm(const Vec3& originIn) {
    liveCount = particleCount;
    origin = originIn;
    for (int i = 0; i < particleCount; ++i) {
        Particle& p = particles[i];
        p.life = 1.0f;
        p.alive = true;
        p.position = origin;
        p.velocity.set(0, 0, 0);
        p.acceleration = randomAcceleration(p.fadeRate);
    }
}

void ParticleSystem::update(float step) {
    if (liveCount <= 0)
        return;
    for (int i = 0; i < particleCount; ++i) {
        Particle& p = particles[i];
        if (!p.alive)
            continue;
        p.position += step * p.velocity;
        // Each component borrows the acceleration of one of the first ten particles,
        // drawn afresh; once a particle is fast enough along x it stops speeding up.
        if (p.velocity.x < 0.0004f) {
            p.velocity.x += step * particles[std::rand() % 10].acceleration.x;
            p.velocity.y += step * particles[std::rand() % 10].acceleration.y;
            p.velocity.z += step * particles[std::rand() % 10].acceleration.z;
        }
        p.life = static_cast<float>(p.life - step * p.fadeRate * 0.01);
        if (p.life < 0.0f) {
            p.alive = false;
            --liveCount;
        }
    }
}
