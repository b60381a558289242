// Gamepad control recording.
#include "app/gamepad_keys.h"

bool padIsDown[PAD_PLAYER_COUNT][PAD_CONTROL_COUNT];
bool padPressPending[PAD_PLAYER_COUNT][PAD_CONTROL_COUNT];

// The pending flag stays on release: a press between two steps is still seen by the
// next one, as with a key.
void padChanged(int player, PadControl control, bool held) {
    padIsDown[player][control] = held;
    if (held)
        padPressPending[player][control] = true;
}

void readGamepads() { pollGamepads(padChanged); }
