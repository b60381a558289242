// Cost of sound: making the sounds at start-up, what a step's hearing takes on the
// game's thread, what mixing takes on the audio thread per drawn frame, and the
// latency from a step's event to the mixer's first sample of its sound. SDL's disk
// driver writing to /dev/null stands in for the audio device.
#include "sound/sound_bank.h"
#include "sound/sound_player.h"
#include "world/ship.h"
#include "world/step_events.h"
#include "world/world.h"

#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A world of two ships at their starting places, for hearStep to read.
void makeShips() {
    static Ship one(100, 10, 999999, 1, 0.01), two(100, 10, 999999, 1, 0.01);
    one.setPosition(5, 0, 0);
    two.setPosition(-5, 0, 0);
    ships[0] = &one;
    ships[1] = &two;
    shipCount = 2;
}

// Opens the disk driver; delayMs is the pause between its buffers (its default is
// real time).
bool openDevice(const char* delayMs) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    if (delayMs)
        setenv("SDL_DISKAUDIODELAY", delayMs, 1);
    else
        unsetenv("SDL_DISKAUDIODELAY");
    makeShips();
    return startSound();
}

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

void BM_MakeSounds(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(makeShotSound(SHOT_SEED));
        benchmark::DoNotOptimize(makeHitSound(HIT_SEED));
        benchmark::DoNotOptimize(makeExplosionSound(EXPLOSION_SEED));
        benchmark::DoNotOptimize(makeEngineLoop(ENGINE_SEED));
    }
}
BENCHMARK(BM_MakeSounds)->Unit(benchmark::kMillisecond);

// Start-up's share: making the sounds and opening (then closing) the device.
void BM_StartAndStopSound(benchmark::State& state) {
    for (auto _ : state) {
        if (!openDevice(nullptr)) {
            state.SkipWithError("no disk audio driver");
            return;
        }
        stopSound();
    }
}
BENCHMARK(BM_StartAndStopSound)->Iterations(20)->Unit(benchmark::kMillisecond);

// The game thread's share of a busy step: both ships fire, one is hit, an
// explosion starts and an engine starts or stops.
void BM_HearBusyStep(benchmark::State& state) {
    if (!openDevice(nullptr)) {
        state.SkipWithError("no disk audio driver");
        return;
    }
    StepEvents events;
    events.shotsFired[0] = events.shotsFired[1] = 1;
    events.hits[1] = 1;
    events.explosionCount = 1;
    events.explosionAt[0] = Vec3(-5, 1, 0);
    int i = 0;
    for (auto _ : state) {
        ships[0]->thrustIndicator = (++i & 1);
        hearStep(events, true);
    }
    stopSound();
}
BENCHMARK(BM_HearBusyStep);

// A step in which nothing audible happens: what most steps cost.
void BM_HearQuietStep(benchmark::State& state) {
    if (!openDevice(nullptr)) {
        state.SkipWithError("no disk audio driver");
        return;
    }
    const StepEvents events;
    for (auto _ : state)
        hearStep(events, true);
    stopSound();
}
BENCHMARK(BM_HearQuietStep);

// Counts the mixer's frames; runs on the audio thread.
struct Progress {
    std::mutex mutex;
    std::condition_variable changed;
    long frames = 0;
    // Latency probe: armed by the game thread, disarmed by the first buffer that
    // carries sound.
    bool armed = false;
    Clock::time_point heard;
    int firstFrame = 0;

    static void count(void* self, Uint8* stream, int bytes) {
        auto* p = static_cast<Progress*>(self);
        std::lock_guard<std::mutex> lock(p->mutex);
        if (p->armed) {
            const auto* s = reinterpret_cast<const int16_t*>(stream);
            for (int i = 0; i < bytes / 2; ++i)
                if (s[i] != 0) {
                    p->armed = false;
                    p->heard = Clock::now();
                    p->firstFrame = i / 2;
                    break;
                }
        }
        p->frames += bytes / 4;
        p->changed.notify_all();
    }
};

// The audio thread's work per frame drawn at 60 Hz (735 frames of audio) with every
// voice sounding: both engines and all effect voices, looping. The driver runs
// flat out, so the process's CPU time is the mixing (and the writes to /dev/null).
void BM_MixPerDrawnFrame(benchmark::State& state) {
    if (!openDevice("0")) {
        state.SkipWithError("no disk audio driver");
        return;
    }
    static Progress progress;
    Mix_SetPostMix(Progress::count, &progress);
    StepEvents events;
    events.explosionCount = 1;
    events.explosionAt[0] = Vec3(0, 0, 0);
    ships[0]->thrustIndicator = ships[1]->thrustIndicator = 1;
    for (int i = 0; i < EFFECT_VOICES; ++i)
        hearStep(events, true);
    constexpr long SECOND = SOUND_RATE;
    for (auto _ : state) {
        // Explosions last 0.9 s: new ones keep every voice busy.
        for (int i = 0; i < EFFECT_VOICES; ++i)
            hearStep(events, true);
        std::unique_lock<std::mutex> lock(progress.mutex);
        const long target = progress.frames + SECOND / 2;
        const double cpu0 = processCpuSeconds();
        progress.changed.wait(lock, [&] { return progress.frames >= target; });
        const double perFrame = (processCpuSeconds() - cpu0) / 30.0;
        state.SetIterationTime(perFrame);
    }
    Mix_SetPostMix(nullptr, nullptr);
    stopSound();
}
BENCHMARK(BM_MixPerDrawnFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMicrosecond);

// From hearing a shot to the moment the mixer hands its first sample to the device,
// with the driver in real time: the wait for the next buffer plus the sample's place
// in it. A sound card's own queue comes on top (typically one or two more buffers).
void BM_EventToFirstSample(benchmark::State& state) {
    if (!openDevice(nullptr)) {
        state.SkipWithError("no disk audio driver");
        return;
    }
    static Progress progress;
    Mix_SetPostMix(Progress::count, &progress);
    StepEvents events;
    events.shotsFired[0] = 1;
    std::vector<double> latencies;
    unsigned spread = 1;
    for (auto _ : state) {
        // Events fall at every phase of the mixer's buffer.
        spread = spread * 1103515245u + 12345u;
        std::this_thread::sleep_for(std::chrono::microseconds(200 + (spread >> 16) % 12000));
        Clock::time_point asked;
        {
            std::lock_guard<std::mutex> lock(progress.mutex);
            progress.armed = true;
        }
        asked = Clock::now();
        hearStep(events, true);
        std::unique_lock<std::mutex> lock(progress.mutex);
        progress.changed.wait(lock, [&] { return !progress.armed; });
        const double seconds = std::chrono::duration<double>(progress.heard - asked).count() +
                               static_cast<double>(progress.firstFrame) / SOUND_RATE;
        latencies.push_back(seconds);
        state.SetIterationTime(seconds);
        lock.unlock();
        // The shot (0.15 s) must end before the next probe listens for silence.
        Mix_HaltChannel(-1);
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["max_ms"] = latencies.back() * 1e3;
    state.counters["median_ms"] = latencies[latencies.size() / 2] * 1e3;
    Mix_SetPostMix(nullptr, nullptr);
    stopSound();
}
BENCHMARK(BM_EventToFirstSample)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
