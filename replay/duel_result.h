// How a duel stands, from the ships as the world has them now, and in words: what a
// replay records at its end and what the tools print.
#pragma once

#include "replay/replay_file.h"

DuelResult duelResultNow();
const char* duelResultText(DuelResult result);
