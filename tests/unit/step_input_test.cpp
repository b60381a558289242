// One step's input as data: what the keys make of it, and that the same inputs
// applied without keys step the duel to the same state.
#include "world_fixture.h"

#include "app/gamepad_keys.h"
#include "world/duel_state.h"
#include "world/duel_step.h"
#include "world/simulation_fingerprint.h"
#include "world/step_events.h"
#include "world/world_update.h"

#include <GL/freeglut.h>

namespace {

void tap(unsigned char key) {
    keyDown(key, 0, 0);
    keyUp(key, 0, 0);
}

TEST_F(WorldTest, KeysAndPadsBecomeOneStepInputAndAreConsumed) {
    keyDown('j', 0, 0);
    padChanged(0, PAD_YAW_LEFT, true); // the same channel: one bit
    tap('s');
    specialDown(GLUT_KEY_UP, 0, 0);
    tap('9');
    tap('e');
    tap('r');
    StepInput in = readStepInput();
    EXPECT_EQ(in.ships[0].channels, YAW_LEFT_BIT);
    EXPECT_TRUE(in.ships[0].fire);
    EXPECT_EQ(in.ships[1].channels, THRUST_FORWARD_BIT | ROLL_RIGHT_BIT);
    EXPECT_FALSE(in.ships[1].fire);
    // 'e' and 'r' in one step: 'r' wins, and both are consumed.
    EXPECT_EQ(in.view, ViewChoice::Behind);

    in = readStepInput();
    EXPECT_EQ(in.ships[0].channels, YAW_LEFT_BIT);
    EXPECT_FALSE(in.ships[0].fire);
    EXPECT_EQ(in.ships[1].channels, THRUST_FORWARD_BIT);
    EXPECT_EQ(in.view, ViewChoice::Keep);
    padChanged(0, PAD_YAW_LEFT, false);
}

// Keys recorded as step inputs, then those inputs played on a fresh world: the same
// duel state after every step, and the step events the sound hears.
TEST(StepInput, RecordedInputsReplayTheKeyDrivenDuel) {
    freshWorld(3);
    std::vector<StepInput> recorded;
    std::vector<uint64_t> hashes;
    for (int step = 0; step < 400; ++step) {
        if (step == 0)
            keyDown('l', 0, 0);
        if (step == 40)
            keyUp('l', 0, 0);
        if (step == 60)
            specialDown(GLUT_KEY_DOWN, 0, 0);
        if (step == 90)
            specialUp(GLUT_KEY_DOWN, 0, 0);
        if (step % 7 == 0)
            tap('s');
        if (step % 9 == 0) {
            specialDown(GLUT_KEY_RIGHT, 0, 0);
            specialUp(GLUT_KEY_RIGHT, 0, 0);
        }
        clearStepEvents();
        recorded.push_back(readStepInput());
        applyStepInput(recorded.back());
        resolveCollisions(STEP_MS);
        updateWorld(STEP_MS);
        hashes.push_back(duelStateHash());
    }
    ASSERT_GT(entityListCount(projectiles), 0);

    freshWorld(99); // rand's seed is no part of the duel state
    for (size_t step = 0; step < recorded.size(); ++step) {
        runDuelStep(recorded[step]);
        ASSERT_EQ(duelStateHash(), hashes[step]) << "step " << step;
    }
}

TEST(StepInput, TheBuiltInDuelLandsHitsAndTheFingerprintLeavesTheWorldAsItWas) {
    freshWorld();
    const uint64_t before = duelStateHash();
    const uint64_t fingerprint = simulationFingerprint();
    EXPECT_EQ(duelStateHash(), before);
    EXPECT_EQ(entityListCount(projectiles), 0);
    EXPECT_EQ(entityListCount(explosions), 0);
    EXPECT_EQ(simulationFingerprint(), fingerprint);

    for (int step = 0; step < BUILT_IN_DUEL_STEPS; ++step)
        runDuelStep(builtInDuelInput(step));
    EXPECT_LT(ships[1]->health, 100) << "the built-in duel must land hits";
}

} // namespace
