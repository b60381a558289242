// The players' gamepads, read through SDL's game controller database: the first pad
// connected plays player 1, the second player 2, and each reports its sticks,
// triggers and buttons as on/off controls, as the keys are.
#pragma once

constexpr int PAD_PLAYER_COUNT = 2;

enum PadControl {
    PAD_THRUST_FORWARD,
    PAD_THRUST_REVERSE,
    PAD_YAW_RIGHT,
    PAD_YAW_LEFT,
    PAD_PITCH_UP,
    PAD_PITCH_DOWN,
    PAD_ROLL_RIGHT,
    PAD_ROLL_LEFT,
    PAD_FIRE,
    PAD_CONTROL_COUNT
};

// A stick or trigger counts as held once it is moved past this share of its full
// travel (SDL reports -32768..32767 for sticks, 0..32767 for triggers).
constexpr int PAD_DEAD_ZONE = 16384;

// Told of every control of a player's pad that went down (held) or up, in the
// order the pad did it.
using PadChange = void (*)(int player, PadControl control, bool held);

// Starts SDL's game controller support and nothing else of SDL. False when it
// cannot start: the game then goes on with the keyboard alone.
bool openGamepads();

// Takes what the pads did since the last call: pads plugged in or pulled out, and
// every control that went down or up, reported to `change`. Nothing when the pads
// are not open.
void pollGamepads(PadChange change);

// Releases every pad and stops the game controller support (only that: other parts
// of the program may use SDL for something else).
void closeGamepads();
