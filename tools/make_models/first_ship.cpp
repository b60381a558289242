// Player 1's fighter: a sleek white arrow with blue trim, twin engines and canted
// tail fins. Designed nose towards -z, up +y, one unit long.
#include "components.h"
#include "models.h"

namespace {

// Colours.
const Rgb HULL_WHITE = {0.74f, 0.76f, 0.80f};
const Rgb BELLY_GREY = {0.32f, 0.35f, 0.42f};
const Rgb TRIM_BLUE = {0.12f, 0.32f, 0.85f};
const Rgb ENGINE_METAL = {0.38f, 0.38f, 0.40f};
const Rgb COCKPIT_DARK = {0.12f, 0.12f, 0.14f};
const Rgb GUN_BLACK = {0.08f, 0.08f, 0.09f};
const Rgb GLASS_TINT = {0.35f, 0.6f, 0.85f};
const Rgb GLOW_CORE = {0.45f, 0.75f, 1.0f};
const Rgb LENS_WHITE = {1.0f, 0.95f, 0.8f};
const Rgb WHITE = {1.0f, 1.0f, 1.0f};
const Rgb SOFT = {0.35f, 0.35f, 0.35f};
const Rgb NONE = {0.0f, 0.0f, 0.0f};

// Fuselage sections from the nose back to the tail.
const std::vector<HullStation> FUSELAGE = {
    // z      half width  half height  centre y  squareness
    {-0.50f, 0.000f, 0.000f, -0.005f, 2.0f}, {-0.42f, 0.028f, 0.022f, -0.002f, 2.2f},
    {-0.30f, 0.050f, 0.040f, 0.004f, 2.4f},  {-0.16f, 0.066f, 0.052f, 0.008f, 2.6f},
    {0.00f, 0.090f, 0.056f, 0.006f, 3.0f},   {0.20f, 0.110f, 0.052f, 0.004f, 3.2f},
    {0.36f, 0.100f, 0.046f, 0.004f, 3.2f},   {0.42f, 0.070f, 0.030f, 0.004f, 3.0f},
};

// The bubble canopy over the pilot.
const std::vector<HullStation> CANOPY = {
    {-0.30f, 0.000f, 0.000f, 0.040f, 2.0f}, {-0.24f, 0.030f, 0.030f, 0.045f, 2.0f},
    {-0.14f, 0.042f, 0.044f, 0.048f, 2.0f}, {-0.04f, 0.036f, 0.036f, 0.046f, 2.0f},
    {0.04f, 0.000f, 0.000f, 0.040f, 2.0f},
};

const PanelShape WING = {
    Vec3(0.07f, -0.004f, -0.10f), Vec3(0.33f, -0.020f, 0.30f), 0.46f, 0.10f, 0.06f, 14, 3};
const PanelShape TAIL_FIN = {
    Vec3(0.075f, 0.040f, 0.18f), Vec3(0.070f, 0.150f, 0.16f), 0.22f, 0.08f, 0.07f, 12, 2};
const PanelShape VENTRAL_FIN = {
    Vec3(0.060f, -0.040f, 0.22f), Vec3(0.030f, -0.050f, 0.08f), 0.14f, 0.06f, 0.08f, 10, 1};

const EngineLayout ENGINE = {Vec3(0.055f, 0.004f, 0.0f), 0.12f, 0.50f, 0.048f, 0.042f, 0.05f, 14};

// Air intakes under the wing roots, on both sides of the fuselage.
const std::vector<HullStation> INTAKE = {
    {-0.16f, 0.022f, 0.026f, 0.0f, 4.0f},
    {-0.04f, 0.028f, 0.030f, 0.0f, 4.0f},
    {0.12f, 0.024f, 0.024f, 0.0f, 3.0f},
    {0.18f, 0.000f, 0.000f, 0.0f, 3.0f},
};
const Vec3 INTAKE_OFFSET(0.085f, -0.030f, 0.0f);

// Cannon pods along the wing tips, their barrels reaching forward.
const Vec3 GUN_AXIS(0.405f, -0.024f, 0.0f);
const float GUN_POD_FRONT = 0.15f;
const float GUN_POD_BACK = 0.33f;
const float GUN_POD_RADIUS = 0.013f;
const float GUN_BARREL_FRONT = 0.07f;
const float GUN_BARREL_RADIUS = 0.005f;

} // namespace

