// Kelvidron: a two-player, split-screen space duel.
#include "app/game_loop.h"
#include "app/platform_tick.h"
#include "app/window_record.h"

#include <GL/freeglut.h>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    initGame();
    // Sampled after start-up, so the time spent loading is never simulated.
    lastTick = GetTickCount();
    mainWindow.refreshAll();
    glutMainLoop();
    return 0;
}
