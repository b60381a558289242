// Helpers the benchmarks share: silencing the loaders' console output, and a
// started game whose frames a benchmark draws itself.
#pragma once

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
