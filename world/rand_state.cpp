// rand's state through glibc's setstate. setstate first writes the current position
// into the buffer it leaves and then reads the new buffer's position: restoring by
// copying into the live buffer would have that copy's position overwritten by the
// current one. So a restore copies into the buffer that is not live and switches.
#include "world/rand_state.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

namespace {

// The generator's buffers: the C library's own until the first restore, then
// alternately one of ours.
int32_t* live = nullptr;
int32_t ours[2][RandState::WORDS];

// Finds the live buffer: initstate hands back the one it leaves, with its position
// written in, and setstate goes straight back to it, position and all.
int32_t* liveBuffer() {
    if (!live) {
        static int32_t probe[RandState::WORDS];
        char* previous = initstate(1, reinterpret_cast<char*>(probe), sizeof probe);
        setstate(previous);
        live = reinterpret_cast<int32_t*>(previous);
        // Type 3 (31 words, glibc's default) is the only one the game uses; the first
        // word holds the type plus five times the position.
        assert(live[0] % 5 == 3 && "rand must use glibc's default 128-byte state");
    }
    return live;
}

} // namespace

RandState saveRandState() {
    int32_t* buffer = liveBuffer();
    // Switching to the live buffer itself writes its current position into it.
    setstate(reinterpret_cast<char*>(buffer));
    RandState state;
    std::memcpy(state.words, buffer, sizeof state.words);
    return state;
}

void restoreRandState(const RandState& state) {
    int32_t* target = liveBuffer() == ours[0] ? ours[1] : ours[0];
    std::memcpy(target, state.words, sizeof state.words);
    setstate(reinterpret_cast<char*>(target));
    live = target;
}
