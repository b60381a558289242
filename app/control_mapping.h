// Control mapping: the key states the keyboard callbacks record become the ships'
// controls and the view mode.
#pragma once

// Once per step: turns the recorded keys into the ships' controls and the view mode,
// then runs the steering step of every shot, planet and ship.
void mapControls();
