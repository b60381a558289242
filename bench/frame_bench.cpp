// Cost of one frame of the game at its default window size, as the sub-window's
// display callback draws it, in three scenes, with the parts of the frame timed
// apart, and the two floors measured in the same run: a frame that only clears and
// swaps, and one that draws only the finest relief list in each view. A flight past
// each relief planet gives the median and the worst frame with relief culling and
// without.
// Mesa renders lazily: every timed stretch ends with glFinish.
#include "bench_support.h"

#include "app/game_loop.h"
#include "app/window_record.h"
#include "render/celestial_drawing.h"
#include "render/display_views.h"
#include "render/draw_world.h"
#include "render/overlay.h"
#include "render/relief_culling.h"
#include "render/sky_box.h"
#include "world/celestial_body.h"
#include "world/entity_list.h"
#include "world/particle_system.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

enum class Scene {
    // Both ships where the game starts them: no planet in either view.
    Start,
    // Each ship 20 units above a relief planet, looking down on it: the planet at
    // its finest level and alone in the view (player 1 Venus, player 2 Mars).
    Planets,
    // The ships face each other 10 units apart with 100 shots between them and
    // four explosions under way.
    Battle,
};

constexpr int EARTH = 1;
constexpr int PLUTO = 2;
constexpr int VENUS = 3;
constexpr int MARS = 4;

struct Pose {
    Vec3 position;
    BodyAxes axes;
};
Pose startPoses[2];

void place(int ship, const Pose& pose) {
    ships[ship]->position = pose.position;
    ships[ship]->setAxes(pose.axes);
}

// Looking straight down (nose along -y), with -z at the top of the view.
Pose lookingDownAt(int planet) {
    const Vec3 centre = celestialBodies[planet]->getPosition();
    return Pose{centre + Vec3(0, 20, 0), BodyAxes{Vec3(1, 0, 0), Vec3(0, 0, -1), Vec3(0, 1, 0)}};
}

void clearShotsAndExplosions() {
    while (entityListCount(projectiles) > 0)
        retireProjectile(entityListPointerAt<Projectile>(projectiles, 0));
    while (entityListCount(explosions) > 0)
        retireExplosion(entityListPointerAt<ParticleSystem>(explosions, 0));
}

void arrange(Scene scene) {
    clearShotsAndExplosions();
    for (int s = 0; s < 2; ++s)
        place(s, startPoses[s]);
    if (scene == Scene::Planets) {
        place(0, lookingDownAt(VENUS));
        place(1, lookingDownAt(MARS));
    } else if (scene == Scene::Battle) {
        // Player 1 looks along -x at player 2, who looks along +x.
        place(0, Pose{Vec3(5, 0, 0), BodyAxes{Vec3(0, 0, 1), Vec3(0, 1, 0), Vec3(1, 0, 0)}});
        place(1, Pose{Vec3(-5, 0, 0), BodyAxes{Vec3(0, 0, -1), Vec3(0, 1, 0), Vec3(-1, 0, 0)}});
        for (int i = 0; i < 100; ++i) {
            Projectile* shot = fireProjectile(0, ships[i % 2]);
            shot->setPosition(static_cast<float>(i % 10) - 4.5f,
                              static_cast<float>(i / 10 % 5) * 0.6f - 1.2f,
                              static_cast<float>(i / 50) * 1.2f - 0.6f);
            shot->setVelocity(0, 0, 0);
        }
        // Half a second into each explosion: the points have spread out.
        for (int e = 0; e < 4; ++e) {
            spawnExplosion(Vec3(static_cast<float>(e) * 2.0f - 3.0f, 0.5f, -1.0f));
            ParticleSystem* system = entityListPointerAt<ParticleSystem>(explosions, e);
            for (int step = 0; step < 50; ++step)
                system->update(10.0f);
        }
    }
}

// CPU time of the whole process (the rasterizer's threads included) in ms. Beside
// the wall time it shows how much work a frame is, which the machine's other load
// does not change.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// Reports the process CPU time per iteration since `start`.
void reportCpuWork(benchmark::State& state, double start) {
    state.counters["cpu_all_threads_ms"] =
        benchmark::Counter(processCpuMs() - start, benchmark::Counter::kAvgIterations);
}

