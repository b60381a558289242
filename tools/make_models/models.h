// The four models of the game, each designed in its own file.
#pragma once

#include "model_builder.h"

// Player 1's fighter.
BuiltModel makeFirstShip();
// Player 2's fighter, stored along y.
BuiltModel makeSecondShip();
// The canopy frame and dashboard around the overlay view.
BuiltModel makeCockpit();
// The detailed ship in front of the player, tilting with the controls.
BuiltModel makeTiltingShip();
