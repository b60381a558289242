// Gamepads beside the keys, on SDL's virtual pads: the mapping, the dead zone, fire
// on release, which pad plays whom as pads come and go, and a pad and a key together.
#include "app/gamepad_keys.h"
#include "support/virtual_pad.h"
#include "world_fixture.h"

#include <csignal>
#include <memory>

namespace {

using Channel = ControlState::Channel;

class Gamepads : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        ASSERT_TRUE(openGamepads()) << SDL_GetError();
        if (SDL_NumJoysticks() > 0)
            GTEST_SKIP() << "a real gamepad is plugged in; these tests need the pads to themselves";
        clearPads();
    }
    void TearDown() override {
        pads.clear();
        closeGamepads();
    }

    // Pulls every pad, takes what that did, and starts again from a fresh world.
    void startAgain() {
        pads.clear();
        readGamepads();
        freshWorld();
        clearPads();
    }

    static void clearPads() {
        for (int p = 0; p < PAD_PLAYER_COUNT; ++p)
            for (int c = 0; c < PAD_CONTROL_COUNT; ++c)
                padIsDown[p][c] = padPressPending[p][c] = false;
    }

    VirtualPad& plug(SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
        pads.push_back(std::make_unique<VirtualPad>(type));
        return *pads.back();
    }

    // One simulation step as an idle pass runs it: the pads are read, then the keys
    // and the pads become controls.
    static void step(int count = 1) {
        for (int i = 0; i < count; ++i) {
            readGamepads();
            mapControls();
        }
    }

    std::vector<std::unique_ptr<VirtualPad>> pads;
};

int shotsOf(int player) {
    int count = 0;
    for (int i = 0; i < entityListCount(projectiles); ++i)
        count += liveShot(i)->getOwner() == ships[player];
    return count;
}

// Exactly one channel of one player pressed in the last step (none for nullptr).
void expectOnlyPressed(int player, Channel pressed) {
    for (int p = 0; p < 2; ++p)
        for (Channel channel : ControlState::CHANNELS)
            EXPECT_EQ((ships[p]->controls.*channel).level,
                      p == player && channel == pressed ? 0.05f : 0.0f)
                << "player " << p + 1;
}

// Pressed in the last step: a released channel's level drops back to 0.
bool pressed(int player, Channel channel) { return (ships[player]->controls.*channel).level > 0; }

void fullThrust(VirtualPad& pad) { pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1); }
void fire(VirtualPad& pad, bool down) { pad.button(SDL_CONTROLLER_BUTTON_A, down); }

TEST_F(Gamepads, EachStickTriggerAndShoulderPressesItsChannel) {
    constexpr int BUTTON = -1;
    const struct {
        int axis;        // or BUTTON
        int value;       // the axis's raw value (negative: stick forward or left), or the button
        Channel channel; // nullptr: the game gives that control no use
    } rows[] = {
        {SDL_CONTROLLER_AXIS_LEFTY, -32768, &ControlState::pitchDown},
        {SDL_CONTROLLER_AXIS_LEFTY, 32767, &ControlState::pitchUp},
        {SDL_CONTROLLER_AXIS_LEFTX, -32768, &ControlState::yawLeft},
        {SDL_CONTROLLER_AXIS_LEFTX, 32767, &ControlState::yawRight},
        {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767, &ControlState::thrustForward},
        {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, &ControlState::thrustReverse},
        {BUTTON, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, &ControlState::rollLeft},
        {BUTTON, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, &ControlState::rollRight},
        {SDL_CONTROLLER_AXIS_RIGHTX, 32767, nullptr},
        {SDL_CONTROLLER_AXIS_RIGHTY, -32768, nullptr},
        {BUTTON, SDL_CONTROLLER_BUTTON_B, nullptr},
        {BUTTON, SDL_CONTROLLER_BUTTON_Y, nullptr},
        {BUTTON, SDL_CONTROLLER_BUTTON_DPAD_UP, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "axis " << row.axis << ", value " << row.value);
        startAgain();
        VirtualPad& pad = plug();
        step();
        if (row.axis == BUTTON)
            pad.button(static_cast<SDL_GameControllerButton>(row.value), true);
        else
            pad.stick(static_cast<SDL_GameControllerAxis>(row.axis), row.value);
        step();
        expectOnlyPressed(0, row.channel);
        EXPECT_EQ(entityListCount(projectiles), 0);
    }
}

// Past one half of the travel a control is held; at one half it is not. Each value
// is judged in the second step after it is set (the first still sees the last press
// of a control let go).
TEST_F(Gamepads, DeadZoneIsOneHalfOfTheTravel) {
    VirtualPad& pad = plug();
    step();
    const struct {
        int value;
        bool held;
    } stick[] = {{16385, true}, {16384, false}, {-16385, true}, {-16384, false}, {0, false}};
    for (const auto& row : stick) {
        SCOPED_TRACE(row.value);
        pad.stick(SDL_CONTROLLER_AXIS_LEFTX, row.value);
        step(2);
        EXPECT_EQ(pressed(0, &ControlState::yawRight) || pressed(0, &ControlState::yawLeft),
                  row.held);
    }
    const struct {
        double travel;
        bool held;
    } trigger[] = {{1.0, true}, {0.55, true}, {0.45, false}, {0.55, true}, {0.0, false}};
    for (const auto& row : trigger) {
        SCOPED_TRACE(row.travel);
        pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, row.travel);
        step(2);
        EXPECT_EQ(pressed(0, &ControlState::thrustForward), row.held);
    }
}

