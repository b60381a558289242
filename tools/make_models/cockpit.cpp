// The cockpit around the player's view: the windscreen arch, the dashboard below
// it, sills, the canopy's rear arch and side glass. Designed as the player sees
// it (x right, y up, z back towards the eye) in the model's final units, and
// stored the way the overlay turns it (x left, y back, z up).
#include "components.h"
#include "models.h"

namespace {

// The overlay's eye sits at (0, 0.227, 0.758) in these coordinates and looks
// towards -z and a little down; the visible region widens from about x = +-0.1,
// y = 0.04 to 0.22 at the back of the model (z = 0.5) to about x = +-0.45, y = -0.54
// to 0.19 at its front (z = -0.5). The overlay stretches the model 12 to 15 times,
// which shrinks its normals as much: its colours come from the ambient term.

// Bright diffuse colours with a dim ambient: the little diffuse light that gets
// through still shades the shapes, and the ambient sets the overall tone.
const Rgb FRAME_GREY = {0.85f, 0.92f, 1.0f};
const Rgb DASH_DARK = {0.8f, 0.85f, 0.95f};
const Rgb GLASS = {0.30f, 0.45f, 0.60f};
const Rgb DULL = {0.2f, 0.2f, 0.2f};
const float FRAME_AMBIENT_SHARE = 0.27f;
const float DASH_AMBIENT_SHARE = 0.13f;

const int STRUT_RING = 12;

// Side windows: flat panes facing the pilot beyond the arch's pillars, and the
// roof pane above the arch.
const Vec3 SIDE_PANE_CENTRE(0.415f, 0.0f, -0.475f);
const Vec3 SIDE_PANE_HALF(0.055f, 0.42f, 0.004f);
const Vec3 ROOF_PANE_CENTRE(0.0f, 0.32f, -0.26f);
const Vec3 ROOF_PANE_HALF(0.30f, 0.12f, 0.004f);
const int STRUT_STEPS = 4;

// The windscreen arch: up from the dashboard's left corner, across the top of the
// view and down to the right corner (only the right half is given; it is
// mirrored).
const std::vector<Vec3> ARCH_RIGHT = {Vec3(0.0f, 0.190f, -0.22f),  Vec3(0.16f, 0.188f, -0.22f),
                                      Vec3(0.27f, 0.165f, -0.25f), Vec3(0.33f, 0.06f, -0.31f),
                                      Vec3(0.38f, -0.14f, -0.38f), Vec3(0.42f, -0.40f, -0.45f)};
// Half its thickness as the pilot sees it, and half its depth along the view.
const float ARCH_HALF_THICKNESS = 0.03f;
const float ARCH_HALF_DEPTH = 0.02f;

// The canopy's rear arch, above and beside the eye, out of the view.
const std::vector<Vec3> REAR_ARCH_RIGHT = {Vec3(0.0f, 0.47f, 0.44f), Vec3(0.22f, 0.43f, 0.44f),
                                           Vec3(0.38f, 0.24f, 0.44f), Vec3(0.44f, -0.05f, 0.44f),
                                           Vec3(0.45f, -0.40f, 0.44f)};
const float REAR_ARCH_HALF = 0.03f;

// Dashboard: a coaming deep enough to fill the bottom of the view up to about a
// fifth of its height, a glare shield on its front edge, and consoles rising in the
// two lower corners.
const Vec3 COAMING_CENTRE(0.0f, -0.47f, -0.30f);
const Vec3 COAMING_HALF(0.43f, 0.03f, 0.20f);
const std::vector<HullStation> GLARE_SHIELD = {
    // along x      half depth  half height  centre (y)  squareness
    {-0.30f, 0.000f, 0.000f, -0.445f, 3.0f},
    {-0.26f, 0.050f, 0.012f, -0.445f, 3.0f},
    {0.00f, 0.060f, 0.018f, -0.442f, 3.0f},
    {0.26f, 0.050f, 0.012f, -0.445f, 3.0f},
    {0.30f, 0.000f, 0.000f, -0.445f, 3.0f}};
const Vec3 CONSOLE_CENTRE(0.40f, -0.40f, -0.30f);
const Vec3 CONSOLE_HALF(0.05f, 0.07f, 0.16f);
// Instrument bezels on top of the coaming.
const int DIAL_COUNT = 6;
const float DIAL_SPACING = 0.11f;
const float DIAL_RADIUS = 0.022f;
const float DIAL_HEIGHT = -0.44f;
const float DIAL_Z = -0.30f;

// Sills along both sides from the dashboard back past the eye.
const Vec3 SILL_CENTRE(0.43f, -0.44f, 0.05f);
const Vec3 SILL_HALF(0.03f, 0.03f, 0.45f);

} // namespace

