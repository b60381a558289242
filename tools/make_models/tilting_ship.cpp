// The detailed ship in front of the player's cockpit view, tilting with the
// controls: a heavy twin-engined fighter with missiles under its wings. Designed
// nose towards -z, up +y, right +x; stored nose towards -y, top towards +x and
// right towards +z, the way the overlay turns it to face away from the player.
#include "components.h"
#include "models.h"

namespace {

// Colours. The overlay draws this model three times enlarged, which dims its
// diffuse light to a third, so its ambient shares are generous.
const Rgb HULL_GREY = {0.62f, 0.66f, 0.72f};
const Rgb PANEL_DARK = {0.22f, 0.24f, 0.28f};
const Rgb ACCENT_RED = {0.80f, 0.14f, 0.10f};
const Rgb ENGINE_METAL = {0.45f, 0.44f, 0.42f};
const Rgb GLOW = {1.0f, 0.6f, 0.2f};
const Rgb CANOPY_BLUE = {0.10f, 0.16f, 0.30f};
const Rgb MISSILE_WHITE = {0.85f, 0.85f, 0.82f};
const Rgb LAMP = {1.0f, 0.95f, 0.7f};
const Rgb SHEEN = {0.4f, 0.4f, 0.4f};
const Rgb BRIGHT = {1.0f, 1.0f, 1.0f};

// Detail: points round each hull section and sections between stations.
const int HULL_RING = 40;
const int HULL_STEPS = 5;
const int ROUND_SEGMENTS = 32;

const std::vector<HullStation> FUSELAGE = {
    // z      half width  half height  centre y  squareness
    {-0.50f, 0.000f, 0.000f, -0.010f, 2.0f}, {-0.44f, 0.024f, 0.020f, -0.006f, 2.2f},
    {-0.34f, 0.046f, 0.038f, 0.000f, 2.4f},  {-0.22f, 0.062f, 0.052f, 0.006f, 2.6f},
    {-0.08f, 0.080f, 0.058f, 0.008f, 3.0f},  {0.08f, 0.110f, 0.056f, 0.006f, 3.4f},
    {0.24f, 0.120f, 0.052f, 0.004f, 3.4f},   {0.36f, 0.112f, 0.046f, 0.004f, 3.2f},
    {0.42f, 0.090f, 0.036f, 0.004f, 3.0f},
};
const std::vector<HullStation> CANOPY = {
    {-0.30f, 0.000f, 0.000f, 0.036f, 2.0f}, {-0.25f, 0.030f, 0.030f, 0.042f, 2.0f},
    {-0.16f, 0.044f, 0.046f, 0.046f, 2.0f}, {-0.06f, 0.040f, 0.040f, 0.046f, 2.0f},
    {0.06f, 0.024f, 0.026f, 0.044f, 2.0f},  {0.12f, 0.000f, 0.000f, 0.040f, 2.0f},
};
const std::vector<HullStation> SPINE = {
    {0.06f, 0.000f, 0.000f, 0.050f, 2.5f},
    {0.12f, 0.020f, 0.016f, 0.052f, 2.5f},
    {0.30f, 0.018f, 0.014f, 0.048f, 2.5f},
    {0.40f, 0.000f, 0.000f, 0.040f, 2.5f},
};
const std::vector<HullStation> INTAKE = {
    {-0.14f, 0.030f, 0.034f, 0.0f, 3.5f},
    {-0.02f, 0.034f, 0.038f, 0.0f, 3.5f},
    {0.14f, 0.030f, 0.032f, 0.0f, 3.5f},
    {0.20f, 0.000f, 0.000f, 0.0f, 3.5f},
};
const Vec3 INTAKE_OFFSET(0.098f, -0.016f, 0.0f);

const PanelShape WING = {
    Vec3(0.10f, -0.004f, -0.06f), Vec3(0.28f, -0.012f, 0.26f), 0.40f, 0.10f, 0.055f, 40, 10};
const PanelShape TAILPLANE = {
    Vec3(0.10f, 0.000f, 0.30f), Vec3(0.14f, 0.000f, 0.10f), 0.16f, 0.07f, 0.06f, 28, 5};
const PanelShape FIN = {
    Vec3(0.085f, 0.040f, 0.19f), Vec3(0.100f, 0.140f, 0.16f), 0.23f, 0.08f, 0.07f, 30, 8};

const EngineLayout ENGINE = {
    Vec3(0.062f, 0.004f, 0.0f), 0.10f, 0.50f, 0.050f, 0.044f, 0.05f, ROUND_SEGMENTS};

// Two missiles under each wing, on pylons.
const float MISSILE_X[2] = {0.20f, 0.28f};
const float MISSILE_Y = -0.040f;
const float MISSILE_Z = 0.06f;
const float MISSILE_LENGTH = 0.20f;
const float MISSILE_RADIUS = 0.011f;

const Vec3 WING_TIP_LIGHT(0.385f, -0.016f, 0.29f);

Part missile(float x) {
    const float z0 = MISSILE_Z - MISSILE_LENGTH * 0.5f;
    const float z1 = MISSILE_Z + MISSILE_LENGTH * 0.5f;
    const float r = MISSILE_RADIUS;
    Part body = lathe({{0.0f, z0},
                       {r * 0.45f, z0 + r * 0.6f},
                       {r * 0.8f, z0 + r * 1.6f},
                       {r, z0 + r * 3.0f},
                       {r, z1 - r},
                       {r * 0.7f, z1},
                       {0.0f, z1}},
                      16);
    return body.move(Vec3(x, MISSILE_Y, 0));
}

// Cross-shaped tail fins of a missile.
Part missileFins(float x) {
    Part fins;
    const float z = MISSILE_Z + MISSILE_LENGTH * 0.5f - 0.03f;
    for (int i = 0; i < 4; ++i) {
        Part fin =
            box(Vec3(0, MISSILE_RADIUS * 1.7f, z), Vec3(0.0015f, MISSILE_RADIUS * 0.9f, 0.014f));
        fin.turnZ(45.0f + 90.0f * float(i));
        fins.append(fin);
    }
    return fins.move(Vec3(x, MISSILE_Y, 0));
}

} // namespace

