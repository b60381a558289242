// Control mapping: the recorded key states become control presses, fire requests
// and the view mode, once per simulation step, in a fixed order of keys.
#include "app/control_mapping.h"

#include "app/keyboard.h"

#include "render/view_mode.h"
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

    if (releasedKey('s'))
        one.requestFire();
    if (heldKey('l'))
        one.press(&ControlState::yawRight);
    if (heldKey('j'))
        one.press(&ControlState::yawLeft);
    if (heldKey('i'))
        one.press(&ControlState::pitchUp);
    if (heldKey('k'))
        one.press(&ControlState::pitchDown);
    if (heldKey('u'))
        one.press(&ControlState::rollLeft);
    if (heldKey('o'))
        one.press(&ControlState::rollRight);
    if (heldKey('q'))
        one.press(&ControlState::thrustForward);
    if (heldKey('a'))
        one.press(&ControlState::thrustReverse);

    // Player 2's digits form the keypad cross: 8/5 pitch, 4/6 yaw, 7/9 roll.
    if (heldKey('6'))
        two.press(&ControlState::yawRight);
    if (heldKey('4'))
        two.press(&ControlState::yawLeft);
    if (heldKey('8'))
        two.press(&ControlState::pitchUp);
    if (heldKey('5'))
        two.press(&ControlState::pitchDown);
    if (heldKey('7'))
        two.press(&ControlState::rollLeft);
    if (heldKey('9'))
        two.press(&ControlState::rollRight);
    if (heldSpecial(GLUT_KEY_UP))
        two.press(&ControlState::thrustForward);
    if (heldSpecial(GLUT_KEY_DOWN))
        two.press(&ControlState::thrustReverse);
    if (releasedSpecial(GLUT_KEY_RIGHT))
        two.requestFire();

    // 'e' is tested first, so 'e' and 'r' in one step leave the view behind the ship.
    if (heldKey('e') && viewMode != 0)
        viewMode = 0;
    if (heldKey('r') && viewMode != 1)
        viewMode = 1;

    steerEveryBody();
}
