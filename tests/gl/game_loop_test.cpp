// The fixed-step loop driven by a chosen clock, with the real windows behind it.
#include "app/game_init.h"
#include "app/game_loop.h"
#include "app/platform_tick.h"
#include "app/window_record.h"
#include "app/windows.h"
#include "input/gamepads.h"
#include "support/gl_test_support.h"
#include "support/virtual_pad.h"
#include "world/contact_rules.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

uint32_t fakeNow = 0;
uint32_t fakeTick() { return fakeNow; }

int refreshes = 0;
void countingReshape(int w, int h) {
    ++refreshes;
    reshapeViews(w, h);
}

class GameLoop : public testing::Test {
protected:
    void SetUp() override {
        ensureGlutInit();
        initGame();
        setTickSource(fakeTick);
        fakeNow = 1000;
        lastTick = fakeNow;
        stepsRun = 0;
        refreshes = 0;
        gameRunning = true;
        mainWindow.subWindow(0).reshapeFunc = countingReshape;
    }
    void TearDown() override { setTickSource(nullptr); }

    void idleAfter(uint32_t ms) {
        fakeNow += ms;
        onIdle();
    }
};

TEST_F(GameLoop, ExactlyTenMillisecondsWaitsForMore) {
    idleAfter(9);
    idleAfter(1);
    EXPECT_EQ(stepsRun, 0u);
    EXPECT_EQ(stepAccumulator, 10.0f);
    idleAfter(1);
    EXPECT_EQ(stepsRun, 1u);
    EXPECT_EQ(stepAccumulator, 1.0f);
}

TEST_F(GameLoop, ThirtyFiveMillisecondsRunThreeSteps) {
    idleAfter(35);
    EXPECT_EQ(stepsRun, 3u);
    EXPECT_EQ(stepAccumulator, 5.0f);
}

TEST_F(GameLoop, LongStallRunsEveryDueStep) {
    idleAfter(1000);
    EXPECT_EQ(stepsRun, 99u);
    EXPECT_EQ(stepAccumulator, 10.0f);
}

TEST_F(GameLoop, WrappingTickCounterGivesTheTrueDifference) {
    fakeNow = 0xFFFFFFF0u;
    lastTick = fakeNow;
    idleAfter(0x30); // wraps through zero to 0x20
    EXPECT_EQ(fakeNow, 0x20u);
    EXPECT_EQ(stepsRun, 4u);
    EXPECT_EQ(stepAccumulator, 8.0f);
}

TEST_F(GameLoop, NoStepDueStillRefreshes) {
    idleAfter(0);
    EXPECT_EQ(stepsRun, 0u);
    EXPECT_EQ(refreshes, 1);
    idleAfter(3);
    EXPECT_EQ(refreshes, 2);
}

TEST_F(GameLoop, FrozenGameNeitherStepsNorRefreshes) {
    idleAfter(25);
    ASSERT_EQ(stepsRun, 2u);
    ASSERT_EQ(refreshes, 1);
    gameRunning = false;
    const uint32_t tickBefore = lastTick;
    idleAfter(500);
    EXPECT_EQ(stepsRun, 2u);
    EXPECT_EQ(refreshes, 1);
    // Not even the clock is sampled.
    EXPECT_EQ(lastTick, tickBefore);
}

TEST_F(GameLoop, StartUpLeavesTheWorldBuiltAndLit) {
    EXPECT_EQ(shipCount, 2);
    EXPECT_EQ(celestialBodyCount, 5);
    EXPECT_EQ(hitFlash[0], 0);
    EXPECT_EQ(hitFlash[1], 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
}

TEST_F(GameLoop, AShipWithoutHealthFreezesTheGameAfterTheDueSteps) {
    ships[1]->setHealth(0);
    idleAfter(55); // five steps due: the first clears the flag, all five still run
    EXPECT_FALSE(gameRunning);
    EXPECT_EQ(stepsRun, 5u);
    EXPECT_EQ(refreshes, 1);
    idleAfter(100);
    EXPECT_EQ(stepsRun, 5u);
    EXPECT_EQ(refreshes, 1);
}

// The pads are read once per idle pass, before the steps due in it: a trigger pulled
// before the pass thrusts in each of its three steps, and one let go before the next
// pass thrusts once more, as a released key does.
TEST_F(GameLoop, EveryStepOfAnIdlePassSeesThePads) {
    ASSERT_TRUE(openGamepads());
    {
        VirtualPad pad;
        idleAfter(0); // the pad is plugged in
        pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1);
        const Vec3 before = ships[0]->velocity;
        idleAfter(35);
        pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
        idleAfter(20);
        const float perStep = 1.0000009751820471e-05f;
        EXPECT_NEAR(before.z - ships[0]->velocity.z, 4 * perStep, 1e-9);
        EXPECT_EQ(stepsRun, 5u);
    }
    closeGamepads();
}

} // namespace
