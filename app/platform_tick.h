// The millisecond tick the loop samples: a monotonic clock cut to an unsigned
// 32-bit count. Only differences are used, so the wrap after 2^32 ms is harmless.
#pragma once

#include <cstdint>

using TickSource = uint32_t (*)();

// The tick of the current source (the monotonic clock unless a test replaced it).
uint32_t GetTickCount();

// Replaces the clock, for tests that drive the loop with chosen times; nullptr
// restores the monotonic clock.
void setTickSource(TickSource source);
