// Running out of memory for real, inside a death test's child process: the address
// space is capped at its current size and the heap's free space is used up, so the
// next allocation of the code under test fails.
#pragma once

#include "support/sanitizer_build.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

inline void exhaustMemory() {
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(f);
    }
    if (pages == 0)
        std::abort();
    const rlim_t size = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    const rlimit limit{size, size};
    setrlimit(RLIMIT_AS, &limit);
    // Take whatever the heap still has free, from large blocks down to the smallest.
    // Volatile, so the compiler cannot drop allocations whose blocks go unused.
    void* volatile taken = nullptr;
    for (size_t block = 1 << 20; block >= 8; block /= 2)
        do
            taken = std::malloc(block);
        while (taken != nullptr);
}
