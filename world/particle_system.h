// ParticleSystem: one explosion of 300 coloured points that start together, drift
// apart with random accelerations and fade out, each at its own random rate.
#pragma once

#include "math/vec3.h"

struct Particle {
    Vec3 position;
    // World units per ms; zero at start.
    Vec3 velocity;
    // World units per ms squared; random at start.
    Vec3 acceleration;
    // 1 at start; the particle dies when it falls below 0.
    float life;
    float fadeRate;
    bool alive;
    // Each 0 to 0.99.
    float red, green, blue;
};

class ParticleSystem {
public:
    static constexpr int PARTICLE_COUNT = 300;

    // Allocates the particles once and gives each its fade rate, colour and direction.
    explicit ParticleSystem(const Vec3& origin);
    ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Restarts at a new origin: new directions; fade rates and colours are kept.
    void rearm(const Vec3& origin);
    // Advances every live particle by one step of the given length.
    void update(float step);
    // Draws the live particles; when none is left, retires the system and returns
    // false (it has then left the list of explosions). Needs a current GL context;
    // defined in render/particle_drawing.cpp.
    bool draw();

    int particleCount;
    Vec3 origin;
    // Owned: particleCount particles.
    Particle* particles;
    int liveCount;
};
