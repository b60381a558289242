// Control mapping: the recorded key states become one step's input (channels, fire
// requests and the view choice), once per simulation step, in a fixed order of keys.
// A gamepad's controls follow the same rules beside the keys they stand for.
#include "app/control_mapping.h"

#include "app/gamepad_keys.h"
#include "app/keyboard.h"

#include "render/cameras.h"
#include "world/step_input.h"

#include <GL/freeglut.h>

namespace {

// Acts in every step from the first after the key went down up to and including
// the first after it came up, so even a tap between two steps acts once.
bool held(bool* down, bool* pending, int k) {
    if (!pending[k])
        return false;
    if (!down[k])
        pending[k] = false;
    return true;
}

// Acts once per press, in the first step that finds the key released.
bool released(bool* down, bool* pending, int k) {
    if (!pending[k] || down[k])
        return false;
    pending[k] = false;
    return true;
}

bool heldKey(unsigned char key) { return held(keyIsDown, keyPressPending, key); }
bool releasedKey(unsigned char key) { return released(keyIsDown, keyPressPending, key); }
bool heldSpecial(int code) { return held(specialIsDown, specialPressPending, code); }
bool releasedSpecial(int code) { return released(specialIsDown, specialPressPending, code); }
bool heldPad(int player, PadControl c) {
    return held(padIsDown[player], padPressPending[player], c);
}
bool releasedPad(int player, PadControl c) {
    return released(padIsDown[player], padPressPending[player], c);
}

// Both rules are read, so a key and a pad held together are both consumed in this
// step, and the channel is pressed once: a second press would ramp it twice as fast.
bool either(bool key, bool pad) { return key || pad; }

} // namespace

StepInput readStepInput() {
    StepInput input;
    ShipInput& one = input.ships[0];
    ShipInput& two = input.ships[1];

    one.fire = either(releasedKey('s'), releasedPad(0, PAD_FIRE));
    if (either(heldKey('l'), heldPad(0, PAD_YAW_RIGHT)))
        one.channels |= YAW_RIGHT_BIT;
    if (either(heldKey('j'), heldPad(0, PAD_YAW_LEFT)))
        one.channels |= YAW_LEFT_BIT;
    if (either(heldKey('i'), heldPad(0, PAD_PITCH_UP)))
        one.channels |= PITCH_UP_BIT;
    if (either(heldKey('k'), heldPad(0, PAD_PITCH_DOWN)))
        one.channels |= PITCH_DOWN_BIT;
    if (either(heldKey('u'), heldPad(0, PAD_ROLL_LEFT)))
        one.channels |= ROLL_LEFT_BIT;
    if (either(heldKey('o'), heldPad(0, PAD_ROLL_RIGHT)))
        one.channels |= ROLL_RIGHT_BIT;
    if (either(heldKey('q'), heldPad(0, PAD_THRUST_FORWARD)))
        one.channels |= THRUST_FORWARD_BIT;
    if (either(heldKey('a'), heldPad(0, PAD_THRUST_REVERSE)))
        one.channels |= THRUST_REVERSE_BIT;

    // Player 2's digits form the keypad cross: 8/5 pitch, 4/6 yaw, 7/9 roll.
    if (either(heldKey('6'), heldPad(1, PAD_YAW_RIGHT)))
        two.channels |= YAW_RIGHT_BIT;
    if (either(heldKey('4'), heldPad(1, PAD_YAW_LEFT)))
        two.channels |= YAW_LEFT_BIT;
    if (either(heldKey('8'), heldPad(1, PAD_PITCH_UP)))
        two.channels |= PITCH_UP_BIT;
    if (either(heldKey('5'), heldPad(1, PAD_PITCH_DOWN)))
        two.channels |= PITCH_DOWN_BIT;
    if (either(heldKey('7'), heldPad(1, PAD_ROLL_LEFT)))
        two.channels |= ROLL_LEFT_BIT;
    if (either(heldKey('9'), heldPad(1, PAD_ROLL_RIGHT)))
        two.channels |= ROLL_RIGHT_BIT;
    if (either(heldSpecial(GLUT_KEY_UP), heldPad(1, PAD_THRUST_FORWARD)))
        two.channels |= THRUST_FORWARD_BIT;
    if (either(heldSpecial(GLUT_KEY_DOWN), heldPad(1, PAD_THRUST_REVERSE)))
        two.channels |= THRUST_REVERSE_BIT;
    two.fire = either(releasedSpecial(GLUT_KEY_RIGHT), releasedPad(1, PAD_FIRE));

    // Both view keys are read, so both are consumed; 'r' is applied after 'e', so
    // 'e' and 'r' in one step leave the view behind the ship.
    const bool inside = heldKey('e');
    const bool behind = heldKey('r');
    input.view = behind ? ViewChoice::Behind : inside ? ViewChoice::Inside : ViewChoice::Keep;
    return input;
}

void applyViewChoice(ViewChoice view) {
    if (view == ViewChoice::Inside)
        viewMode = 0;
    else if (view == ViewChoice::Behind)
        viewMode = 1;
}

void mapControls() {
    const StepInput input = readStepInput();
    applyViewChoice(input.view);
    applyStepInput(input);
}
