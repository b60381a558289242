// Compiling a polygon model into an OpenGL display list.
#pragma once

#include "render/mesh_model.h"

// Compiles the model into a new display list and returns its id. The list switches
// material at the start of every group, so calling it leaves the last group's
// material current (and, for models that switch blending, its blend state and
// colour).
int buildModelList(const MeshModel& model);

// Records into the list being compiled: the end of the current triangle batch, the
// material of the given entry on both faces, blending for translucent materials
// when the model switches blending, and the start of a new batch.
void applyMeshMaterial(const MeshModel& model, int index);
