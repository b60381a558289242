// The gamepads' controls kept as keys are: a down flag and a pending press per player
// and control, read by mapControls with the same rules as the keyboard.
#pragma once

#include "input/gamepads.h"

extern bool padIsDown[PAD_PLAYER_COUNT][PAD_CONTROL_COUNT];
extern bool padPressPending[PAD_PLAYER_COUNT][PAD_CONTROL_COUNT];

// Records one control of a player's pad going down or up, as keyDown and keyUp do.
void padChanged(int player, PadControl control, bool held);

// Once per idle pass, before the steps that are due: takes what the pads did since
// the last pass.
void readGamepads();
