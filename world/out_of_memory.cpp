// Ending the program when memory runs out.
#include "world/out_of_memory.h"

#include <cstdio>
#include <cstdlib>

void outOfMemory(const char* what) {
    // stderr is unbuffered, so this needs no further memory.
    std::fprintf(stderr, "Kelvidron: out of memory while making %s\n", what);
    std::exit(EXIT_FAILURE);
}
