// The replay tool's commands that open the game's window: recording a duel as the
// game plays it, and playing a replay back.
#pragma once

#include <string>

// The game exactly as kelvidron plays it, every step's input written to `file` as it
// goes. The remaining arguments are GLUT's, as the game takes them.
int recordDuel(const std::string& file, int* argc, char** argv);

// The duel of `file` again in the game's window, at its recorded speed, with the
// watcher's keys (pause, step, speed, view).
int playReplay(const std::string& file, int* argc, char** argv);
