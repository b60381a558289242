// The four models the game carries, compiled at start-up into display lists.
#pragma once

// Display lists of the overlay's cockpit and of the ship that tilts with the
// controls in front of it.
extern unsigned int cockpitList;
extern unsigned int tiltModelList;

// Makes the two ship model handles (index 0 and 1) into the world's
// shipModelHandles, then compiles the first ship, the second ship, the cockpit and
// the tilting model in this order and stores the list ids in modelLists,
// cockpitList and tiltModelList. Call once, with the game's OpenGL context current,
// before the world is set up.
void buildModels();
