// Saving and restoring the duel state (with the explosions and rand's state), and its
// hash, on a world with 100 live shots and four burning explosions.
#include "world/duel_state.h"
#include "world/entity_list.h"
#include "world/world.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void busyWorld() {
    std::srand(1);
    setUpWorld();
    for (int i = 0; i < 100; ++i) {
        Projectile* shot = fireProjectile(0, ships[i % 2]);
        shot->setPosition(static_cast<float>(i % 10 - 5), 60, static_cast<float>(i / 10 - 5));
    }
    for (int i = 0; i < 4; ++i)
        spawnExplosion(Vec3(static_cast<float>(i), 40, 0));
}

void BM_SaveDuelState(benchmark::State& state) {
    busyWorld();
    DuelSnapshot snapshot;
    for (auto _ : state) {
        snapshot.save();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SaveDuelState);

void BM_RestoreDuelState(benchmark::State& state) {
    busyWorld();
    DuelSnapshot snapshot;
    snapshot.save();
    for (auto _ : state) {
        snapshot.restore();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RestoreDuelState);

void BM_DuelStateHash(benchmark::State& state) {
    busyWorld();
    for (auto _ : state)
        benchmark::DoNotOptimize(duelStateHash());
}
BENCHMARK(BM_DuelStateHash);

} // namespace

BENCHMARK_MAIN();
