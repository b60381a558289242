// Cost of one simulation step (keys and steering, contacts, movement) on the initial
// world and with many live shots.
#include "app/control_mapping.h"
#include "app/keyboard.h"
#include "world/contact_rules.h"
#include "world/entity_list.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"
#include "world/world_update.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// The shots hang still on a grid one unit apart in the plane y = 60, far from every
// planet and ship, so none of them bursts; their lifetimes are re-armed every 400
// steps (they would expire after 500), so the count stays the same in every step.
void placeStillShots(int count) {
    for (int i = 0; i < count; ++i) {
        Projectile* shot = fireProjectile(0, ships[0]);
        shot->setPosition(static_cast<float>(i % 32 - 16), 60, static_cast<float>(i / 32 - 16));
        shot->setVelocity(0, 0, 0);
    }
}

void rearmShots() {
    for (int i = 0; i < entityListCount(projectiles); ++i)
        entityListPointerAt<Projectile>(projectiles, i)->setLifetime(5000);
}

void BM_SimulationStep(benchmark::State& state) {
    std::srand(1);
    setUpWorld();
    const int shots = static_cast<int>(state.range(0));
    placeStillShots(shots);
    int sinceRearm = 0;
    for (auto _ : state) {
        mapControls();
        resolveCollisions(10);
        updateWorld(10);
        if (++sinceRearm == 400) {
            rearmShots();
            sinceRearm = 0;
        }
    }
    if (entityListCount(projectiles) != shots)
        state.SkipWithError("the number of live shots changed");
    state.counters["shots"] = shots;
}
BENCHMARK(BM_SimulationStep)->Arg(0)->Arg(100)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
