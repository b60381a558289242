// Ship flight: the thrust constant, the speed cap, the thrust indicator, firing and
// the alive test.
#include "world_fixture.h"

#include <cmath>

namespace {

constexpr double THRUST_PER_STEP = 1.0000009751820471e-05;
constexpr double SPEED_CAP = 0.009999999776482582;

Ship worldShip(double maxSpeed = 0.01) { return Ship(100, 10, 999999, 1, maxSpeed); }

TEST(Ship, OneStepOfThrustFromRest) {
    Ship forward = worldShip();
    forward.controls.press(&ControlState::thrustForward);
    forward.steer();
    EXPECT_EQ(forward.velocity.x, 0.0f);
    EXPECT_EQ(forward.velocity.y, 0.0f);
    EXPECT_EQ(static_cast<double>(forward.velocity.z), -THRUST_PER_STEP);
    EXPECT_EQ(forward.thrustIndicator, 1);

    Ship reverse = worldShip();
    reverse.controls.press(&ControlState::thrustReverse);
    reverse.steer();
    EXPECT_EQ(static_cast<double>(reverse.velocity.z), THRUST_PER_STEP);
    EXPECT_EQ(reverse.thrustIndicator, -1);

    Ship both = worldShip();
    both.controls.press(&ControlState::thrustForward);
    both.controls.press(&ControlState::thrustReverse);
    both.steer();
    EXPECT_EQ(both.velocity.length(), 0.0f);
    EXPECT_EQ(both.thrustIndicator, 0);

    // The indicator follows the last step: no thrust, no indicator.
    forward.steer();
    EXPECT_EQ(forward.thrustIndicator, 0);
}

TEST(Ship, SpeedIsCappedAlongTheDirectionOfTravel) {
    Ship ship = worldShip();
    ship.setVelocity(0, 0, -0.0099999f);
    ship.controls.press(&ControlState::thrustForward);
    ship.steer();
    EXPECT_NEAR(ship.velocity.length(), SPEED_CAP, 1e-9);
    EXPECT_EQ(ship.velocity.x, 0.0f);
    EXPECT_LT(ship.velocity.z, 0.0f);

    // A thousand steps of thrust never pass the cap.
    for (int i = 0; i < 1000; ++i) {
        ship.controls.press(&ControlState::thrustForward);
        ship.steer();
    }
    EXPECT_LE(static_cast<double>(ship.velocity.length()), SPEED_CAP * (1 + 1e-6));

    // Thrust against the motion brakes at the full rate.
    const float speed = ship.velocity.length();
    ship.controls.press(&ControlState::thrustReverse);
    ship.steer();
    EXPECT_NEAR(speed - ship.velocity.length(), THRUST_PER_STEP, 1e-9);
}

TEST(Ship, NoCapWithoutATopSpeed) {
    Ship ship = worldShip(0.0);
    ship.setVelocity(0, 0, -0.5f);
    ship.controls.press(&ControlState::thrustForward);
    ship.steer();
    EXPECT_GT(ship.velocity.length(), 0.5f);
}

TEST(Ship, AliveWhileHealthIsAboveZero) {
    Ship ship = worldShip();
    ship.setHealth(1);
    EXPECT_TRUE(ship.update(10));
    ship.setHealth(0);
    EXPECT_FALSE(ship.update(10));
    ship.setHealth(-5);
    EXPECT_FALSE(ship.update(10));
}

TEST_F(WorldTest, AFireRequestLaunchesOneShotAlongTheTurnedNose) {
    Ship& ship = *ships[0];
    ship.setVelocity(0.001f, 0, 0);
    ship.controls.press(&ControlState::yawLeft);
    ship.controls.requestFire();
    ship.steer();
    EXPECT_EQ(ship.controls.fireRequest, 0);
    ASSERT_EQ(entityListCount(projectiles), 1);
    Projectile* shot = liveShot(0);
    EXPECT_EQ(shot->getOwner(), &ship);
    EXPECT_EQ(shot->lifetime, 5000.0f);
    EXPECT_EQ(shot->position.x, ship.position.x);
    // The shot keeps the ship's turned frame and leaves along its nose at 0.01
    // relative to the ship.
    EXPECT_EQ(shot->back.x, ship.back.x);
    const Vec3 relative = shot->velocity - ship.velocity;
    EXPECT_NEAR(relative.length(), 0.01f, 1e-8);
    EXPECT_NEAR(dot(relative, ship.back), -0.01f, 1e-8);

    // Without a request, nothing is fired; a request on a planet is never acted on.
    ship.steer();
    celestialBodies[0]->controls.requestFire();
    celestialBodies[0]->steer();
    EXPECT_EQ(entityListCount(projectiles), 1);
}

} // namespace
