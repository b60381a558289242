// Resident memory of the game after start-up and after ten minutes of play: 60,000
// fixed steps with both players flying and firing through the game's own key
// callbacks, and a frame drawn every 50 steps. Run from the build folder.
#include "bench_support.h"

#include "app/game_init.h"
#include "app/game_loop.h"
#include "app/keyboard.h"
#include "app/window_record.h"
#include "world/ship.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int TEN_MINUTES_OF_STEPS = 60000;
constexpr int STEPS_PER_FRAME = 50;

// A resident-memory figure of this process from /proc/self/status ("VmRSS" for
// the whole, "RssAnon" for the part that is its own heap and stacks) in MiB, or -1
// when /proc cannot tell.
double residentMiB(const char* field = "VmRSS") {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    const std::string format = std::string(field) + ": %ld kB";
    long kib = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, format.c_str(), &kib) == 1)
            break;
    std::fclose(status);
    return kib < 0 ? -1 : static_cast<double>(kib) / 1024.0;
}

void drawFrame() {
    mainWindow.refreshAll();
    glutSetWindow(mainWindow.subWindow(0).getId());
    mainWindow.subWindow(0).displayFunc();
    glFinish();
}

// A fixed pseudo-random sequence, so every run plays the same game.
struct Dice {
    uint32_t state = 12345;
    uint32_t roll(uint32_t sides) {
        state = state * 1664525u + 1013904223u;
        return (state >> 16) % sides;
    }
};

struct Key {
    int code;
    bool special; // a GLUT special key (player 2's arrows)
};

void press(const Key& key, bool down) {
    if (key.special)
        (down ? specialDown : specialUp)(key.code, 0, 0);
    else
        (down ? keyDown : keyUp)(static_cast<unsigned char>(key.code), 0, 0);
}

// Thrust, pitch, yaw and roll keys of each player, then the fire key.
const Key STEERING[2][8] = {{{'q', false},
                             {'a', false},
                             {'i', false},
                             {'k', false},
                             {'j', false},
                             {'l', false},
                             {'u', false},
                             {'o', false}},
                            {{GLUT_KEY_UP, true},
                             {GLUT_KEY_DOWN, true},
                             {'8', false},
                             {'5', false},
                             {'4', false},
                             {'6', false},
                             {'7', false},
                             {'9', false}}};
const Key FIRE[2] = {{'s', false}, {GLUT_KEY_RIGHT, true}};

void BM_MemoryAfterTenMinutes(benchmark::State& state) {
    const double atStart = residentMiB(), heapAtStart = residentMiB("RssAnon");
    Dice dice;
    int steps = 0, healed = 0;
    for (auto _ : state) {
        for (; steps < TEN_MINUTES_OF_STEPS && gameRunning; ++steps) {
            if (steps % 40 == 0)
                for (const auto& keys : STEERING)
                    for (const Key& key : keys)
                        press(key, dice.roll(4) == 0);
            for (int i = 0; i < 2; ++i) {
                // A shot every 15 steps: press, and release two steps later.
                const int phase = (steps + 7 * i) % 15;
                if (phase == 0 || phase == 2)
                    press(FIRE[i], phase == 0);
            }
            simulationStep();
            ++stepsRun;
            // Keep both players in the game for the whole ten minutes.
            for (int s = 0; s < shipCount; ++s)
                if (ships[s]->getHealth() <= 3 * 5) {
                    ships[s]->setHealth(100);
                    ++healed;
                }
            if (steps % STEPS_PER_FRAME == 0)
                drawFrame();
        }
    }
    const double atEnd = residentMiB();
    if (steps != TEN_MINUTES_OF_STEPS)
        state.SkipWithError("the game ended before ten minutes of play");
    state.counters["rss_start_MiB"] = atStart;
    state.counters["rss_end_MiB"] = atEnd;
    state.counters["anon_start_MiB"] = heapAtStart;
    state.counters["anon_end_MiB"] = residentMiB("RssAnon");
    // What the C library keeps of freed blocks (the rasterizer's bins of a large
    // frame, say) is handed back here: the rest is what the game still holds.
    malloc_trim(0);
    state.counters["rss_end_trimmed_MiB"] = residentMiB();
    state.counters["steps"] = steps;
    state.counters["shots_made"] = entityListCount(projectiles) + entityListCount(spareProjectiles);
    state.counters["explosions_made"] =
        entityListCount(explosions) + entityListCount(spareExplosions);
    state.counters["heals"] = healed;
}
BENCHMARK(BM_MemoryAfterTenMinutes)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    startGameForBenchmark(&argc, argv);
    // Start-up ends with the first frame.
    drawFrame();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