// Which planets a view draws, and at which level, as "index:level" items.
std::string planetsInView(int view) {
    std::string seen;
    for (int k = 0; k < celestialBodyCount; ++k) {
        const CelestialBody& body = *celestialBodies[k];
        const float value = sphereInFrustum(viewFrustum(view), body.getPosition(), body.radius);
        if (value != 0.0f)
            seen += std::to_string(k) + ":" +
                    std::to_string(body.useModel ? reliefLevelForDistance(value) : -1) + " ";
    }
    return seen;
}

// Draws one frame and checks that the scene shows what it is meant to show.
bool sceneAsIntended(Scene scene, benchmark::State& state) {
    displayViews();
    glFinish();
    const std::string left = planetsInView(0), right = planetsInView(1);
    const bool good = scene == Scene::Planets ? left == std::to_string(VENUS) + ":2 " &&
                                                    right == std::to_string(MARS) + ":2 "
                                              : left.empty() && right.empty();
    if (!good)
        state.SkipWithError(("planets in view: left [" + left + "] right [" + right + "]").c_str());
    return good;
}

// The whole frame as the display callback draws it.
void BM_Frame(benchmark::State& state, Scene scene) {
    arrange(scene);
    if (!sceneAsIntended(scene, state))
        return;
    const double cpu = processCpuMs();
    for (auto _ : state) {
        displayViews();
        glFinish();
    }
    reportCpuWork(state, cpu);
}
BENCHMARK_CAPTURE(BM_Frame, start, Scene::Start)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Frame, planets, Scene::Planets)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Frame, battle, Scene::Battle)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same frame cut into its parts, each finished before the next starts (which
// costs a little overlap between them, so the parts add up to a bit more).
void BM_FrameParts(benchmark::State& state, Scene scene) {
    arrange(scene);
    if (!sceneAsIntended(scene, state))
        return;
    enum { VIEW_SETUP, SKY_BOX, PLANETS, SHOTS_AND_SHIPS, EXPLOSIONS, OVERLAY, SWAP, PART_COUNT };
    double seconds[PART_COUNT] = {}, cpuMs[PART_COUNT] = {};
    for (auto _ : state) {
        Clock::time_point mark = Clock::now();
        double cpuMark = processCpuMs();
        auto lap = [&](int part) {
            glFinish();
            const Clock::time_point now = Clock::now();
            const double cpuNow = processCpuMs();
            seconds[part] += std::chrono::duration<double>(now - mark).count();
            cpuMs[part] += cpuNow - cpuMark;
            mark = now;
            cpuMark = cpuNow;
        };
        const FrameLayout layout = beginFrame();
        for (int view = 0; view < 2; ++view) {
            beginView(view, layout);
            lap(VIEW_SETUP);
            drawSkyBox();
            lap(SKY_BOX);
            drawCelestialBodies(viewFrustum(view));
            lap(PLANETS);
            drawProjectiles(viewFrustum(view));
            drawShips(viewFrustum(view));
            lap(SHOTS_AND_SHIPS);
            drawExplosions();
            lap(EXPLOSIONS);
            drawOverlay(viewPlayer(view), viewPlacement(view, layout));
            lap(OVERLAY);
        }
        glutSwapBuffers();
        lap(SWAP);
    }
    const char* names[PART_COUNT] = {"view_setup_ms", "sky_box_ms", "planets_ms", "shots_ships_ms",
                                     "explosions_ms", "overlay_ms", "swap_ms"};
    for (int part = 0; part < PART_COUNT; ++part) {
        state.counters[names[part]] =
            benchmark::Counter(seconds[part] * 1000.0, benchmark::Counter::kAvgIterations);
        state.counters[std::string(names[part]) + "_cpu"] =
            benchmark::Counter(cpuMs[part], benchmark::Counter::kAvgIterations);
    }
}
BENCHMARK_CAPTURE(BM_FrameParts, start, Scene::Start)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_FrameParts, planets, Scene::Planets)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FrameParts, battle, Scene::Battle)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The flight: each ship circles a relief planet 9 units from its centre (its finest
// level) on a circle tilted 30 degrees to the equator, a quarter of a turn per planet,
// starting over the seam, its nose 3 units ahead of the centre along the way, so that
// the planet fills part of the view; player 2 flies the same past the next planet.
constexpr int FLIGHT_FRAMES_PER_PLANET = 12;
constexpr int FLIGHT_PLANETS[] = {EARTH, PLUTO, VENUS, MARS};
constexpr int FLIGHT_FRAMES = 4 * FLIGHT_FRAMES_PER_PLANET;

Pose flightPose(int planet, int frame) {
    const Vec3 centre = celestialBodies[planet]->getPosition();
    const float turn = 0.5f * static_cast<float>(M_PI) * static_cast<float>(frame) /
                       static_cast<float>(FLIGHT_FRAMES_PER_PLANET);
    const float tilt = static_cast<float>(M_PI) / 6.0f;
    const Vec3 out(std::cos(turn), std::sin(turn) * std::sin(tilt),
                   -std::sin(turn) * std::cos(tilt));
    const Vec3 ahead(-std::sin(turn), std::cos(turn) * std::sin(tilt),
                     -std::cos(turn) * std::cos(tilt));
    const Vec3 eye = centre + 9.0f * out;
    Vec3 back = eye - (centre + 3.0f * ahead);
    back.setLength(1.0f);
    Vec3 right = cross(Vec3(0, 1, 0), back);
    right.setLength(1.0f);
    return Pose{eye, BodyAxes{right, cross(back, right), back}};
}

void BM_FlightPastReliefs(benchmark::State& state, bool culled) {
    arrange(Scene::Start);
    reliefCullingAllowed = culled;
    std::vector<double> frameMs;
    int frame = 0;
    const double cpu = processCpuMs();
    for (auto _ : state) {
        const int leg = frame / FLIGHT_FRAMES_PER_PLANET % 4;
        const int step = frame % FLIGHT_FRAMES_PER_PLANET;
        place(0, flightPose(FLIGHT_PLANETS[leg], step));
        place(1, flightPose(FLIGHT_PLANETS[(leg + 1) % 4], step));
        const Clock::time_point start = Clock::now();
        displayViews();
        glFinish();
        frameMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        ++frame;
    }
    reportCpuWork(state, cpu);
    reliefCullingAllowed = true;
    std::sort(frameMs.begin(), frameMs.end());
    state.counters["median_ms"] = frameMs[frameMs.size() / 2];
    state.counters["worst_ms"] = frameMs.back();
}
BENCHMARK_CAPTURE(BM_FlightPastReliefs, culled, true)
    ->Iterations(FLIGHT_FRAMES)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FlightPastReliefs, unculled, false)
    ->Iterations(FLIGHT_FRAMES)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Floor of every frame: the same two viewports cleared as the game clears them, and
