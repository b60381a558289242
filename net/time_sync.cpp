// Smoothing the advantage and turning it into a rate.
#include "net/time_sync.h"

#include <algorithm>

double TimeSync::rate(double localAdvantage, double remoteAdvantage, double elapsedMs) {
    // Each side's reckoning has the other's errors of latency in it the other way
    // round: half their difference is how far this side is ahead.
    const double difference = (localAdvantage - remoteAdvantage) / 2.0;
    ahead_ += (difference - ahead_) * std::min(1.0, elapsedMs / SMOOTHING_MS);
    return 1.0 - std::clamp((ahead_ - 0.5) * SLOW_DOWN_PER_STEP, 0.0, MAX_SLOW_DOWN);
}
