// The computer pilot's cost per step: decisions at each level in a duel under way
// (both pilots engaged after four seconds of play), also with 100 more of the other
// ship's shots in flight for it to weigh; on average over the steps, and the dearest
// step, in which it takes a fresh look and checks its shot.
#include "league.h"
#include "pilot/pilot.h"
#include "world/entity_list.h"
#include "world/projectile.h"
#include "world/ship.h"
#include "world/world.h"

#include <benchmark/benchmark.h>

namespace {

void duelUnderWay(int extraShots) {
    freshDuelWorld();
    std::unique_ptr<Contender> one = makeContender("level3", 0, 1);
    std::unique_ptr<Contender> two = makeContender("level2", 1, 2);
    runDuel(*one, *two, 400);
    for (int i = 0; i < extraShots; ++i) {
        Projectile* shot = fireProjectile(0, ships[0]);
        shot->setPosition(static_cast<float>(i % 10 - 5), 40, static_cast<float>(i / 10 - 5));
    }
}

void BM_PilotDecision(benchmark::State& state) {
    duelUnderWay(static_cast<int>(state.range(1)));
    Pilot pilot(1, static_cast<int>(state.range(0)), 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(pilot.decide());
}
BENCHMARK(BM_PilotDecision)->ArgsProduct({{1, 2, 3}, {0, 100}});

// A pilot that has just started looks and checks its shot in its first step: each
// iteration decides with a copy of one (the copy of its random generator's 2.5 KB
// included).
void BM_PilotDearestStep(benchmark::State& state) {
    duelUnderWay(static_cast<int>(state.range(1)));
    const Pilot fresh(1, static_cast<int>(state.range(0)), 7);
    for (auto _ : state) {
        Pilot pilot = fresh;
        benchmark::DoNotOptimize(pilot.decide());
    }
}
BENCHMARK(BM_PilotDearestStep)->ArgsProduct({{1, 2, 3}, {0, 100}});

} // namespace

BENCHMARK_MAIN();
