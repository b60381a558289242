// Kelvidron: a two-player, split-screen space duel.
#include "app/game_init.h"
#include "app/game_loop.h"
#include "app/platform_tick.h"
#include "app/window_record.h"
#include "input/gamepads.h"
#include "sound/sound_player.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    // The loaders' messages go out line by line: a game that is killed, or that
    // crashes in a driver, still leaves everything it printed in a log or a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    initGame();
    // After the start-up that may end the game on a bad file; a missing audio device
    // only leaves the game silent.
    startSound();
    // Without controller support the keyboard alone plays, as it always could.
    if (openGamepads())
        std::atexit(closeGamepads);
    // Sampled after start-up, so the time spent loading is never simulated.
    lastTick = GetTickCount();
    mainWindow.refreshAll();
    glutMainLoop();
    return 0;
}
