// kelvidron-cull-compare: draws random moments of the game twice, every face of the
// reliefs against their far faces culled, and reports every pixel that differs and
// where it lies against the planet it shows.
#include "app/game_init.h"
#include "app/window_record.h"
#include "assets/relief.h"
#include "frame_grab.h"
#include "png_writer.h"
#include "render/cameras.h"
#include "render/celestial_drawing.h"
#include "render/display_views.h"
#include "render/relief_culling.h"
#include "world/celestial_body.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

const char* const USAGE =
    "usage: kelvidron-cull-compare [--moments N] [--seed S] [--pictures FOLDER]\n"
    "  --moments  moments to draw (default 2000), both views each\n"
    "  --seed     of the random moments (default 21)\n"
    "  --pictures writes both pictures of every moment that differs there\n";

constexpr int RELIEF_PLANETS[] = {1, 2, 3, 4};
const char* const PLANET_NAMES[] = {"giant", "Earth", "Pluto", "Venus", "Mars"};
// The near rectangle's farthest corner for the default views; the moments that
// matter lie just beyond the bound, so they are placed by it.
constexpr float NEAR_REACH = 1.1253f;
constexpr float BASE_RADIUS = 4.0f;

enum Kind { LIMB, POLE, BOUND, SEAM, ANYWHERE, KIND_COUNT };
const char* const KIND_NAMES[] = {"limb", "pole", "just past the bound", "seam", "anywhere"};

struct Eye {
    int planet;
    Vec3 eye, target;
};

class Moments {
public:
    explicit Moments(unsigned seed) : random_(seed) {}

    float uniform(float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(random_);
    }

    Vec3 direction() {
        std::normal_distribution<float> normal;
        Vec3 d(normal(random_), normal(random_), normal(random_));
        d.setLength(1.0f);
        return d;
    }

    // A unit vector at right angles to `d`.
    Vec3 across(const Vec3& d) {
        Vec3 w = cross(d, direction());
        w.setLength(1.0f);
        return w;
    }

    // The point at `radius` from the centre where a line of sight from `eye` grazes
    // a ball of that radius: the silhouette.
    Vec3 limbPoint(const Vec3& eye, float radius) {
        Vec3 e = eye;
        const float d = e.length();
        e.setLength(1.0f);
        const float c = radius / d;
        return radius * (c * e + std::sqrt(1.0f - c * c) * across(e));
    }

    // An eye of the given kind around planet `k`, relative to its centre.
    Eye make(Kind kind, int k) {
        const CelestialBody& planet = *celestialBodies[k];
        const float bound = reliefMaxRadius[3 * planet.modelIndex + 2] + NEAR_REACH;
        const float a = static_cast<float>(planet.spinAngle * M_PI / 180.0);
        const Vec3 seam(std::cos(a), 0.0f, -std::sin(a));
        const float limbRadius = uniform(BASE_RADIUS, reliefMaxRadius[3 * planet.modelIndex + 2]);
        Eye e{k, {}, {}};
        switch (kind) {
        case LIMB:
            e.eye = (bound + 40.0f * std::pow(uniform(0, 1), 2.0f)) * direction();
            e.target = limbPoint(e.eye, limbRadius);
            break;
        case POLE: {
            Vec3 d = Vec3(0, uniform(0, 1) < 0.5f ? 1.0f : -1.0f, 0) + 0.15f * direction();
            d.setLength(bound + 25.0f * std::pow(uniform(0, 1), 2.0f));
            e.eye = d;
            e.target = uniform(0, 1) < 0.5f ? Vec3() : limbPoint(d, limbRadius);
            break;
        }
        case BOUND:
            e.eye = (bound + uniform(0.0005f, 0.05f)) * direction();
            e.target = uniform(0, 1) < 0.5f ? limbPoint(e.eye, limbRadius) : 3.0f * direction();
            break;
        case SEAM: {
            const float up = uniform(-1.45f, 1.45f);
            Vec3 d = std::cos(up) * seam + std::sin(up) * Vec3(0, 1, 0) +
                     uniform(-0.03f, 0.03f) * cross(seam, Vec3(0, 1, 0));
            d.setLength(bound + 30.0f * std::pow(uniform(0, 1), 2.0f));
            e.eye = d;
            const float along = uniform(-1.4f, 1.4f);
            e.target = 4.1f * (std::cos(along) * seam + std::sin(along) * Vec3(0, 1, 0));
            break;
        }
        default:
            e.eye = (bound + 60.0f * uniform(0, 1)) * direction();
            e.target = uniform(0.0f, 6.0f) * direction();
            break;
        }
        return e;
    }

private:
    std::mt19937 random_;
};

RgbImage drawViews() {
    glutSetWindow(viewWindow.subWindowId);
    displayViews();
    return grabWindow(viewWindow.subWindowId);
}

// Whether the relief planet `k` is drawn with its far faces culled in view `view`:
// the drawing pass's own decision under the view's matrices.
bool culledIn(int view, int k) {
    const FrameLayout layout = beginFrame();
    beginView(view, layout);
    CelestialBody& planet = *celestialBodies[k];
    const float distance = sphereInFrustum(viewFrustum(view), planet.getPosition(), planet.radius);
    const int level = reliefLevelForDistance(distance);
    if (distance == 0.0f || level < 0)
        return false;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    planet.applyTransform();
    glRotated(planet.spinAngle, planet.spinAxis.x, planet.spinAxis.y, planet.spinAxis.z);
    const bool culled = reliefMayCullFarFaces(3 * planet.modelIndex + level, planet.modelScale);
    glPopMatrix();
    return culled;
}

