// Monotonic millisecond tick, wrapping at 2^32.
#include "app/platform_tick.h"

#include <ctime>

namespace {

uint32_t monotonicMillis() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

TickSource currentSource = monotonicMillis;

} // namespace

uint32_t GetTickCount() { return currentSource(); }

void setTickSource(TickSource source) { currentSource = source ? source : monotonicMillis; }