TEST_F(Gamepads, SouthButtonFiresOncePerPressWhenReleased) {
    VirtualPad& pad = plug();
    fire(pad, true);
    step(50);
    EXPECT_EQ(shotsOf(0), 0);
    fire(pad, false);
    step();
    EXPECT_EQ(shotsOf(0), 1);
    step(50);
    EXPECT_EQ(shotsOf(0), 1);
}

// The first pad plays player 1 and the second player 2; a third waits, and a device
// the controller database does not know plays no one. Pulling player 1's pad leaves
// player 2's where it is, and the waiting pad takes player 1.
TEST_F(Gamepads, PadsTakeThePlayersInTheOrderTheyArePluggedIn) {
    VirtualPad& unknown = plug(SDL_JOYSTICK_TYPE_FLIGHT_STICK);
    VirtualPad& first = plug();
    VirtualPad& second = plug();
    VirtualPad& third = plug();
    fullThrust(unknown);
    fullThrust(third);
    step();
    expectOnlyPressed(-1, nullptr);

    fullThrust(second);
    step();
    expectOnlyPressed(1, &ControlState::thrustForward);
    fire(second, true);
    fire(first, true);
    step();
    fire(second, false);
    fire(first, false);
    step();
    EXPECT_EQ(shotsOf(0), 1);
    EXPECT_EQ(shotsOf(1), 1);

    first.pull();
    fullThrust(second);
    step();
    // The third pad, holding its trigger all along, now flies player 1.
    EXPECT_TRUE(pressed(0, &ControlState::thrustForward));
    EXPECT_TRUE(pressed(1, &ControlState::thrustForward));
}

// A pulled pad lets go of everything: its thrust acts in one more step, as a released
// key's does, then stops; a pad plugged in again takes the free player.
TEST_F(Gamepads, PullingAPadReleasesItsControlsAndTheNextPadTakesItsPlayer) {
    VirtualPad& pad = plug();
    fullThrust(pad);
    fire(pad, true);
    step(5);
    pad.pull();
    step();
    EXPECT_TRUE(pressed(0, &ControlState::thrustForward));
    EXPECT_EQ(shotsOf(0), 1); // as if the finger came off the button
    step();
    EXPECT_FALSE(pressed(0, &ControlState::thrustForward));

    VirtualPad& again = plug();
    step();
    EXPECT_FALSE(pressed(0, &ControlState::thrustForward));
    fullThrust(again);
    step();
    EXPECT_TRUE(pressed(0, &ControlState::thrustForward));
}

// A step sees the same whether a key or a pad holds a control, and a key and a pad
// held together press it once: the ship flies exactly as with the key alone.
TEST_F(Gamepads, APadActsAsItsKeyAndBothTogetherAsOne) {
    Vec3 velocity[3], back[3];
    int shots[3];
    for (int run = 0; run < 3; ++run) { // the keys alone, the pad alone, both
        startAgain();
        VirtualPad& pad = plug();
        step();
        auto hold = [&](bool down) {
            if (run != 1)
                for (unsigned char key : {'q', 'l', 's'})
                    (down ? keyDown : keyUp)(key, 0, 0);
            if (run != 0) {
                pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, down);
                pad.stick(SDL_CONTROLLER_AXIS_LEFTX, down ? 32767 : 0);
                fire(pad, down);
            }
        };
        hold(true);
        step(30);
        hold(false);
        step(3);
        velocity[run] = ships[0]->velocity;
        back[run] = ships[0]->back;
        shots[run] = shotsOf(0);
    }
    EXPECT_NE(back[0].x, 0.0f); // the ship did turn
    for (int run = 1; run < 3; ++run) {
        SCOPED_TRACE(run);
        EXPECT_EQ(velocity[run].x, velocity[0].x);
        EXPECT_EQ(velocity[run].z, velocity[0].z);
        EXPECT_EQ(back[run].x, back[0].x);
        EXPECT_EQ(back[run].z, back[0].z);
        EXPECT_EQ(shots[run], 1);
    }
}

// SDL would otherwise catch Ctrl-C and SIGTERM and wait for an event loop the game
// does not run.
TEST_F(Gamepads, CtrlCAndTerminateStillEndTheGame) {
    // Started again from default dispositions: a shell may have handed the test
    // SIGINT ignored (a background job), which is not SDL's doing.
    closeGamepads();
    struct sigaction before[2]{};
    const int sigs[2] = {SIGINT, SIGTERM};
    for (int i = 0; i < 2; ++i) {
        sigaction(sigs[i], nullptr, &before[i]);
        signal(sigs[i], SIG_DFL);
    }
    ASSERT_TRUE(openGamepads()) << SDL_GetError();
    for (int i = 0; i < 2; ++i) {
        struct sigaction action {};
        sigaction(sigs[i], nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << sigs[i];
        sigaction(sigs[i], &before[i], nullptr);
    }
}

} // namespace
