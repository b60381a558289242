// The start-up sequence.
#include "app/game_init.h"

#include "app/game_loop.h"
#include "app/platform_tick.h"
#include "app/window_record.h"
#include "app/windows.h"
#include "assets/textures.h"
#include "input/gamepads.h"
#include "render/cameras.h"
#include "render/display_views.h"
#include "render/lighting.h"
#include "render/models.h"
#include "render/planet_textures.h"
#include "sound/sound_player.h"
#include "world/contact_rules.h"
#include "world/world.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

// Every OpenGL object must be made in the sub-window's context, which exists only
// once the windows do; the world comes last because it takes the textures and the
// ship models that the steps before it make (handed over through the world's own
// tables: buildModels writes the model handles, fillPlanetTextures the planets'
// texture names).
void initGame() {
    createWindows();
    hitFlash[0] = 0;
    hitFlash[1] = 0;
    initCameras();
    initLighting();
    resetMaterial();
    loadTextures();
    buildModels();
    fillPlanetTextures();
    setUpWorld();
    stepAccumulator = 0.0f;
}

void openGame(int* argc, char** argv) {
    // The loaders' messages go out line by line: a game that is killed, or that
    // crashes in a driver, still leaves everything it printed in a log or a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    glutInit(argc, argv);
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
}

void openSingleView(int player, int* argc, char** argv) {
    showSingleView(player);
    hearAsPlayer(player);
    openGame(argc, argv);
}
