// Helpers the benchmarks share: silencing the loaders' console output, and a
// started game whose frames a benchmark draws itself.
#pragma once

#include "app/game_loop.h"
#include "frame_grab.h"

#include <GL/freeglut.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

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

// The game's start-up in a real window at its default size, quietly, with the idle
// callback off: the benchmark itself decides when steps run and frames are drawn.
inline void startGameForBenchmark(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    QuietStdout quiet;
    startGameWithoutIdle(1039, 522);
}