BuiltModel makeTiltingShip() {
    ModelBuilder m("tilting");
    m.storage = [](const Vec3& p) { return Vec3(p.y, p.z, p.x); };
    const int hullMaterial = m.addMaterial(material(HULL_GREY, 0.55f, SHEEN, 30.0f));
    const int darkMaterial = m.addMaterial(material(PANEL_DARK, 0.6f, SHEEN, 20.0f));
    const int accentMaterial = m.addMaterial(material(ACCENT_RED, 0.55f, SHEEN, 30.0f));
    const int metalMaterial = m.addMaterial(material(ENGINE_METAL, 0.55f, BRIGHT, 60.0f));
    const int glowMaterial =
        m.addMaterial(material(GLOW, 0.5f, BRIGHT, 10.0f, {1.0f, 0.55f, 0.15f}));
    const int canopyMaterial = m.addMaterial(material(CANOPY_BLUE, 0.8f, BRIGHT, 100.0f));
    const int missileMaterial = m.addMaterial(material(MISSILE_WHITE, 0.5f, SHEEN, 40.0f));
    const int lampMaterial = m.addMaterial(material(LAMP, 0.5f, BRIGHT, 80.0f, {0.9f, 0.8f, 0.5f}));

    const int hullGroup = m.addGroup(hullMaterial);
    const int darkGroup = m.addGroup(darkMaterial);
    const int canopyGroup = m.addGroup(canopyMaterial);
    const int wingGroup = m.addGroup(hullMaterial);
    const int finGroup = m.addGroup(darkMaterial);
    const int engineGroup = m.addGroup(metalMaterial);
    const int glowGroup = m.addGroup(glowMaterial);
    const int missileGroup = m.addGroup(missileMaterial);
    const int pylonGroup = m.addGroup(darkMaterial);
    const int lampGroup = m.addGroup(lampMaterial);
    const int stripeGroup = m.addGroup(accentMaterial);

    m.add(hull(FUSELAGE, HULL_RING, HULL_STEPS), hullGroup);
    m.add(hull(SPINE, 16, 3), hullGroup);
    Part intake = hull(INTAKE, 24, 3);
    intake.move(INTAKE_OFFSET);
    m.add(withMirror(intake), darkGroup);
    m.add(hull(CANOPY, ROUND_SEGMENTS, 4), canopyGroup);
    m.add(withMirror(panel(WING)), wingGroup);
    m.add(withMirror(panel(TAILPLANE)), wingGroup);
    m.add(withMirror(panel(FIN)), finGroup);
    m.add(withMirror(engine(ENGINE)), engineGroup);
    m.add(withMirror(collar(ENGINE.centre, 0.47f, 0.50f, 0.040f, 0.052f, ROUND_SEGMENTS)),
          engineGroup);
    m.add(withMirror(engineGlow(ENGINE)), glowGroup);
    for (float x : MISSILE_X) {
        m.add(withMirror(missile(x)), missileGroup);
        m.add(withMirror(missileFins(x)), pylonGroup);
        m.add(withMirror(
                  box(Vec3(x, MISSILE_Y + 0.02f, MISSILE_Z), Vec3(0.003f, 0.012f, 0.05f), 0.002f)),
              pylonGroup);
    }
    m.add(withMirror(sphere(WING_TIP_LIGHT, 0.008f, 16, 8)), lampGroup);
    m.add(sphere(Vec3(0, 0.066f, 0.32f), 0.006f, 16, 8), lampGroup);
    m.add(withMirror(panel(panelTipBand(FIN, 0.82f))), stripeGroup);
    // A red band round the nose and a stripe down the spine.
    m.add(hull({{-0.36f, 0.043f, 0.036f, -0.0005f, 2.4f}, {-0.33f, 0.048f, 0.040f, 0.0005f, 2.4f}},
               HULL_RING, 2),
          stripeGroup);
    m.add(box(Vec3(0, 0.0665f, 0.22f), Vec3(0.006f, 0.0015f, 0.08f)), stripeGroup);
    return m.build();
}
