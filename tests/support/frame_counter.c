/* Preloaded into the real game by end-to-end scripts (LD_PRELOAD): counts the frames
 * the game shows, one per buffer swap, and keeps the count in the file named by
 * FRAME_COUNTER_FILE, so that a script can wait for frames instead of for time. The
 * game itself knows nothing of it. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static unsigned long long frames;
static int countFile = -1;

__attribute__((constructor)) static void openCountFile(void) {
    const char* path = getenv("FRAME_COUNTER_FILE");
    if (path)
        countFile = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    /* Child processes (the launcher's exec of the game, for one) count afresh. */
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static void (*realSwap)(Display*, GLXDrawable);
    if (!realSwap)
        realSwap = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    realSwap(display, drawable);
    ++frames;
    if (countFile >= 0) {
        /* Fixed width, written in place: a reader never sees a half-written number. */
        char line[24];
        const int n = snprintf(line, sizeof line, "%20llu\n", frames);
        if (pwrite(countFile, line, (size_t)n, 0) < 0)
            countFile = -1;
    }
}