BuiltModel makeCockpit() {
    ModelBuilder m("cockpit");
    m.designedInPlace = true;
    m.storage = [](const Vec3& p) { return Vec3(-p.x, p.z, p.y); };
    const int frame = m.addMaterial(material(FRAME_GREY, FRAME_AMBIENT_SHARE, DULL, 20.0f));
    const int dash = m.addMaterial(material(DASH_DARK, DASH_AMBIENT_SHARE, DULL, 10.0f));
    const int glass = m.addMaterial(
        material(GLASS, 0.5f, {0.8f, 0.8f, 0.8f}, 90.0f, {0.04f, 0.06f, 0.08f}, 0.25f));
    const int frameGroup = m.addGroup(frame);
    const int dashGroup = m.addGroup(dash);
    const int sillGroup = m.addGroup(frame);
    const int glassGroup = m.addGroup(glass);

    auto wholeArch = [](const std::vector<Vec3>& right) {
        std::vector<Vec3> points;
        for (auto p = right.rbegin(); p != right.rend(); ++p)
            points.push_back(Vec3(-p->x, p->y, p->z));
        points.insert(points.end(), right.begin() + 1, right.end());
        return smoothPath(points, STRUT_STEPS);
    };
    const Vec3 towardsEye(0, 0, 1);
    m.add(tube(wholeArch(ARCH_RIGHT), ARCH_HALF_THICKNESS, ARCH_HALF_DEPTH, 3.0f, STRUT_RING,
               towardsEye),
          frameGroup);
    m.add(tube(wholeArch(REAR_ARCH_RIGHT), REAR_ARCH_HALF, REAR_ARCH_HALF, 3.0f, STRUT_RING,
               towardsEye),
          frameGroup);

    m.add(box(COAMING_CENTRE, COAMING_HALF, 0.015f), dashGroup);
    Part shield = hull(GLARE_SHIELD, 16, 3);
    // Lofted along z, laid across the view along x, its back towards the pilot.
    shield.turnY(90.0f).move(Vec3(0.0f, 0.0f, -0.44f));
    m.add(shield, dashGroup);
    m.add(withMirror(box(CONSOLE_CENTRE, CONSOLE_HALF, 0.02f)), dashGroup);
    for (int i = 0; i < DIAL_COUNT; ++i) {
        const float x = DIAL_SPACING * (float(i) - 0.5f * float(DIAL_COUNT - 1));
        Part dial = collar(Vec3(x, 0, 0), -0.005f, 0.006f, DIAL_RADIUS * 0.75f, DIAL_RADIUS, 20);
        // Set into the coaming's top, faces tipped back towards the pilot.
        dial.turnX(-60.0f).move(Vec3(0, DIAL_HEIGHT, DIAL_Z));
        m.add(dial, dashGroup);
    }

    m.add(withMirror(box(SILL_CENTRE, SILL_HALF, 0.01f)), sillGroup);

    m.add(withMirror(box(SIDE_PANE_CENTRE, SIDE_PANE_HALF)), glassGroup);
    m.add(box(ROOF_PANE_CENTRE, ROOF_PANE_HALF), glassGroup);
    return m.build();
}
