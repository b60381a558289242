// Relief spheres: spheres of radius 4 displaced by a height map, at three levels
// of detail, compiled into display lists.
#pragma once

constexpr int RELIEF_LIST_COUNT = 12;

// Entry 3 * set + level: set 0 Earth, 1 Pluto, 2 Mars, 3 Venus; level 0, 1, 2 are
// resolutions 100, 200 and 400.
extern unsigned int reliefLists[RELIEF_LIST_COUNT];