// How near the centre of planet `k` the line of sight through pixel (x, row) of the
// sub-window passes.
float lineOfSight(int view, int x, int row, int k) {
    const FrameLayout layout = beginFrame();
    beginView(view, layout);
    double modelView[16], projection[16];
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double wx = x + 0.5, wy = viewWindow.height - 1 - row + 0.5;
    double n[3], f[3];
    gluUnProject(wx, wy, 0.0, modelView, projection, viewport, &n[0], &n[1], &n[2]);
    gluUnProject(wx, wy, 1.0, modelView, projection, viewport, &f[0], &f[1], &f[2]);
    const Vec3 from(static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2]));
    Vec3 along(static_cast<float>(f[0] - n[0]), static_cast<float>(f[1] - n[1]),
               static_cast<float>(f[2] - n[2]));
    along.setLength(1.0f);
    const Vec3 toCentre = celestialBodies[k]->getPosition() - from;
    return (toCentre - dot(toCentre, along) * along).length();
}

} // namespace

int main(int argc, char** argv) {
    int moments = 2000;
    unsigned seed = 21;
    std::string pictures;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--moments" && i + 1 < argc)
            moments = std::atoi(argv[++i]);
        else if (arg == "--seed" && i + 1 < argc)
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--pictures" && i + 1 < argc)
            pictures = argv[++i];
        else {
            std::fputs(USAGE, stderr);
            return 2;
        }
    }
    int glutArgc = 1;
    char* glutArgv[] = {argv[0], nullptr};
    glutInit(&glutArgc, glutArgv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    initGame();
    mainWindow.setIdleFunc(nullptr);
    settleGameWindows(1039, 522);

    Moments random(seed);
    long culledDraws = 0, draws = 0, differing = 0, atSilhouette = 0, differingMoments = 0;
    // Pixels that changed by more than a few levels: a face missing, not a tie.
    long marked = 0;
    long byKind[KIND_COUNT] = {};
    for (int m = 0; m < moments; ++m) {
        const Kind kind = static_cast<Kind>(m % KIND_COUNT);
        viewMode = (m / KIND_COUNT) % 2;
        for (int k = 0; k < celestialBodyCount; ++k)
            celestialBodies[k]->spinAngle = random.uniform(0.0f, 360.0f);
        Eye eyes[2];
        for (int p = 0; p < 2; ++p) {
            eyes[p] = random.make(kind, RELIEF_PLANETS[static_cast<int>(random.uniform(0, 4)) % 4]);
            const Vec3 centre = celestialBodies[eyes[p].planet]->getPosition();
            placeEye(p, viewMode, centre + eyes[p].eye, centre + eyes[p].target);
        }
        reliefCullingAllowed = false;
        const RgbImage everyFace = drawViews();
        reliefCullingAllowed = true;
        const RgbImage culled = drawViews();
        for (int view = 0; view < 2; ++view) {
            ++draws;
            culledDraws += culledIn(view, eyes[viewPlayer(view)].planet);
        }
        bool differs = false;
        for (int row = 0; row < culled.height; ++row)
            for (int x = 0; x < culled.width; ++x) {
                const size_t i = (static_cast<size_t>(row) * culled.width + x) * 3;
                const uint8_t* a = &everyFace.pixels[i];
                const uint8_t* b = &culled.pixels[i];
                if (a[0] == b[0] && a[1] == b[1] && a[2] == b[2])
                    continue;
                differs = true;
                ++differing;
                ++byKind[kind];
                const int view = x < viewRect(1, viewWindow.width, viewWindow.height).x ? 0 : 1;
                const Eye& e = eyes[viewPlayer(view)];
                const float nearest = lineOfSight(view, x, row, e.planet);
                const float outer = reliefMaxRadius[3 * celestialBodies[e.planet]->modelIndex + 2];
                // A line of sight that misses the base sphere meets the relief only at
                // its silhouette, where the mountains stand out against the sky.
                const bool silhouette = nearest >= BASE_RADIUS * 0.995f;
                atSilhouette += silhouette;
                const int change =
                    std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
                marked += change > 4;
                std::printf(
                    "moment %d (%s, view mode %d) view %d pixel %d,%d: %d,%d,%d -> %d,%d,%d; "
                    "%s, eye %.3f out, line of sight %.3f from the centre (relief "
                    "%.3f..%.3f), %s\n",
                    m, KIND_NAMES[kind], viewMode, view, x, row, a[0], a[1], a[2], b[0], b[1], b[2],
                    PLANET_NAMES[e.planet], e.eye.length(), nearest, BASE_RADIUS, outer,
                    silhouette ? "at the silhouette" : "on the disc");
            }
        if (differs) {
            ++differingMoments;
            if (!pictures.empty()) {
                writePng(pictures + "/" + std::to_string(m) + "-all.png", everyFace);
                writePng(pictures + "/" + std::to_string(m) + "-culled.png", culled);
            }
        }
    }
    std::printf("%d moments, %ld relief draws, %ld culled (%.1f%%); %ld pixels differ in %ld "
                "moments, %ld of them where the line of sight misses the base sphere, %ld by "
                "more than 4 levels\n",
                moments, draws, culledDraws, 100.0 * culledDraws / draws, differing,
                differingMoments, atSilhouette, marked);
    for (int k = 0; k < KIND_COUNT; ++k)
        std::printf("  %s: %ld pixels\n", KIND_NAMES[k], byKind[k]);
    return 0;
}
