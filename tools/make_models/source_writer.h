// Writes built models as C++ source for the game library.
#pragma once

#include "model_builder.h"

#include <cstdio>
#include <vector>

// The file defines one MeshModel per built model, named <name>Model. Returns false
// if writing failed.
bool writeModelSource(std::FILE* out, const std::vector<BuiltModel>& models);
