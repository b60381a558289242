// kelvidron-replay video: a replay drawn in the game's window and heard through its
// sounds, written as an MP4.
#pragma once

#include <string>

// A video shows the game's window at its default size, cut to even sizes for H.264
// (the last column, part of the grey frame around the views, is left out).
constexpr int VIDEO_WINDOW_WIDTH = 1039;
constexpr int VIDEO_WINDOW_HEIGHT = 522;
constexpr int VIDEO_FRAMES_PER_SECOND = 60;

// Writes the duel of the replay at `replayPath` to `outPath`; `program` is argv[0].
// Returns the exit status: 0 done, 1 the duel differs from the recording, 2 a bad
// replay or a video that cannot be made or written, 3 another build's replay.
int videoCommand(const std::string& replayPath, const std::string& outPath, char* program);
