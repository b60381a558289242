// The four models the game carries, compiled at start-up into display lists, and a
// ship's handle on its model.
#pragma once

constexpr int MODEL_LIST_COUNT = 2;

// A ship's reference to its model: an index into modelLists.
struct ModelHandle {
    int index = 0;
    void draw() const;
};

// Display lists of the two ship models: entry 0 player 1's, entry 1 player 2's.
extern unsigned int modelLists[MODEL_LIST_COUNT];

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

// Calls the display list stored at that index of modelLists.
void drawModel(int index);
