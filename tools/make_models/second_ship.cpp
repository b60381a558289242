// Player 2's fighter: a dark, angular raider with forward-swept wings, canards, one
// tall fin and a single big engine, marked in orange. Designed nose towards -z, up
// +y, and stored along y: the game's list turns it back onto z.
#include "components.h"
#include "models.h"

namespace {

// Colours: the armour in three shades, orange markings, emissive lights.
const Rgb ARMOUR_DARK = {0.28f, 0.29f, 0.33f};
const Rgb ARMOUR_MID = {0.38f, 0.39f, 0.43f};
const Rgb ARMOUR_LIGHT = {0.52f, 0.53f, 0.56f};
const Rgb MARK_ORANGE = {1.0f, 0.45f, 0.05f};
const Rgb MARK_RED = {0.85f, 0.12f, 0.08f};
const Rgb MARK_PALE = {0.85f, 0.80f, 0.70f};
const Rgb GLASS_AMBER = {0.55f, 0.35f, 0.08f};
const Rgb METAL = {0.50f, 0.50f, 0.52f};
const Rgb BLACK = {0.05f, 0.05f, 0.06f};
const Rgb SHEEN = {0.4f, 0.4f, 0.4f};
const Rgb BRIGHT = {0.9f, 0.9f, 0.9f};

// The fuselage in four pieces from the nose back, each a panel of its own shade.
const std::vector<HullStation> NOSE = {
    // z      half width  half height  centre y  squareness
    {-0.50f, 0.000f, 0.000f, -0.010f, 3.0f},
    {-0.40f, 0.034f, 0.022f, -0.004f, 3.0f},
    {-0.30f, 0.052f, 0.034f, 0.000f, 3.0f},
};
const std::vector<HullStation> FORE_BODY = {
    {-0.30f, 0.052f, 0.034f, 0.000f, 3.0f},
    {-0.18f, 0.070f, 0.046f, 0.004f, 3.5f},
    {-0.05f, 0.082f, 0.050f, 0.004f, 3.5f},
};
const std::vector<HullStation> MID_BODY = {
    {-0.05f, 0.082f, 0.050f, 0.004f, 3.5f},
    {0.10f, 0.090f, 0.052f, 0.004f, 3.5f},
    {0.24f, 0.086f, 0.050f, 0.004f, 3.5f},
};
const std::vector<HullStation> AFT_BODY = {
    {0.24f, 0.086f, 0.050f, 0.004f, 3.5f},
    {0.34f, 0.074f, 0.048f, 0.004f, 3.0f},
    {0.40f, 0.064f, 0.046f, 0.004f, 3.0f},
};
const std::vector<HullStation> CANOPY = {
    {-0.26f, 0.000f, 0.000f, 0.030f, 2.5f},
    {-0.20f, 0.030f, 0.028f, 0.034f, 2.5f},
    {-0.10f, 0.036f, 0.034f, 0.036f, 2.5f},
    {-0.02f, 0.000f, 0.000f, 0.040f, 2.5f},
};

// Forward-swept wings: the tips sit ahead of the roots and droop a little.
const PanelShape WING = {
    Vec3(0.070f, -0.010f, 0.16f), Vec3(0.252f, -0.040f, -0.16f), 0.26f, 0.12f, 0.07f, 6, 1};
const PanelShape CANARD = {
    Vec3(0.045f, 0.004f, -0.30f), Vec3(0.085f, 0.006f, 0.03f), 0.09f, 0.045f, 0.07f, 6, 1};
const PanelShape FIN = {
    Vec3(0.0f, 0.040f, 0.16f), Vec3(0.0f, 0.180f, 0.13f), 0.24f, 0.09f, 0.12f, 6, 1};
const PanelShape STRAKE = {
    Vec3(0.040f, -0.040f, 0.22f), Vec3(0.015f, -0.045f, 0.06f), 0.12f, 0.06f, 0.10f, 6, 1};

const EngineLayout ENGINE = {Vec3(0.0f, 0.004f, 0.0f), 0.30f, 0.50f, 0.072f, 0.060f, 0.04f, 8};

const Vec3 INTAKE_CENTRE(0.085f, -0.012f, -0.12f);
const Vec3 INTAKE_HALF(0.022f, 0.026f, 0.08f);

} // namespace

