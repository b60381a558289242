// When a relief planet may be drawn with the faces turned away from the eye culled:
// only where that cannot change a pixel.
#pragma once

#include "math/vec3.h"

// Off draws every face of every relief, as when the eye is close; tests and the
// benchmarks' floor turn it off to compare with that picture and that cost.
extern bool reliefCullingAllowed;

// The farthest a point of the near clipping rectangle lies from the eye, for a
// perspective projection matrix (column-major); infinite for any other projection.
float nearPlaneReach(const float projection[16]);

// Whether a relief whose vertices lie within `reliefRadius` of its centre, seen from
// `eyeDistance` away, can lose its far faces without a visible change.
bool farFacesHidden(float eyeDistance, float reliefRadius, float nearReach);

// Whether no gap of relief list `list`'s texture seam can be seen from `eye` (in the
// relief's own coordinates): each gap is seen edge-on, from the side where it
// does not open, or lies wholly behind the ball that no face of the relief enters.
bool seamGapsHidden(int list, const Vec3& eye);

// The decision for relief list `list` drawn at `scale` under the current projection
// and model-view matrices (the relief's centre at the model-view's origin).
bool reliefMayCullFarFaces(int list, float scale);
