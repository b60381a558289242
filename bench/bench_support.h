// Helpers the benchmarks share: silencing the loaders' console output, and a
// started game whose frames a benchmark draws itself.
#pragma once

#include "app/game_loop.h"
#include "frame_grab.h"

#include <GL/freeglut.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

// The loaders talk on stdout, where the benchmark reports too.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_;
};

// CPU time of the whole process (the rasterizer's threads included) in ms. Beside
// the wall time it shows how much work a frame is, which the machine's other load
// does not change.
inline double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// The game's start-up in a real window at its default size, quietly, with the idle
// callback off: the benchmark itself decides when steps run and frames are drawn.
inline void startGameForBenchmark(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    QuietStdout quiet;
    startGameWithoutIdle(1039, 522);
}
