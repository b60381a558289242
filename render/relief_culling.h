// When a relief planet may be drawn with the faces turned away from the eye culled:
// whenever the eye is outside it and the near plane cannot cut it open.
#pragma once

// Off draws every face of every relief, as when the eye is close; tests and the
// benchmarks' floor turn it off to compare with that picture and that cost.
extern bool reliefCullingAllowed;

// The farthest a point of the near clipping rectangle lies from the eye, for a
// perspective projection matrix (column-major); infinite for any other projection.
float nearPlaneReach(const float projection[16]);

// Whether a relief whose vertices lie within `reliefRadius` of its centre, seen from
// `eyeDistance` away, can lose its far faces: every one of them then lies behind a
// near face.
bool farFacesHidden(float eyeDistance, float reliefRadius, float nearReach);

// The decision for relief list `list` drawn at `scale` under the current projection
// and model-view matrices (the relief's centre at the model-view's origin).
bool reliefMayCullFarFaces(int list, float scale);
