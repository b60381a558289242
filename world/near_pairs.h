// The broad phase of the shot-against-shot pass: which pairs of boxes lie near
// enough for the full contact test to be worth asking.
#pragma once

#include "world/oriented_box.h"

#include <vector>

struct BoxPair {
    int first; // first < second
    int second;
};

// Every pair of the boxes for which boxesFarApart is false, in the order the
// pair loop would reach them (by first, then by second). A pair left out is one the
// full test would call apart, so testing only these gives the same contacts as
// testing all of them. Sorts along x and sweeps: about n log n instead of n^2 / 2.
void findNearPairs(const OrientedBox* boxes, int count, std::vector<BoxPair>& pairs);
