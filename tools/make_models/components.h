// The pieces ships and cockpits are made of: hulls lofted through stations, wing
// and fin panels, engines, and a few small fittings.
#pragma once

#include "shapes.h"

#include <vector>

// One cross-section of a hull, at `z` along the ship (the nose lies towards -z).
// A station with zero width and height is a tip.
struct HullStation {
    float z;
    float halfWidth;
    float halfHeight;
    float centreY;
    // 2 is an ellipse; larger values give squarer, slab-sided sections.
    float squareness;
};

// A smooth hull through the stations: `stepsBetween` extra sections are
// interpolated between neighbouring stations, each a loop of `ringPoints`.
Part hull(const std::vector<HullStation>& stations, int ringPoints, int stepsBetween);

// A wing, fin or tailplane: a tapered aerofoil panel whose chord runs along +z.
struct PanelShape {
    Vec3 rootLeadingEdge;
    // From the root's leading edge to the tip's: span, sweep and dihedral together.
    Vec3 tipOffset;
    float rootChord;
    float tipChord;
    // Thickness as a share of the chord.
    float thickness;
    int chordPoints;
    int spanSteps;
};
Part panel(const PanelShape& shape);
// A band that sheathes the panel from `fromSpan` (0 root, 1 tip) out past its tip,
// a little thicker than the panel so it shows as a marking over it.
PanelShape panelTipBand(const PanelShape& shape, float fromSpan);

// An engine along z: a rounded pod from zFront to the nozzle lip at zExit, hollowed
// out behind to `recess`, where the glow sits.
struct EngineLayout {
    Vec3 centre; // x and y of the axis; z unused
    float zFront;
    float zExit;
    float radius;
    float nozzleRadius;
    float recess;
    int segments;
};
Part engine(const EngineLayout& layout);
// The glowing disc at the bottom of the engine's nozzle.
Part engineGlow(const EngineLayout& layout);

// A cylinder along z between z0 and z1 (a gun barrel, a strut, a light housing).
Part rod(const Vec3& axisPoint, float z0, float z1, float radius, int segments);

// A ring round the z axis with a rectangular section (a nozzle lip, a collar).
Part collar(const Vec3& axisPoint, float z0, float z1, float innerRadius, float outerRadius,
            int segments);

// A smooth curve through the points, with `stepsBetween` points added between
// each neighbouring pair.
std::vector<Vec3> smoothPath(const std::vector<Vec3>& points, int stepsBetween);

// A tube along a path of points (a strut, a frame member): sections of the given
// half sizes stand square to the path, their height turned towards `towards`.
Part tube(const std::vector<Vec3>& path, float halfWidth, float halfHeight, float squareness,
          int ringPoints, const Vec3& towards);

// Both a part and its mirror image across x = 0.
Part withMirror(const Part& part);
