// Kelvidron: a two-player, split-screen space duel.
#include "app/game_init.h"

#include <GL/freeglut.h>

int main(int argc, char** argv) {
    openGame(&argc, argv);
    glutMainLoop();
    return 0;
}
