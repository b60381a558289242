// The time sync: how much slower this side's clock should run so that the side ahead
// eases back to the other, smoothly, and neither ends up stalling for it.
#pragma once

class TimeSync {
public:
    // Takes this side's advantage in steps and the one the other last reported, after
    // `elapsedMs` of wall time, and returns the rate the step clock runs at (1 at most,
    // never below 1 - MAX_SLOW_DOWN).
    double rate(double localAdvantage, double remoteAdvantage, double elapsedMs);
    // Steps this side runs ahead of the other, smoothed.
    double ahead() const { return ahead_; }

    // Every step ahead beyond half a step slows the clock by this much.
    static constexpr double SLOW_DOWN_PER_STEP = 0.03;
    static constexpr double MAX_SLOW_DOWN = 0.10;
    // The estimate follows a change in about this long.
    static constexpr double SMOOTHING_MS = 500.0;

private:
    double ahead_ = 0.0;
};
