// Culling a relief's far faces whenever the eye is outside it.
//
// The relief is a closed surface (its height maps agree at the texture seam and are
// even along the poles) around its centre. Seen from outside it, every face turned
// away from the eye lies behind a face turned towards it, so culling the far faces
// takes away nothing the eye could see. It can see them only from inside the relief
// (a cockpit can sit in a mountain that reaches past the collision sphere) or where
// the near clipping plane cuts the relief open (a ship skimming the surface). So the
// far faces go only while no point of the near rectangle can reach the relief:
//
//     eye distance from the centre > largest vertex radius * scale + near reach.
//
// The near reach: the game's near plane lies n = 1 in front of the eye, its rectangle
// spans a 40-degree vertical field of view, so half its height is h = tan 20 deg =
// 0.36397 and half its width w = aspect * h. Its farthest points are the corners, at
// sqrt(n^2 + h^2 + w^2) = sqrt(1 + tan^2(20 deg) (1 + aspect^2)) from the eye: 1.1253
// for the default views (aspect 1029 / 1024), 1.2893 for views twice as wide as high.
// What culling can still change is where rasterisation, not the geometry, decides: a
// face seen nearly edge-on at the silhouette, or a far face that ties in depth with
// the near face in front of it, may set a pixel or two differently (see
// docs/performance.md for how often).
// The relief's outside faces wind clockwise, so the far faces are OpenGL's front faces.
#include "render/relief_culling.h"

#include "assets/relief.h"

#include <GL/gl.h>

#include <cmath>
#include <limits>

bool reliefCullingAllowed = true;

float nearPlaneReach(const float projection[16]) {
    const float infinite = std::numeric_limits<float>::infinity();
    // A perspective matrix has -1 in row 4, column 3 and 0 in the corner.
    if (projection[11] != -1.0f || projection[15] != 0.0f || projection[0] == 0.0f ||
        projection[5] == 0.0f || projection[10] == 1.0f)
        return infinite;
    // Entries 10 and 14 hold -(f + n) / (f - n) and -2 f n / (f - n); 0 and 5 the
    // cotangent of half the field of view, divided by the aspect for x.
    const float n = projection[14] / (projection[10] - 1.0f);
    const float halfWidth = n / projection[0];
    const float halfHeight = n / projection[5];
    const float reach = std::sqrt(n * n + halfWidth * halfWidth + halfHeight * halfHeight);
    return std::isfinite(reach) ? reach : infinite;
}

bool farFacesHidden(float eyeDistance, float reliefRadius, float nearReach) {
    return eyeDistance > reliefRadius + nearReach;
}

bool reliefMayCullFarFaces(int list, float scale) {
    if (!reliefCullingAllowed)
        return false;
    float projection[16];
    float modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    // The model-view's last column is the relief's centre in eye coordinates, where
    // the eye sits at the origin.
    const float eyeDistance =
        std::sqrt(modelView[12] * modelView[12] + modelView[13] * modelView[13] +
                  modelView[14] * modelView[14]);
    return scale > 0.0f &&
           farFacesHidden(eyeDistance, reliefMaxRadius[list] * scale, nearPlaneReach(projection));
}