BuiltModel makeSecondShip() {
    ModelBuilder m("secondShip");
    m.turnedOntoZ = true;
    m.switchesBlending = false;
    // Designed along z; stored so that the list's three turns bring it back.
    m.storage = [](const Vec3& p) { return Vec3(p.y, -p.z, -p.x); };
    // Every panel, marking and light has a material of its own.
    auto group = [&](Rgb colour, float ambient, Rgb specular, float shininess,
                     Rgb emission = {0, 0, 0}) {
        return m.addGroup(m.addMaterial(material(colour, ambient, specular, shininess, emission)));
    };
    auto both = [&](const Part& right, Rgb colour, float ambient = 0.45f) {
        m.add(right, group(colour, ambient, SHEEN, 30.0f));
        m.add(mirroredX(right), group(colour, ambient, SHEEN, 30.0f));
    };
    auto light = [&](const Vec3& at, float radius, Rgb colour) {
        m.add(sphere(at, radius, 4, 2), group(colour, 0.4f, BRIGHT, 60.0f, colour));
    };
    auto slab = [&](const Vec3& centre, const Vec3& half, Rgb colour) {
        m.add(box(centre, half), group(colour, 0.35f, SHEEN, 20.0f));
    };

    Part nose = hull(NOSE, 8, 0);
    nose.creaseDegrees = 30.0f;
    m.add(nose, group(MARK_RED, 0.45f, SHEEN, 40.0f));
    for (const auto* piece : {&FORE_BODY, &MID_BODY, &AFT_BODY}) {
        Part body = hull(*piece, 8, 0);
        body.creaseDegrees = 30.0f;
        const Rgb shade = piece == &MID_BODY ? ARMOUR_MID : ARMOUR_DARK;
        m.add(body, group(shade, 0.45f, SHEEN, 30.0f));
    }
    m.add(hull(CANOPY, 8, 0), group(GLASS_AMBER, 0.3f, BRIGHT, 110.0f));
    slab(Vec3(0, 0.066f, -0.06f), Vec3(0.012f, 0.006f, 0.05f), ARMOUR_LIGHT); // canopy spine
    both(panel(WING), ARMOUR_MID);
    both(panel(CANARD), ARMOUR_LIGHT);
    m.add(panel(FIN), group(ARMOUR_MID, 0.45f, SHEEN, 30.0f));
    both(panel(STRAKE), ARMOUR_DARK);
    m.add(engine(ENGINE), group(METAL, 0.3f, BRIGHT, 70.0f));
    m.add(collar(Vec3(0, 0.004f, 0), 0.47f, 0.50f, 0.058f, 0.076f, 8),
          group(BLACK, 0.5f, SHEEN, 20.0f));
    m.add(engineGlow(ENGINE), group(MARK_ORANGE, 0.5f, BRIGHT, 10.0f, {1.0f, 0.55f, 0.1f}));
    both(box(INTAKE_CENTRE, INTAKE_HALF), ARMOUR_LIGHT);
    slab(Vec3(0, -0.052f, 0.05f), Vec3(0.05f, 0.004f, 0.14f), BLACK); // belly plate
    // Markings: thin plates standing just proud of the surfaces they mark.
    both(panel(panelTipBand(WING, 0.88f)), MARK_ORANGE, 0.55f);
    slab(Vec3(0, 0.030f, -0.40f), Vec3(0.010f, 0.004f, 0.06f), MARK_ORANGE); // nose stripe
    both(box(Vec3(0.084f, 0.030f, 0.12f), Vec3(0.004f, 0.010f, 0.10f)), MARK_ORANGE, 0.4f);
    m.add(panel(panelTipBand(FIN, 0.75f)), group(MARK_ORANGE, 0.55f, SHEEN, 30.0f));
    both(box(Vec3(0.03f, 0.052f, 0.30f), Vec3(0.016f, 0.002f, 0.03f)), MARK_PALE);
    // Guns under the wing roots.
    both(rod(Vec3(0.11f, -0.03f, 0), -0.14f, 0.12f, 0.008f, 4), BLACK, 0.5f);
    both(box(Vec3(0.085f, 0.006f, 0.02f), Vec3(0.018f, 0.018f, 0.08f)), ARMOUR_LIGHT);
    light(Vec3(-0.318f, -0.052f, 0.0f), 0.008f, {1.0f, 0.1f, 0.05f}); // port red
    light(Vec3(0.318f, -0.052f, 0.0f), 0.008f, {0.1f, 1.0f, 0.2f});   // starboard green
    light(Vec3(0.0f, 0.222f, 0.30f), 0.008f, {1.0f, 1.0f, 0.9f});
    light(Vec3(0.0f, 0.000f, 0.41f), 0.006f, {1.0f, 0.2f, 0.1f});
    light(Vec3(0.0f, -0.030f, -0.38f), 0.007f, {1.0f, 1.0f, 0.8f});
    slab(Vec3(0, 0.072f, 0.10f), Vec3(0.002f, 0.012f, 0.002f), METAL); // antenna
    return m.build();
}
