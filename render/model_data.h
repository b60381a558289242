// The four models' data. It is generated at build time by tools/make_models
// (kelvidron-make-models) into the build tree as generated/model_data.cpp and
// compiled into render/'s library, so a search of the sources finds only these
// declarations; tools/make_models/first_ship.cpp and its neighbours design them.
#pragma once

#include "render/mesh_model.h"

// Player 1's ship: long along z, nose at z = -0.5.
extern const MeshModel firstShipModel;
// Player 2's ship: stored along y, laid along z by its list.
extern const MeshModel secondShipModel;
// The canopy frame and dashboard of the overlay.
extern const MeshModel cockpitModel;
// The detailed ship in front of the player that tilts with the controls.
extern const MeshModel tiltingModel;
