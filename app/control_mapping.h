// Control mapping: the key and pad states the callbacks record become one step's
// input, which then drives the ships and chooses the view.
#pragma once

#include "world/step_input.h"

// Once per step: reads the recorded keys and pads into one step's input, consuming
// the presses it acts on.
StepInput readStepInput();

// Sets the view mode both views use; Keep leaves it as it is.
void applyViewChoice(ViewChoice view);

// readStepInput, then the view choice, then applyStepInput: the ships' controls and
// the steering step of every shot, planet and ship.
void mapControls();
