// Cost of starting the game: from launching a process to the end of its first drawn
// frame. The process is this program started again in a child mode that runs the
// game's own start-up and main loop and reports back when its first frame is done.
// Run from the build folder, where Data/ is.
#include "app/game_init.h"
#include "app/game_loop.h"
#include "app/platform_tick.h"
#include "app/window_record.h"
#include "render/display_views.h"
#include "sound/sound_player.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern char** environ;

namespace {

const char* const CHILD_FLAG = "--first-frame-to-fd";

int reportFd = -1;

// Stands in for the sub-window's display callback: the first frame is drawn exactly
// as the game draws it, finished, reported, and the process ends.
void drawFirstFrame() {
    displayViews();
    glFinish();
    const char done = '\n';
    if (write(reportFd, &done, 1) != 1)
        _exit(3);
    _exit(0);
}

// What the game's main does, with the sub-window reporting its first frame.
int runChild(const char* program, int fd) {
    reportFd = fd;
    int argc = 1;
    char* argv[] = {const_cast<char*>(program), nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    initGame();
    startSound();
    lastTick = GetTickCount();
    glutSetWindow(mainWindow.subWindow(0).getId());
    glutDisplayFunc(drawFirstFrame);
    mainWindow.refreshAll();
    glutMainLoop();
    return 2;
}

// Milliseconds from spawning a child to its report of a finished first frame, or a
// negative value when it failed.
double timeOneStart() {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const std::string fd = std::to_string(fds[1]);
    char* argv[] = {const_cast<char*>("/proc/self/exe"), const_cast<char*>(CHILD_FLAG),
                    const_cast<char*>(fd.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The loaders' messages would fill the report.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char done = 0;
    const bool reported = spawned == 0 && read(fds[0], &done, 1) == 1;
    const auto end = std::chrono::steady_clock::now();
    close(fds[0]);
    int status = 0;
    if (spawned == 0)
        waitpid(pid, &status, 0);
    if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void BM_StartupToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        const double ms = timeOneStart();
        if (ms < 0) {
            state.SkipWithError("the game did not draw its first frame (is DISPLAY set, "
                                "and is this the build folder with Data/?)");
            return;
        }
        state.SetIterationTime(ms / 1000.0);
    }
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], CHILD_FLAG) == 0)
        return runChild(argv[0], std::atoi(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
