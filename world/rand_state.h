// Saving and restoring the state of the C library's rand, which the explosions'
// particles draw from. glibc keeps it in a buffer that initstate and setstate switch
// between; this takes that buffer over without changing the sequence.
#pragma once

#include <cstdint>

struct RandState {
    // glibc's default generator: a word of type and position, then 31 words.
    static constexpr int WORDS = 32;
    int32_t words[WORDS];
};

// Where rand stands now; the sequence goes on as if nothing had happened.
RandState saveRandState();

// From now on rand continues as it would have after the save.
void restoreRandState(const RandState& state);
