// Cost of the frame operations every body runs once per step.
#include "math/frame.h"

#include <benchmark/benchmark.h>

static void BM_TurnFrame(benchmark::State& state) {
    Vec3 right(1, 0, 0), up(0, 1, 0), back(0, 0, 1);
    for (auto _ : state) {
        turnFrame(right, up, back, 0.05f, -0.5f, 1.0000001f);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_TurnFrame);

static void BM_InvertMatrix4(benchmark::State& state) {
    const Mat4 m = frameMatrix(Vec3(0, 1, 0), Vec3(-1, 0, 0), Vec3(0, 0, 1));
    Mat4 inv;
    for (auto _ : state) {
        invertMatrix4(m, inv);
        benchmark::DoNotOptimize(inv);
    }
}
BENCHMARK(BM_InvertMatrix4);

BENCHMARK_MAIN();