BuiltModel makeFirstShip() {
    ModelBuilder m("firstShip");
    m.keepTexCoords = true;
    const int white = m.addGroup(m.addMaterial(material(HULL_WHITE, 0.3f, SOFT, 40.0f)));
    const int belly = m.addGroup(m.addMaterial(material(BELLY_GREY, 0.35f, SOFT, 20.0f)));
    const int trim = m.addGroup(m.addMaterial(material(TRIM_BLUE, 0.35f, SOFT, 30.0f)));
    const int metal = m.addGroup(m.addMaterial(material(ENGINE_METAL, 0.35f, WHITE, 60.0f)));
    const int cockpit = m.addGroup(m.addMaterial(material(COCKPIT_DARK, 0.4f, SOFT, 10.0f)));
    const int guns = m.addGroup(m.addMaterial(material(GUN_BLACK, 0.5f, SOFT, 80.0f)));
    // Translucent last, so whatever lies behind them is already drawn.
    const int glass =
        m.addGroup(m.addMaterial(material(GLASS_TINT, 0.3f, WHITE, 100.0f, NONE, 0.895f)));
    const int glow = m.addGroup(
        m.addMaterial(material(GLOW_CORE, 0.5f, NONE, 0.0f, {0.3f, 0.55f, 1.0f}, 0.75f)));
    const int lenses = m.addGroup(
        m.addMaterial(material(LENS_WHITE, 0.5f, WHITE, 90.0f, {0.8f, 0.7f, 0.5f}, 0.8f)));

    m.add(hull(FUSELAGE, 16, 1), white);
    m.add(withMirror(panel(WING)), white);
    m.add(withMirror(panel(TAIL_FIN)), trim);
    m.add(withMirror(panel(VENTRAL_FIN)), belly);
    m.add(withMirror(engine(ENGINE)), metal);
    m.add(hull(CANOPY, 12, 1), glass);
    m.add(box(Vec3(0, 0.03f, -0.15f), Vec3(0.02f, 0.02f, 0.04f)), cockpit);
    const float r = GUN_POD_RADIUS;
    Part pod = lathe({{0.0f, GUN_POD_FRONT},
                      {r * 0.6f, GUN_POD_FRONT + 0.01f},
                      {r, GUN_POD_FRONT + 0.04f},
                      {r, GUN_POD_BACK - 0.02f},
                      {r * 0.6f, GUN_POD_BACK},
                      {0.0f, GUN_POD_BACK}},
                     8);
    m.add(withMirror(pod.move(Vec3(GUN_AXIS.x, GUN_AXIS.y, 0))), trim);
    m.add(withMirror(rod(GUN_AXIS, GUN_BARREL_FRONT, GUN_POD_FRONT + 0.02f, GUN_BARREL_RADIUS, 6)),
          guns);
    Part intake = hull(INTAKE, 8, 0);
    m.add(withMirror(intake.move(INTAKE_OFFSET)), belly);
    m.add(withMirror(panel(panelTipBand(WING, 0.86f))), trim);
    // A blue band round the fuselage behind the canopy.
    m.add(
        hull({{0.05f, 0.100f, 0.060f, 0.006f, 3.0f}, {0.09f, 0.104f, 0.060f, 0.006f, 3.0f}}, 16, 0),
        trim);
    m.add(withMirror(engineGlow(ENGINE)), glow);
    m.add(withMirror(sphere(Vec3(GUN_AXIS.x, GUN_AXIS.y, GUN_POD_BACK), 0.009f, 6, 3)), lenses);
    m.add(sphere(Vec3(0.0f, 0.05f, -0.08f), 0.007f, 6, 3), lenses);
    return m.build();
}
