// The start-up sequence.
#include "app/game_init.h"

#include "app/game_loop.h"
#include "app/windows.h"
#include "assets/textures.h"
#include "render/cameras.h"
#include "render/lighting.h"
#include "render/models.h"
#include "render/planet_textures.h"
#include "world/contact_rules.h"
#include "world/world.h"

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
