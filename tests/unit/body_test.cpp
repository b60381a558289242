// Bodies: construction, control ramp, steering directions, integration, boxes,
// planet spin and shot lifetime.
#include "world/body.h"
#include "world/celestial_body.h"
#include "world/projectile.h"

#include "expect_vec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Body plainBody() { return Body(100, 10, 10000, 1, 0.005); }

TEST(Body, StartsAtRestInTheInitialFrameAndPrintsVelocityThenPosition) {
    Body b = plainBody();
    expectVec(b.position, 0, 0, 0, 0);
    expectVec(b.velocity, 0, 0, 0, 0);
    expectVec(b.acceleration, 0, 0, 0, 0);
    expectVec(b.right, 1, 0, 0, 0);
    expectVec(b.up, 0, 1, 0, 0);
    expectVec(b.back, 0, 0, 1, 0);
    expectVec(b.box.halfExtents, 0.5f, 0.25f, 0.5f, 0);
    EXPECT_EQ(b.health, 100);
    EXPECT_EQ(b.thrust, 10);
    EXPECT_EQ(b.mass, 10000);
    EXPECT_EQ(b.turnRate, 1);
    EXPECT_EQ(b.maxSpeed, 0.005);
    for (ControlState::Channel c : ControlState::CHANNELS) {
        EXPECT_EQ((b.controls.*c).level, 0.0f);
        EXPECT_EQ((b.controls.*c).active, 0);
    }
    EXPECT_EQ(b.controls.fireRequest, 0);

    b.setVelocity(1, -2.5f, 0);
    testing::internal::CaptureStdout();
    b.print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "(1.000000, -2.500000, 0.000000)\n(0.000000, 0.000000, 0.000000)\n");
}

TEST(ControlState, LevelRampsByTwentiethsAndStopsJustAboveOne) {
    ControlState c;
    for (int i = 1; i <= 20; ++i) {
        c.press(&ControlState::yawLeft);
        if (i < 20) {
            EXPECT_NEAR(c.yawLeft.level, 0.05 * i, 1e-6);
        }
    }
    EXPECT_EQ(static_cast<double>(c.yawLeft.level), 1.0000001192092896);
    c.press(&ControlState::yawLeft);
    EXPECT_EQ(static_cast<double>(c.yawLeft.level), 1.0000001192092896);
    EXPECT_EQ(c.yawLeft.active, 1);
}

TEST(ControlState, EndStepKeepsPressedLevelsAndDropsReleasedOnes) {
    ControlState c;
    c.press(&ControlState::pitchUp);
    c.press(&ControlState::rollLeft);
    c.requestFire();
    c.endStep();
    EXPECT_FLOAT_EQ(c.pitchUp.level, 0.05f);
    EXPECT_EQ(c.pitchUp.active, 0);
    EXPECT_EQ(c.fireRequest, 1); // survives: only the ship clears it
    c.press(&ControlState::pitchUp);
    c.endStep();
    EXPECT_FLOAT_EQ(c.pitchUp.level, 0.10f);
    EXPECT_EQ(c.rollLeft.level, 0.0f); // not pressed this step: no decay, straight to 0
    c.reset();
    EXPECT_EQ(c.pitchUp.level, 0.0f);
    EXPECT_EQ(c.fireRequest, 0);
}

TEST(Body, ForwardThrustPointsAlongTheNose) {
    Body b = plainBody();
    b.controls.press(&ControlState::thrustForward);
    b.steer();
    EXPECT_EQ(static_cast<double>(b.acceleration.z), -0.0010000000474974513);
    EXPECT_EQ(static_cast<double>(b.velocity.z), -0.0010000000474974513);
    EXPECT_EQ(b.velocity.x, 0.0f);
    EXPECT_EQ(b.velocity.y, 0.0f);
    EXPECT_EQ(b.controls.thrustForward.active, 0);

    // Both thrust channels cancel.
    b.controls.press(&ControlState::thrustForward);
    b.controls.press(&ControlState::thrustReverse);
    b.steer();
    expectVec(b.acceleration, 0, 0, 0, 0);
}

TEST(Body, YawLeftTurnsTheNoseLeftPitchUpRaisesItRollLeftLiftsTheRightWing) {
    Body yaw = plainBody();
    yaw.controls.press(&ControlState::yawLeft);
    yaw.steer();
    const Vec3 nose(-yaw.back.x, -yaw.back.y, -yaw.back.z);
    EXPECT_NEAR(nose.x, -std::sin(0.05 * DEG_TO_RAD), 1e-7);

    Body pitch = plainBody();
    pitch.controls.press(&ControlState::pitchUp);
    pitch.steer();
    EXPECT_LT(pitch.back.y, 0.0f); // nose (-back) rises

    Body roll = plainBody();
    roll.controls.press(&ControlState::rollLeft);
    roll.steer();
    EXPECT_GT(roll.right.y, 0.0f);

    // Opposite keys together give equal levels and no turn at all.
    Body both = plainBody();
    for (int i = 0; i < 5; ++i) {
        both.controls.press(&ControlState::yawLeft);
        both.controls.press(&ControlState::yawRight);
        both.steer();
    }
    expectVec(both.back, 0, 0, 1);
}

