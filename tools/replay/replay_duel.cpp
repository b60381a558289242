// A replay's duel: set-up, result and the fingerprint's refusal.
#include "replay_duel.h"

#include "world/ship.h"
#include "world/simulation_fingerprint.h"
#include "world/world.h"
#include "world/world_update.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

uint64_t freshDuel(uint32_t seed) {
    std::srand(seed);
    gameRunning = true;
    setUpWorld();
    return simulationFingerprint();
}

int readReplayDuel(const std::string& file, ReplayReading& reading) {
    reading = readReplay(file);
    if (reading.error.empty())
        return 0;
    std::fprintf(stderr, "kelvidron-replay: %s\n", reading.error.c_str());
    return 2;
}

int startReplayDuel(const std::string& file, const Replay& replay) {
    const uint64_t fingerprint = freshDuel(replay.randSeed);
    if (replay.fingerprint == fingerprint)
        return 0;
    std::fprintf(stderr,
                 "kelvidron-replay: %s: recorded by a build that simulates differently "
                 "(fingerprint %016" PRIx64 ", this build's is %016" PRIx64 "); it is not played\n",
                 file.c_str(), replay.fingerprint, fingerprint);
    return 3;
}

int openReplayDuel(const std::string& file, ReplayReading& reading) {
    if (const int status = readReplayDuel(file, reading))
        return status;
    return startReplayDuel(file, reading.replay);
}
