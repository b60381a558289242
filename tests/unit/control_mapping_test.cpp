// The key rules: held keys act every step and once more after release, fire acts
// once per press on release, the view keys, and keys that do nothing.
#include "world_fixture.h"

#include <GL/freeglut.h>

namespace {

constexpr double THRUST_PER_STEP = 1.0000009751820471e-05;

void tap(unsigned char key) {
    keyDown(key, 0, 0);
    keyUp(key, 0, 0);
}

int shotCount() { return entityListCount(projectiles); }

TEST_F(WorldTest, HeldThrustActsEveryStepAndOnceMoreAfterRelease) {
    Ship& ship = *ships[0];
    keyDown('q', 0, 0);
    for (int i = 0; i < 30; ++i)
        mapControls();
    EXPECT_EQ(static_cast<double>(ship.controls.thrustForward.level), 1.0000001192092896);
    keyUp('q', 0, 0);
    mapControls(); // the step after release still sees the press
    EXPECT_NEAR(-ship.velocity.z, 31 * THRUST_PER_STEP, 1e-9);
    mapControls();
    EXPECT_NEAR(-ship.velocity.z, 31 * THRUST_PER_STEP, 1e-9);
    EXPECT_EQ(ship.controls.thrustForward.level, 0.0f);
}

TEST_F(WorldTest, ATapBetweenTwoStepsActsInExactlyOne) {
    tap('q');
    tap('q'); // a flag, not a counter
    mapControls();
    mapControls();
    EXPECT_EQ(static_cast<double>(-ships[0]->velocity.z), THRUST_PER_STEP);
}

TEST_F(WorldTest, FireActsOncePerPressWhenTheKeyIsReleased) {
    keyDown('s', 0, 0);
    for (int i = 0; i < 100; ++i)
        mapControls();
    EXPECT_EQ(shotCount(), 0);
    keyUp('s', 0, 0);
    mapControls();
    EXPECT_EQ(shotCount(), 1);
    mapControls();
    EXPECT_EQ(shotCount(), 1);

    tap('s');
    tap('s');
    mapControls();
    EXPECT_EQ(shotCount(), 2);
}

TEST_F(WorldTest, PlayerTwoFiresWithTheRightArrowAndThrustsWithUp) {
    specialDown(GLUT_KEY_RIGHT, 0, 0);
    specialDown(GLUT_KEY_UP, 0, 0);
    mapControls();
    EXPECT_EQ(shotCount(), 0);
    specialUp(GLUT_KEY_RIGHT, 0, 0);
    specialUp(GLUT_KEY_UP, 0, 0);
    mapControls();
    ASSERT_EQ(shotCount(), 1);
    EXPECT_EQ(liveShot(0)->getOwner(), ships[1]);
    EXPECT_NEAR(-ships[1]->velocity.z, 2 * THRUST_PER_STEP, 1e-9);
    EXPECT_EQ(ships[0]->velocity.length(), 0.0f);
}

TEST_F(WorldTest, EachKeyPressesItsOwnChannel) {
    struct Case {
        unsigned char key;
        int player;
        ControlState::Channel channel;
    };
    const Case cases[] = {
        {'l', 0, &ControlState::yawRight},      {'j', 0, &ControlState::yawLeft},
        {'i', 0, &ControlState::pitchUp},       {'k', 0, &ControlState::pitchDown},
        {'u', 0, &ControlState::rollLeft},      {'o', 0, &ControlState::rollRight},
        {'a', 0, &ControlState::thrustReverse}, {'6', 1, &ControlState::yawRight},
        {'4', 1, &ControlState::yawLeft},       {'8', 1, &ControlState::pitchUp},
        {'5', 1, &ControlState::pitchDown},     {'7', 1, &ControlState::rollLeft},
        {'9', 1, &ControlState::rollRight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        freshWorld();
        keyDown(c.key, 0, 0);
        mapControls();
        for (int player = 0; player < 2; ++player)
            for (ControlState::Channel channel : ControlState::CHANNELS) {
                const bool pressed = player == c.player && channel == c.channel;
                EXPECT_EQ((ships[player]->controls.*channel).level, pressed ? 0.05f : 0.0f);
            }
    }
}

TEST_F(WorldTest, UpperCaseAndTheLeftArrowDoNothing) {
    for (unsigned char key : {'S', 'Q', 'J', 'E', 'R'})
        tap(key);
    specialDown(GLUT_KEY_LEFT, 0, 0);
    EXPECT_TRUE(specialIsDown[GLUT_KEY_LEFT]); // recorded all the same
    specialUp(GLUT_KEY_LEFT, 0, 0);
    viewMode = 0;
    mapControls();
    EXPECT_EQ(shotCount(), 0);
    EXPECT_EQ(viewMode, 0);
    for (Ship* ship : ships) {
        EXPECT_EQ(ship->velocity.length(), 0.0f);
        EXPECT_EQ(ship->back.z, 1.0f);
    }
}

TEST_F(WorldTest, ViewKeysAndETestedBeforeR) {
    tap('r');
    mapControls();
    EXPECT_EQ(viewMode, 1);
    tap('r');
    mapControls();
    EXPECT_EQ(viewMode, 1);
    tap('e');
    mapControls();
    EXPECT_EQ(viewMode, 0);
    tap('e');
    tap('r');
    mapControls();
    EXPECT_EQ(viewMode, 1);
}

TEST(Keyboard, SpecialCodesOutsideTheTablesAreIgnored) {
    resetKeyboard();
    // freeglut reports modifier keys as codes above 108; 112 still fits the table.
    specialDown(112, 0, 0);
    EXPECT_TRUE(specialIsDown[112]);
    for (int code : {SPECIAL_KEY_COUNT, 200, 1000, -1, -200}) {
        specialDown(code, 0, 0);
        specialUp(code, 0, 0);
    }
    specialUp(112, 0, 0);
    for (int i = 0; i < SPECIAL_KEY_COUNT; ++i) {
        EXPECT_FALSE(specialIsDown[i]) << i;
        EXPECT_EQ(specialPressPending[i], i == 112) << i;
    }
    // Every byte value of an ASCII key fits its table.
    keyDown(255, 0, 0);
    EXPECT_TRUE(keyIsDown[255]);
    keyUp(255, 0, 0);
    EXPECT_FALSE(keyIsDown[255]);
}

TEST_F(WorldTest, EveryBodyIsSteeredAndANewShotOnlyFromTheNextStep) {
    tap('j');
    tap('s');
    mapControls();
    ASSERT_EQ(shotCount(), 1);
    Projectile* shot = liveShot(0);
    // Fired after the list of shots was walked: its controls were not ended yet.
    shot->controls.press(&ControlState::pitchUp);
    mapControls();
    EXPECT_EQ(shot->controls.pitchUp.active, 0);
    EXPECT_LT(shot->back.y, 0.0f);
}

} // namespace
