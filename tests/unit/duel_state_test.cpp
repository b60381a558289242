// The duel state: its hash ignores what drawing writes, and a restore brings back the
// duel, the explosions and rand's sequence, with no explosion shown twice or lost.
#include "world_fixture.h"

#include "math/steady_trig.h"
#include "world/duel_state.h"
#include "world/duel_step.h"
#include "world/entity_list.h"
#include "world/rand_state.h"
#include "world/simulation_fingerprint.h"

#include <cmath>
#include <cstdint>
#include <set>

namespace {

std::vector<int> draws(int n) {
    std::vector<int> out;
    for (int i = 0; i < n; ++i)
        out.push_back(std::rand());
    return out;
}

// setstate writes the position into the buffer it leaves: a restore that copied into
// the live buffer would carry on from where rand stands, not from the save.
TEST(RandState, RestoresTheSequenceAgainAndAgain) {
    std::srand(5);
    draws(7);
    const RandState saved = saveRandState();
    const std::vector<int> expected = draws(40);
    for (int round = 0; round < 3; ++round) {
        draws(round * 13 + 1);
        restoreRandState(saved);
        EXPECT_EQ(draws(40), expected) << "round " << round;
    }
    // A save taken after restores continues the sequence in place.
    restoreRandState(saved);
    draws(10);
    const RandState later = saveRandState();
    const std::vector<int> afterLater = draws(5);
    restoreRandState(later);
    EXPECT_EQ(draws(5), afterLater);
    std::srand(5);
    draws(7);
    EXPECT_EQ(draws(40), expected) << "srand still reseeds the generator in use";
}

std::multiset<const void*> listed(const EntityList* a, const EntityList* b) {
    std::multiset<const void*> out;
    for (const EntityList* list : {a, b})
        for (int i = 0; i < entityListCount(list); ++i)
            out.insert(entityListPointerAt<void>(list, i));
    return out;
}

uint64_t particleHash() {
    uint64_t h = 0;
    for (int i = 0; i < entityListCount(explosions); ++i) {
        const ParticleSystem& s = *liveExplosion(i);
        for (int p = 0; p < s.particleCount; ++p)
            h = h * 31 + static_cast<uint64_t>(std::lround(s.particles[p].position.x * 1e6f)) +
                static_cast<uint64_t>(s.particles[p].alive);
    }
    return h;
}

TEST(DuelSnapshot, RestoreReplaysTheSameStepsAndKeepsEveryObjectInOnePlace) {
    freshWorld(11);
    int step = 0;
    while (entityListCount(explosions) < 2 && step < BUILT_IN_DUEL_STEPS)
        runDuelStep(builtInDuelInput(step++));
    ASSERT_GE(entityListCount(explosions), 2) << "the duel must have burst by now";
    const int saveStep = step;
    DuelSnapshot snapshot;
    snapshot.save();
    const uint64_t savedHash = duelStateHash();
    const int savedExplosions = entityListCount(explosions);

    // A system made after the save is rearmed after a restore rather than made anew,
    // which draws less from rand: the particles repeat only until then.
    const auto systemsAtSave = listed(explosions, spareExplosions).size();
    std::vector<uint64_t> hashes, particles;
    int stepsWithoutNewSystems = 0;
    for (; step < saveStep + 150; ++step) {
        runDuelStep(builtInDuelInput(step));
        hashes.push_back(duelStateHash());
        particles.push_back(particleHash());
        if (listed(explosions, spareExplosions).size() == systemsAtSave)
            ++stepsWithoutNewSystems;
    }
    ASSERT_GT(stepsWithoutNewSystems, 0);
    // Drawing retires a burnt-out explosion; later ones were made after the save.
    retireExplosion(liveExplosion(0));
    const auto shotsBefore = listed(projectiles, spareProjectiles);
    const auto systemsBefore = listed(explosions, spareExplosions);
    ASSERT_GT(systemsBefore.size(), static_cast<size_t>(savedExplosions));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        snapshot.restore();
        EXPECT_EQ(duelStateHash(), savedHash);
        EXPECT_EQ(entityListCount(explosions), savedExplosions);
        // Nothing lost or doubled: every object made is in exactly one list.
        EXPECT_EQ(listed(projectiles, spareProjectiles), shotsBefore);
        EXPECT_EQ(listed(explosions, spareExplosions), systemsBefore);
        for (int i = 0; i < 150; ++i) {
            runDuelStep(builtInDuelInput(saveStep + i));
            ASSERT_EQ(duelStateHash(), hashes[i]) << "step " << saveStep + i;
            // With rand's state and the particles back, they repeat too.
            if (i < stepsWithoutNewSystems) {
                ASSERT_EQ(particleHash(), particles[i]) << "step " << saveStep + i;
            }
        }
    }
}

TEST(DuelState, TheHashLeavesOutWhatDrawingWrites) {
    freshWorld();
    for (int step = 0; step < 300; ++step)
        runDuelStep(builtInDuelInput(step));
    const uint64_t before = duelStateHash();
    hitFlash[0] = 7;
    viewMode = 1;
    ships[0]->worldBoxAfter(123.0f);
    spawnExplosion(Vec3(1, 2, 3));
    std::rand();
    EXPECT_EQ(duelStateHash(), before);
    ships[1]->controls.press(&ControlState::rollLeft);
    EXPECT_NE(duelStateHash(), before) << "control levels are duel state";
}

// Recorded from this build. The same in every build tree and with the C library's
// plainer sin and cos (GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA, see
// tests/CMakeLists.txt); a change means the simulation now behaves differently.
TEST(Determinism, TheBuiltInDuelAndTheFingerprintAreTheRecordedOnes) {
    freshWorld();
    for (int step = 0; step < BUILT_IN_DUEL_STEPS; ++step)
        runDuelStep(builtInDuelInput(step));
    EXPECT_EQ(duelStateHash(), 0x1f062f3694c50eafull) << std::hex << duelStateHash();
    freshWorld();
    EXPECT_EQ(simulationFingerprint(), 0xa10538ee4e15b729ull)
        << std::hex << simulationFingerprint();
}

TEST(SteadyTrig, AgreesWithTheCLibraryWithinAUnitAndKeepsSignedZeros) {
    EXPECT_TRUE(std::signbit(steadySin(-0.0)));
    EXPECT_FALSE(std::signbit(steadySin(0.0)));
    EXPECT_EQ(steadyCos(0.0), 1.0);
    EXPECT_TRUE(std::isnan(steadySin(INFINITY)));
    EXPECT_TRUE(std::isnan(steadyCos(NAN)));
    int exact = 0, tried = 0;
    for (double x = -800.0; x <= 800.0; x += 0.0137) {
        const SineCosine sc = steadySinCos(x);
        for (auto [ours, theirs] :
             {std::pair{sc.sin, std::sin(x)}, std::pair{sc.cos, std::cos(x)}}) {
            ++tried;
            exact += ours == theirs;
            const double unit = std::nextafter(std::fabs(theirs), 2.0) - std::fabs(theirs);
            ASSERT_LE(std::fabs(ours - theirs), unit) << x;
        }
    }
    EXPECT_GT(exact, tried * 3 / 4) << "most results are the C library's own";
}

} // namespace
