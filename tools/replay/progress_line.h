// A progress bar on one line of standard error that redraws itself, with the share
// done and the time left; drawn only on a terminal, so logs stay clean.
#pragma once

#include <chrono>
#include <string>

class ProgressLine {
public:
    ProgressLine(std::string what, long total);
    // `done` of the total are done; redraws a few times a second at most.
    void update(long done);
    // Clears the line.
    void finish();

private:
    std::string what_;
    long total_;
    bool shown_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
};
