// Start-up compilation of the embedded models, and drawing one through its handle.
#include "render/models.h"

#include "render/model_data.h"
#include "render/model_lists.h"
#include "world/world.h"

#include <GL/gl.h>

#include <new>

unsigned int modelLists[MODEL_LIST_COUNT];
unsigned int cockpitList;
unsigned int tiltModelList;

static_assert(MODEL_LIST_COUNT == MAX_SHIPS, "one ship model per ship");

void buildModels() {
    // A handle that cannot be made is left null; start-up goes on and that ship is not drawn.
    for (int i = 0; i < MODEL_LIST_COUNT; ++i) {
        shipModelHandles[i] = new (std::nothrow) ModelHandle;
        if (shipModelHandles[i])
            shipModelHandles[i]->index = i;
    }
    const int firstShip = buildModelList(firstShipModel);
    const int secondShip = buildModelList(secondShipModel);
    const int cockpit = buildModelList(cockpitModel);
    const int tilting = buildModelList(tiltingModel);
    modelLists[0] = static_cast<unsigned int>(firstShip);
    modelLists[1] = static_cast<unsigned int>(secondShip);
    cockpitList = static_cast<unsigned int>(cockpit);
    tiltModelList = static_cast<unsigned int>(tilting);
}

void drawModel(int index) { glCallList(modelLists[index]); }

void ModelHandle::draw() const { drawModel(index); }
