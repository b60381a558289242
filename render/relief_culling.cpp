// Culling a relief's far faces only where the picture stays the same.
//
// The relief is a closed surface around its centre. Seen from outside it, every face
// turned away from the eye lies behind a face turned towards it, so culling the far
// faces changes nothing. The eye can see them only from inside the relief (a cockpit
// can sit in a mountain that reaches past the collision sphere) or where the near
// clipping plane cuts the relief open (a ship skimming the surface). So the far faces
// go only while no point of the near rectangle can reach the relief:
//
//     eye distance from the centre > largest vertex radius * scale + near reach.
//
// The near reach: the game's near plane lies n = 1 in front of the eye, its rectangle
// spans a 40-degree vertical field of view, so half its height is h = tan 20 deg =
// 0.36397 and half its width w = aspect * h. Its farthest points are the corners, at
// sqrt(n^2 + h^2 + w^2) = sqrt(1 + tan^2(20 deg) (1 + aspect^2)) from the eye: 1.1253
// for the default views (aspect 1029 / 1024), 1.2893 for views twice as wide as high.
// One more place shows the inside: the gaps of the texture seam, through which a ray
// from outside passes into the relief without meeting a face and then meets a far
// face from within. So the far faces also stay while one of those gaps can be seen;
// it cannot when seen edge-on, from the side where it does not open, or when it lies
// behind the ball inside every face: a ray reaching that ball has already met a
// near face, since it crosses the seam's plane only once, at the gap.
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

namespace {

// Whether the segment from `eye` to `point` passes through the ball of `radius`
// around the origin.
bool behindBall(const Vec3& eye, const Vec3& point, float radius) {
    const Vec3 d = point - eye;
    const float length2 = dot(d, d);
    float t = length2 > 0.0f ? -dot(eye, d) / length2 : 0.0f;
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    const Vec3 nearest = eye + t * d;
    return dot(nearest, nearest) < radius * radius;
}

} // namespace

bool seamGapsHidden(int list, const Vec3& eye) {
    // Within a millionth of the distance of the seam's plane (about the rounding of the
    // matrices) the eye looks along the gaps: they are millionths of a pixel wide.
    if (std::fabs(eye.z) <= 1e-6f * eye.length())
        return true;
    const float inner = reliefInnerRadius[list];
    for (int g = 0; g < reliefSeamGapCount[list]; ++g) {
        const ReliefSeamGap& gap = reliefSeamGaps[list][g];
        if (!(eye.z > 0.0f ? gap.opensTowardsPlusZ : gap.opensTowardsMinusZ))
            continue;
        // The region hidden behind a ball is convex, so a quad is hidden when its
        // corners are.
        for (const Vec3& corner : gap.corners)
            if (!behindBall(eye, corner, inner))
                return false;
    }
    return true;
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
    if (scale <= 0.0f ||
        !farFacesHidden(eyeDistance, reliefMaxRadius[list] * scale, nearPlaneReach(projection)))
        return false;
    // The eye in the relief's coordinates: minus the translation taken back through
    // the rotation (the transpose of the model-view's upper 3 by 3), and the scale.
    const float* m = modelView;
    const Vec3 eye =
        -1.0f / scale *
        Vec3(m[0] * m[12] + m[1] * m[13] + m[2] * m[14], m[4] * m[12] + m[5] * m[13] + m[6] * m[14],
             m[8] * m[12] + m[9] * m[13] + m[10] * m[14]);
    return seamGapsHidden(list, eye);
}
