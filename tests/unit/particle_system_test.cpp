// Explosions: their random start, the acceleration rule, fading and lifetime.
#include "world/particle_system.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

bool isHundredth(float v) {
    const double scaled = static_cast<double>(v) * 100.0;
    return std::fabs(scaled - std::round(scaled)) < 1e-3;
}

TEST(ParticleSystem, StartsMotionlessAtItsOriginWithRandomValuesInRange) {
    std::srand(7);
    ParticleSystem system(Vec3(1, 2, 3));
    EXPECT_EQ(system.particleCount, 300);
    EXPECT_EQ(system.liveCount, 300);
    for (int i = 0; i < system.particleCount; ++i) {
        const Particle& p = system.particles[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(p.position.x, 1.0f);
        EXPECT_EQ(p.position.z, 3.0f);
        EXPECT_EQ(p.velocity.length(), 0.0f);
        EXPECT_EQ(p.life, 1.0f);
        EXPECT_TRUE(p.alive);
        EXPECT_GE(p.fadeRate, 0.07f - 1e-6f);
        EXPECT_LE(p.fadeRate, 1.06f + 1e-6f);
        EXPECT_TRUE(isHundredth(p.fadeRate));
        for (float c : {p.red, p.green, p.blue}) {
            EXPECT_GE(c, 0.0f);
            EXPECT_LE(c, 0.99f + 1e-6f);
            EXPECT_TRUE(isHundredth(c));
        }
        // A unit direction times fade rate * 0.0002.
        EXPECT_NEAR(p.acceleration.length(), p.fadeRate * 0.0002f, 1e-9);
    }
}

TEST(ParticleSystem, ParticlesStopAcceleratingOnceFastAlongX) {
    std::srand(3);
    ParticleSystem system(Vec3(0, 0, 0));
    Particle& fast = system.particles[20];
    Particle& slow = system.particles[21];
    fast.velocity.set(0.0004f, 0.0001f, 0.0002f);
    slow.velocity.set(0.0003f, 0.0001f, 0.0002f);
    system.update(10);
    EXPECT_EQ(fast.velocity.x, 0.0004f);
    EXPECT_EQ(fast.velocity.y, 0.0001f);
    EXPECT_EQ(fast.velocity.z, 0.0002f);
    EXPECT_NEAR(fast.position.x, 0.004f, 1e-9);
    // The slow one gains ten times some early particle's acceleration per component.
    auto borrowedFromFirstTen = [&](float gained, int component) {
        for (int r = 0; r < 10; ++r)
            if (std::fabs(gained - 10 * system.particles[r].acceleration[component]) < 1e-10f)
                return true;
        return false;
    };
    EXPECT_TRUE(borrowedFromFirstTen(slow.velocity.x - 0.0003f, 0));
    EXPECT_TRUE(borrowedFromFirstTen(slow.velocity.y - 0.0001f, 1));
    EXPECT_TRUE(borrowedFromFirstTen(slow.velocity.z - 0.0002f, 2));
}

TEST(ParticleSystem, FastestDieInTheirTenthUpdateSlowestInTheir143rd) {
    ParticleSystem system(Vec3(0, 0, 0));
    for (int i = 0; i < system.particleCount; ++i)
        system.particles[i].fadeRate = (i == 0) ? 1.06f : 0.07f;
    for (int n = 1; n <= 9; ++n)
        system.update(10);
    EXPECT_TRUE(system.particles[0].alive);
    system.update(10);
    EXPECT_FALSE(system.particles[0].alive);
    EXPECT_EQ(system.liveCount, 299);
    for (int n = 11; n <= 142; ++n)
        system.update(10);
    EXPECT_EQ(system.liveCount, 299);
    system.update(10);
    EXPECT_EQ(system.liveCount, 0);
    // A finished system no longer changes.
    const Vec3 before = system.particles[5].position;
    system.update(10);
    EXPECT_EQ(system.particles[5].position.x, before.x);
}

} // namespace
