// Lofts, lathes, boxes and spheres.
#include "shapes.h"

#include <cmath>

namespace {

const float PI = float(M_PI);

float signedPower(float value, float exponent) {
    return std::copysign(std::pow(std::fabs(value), exponent), value);
}

// A flat cap over a convex loop: a fan from its first corner. The start of a loft
// runs its fan the other way round from the end, so that every edge is crossed
// once in each direction and the surface keeps one orientation.
void capRing(Part& part, const std::vector<int>& ring, float v, bool atStart) {
    const int n = static_cast<int>(ring.size());
    for (int i = 1; i + 1 < n; ++i) {
        const PartCorner first{ring[0], {0.0f, v}};
        const PartCorner a{ring[i], {float(i) / float(n), v}};
        const PartCorner b{ring[i + 1], {float(i + 1) / float(n), v}};
        if (atStart)
            part.addTriangle(first, b, a);
        else
            part.addTriangle(first, a, b);
    }
}

} // namespace

Ring superEllipseRing(const Vec3& centre, float halfWidth, float halfHeight, float exponent,
                      int points) {
    Ring ring;
    for (int i = 0; i < points; ++i) {
        const float t = 2.0f * PI * float(i) / float(points);
        ring.push_back(centre + Vec3(halfWidth * signedPower(std::sin(t), 2.0f / exponent),
                                     halfHeight * signedPower(std::cos(t), 2.0f / exponent), 0.0f));
    }
    return ring;
}

Ring aerofoilRing(const Vec3& leadingEdge, const Vec3& chordAxis, const Vec3& thicknessAxis,
                  float chord, float thicknessRatio, int points) {
    // Half-thickness of a classic symmetric section with a closed trailing edge.
    auto halfThickness = [&](float x) {
        return 5.0f * thicknessRatio * chord *
               (0.2969f * std::sqrt(x) - 0.126f * x - 0.3516f * x * x + 0.2843f * x * x * x -
                0.1036f * x * x * x * x);
    };
    const int half = points / 2;
    Ring ring;
    // Cosine spacing crowds the points round the curved leading edge.
    for (int i = 0; i < half; ++i) {
        const float x = 0.5f * (1.0f + std::cos(PI * float(i) / float(half)));
        ring.push_back(leadingEdge + chordAxis * (x * chord) + thicknessAxis * halfThickness(x));
    }
    for (int i = 0; i < half; ++i) {
        const float x = 0.5f * (1.0f - std::cos(PI * float(i) / float(half)));
        ring.push_back(leadingEdge + chordAxis * (x * chord) - thicknessAxis * halfThickness(x));
    }
    return ring;
}

Part loft(const std::vector<Ring>& rings) {
    Part part;
    const int count = static_cast<int>(rings.size());
    std::vector<std::vector<int>> ids(count);
    int n = 0;
    for (int r = 0; r < count; ++r) {
        for (const Vec3& p : rings[r])
            ids[r].push_back(part.addVertex(p));
        if (rings[r].size() > 1)
            n = static_cast<int>(rings[r].size());
    }
    auto at = [&](int r, int i) { return ids[r].size() == 1 ? ids[r][0] : ids[r][i % n]; };
    for (int r = 0; r + 1 < count; ++r) {
        const float v0 = float(r) / float(count - 1);
        const float v1 = float(r + 1) / float(count - 1);
        for (int i = 0; i < n; ++i) {
            const float u0 = float(i) / float(n);
            const float u1 = float(i + 1) / float(n);
            part.addQuad({at(r, i), {u0, v0}}, {at(r, i + 1), {u1, v0}},
                         {at(r + 1, i + 1), {u1, v1}}, {at(r + 1, i), {u0, v1}});
        }
    }
    if (ids.front().size() > 1)
        capRing(part, ids.front(), 0.0f, true);
    if (ids.back().size() > 1)
        capRing(part, ids.back(), 1.0f, false);
    part.orientOutward();
    return part;
}

Part lathe(const std::vector<ProfilePoint>& profile, int segments, bool closedLoop) {
    std::vector<Ring> rings;
    for (const ProfilePoint& p : profile) {
        if (p.radius <= 0.0f)
            rings.push_back({Vec3(0, 0, p.z)});
        else
            rings.push_back(superEllipseRing(Vec3(0, 0, p.z), p.radius, p.radius, 2.0f, segments));
    }
    if (!closedLoop)
        return loft(rings);
    // A loop: the rings join up with the first again and nothing needs a cap.
    Part part;
    const int count = static_cast<int>(rings.size());
    std::vector<int> base(count);
    for (int r = 0; r < count; ++r) {
        base[r] = static_cast<int>(part.vertices.size());
        for (const Vec3& p : rings[r])
            part.addVertex(p);
    }
    for (int r = 0; r < count; ++r) {
        const int next = (r + 1) % count;
        const float v0 = float(r) / float(count);
        const float v1 = float(r + 1) / float(count);
        for (int i = 0; i < segments; ++i) {
            const int j = (i + 1) % segments;
            const float u0 = float(i) / float(segments);
            const float u1 = float(i + 1) / float(segments);
            part.addQuad({base[r] + i, {u0, v0}}, {base[r] + j, {u1, v0}},
                         {base[next] + j, {u1, v1}}, {base[next] + i, {u0, v1}});
        }
    }
    part.orientOutward();
    return part;
}

Part box(const Vec3& centre, const Vec3& h, float bevel) {
    const float b = std::fmin(bevel, 0.9f * std::fmin(h.x, h.y));
    // Rectangular cross-sections along z with their corners cut; at the bevelled
    // ends the cut shrinks to nothing and the coinciding corners make no faces.
    auto section = [&](float z, float inset) {
        const float x = h.x - inset;
        const float y = h.y - inset;
        const float c = std::fmax(0.0f, b - inset);
        if (b <= 0.0f)
            return Ring{centre + Vec3(-x, y, z), centre + Vec3(x, y, z), centre + Vec3(x, -y, z),
                        centre + Vec3(-x, -y, z)};
        return Ring{centre + Vec3(-x + c, y, z),  centre + Vec3(x - c, y, z),
                    centre + Vec3(x, y - c, z),   centre + Vec3(x, -y + c, z),
                    centre + Vec3(x - c, -y, z),  centre + Vec3(-x + c, -y, z),
                    centre + Vec3(-x, -y + c, z), centre + Vec3(-x, y - c, z)};
    };
    std::vector<Ring> rings;
    if (b > 0.0f) {
        const float bz = std::fmin(b, 0.9f * h.z);
        rings = {section(-h.z, bz), section(-h.z + bz, 0.0f), section(h.z - bz, 0.0f),
                 section(h.z, bz)};
    } else {
        rings = {section(-h.z, 0.0f), section(h.z, 0.0f)};
    }
    Part part = loft(rings);
    part.creaseDegrees = 30.0f;
    return part;
}

Part sphere(const Vec3& centre, float radius, int segments, int rings) {
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= rings; ++i) {
        const float a = PI * float(i) / float(rings);
        profile.push_back(
            {i == 0 || i == rings ? 0.0f : radius * std::sin(a), -radius * std::cos(a)});
    }
    Part part = lathe(profile, segments);
    part.move(centre);
    return part;
}
