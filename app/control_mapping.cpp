// Control mapping: the recorded key states become control presses, fire requests
// and the view mode, once per simulation step, in a fixed order of keys. A gamepad's
// controls follow the same rules beside the keys they stand for.
#include "app/control_mapping.h"

#include "app/gamepad_keys.h"
#include "app/keyboard.h"

#include "render/cameras.h"
#include "world/celestial_body.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"

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

void steerEveryBody() {
    // A shot fired below is appended after this walk, so it is not steered until
    // the next step.
    for (int i = 0; i < entityListCount(projectiles); ++i)
        entityListPointerAt<Projectile>(projectiles, i)->steer();
    for (int k = 0; k < celestialBodyCount; ++k)
        celestialBodies[k]->steer();
    for (int s = 0; s < shipCount; ++s)
        ships[s]->steer();
}

} // namespace

void mapControls() {
    ControlState& one = ships[0]->controls;
    ControlState& two = ships[1]->controls;

    if (either(releasedKey('s'), releasedPad(0, PAD_FIRE)))
        one.requestFire();
    if (either(heldKey('l'), heldPad(0, PAD_YAW_RIGHT)))
        one.press(&ControlState::yawRight);
    if (either(heldKey('j'), heldPad(0, PAD_YAW_LEFT)))
        one.press(&ControlState::yawLeft);
    if (either(heldKey('i'), heldPad(0, PAD_PITCH_UP)))
        one.press(&ControlState::pitchUp);
    if (either(heldKey('k'), heldPad(0, PAD_PITCH_DOWN)))
        one.press(&ControlState::pitchDown);
    if (either(heldKey('u'), heldPad(0, PAD_ROLL_LEFT)))
        one.press(&ControlState::rollLeft);
    if (either(heldKey('o'), heldPad(0, PAD_ROLL_RIGHT)))
        one.press(&ControlState::rollRight);
    if (either(heldKey('q'), heldPad(0, PAD_THRUST_FORWARD)))
        one.press(&ControlState::thrustForward);
    if (either(heldKey('a'), heldPad(0, PAD_THRUST_REVERSE)))
        one.press(&ControlState::thrustReverse);

    // Player 2's digits form the keypad cross: 8/5 pitch, 4/6 yaw, 7/9 roll.
    if (either(heldKey('6'), heldPad(1, PAD_YAW_RIGHT)))
        two.press(&ControlState::yawRight);
    if (either(heldKey('4'), heldPad(1, PAD_YAW_LEFT)))
        two.press(&ControlState::yawLeft);
    if (either(heldKey('8'), heldPad(1, PAD_PITCH_UP)))
        two.press(&ControlState::pitchUp);
    if (either(heldKey('5'), heldPad(1, PAD_PITCH_DOWN)))
        two.press(&ControlState::pitchDown);
    if (either(heldKey('7'), heldPad(1, PAD_ROLL_LEFT)))
        two.press(&ControlState::rollLeft);
    if (either(heldKey('9'), heldPad(1, PAD_ROLL_RIGHT)))
        two.press(&ControlState::rollRight);
    if (either(heldSpecial(GLUT_KEY_UP), heldPad(1, PAD_THRUST_FORWARD)))
        two.press(&ControlState::thrustForward);
    if (either(heldSpecial(GLUT_KEY_DOWN), heldPad(1, PAD_THRUST_REVERSE)))
        two.press(&ControlState::thrustReverse);
    if (either(releasedSpecial(GLUT_KEY_RIGHT), releasedPad(1, PAD_FIRE)))
        two.requestFire();

    // 'e' is tested first, so 'e' and 'r' in one step leave the view behind the ship.
    if (heldKey('e') && viewMode != 0)
        viewMode = 0;
    if (heldKey('r') && viewMode != 1)
        viewMode = 1;

    steerEveryBody();
}
