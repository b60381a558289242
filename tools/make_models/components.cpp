// Hulls, panels, engines and rods.
#include "components.h"

#include <cmath>

namespace {

// Catmull-Rom through the four values, at t between b and c; never below zero
// for sizes.
float spline(float a, float b, float c, float d, float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return 0.5f * (2.0f * b + (c - a) * t + (2.0f * a - 5.0f * b + 4.0f * c - d) * t2 +
                   (3.0f * b - a - 3.0f * c + d) * t3);
}

} // namespace

Part hull(const std::vector<HullStation>& s, int ringPoints, int stepsBetween) {
    const int n = static_cast<int>(s.size());
    auto at = [&](int i) { return s[std::max(0, std::min(n - 1, i))]; };
    std::vector<Ring> rings;
    for (int i = 0; i + 1 < n; ++i) {
        const int steps = stepsBetween + 1;
        for (int k = 0; k < steps || (i + 2 == n && k == steps); ++k) {
            const float t = float(k) / float(steps);
            const HullStation a = at(i - 1), b = at(i), c = at(i + 1), d = at(i + 2);
            const float z = b.z + (c.z - b.z) * t;
            const float w =
                std::fmax(0.0f, spline(a.halfWidth, b.halfWidth, c.halfWidth, d.halfWidth, t));
            const float h =
                std::fmax(0.0f, spline(a.halfHeight, b.halfHeight, c.halfHeight, d.halfHeight, t));
            const float y = spline(a.centreY, b.centreY, c.centreY, d.centreY, t);
            const float e = b.squareness + (c.squareness - b.squareness) * t;
            const bool tip = (k == 0 && i == 0) || (k == steps && i + 2 == n);
            if (tip && w == 0.0f && h == 0.0f)
                rings.push_back({Vec3(0, y, z)});
            else
                rings.push_back(superEllipseRing(Vec3(0, y, z), std::fmax(w, 1e-4f),
                                                 std::fmax(h, 1e-4f), e, ringPoints));
        }
    }
    return loft(rings);
}

Part panel(const PanelShape& shape) {
    Vec3 span = shape.tipOffset;
    span.setLength(1.0f);
    const Vec3 chordAxis(0, 0, 1);
    Vec3 thicknessAxis = cross(chordAxis, span);
    thicknessAxis.setLength(1.0f);
    std::vector<Ring> rings;
    for (int i = 0; i <= shape.spanSteps; ++i) {
        const float t = float(i) / float(shape.spanSteps);
        const float chord = shape.rootChord + (shape.tipChord - shape.rootChord) * t;
        rings.push_back(aerofoilRing(shape.rootLeadingEdge + shape.tipOffset * t, chordAxis,
                                     thicknessAxis, chord, shape.thickness, shape.chordPoints));
    }
    Part part = loft(rings);
    part.creaseDegrees = 50.0f;
    return part;
}

PanelShape panelTipBand(const PanelShape& shape, float fromSpan) {
    PanelShape band = shape;
    const float margin = 0.01f;
    const float chordAt = shape.rootChord + (shape.tipChord - shape.rootChord) * fromSpan;
    // Slightly ahead of the leading edge and past the trailing edge.
    band.rootLeadingEdge =
        shape.rootLeadingEdge + shape.tipOffset * fromSpan - Vec3(0, 0, chordAt * margin);
    band.tipOffset = shape.tipOffset * (1.0f - fromSpan + margin);
    band.rootChord = chordAt * (1.0f + 2.0f * margin);
    band.tipChord = shape.tipChord * (1.0f + 2.0f * margin);
    band.thickness = shape.thickness * 1.25f;
    band.spanSteps = 1;
    return band;
}

Part engine(const EngineLayout& layout) {
    const float length = layout.zExit - layout.zFront;
    const float r = layout.radius;
    const float n = layout.nozzleRadius;
    Part part = lathe({{0.0f, layout.zFront},
                       {r * 0.85f, layout.zFront + length * 0.06f},
                       {r, layout.zFront + length * 0.2f},
                       {r, layout.zExit - length * 0.25f},
                       {n, layout.zExit},
                       {n * 0.8f, layout.zExit},
                       {n * 0.7f, layout.zExit - layout.recess},
                       {0.0f, layout.zExit - layout.recess}},
                      layout.segments);
    part.creaseDegrees = 45.0f;
    return part.move(Vec3(layout.centre.x, layout.centre.y, 0));
}

Part engineGlow(const EngineLayout& layout) {
    const float glowZ = layout.zExit - layout.recess * 0.9f;
    Part part = lathe({{0.0f, glowZ - layout.recess * 0.05f},
                       {layout.nozzleRadius * 0.72f, glowZ - layout.recess * 0.05f},
                       {layout.nozzleRadius * 0.72f, glowZ},
                       {layout.nozzleRadius * 0.4f, glowZ + layout.recess * 0.3f},
                       {0.0f, glowZ + layout.recess * 0.35f}},
                      layout.segments);
    return part.move(Vec3(layout.centre.x, layout.centre.y, 0));
}

Part rod(const Vec3& axisPoint, float z0, float z1, float radius, int segments) {
    Part part = lathe({{0.0f, z0}, {radius, z0}, {radius, z1}, {0.0f, z1}}, segments);
    part.creaseDegrees = 50.0f;
    return part.move(Vec3(axisPoint.x, axisPoint.y, 0));
}

Part collar(const Vec3& axisPoint, float z0, float z1, float innerRadius, float outerRadius,
            int segments) {
    Part part = lathe({{innerRadius, z0}, {outerRadius, z0}, {outerRadius, z1}, {innerRadius, z1}},
                      segments, true);
    part.creaseDegrees = 50.0f;
    return part.move(Vec3(axisPoint.x, axisPoint.y, 0));
}

std::vector<Vec3> smoothPath(const std::vector<Vec3>& p, int stepsBetween) {
    const int n = static_cast<int>(p.size());
    auto at = [&](int i) { return p[std::max(0, std::min(n - 1, i))]; };
    std::vector<Vec3> path;
    for (int i = 0; i + 1 < n; ++i) {
        for (int k = 0; k <= stepsBetween; ++k) {
            const float t = float(k) / float(stepsBetween + 1);
            const Vec3 a = at(i - 1), b = at(i), c = at(i + 1), d = at(i + 2);
            path.push_back(Vec3(spline(a.x, b.x, c.x, d.x, t), spline(a.y, b.y, c.y, d.y, t),
                                spline(a.z, b.z, c.z, d.z, t)));
        }
    }
    path.push_back(p.back());
    return path;
}

Part tube(const std::vector<Vec3>& path, float halfWidth, float halfHeight, float squareness,
          int ringPoints, const Vec3& towards) {
    const int n = static_cast<int>(path.size());
    std::vector<Ring> rings;
    for (int i = 0; i < n; ++i) {
        Vec3 along = path[std::min(n - 1, i + 1)] - path[std::max(0, i - 1)];
        along.setLength(1.0f);
        Vec3 side = cross(along, towards);
        side.setLength(1.0f);
        const Vec3 up = cross(side, along);
        Ring ring;
        for (const Vec3& q :
             superEllipseRing(Vec3(), halfWidth, halfHeight, squareness, ringPoints))
            ring.push_back(path[i] + side * q.x + up * q.y);
        rings.push_back(ring);
    }
    return loft(rings);
}

Part withMirror(const Part& part) {
    Part both = part;
    both.append(mirroredX(part));
    return both;
}