// the buffer swap.
void BM_FloorClearSwap(benchmark::State& state) {
    arrange(Scene::Start);
    const double cpu = processCpuMs();
    for (auto _ : state) {
        const FrameLayout layout = beginFrame();
        for (int view = 0; view < 2; ++view) {
            const ViewRect rect = viewRect(view, layout.width, layout.height);
            glViewport(rect.x, rect.y, rect.width, rect.height);
            glClear(view == 0 ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_DEPTH_BUFFER_BIT);
        }
        glutSwapBuffers();
        glFinish();
    }
    reportCpuWork(state, cpu);
}
BENCHMARK(BM_FloorClearSwap)->Unit(benchmark::kMillisecond)->UseRealTime();

// Floor of the planets scene: each view set up as the game sets it up (without the
// star box), then only its planet drawn, which at the finest level is one call of a relief list of
// 160,400 vertices, every face of it as when the eye is close; nothing else, then the swap.
void BM_FloorFinestReliefs(benchmark::State& state) {
    arrange(Scene::Planets);
    if (!sceneAsIntended(Scene::Planets, state))
        return;
    const int planetOfView[2] = {VENUS, MARS};
    reliefCullingAllowed = false;
    const double cpu = processCpuMs();
    for (auto _ : state) {
        const FrameLayout layout = beginFrame();
        for (int view = 0; view < 2; ++view) {
            beginView(view, layout);
            CelestialBody& planet = *celestialBodies[planetOfView[view]];
            planet.drawAtDistance(
                sphereInFrustum(viewFrustum(view), planet.getPosition(), planet.radius));
        }
        glutSwapBuffers();
        glFinish();
    }
    reportCpuWork(state, cpu);
    reliefCullingAllowed = true;
}
BENCHMARK(BM_FloorFinestReliefs)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    startGameForBenchmark(&argc, argv);
    for (int s = 0; s < 2; ++s)
        startPoses[s] = Pose{ships[s]->position, ships[s]->getAxes()};
    // The figures are compared with their floors: repetitions in shuffled order let
    // every benchmark see the same changes in the machine's load, and the medians
    // are kept. Flags given on the command line come later and win.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions, interleaving, aggregates});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
