// The four models' data, written into the build by kelvidron-make-models.
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
