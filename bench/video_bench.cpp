// Frames of a video per second as kelvidron-replay makes them: both views drawn in the
// game's window, read back and composed, converted to 4:2:0 and encoded as H.264, with
// the frame's sixtieth of a second of sound mixed and encoded as AAC. Two scenes: the
// start position, and each ship 20 units above a relief planet at its finest level.
#include "bench_support.h"

#include "sound/sound_mix.h"
#include "video/video_encoder.h"
#include "world/celestial_body.h"
#include "world/ship.h"
#include "world/world.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int VENUS = 3;
constexpr int MARS = 4;
constexpr int WIDTH = 1039;
constexpr int HEIGHT = 522;
constexpr int FRAMES_PER_SECOND = 60;

// Looking straight down on the planet (nose along -y), with -z at the top of the view.
void above(int ship, int planet) {
    const Vec3 centre = celestialBodies[planet]->getPosition();
    ships[ship]->position = centre + Vec3(0, 20, 0);
    ships[ship]->setAxes(BodyAxes{Vec3(1, 0, 0), Vec3(0, 0, -1), Vec3(0, 1, 0)});
}

void BM_VideoFrame(benchmark::State& state, bool nearPlanets) {
    setUpWorld();
    if (nearPlanets) {
        above(0, VENUS);
        above(1, MARS);
    }
    char path[] = "/tmp/kelvidron_video_bench.XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        state.SkipWithError("no temporary file");
        return;
    }
    close(fd);
    VideoEncoder encoder;
    if (!encoder.open(path, WIDTH, HEIGHT, FRAMES_PER_SECOND, SOUND_RATE)) {
        state.SkipWithError(encoder.error().c_str());
        unlink(path);
        return;
    }
    SoundMix mix;
    std::vector<int16_t> sound;
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        if (!encoder.addPicture(captureGameFrame()))
            break;
        sound.clear();
        mix.mix(SOUND_RATE / FRAMES_PER_SECOND, sound);
        if (!encoder.addSound(sound.data(), static_cast<int>(sound.size() / 2)))
            break;
    }
    // The encoders' delayed frames are part of the work.
    if (!encoder.finish())
        state.SkipWithError(encoder.error().c_str());
    unlink(path);
    state.SetItemsProcessed(state.iterations());
    // The work of a frame, whatever else the machine runs: every thread's CPU time
    // (the rasterizer's and the encoder's included).
    state.counters["cpu_all_threads_ms"] =
        benchmark::Counter(processCpuMs() - cpuStart, benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_VideoFrame, start, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(5.0);
BENCHMARK_CAPTURE(BM_VideoFrame, planets, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(5.0);

} // namespace

int main(int argc, char** argv) {
    startGameForBenchmark(&argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
