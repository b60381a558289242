// The duel a replay plays: a fresh one from the replay's seed, and the refusal of a
// replay that another build's simulation made. Shared by the replay tool's commands.
#pragma once

#include "replay/duel_result.h"
#include "replay/replay_file.h"

#include <cstdint>
#include <string>

constexpr uint32_t RAND_SEED = 1;

// A fresh duel, and the fingerprint taken on it.
uint64_t freshDuel(uint32_t seed);

// Reads the replay at `file` into `reading` and sets up a fresh duel from its seed.
// Returns 0 when it can be played; otherwise prints why and returns the exit status:
// 2 for a bad file, 3 for a replay of a build that simulates differently.
int openReplayDuel(const std::string& file, ReplayReading& reading);
// Its two halves, for a program that opens its window between them: reading (0 or
// 2), then the fresh duel and the fingerprint's comparison (0 or 3).
int readReplayDuel(const std::string& file, ReplayReading& reading);
int startReplayDuel(const std::string& file, const Replay& replay);
