// Drawing a ship's model through its handle.
#include "render/model_handle.h"

#include <GL/gl.h>

unsigned int modelLists[MODEL_LIST_COUNT];

void drawModel(int index) { glCallList(modelLists[index]); }

void ModelHandle::draw() const { drawModel(index); }