// Sine of the angle turned about up between two right axes (both in the x-z plane).
double sineTurned(const Vec3& before, const Vec3& after) {
    return static_cast<double>(cross(before, after).y);
}

TEST(Body, HeldTurnReachesFullRateAndStopsOneStepAfterTheLastPress) {
    Body b = plainBody();
    Vec3 before = b.right;
    for (int i = 1; i <= 25; ++i) {
        before = b.right;
        b.controls.press(&ControlState::yawLeft);
        b.steer();
    }
    EXPECT_NEAR(sineTurned(before, b.right), std::sin(1.0000001192092896 * DEG_TO_RAD), 1e-6);
    // The first step without a press still turns at the level it had; its end of
    // step drops the level, so the step after that does not turn.
    before = b.right;
    b.steer();
    EXPECT_NEAR(sineTurned(before, b.right), std::sin(1.0000001192092896 * DEG_TO_RAD), 1e-6);
    before = b.right;
    b.steer();
    EXPECT_EQ(sineTurned(before, b.right), 0.0);
}

TEST(Body, UpdateIntegratesThePosition) {
    Body b = plainBody();
    b.setPosition(1, 2, 3);
    b.setVelocity(0.01f, 0, -0.02f);
    EXPECT_TRUE(b.update(10));
    expectVec(b.position, 1.1f, 2, 2.8f);
}

TEST(Body, WorldBoxAfterPlacesTheStoredBoxAhead) {
    Body b = plainBody();
    b.setVelocity(1, 0, 0);
    const OrientedBox ahead = b.worldBoxAfter(10);
    expectVec(ahead.centre, 10, 0, 0, 0);
    expectVec(b.box.centre, 10, 0, 0, 0);
    b.turnFrame(90, 0, 0);
    const OrientedBox now = b.worldBox();
    expectVec(now.centre, 0, 0, 0, 0);
    expectVec(now.axes[0], b.right.x, b.right.y, b.right.z, 0);
    expectVec(now.axes[2], b.back.x, b.back.y, b.back.z, 0);
}

TEST(Body, OrientationMatrixAndItsInverse) {
    Body b = plainBody();
    b.setAxes(BodyAxes{Vec3(0, 1, 0), Vec3(-1, 0, 0), Vec3(0, 0, 1)});
    const Mat4 m = b.orientationMatrix();
    Mat4 inv;
    b.inverseOrientationMatrix(inv);
    const float expectedM[8] = {0, 1, 0, 0, -1, 0, 0, 0};
    const float expectedInv[8] = {0, -1, 0, 0, 1, 0, 0, 0};
    for (int k = 0; k < 8; ++k) {
        EXPECT_NEAR(m[k], expectedM[k], 1e-7) << k;
        EXPECT_NEAR(inv[k], expectedInv[k], 1e-7) << k;
    }
    const BodyAxes axes = b.getAxes();
    expectVec(axes[0], 0, 1, 0, 0);
}

TEST(CelestialBody, SpinsWrapIntoOneTurnOnlyWhenTextured) {
    CelestialBody p;
    EXPECT_EQ(p.radius, 5.0f);
    EXPECT_EQ(p.modelIndex, -1);
    p.setSpinRate(0.006);
    p.spinAngle = 359.97;
    p.update(10);
    EXPECT_EQ(p.spinAngle, 359.97); // no surface texture: no spin
    p.setSurfaceTexture(3);
    p.update(10);
    EXPECT_NEAR(p.spinAngle, 0.03, 1e-9);

    p.spinAngle = 0.02;
    p.setSpinRate(-0.003);
    p.update(10);
    EXPECT_NEAR(p.spinAngle, 359.99, 1e-9); // 0 or below comes back by adding a turn

    p.setCloudSpinRate(0.004);
    p.update(10);
    EXPECT_EQ(p.cloudSpinAngle, 0.0); // no cloud layer: no cloud spin
    p.setCloudTexture(4);
    p.update(10);
    EXPECT_NEAR(p.cloudSpinAngle, 0.04, 1e-12);
    EXPECT_TRUE(p.update(10));
}

TEST(Projectile, FiveSecondShotLivesFiveHundredUpdatesAndDiesOnThe501st) {
    Projectile shot(10, 5000.0f, 0.01f);
    EXPECT_EQ(shot.health, 10);
    expectVec(shot.box.halfExtents, 0.2f, 0.2f, 0.2f, 0);
    shot.setVelocity(0.01f, 0, 0);
    for (int i = 1; i <= 500; ++i)
        ASSERT_TRUE(shot.update(10)) << "update " << i;
    EXPECT_EQ(shot.lifetime, 0.0f);
    const float x = shot.position.x;
    EXPECT_FALSE(shot.update(10));
    EXPECT_GT(shot.position.x, x); // still moved by the update that reports it spent

    Projectile spent(10, 0.0f, 0.01f);
    EXPECT_FALSE(spent.update(10));
}

} // namespace
