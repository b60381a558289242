// A ship's reference to its model: an index into the table of model display lists.
#pragma once

constexpr int MODEL_LIST_COUNT = 2;

struct ModelHandle {
    int index = 0;
    void draw() const;
};

// Display lists of the two ship models: entry 0 player 1's, entry 1 player 2's.
extern unsigned int modelLists[MODEL_LIST_COUNT];
// The handles with index 0 and 1 are made by buildModels into the world's
// shipModelHandles (world/world.h) before the world is set up.

// Calls the display list stored at that index of modelLists.
void drawModel(int index);
