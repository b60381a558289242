// Replays: re-simulating a long duel as `kelvidron-replay check` does, and what
// recording costs the game's thread per step and the disk per minute of play.
#include "replay/replay_file.h"
#include "world/duel_state.h"
#include "world/duel_step.h"
#include "world/entity_list.h"
#include "world/world.h"
#include "world/world_update.h"

#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int TEN_MINUTES = 60000;

void freshDuel() {
    std::srand(1);
    gameRunning = true;
    setUpWorld();
}

// Both players fire every tenth step and fly straight: about 100 shots live from
// the fifth second on, the most the check has to carry.
StepInput bothFiring(int step) {
    StepInput input;
    input.ships[0].fire = input.ships[1].fire = step % 10 == 0;
    return input;
}

void BM_CheckTenMinuteDuel(benchmark::State& state) {
    for (auto _ : state) {
        freshDuel();
        for (int step = 0; step < TEN_MINUTES && gameRunning; ++step) {
            runDuelStep(bothFiring(step));
            retireBurntOutExplosions();
            if (step % 100 == 99)
                benchmark::DoNotOptimize(duelStateHash());
        }
    }
    state.SetItemsProcessed(state.iterations() * TEN_MINUTES);
    state.counters["steps_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * TEN_MINUTES, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CheckTenMinuteDuel)->Unit(benchmark::kMillisecond)->Iterations(3);

// Inputs as two players make them: each holds a few of the eight channels for a
// while (a tenth to a second), and fires now and then.
std::vector<StepInput> playedInputs(int steps) {
    std::mt19937 random(7);
    std::vector<StepInput> inputs(steps);
    uint8_t held[2] = {0, 0};
    for (int step = 0; step < steps; ++step) {
        for (int s = 0; s < 2; ++s) {
            if (random() % 40 == 0)
                held[s] = static_cast<uint8_t>(random() & random());
            inputs[step].ships[s].channels = held[s];
            inputs[step].ships[s].fire = random() % 25 == 0;
        }
        if (random() % 3000 == 0)
            inputs[step].view = random() % 2 ? ViewChoice::Inside : ViewChoice::Behind;
    }
    return inputs;
}

// The listener's work per step on the game's thread: the input kept, and once a
// second a chunk encoded and written with the duel state's hash (100 shots live).
void BM_RecordStep(benchmark::State& state) {
    freshDuel();
    for (int step = 0; step < 500; ++step)
        runDuelStep(bothFiring(step));
    const std::vector<StepInput> inputs = playedInputs(TEN_MINUTES);
    char path[] = "/tmp/kelvidron-record-bench-XXXXXX";
    const int fd = mkstemp(path);
    close(fd);
    long steps = 0;
    double bytesPerMinute = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ReplayWriter writer;
        writer.open(path, 0, 1);
        state.ResumeTiming();
        for (const StepInput& input : inputs)
            writer.addStep(input, duelStateHash);
        writer.finish(DuelResult::Unfinished);
        state.PauseTiming();
        struct stat info {};
        stat(path, &info);
        bytesPerMinute = static_cast<double>(info.st_size) / 10.0;
        steps += TEN_MINUTES;
        state.ResumeTiming();
    }
    unlink(path);
    state.SetItemsProcessed(steps);
    state.counters["bytes_per_minute"] = bytesPerMinute;
    state.counters["us_per_step"] =
        benchmark::Counter(static_cast<double>(steps) / 1e6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RecordStep)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
