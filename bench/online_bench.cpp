// The online duel's figures: the longest rollback on the game's thread (a restore and
// 15 steps run again, as the session does them, with 30 shots and four explosions
// live); scripted duels between two headless sides through the impairing relay on
// loopback (bytes per second each way with every header, rollbacks and stalls per
// minute, the longest rollback, and the time from a shot read on one side to its
// step running on the other); and a frame of the single view against the game's two.
#include "frame_grab.h"
#include "net/duel_world.h"
#include "net/rollback_session.h"
#include "render/display_views.h"
#include "world/duel_state.h"
#include "world/entity_list.h"
#include "world/simulation_fingerprint.h"
#include "world/world.h"
#include "world/world_update.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int ROLLBACK_STEPS = 15;

// Thirty shots spread out far from everything, four explosions just started, and
// both ships turning and thrusting, as in a busy moment of a duel.
void busyWorld() {
    std::srand(1);
    gameRunning = true;
    setUpWorld();
    for (int i = 0; i < 30; ++i) {
        Projectile* shot = fireProjectile(0, ships[i % 2]);
        shot->setPosition(static_cast<float>(i % 6 - 3) * 3, 60, static_cast<float>(i / 6) * 3);
    }
    for (int i = 0; i < 4; ++i)
        spawnExplosion(Vec3(static_cast<float>(i) * 4, 40, 0));
}

StepInput busyInput(uint32_t step) {
    StepInput input;
    input.ships[0].channels = YAW_LEFT_BIT | THRUST_FORWARD_BIT;
    input.ships[1].channels = step % 2 ? PITCH_UP_BIT : ROLL_LEFT_BIT;
    return input;
}

// What RollbackSession::synchronise does for a rollback of 15 steps: the restore, then
// every step kept, run and hashed again.
void BM_LongestRollback(benchmark::State& state) {
    busyWorld();
    DuelWorld world(ROLLBACK_STEPS + 2, true, nullptr);
    for (uint32_t step = 0; step < ROLLBACK_STEPS; ++step) {
        world.save(step);
        world.run(step, busyInput(step), false);
    }
    for (auto _ : state) {
        world.load(0);
        for (uint32_t step = 0; step < ROLLBACK_STEPS; ++step) {
            world.save(step);
            world.run(step, busyInput(step), true);
            benchmark::DoNotOptimize(world.hash());
        }
    }
    state.counters["live_shots"] = entityListCount(projectiles);
    state.counters["live_explosions"] = entityListCount(explosions);
}
BENCHMARK(BM_LongestRollback)->Unit(benchmark::kMillisecond);

// One scripted duel through the relay with the harness the tests use; the figures
// come from both sides' --stats files.
std::map<std::string, std::string> readStats(const std::string& path) {
    std::map<std::string, std::string> stats;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        const std::string key = line.substr(0, space);
        // Shot times go into their own keys, by step.
        if (key == "shot" || key == "shown") {
            std::istringstream rest(line.substr(space + 1));
            std::string step, ms;
            rest >> step >> ms;
            stats[key + " " + step] = ms;
        } else {
            stats[key] = line.substr(space + 1);
        }
    }
    return stats;
}

double number(const std::map<std::string, std::string>& stats, const std::string& key) {
    const auto it = stats.find(key);
    return it == stats.end() ? 0.0 : std::atof(it->second.c_str());
}

void BM_OnlineDuel(benchmark::State& state, const char* relayOptions) {
    char folder[] = "/tmp/kelvidron-online-bench-XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string work = folder;
    const std::string command =
        "bash -c 'set -e; build=$PWD; source=" KELVIDRON_SOURCE_DIR "; work=" + work +
        "; . \"$source/tests/e2e/online.bash\"; run_duel duel \"" + relayOptions +
        "\"; expect_matching duel' >" + work + "/log 2>&1";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            std::ifstream log(work + "/log");
            std::stringstream text;
            text << log.rdbuf();
            state.SkipWithError(("the duel failed: " + text.str()).c_str());
            break;
        }
    }
    const auto host = readStats(work + "/duel/h.stats");
    const auto join = readStats(work + "/duel/j.stats");
    const double minutes = number(host, "played_ms") / 60000.0;
    state.counters["host_sent_Bps"] = number(host, "sent_bytes_per_s");
    state.counters["joiner_sent_Bps"] = number(join, "sent_bytes_per_s");
    state.counters["host_rollbacks_per_min"] = number(host, "rollbacks") / minutes;
    state.counters["joiner_rollbacks_per_min"] = number(join, "rollbacks") / minutes;
    state.counters["longest_rollback_steps"] =
        std::max(number(host, "longest_rollback"), number(join, "longest_rollback"));
    state.counters["stalls_per_min"] =
        (number(host, "stalls") + number(join, "stalls")) / (2 * minutes);
    // From player 1's shot read on the host to its step running on the joiner.
    std::vector<double> latency;
    for (const auto& [key, ms] : host)
        if (key.rfind("shot ", 0) == 0) {
            const auto shown = join.find("shown " + key.substr(5));
            if (shown != join.end())
                latency.push_back(std::atof(shown->second.c_str()) - std::atof(ms.c_str()));
        }
    std::sort(latency.begin(), latency.end());
    state.counters["shot_to_other_side_ms"] = latency.empty() ? 0 : latency[latency.size() / 2];
    std::system(("rm -rf " + work).c_str());
}
BENCHMARK_CAPTURE(BM_OnlineDuel, clean, "")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_OnlineDuel, latency_50ms, "--delay 50")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_OnlineDuel, latency_100ms_jitter_20ms, "--delay 100 --jitter 20")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_OnlineDuel, loss_5pc, "--loss 0.05")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_OnlineDuel, loss_bursts_20pc, "--burst 1000,300,0.2")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_OnlineDuel, duplication_reordering, "--duplicate 0.1 --reorder 0.1 --jitter 5")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// A frame at the start position: the game's two views, and one player's view alone
// across the sub-window, as the online window draws it.
void BM_StartFrame(benchmark::State& state, int shownAlone) {
    static bool started = false;
    if (!started) {
        int argc = 1;
        char name[] = "online_bench";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
        startGameWithoutIdle(1039, 522);
        started = true;
    }
    std::srand(1);
    gameRunning = true;
    setUpWorld();
    showSingleView(shownAlone);
    glutSetWindow(viewWindow.subWindowId);
    for (auto _ : state) {
        displayViews();
        glFinish();
    }
    showSingleView(-1);
}
BENCHMARK_CAPTURE(BM_StartFrame, two_views, -1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_StartFrame, single_view, 0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
