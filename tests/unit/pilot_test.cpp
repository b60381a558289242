// The computer pilot: its hands on the turn channels, the lead of its shots, its
// clearance of the planets, and duels of it kept as replays that must play again bit
// for bit.
#include "world_fixture.h"

#include "league.h"
#include "pilot/pilot.h"
#include "pilot/steering.h"
#include "replay/replay_file.h"
#include "world/duel_step.h"
#include "world/simulation_fingerprint.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

TEST(PilotSteering, SteadyAtan2AgreesWithTheCLibraryAllRound) {
    for (int i = 0; i < 3600; ++i) {
        const double a = i * 0.1 * M_PI / 180.0;
        for (float r : {0.001f, 1.0f, 300.0f}) {
            const float y = static_cast<float>(r * std::sin(a));
            const float x = static_cast<float>(r * std::cos(a));
            EXPECT_NEAR(steadyAtan2Degrees(y, x), std::atan2(y, x) * 180.0 / M_PI, 1e-3)
                << x << ", " << y;
        }
    }
}

// Every way round (ahead, behind, to each side, up and down), the ship's own steering
// brings the nose within the hands' tenth of a degree, and holds it there.
TEST_F(WorldTest, TheChannelsBringTheNoseOntoAnyDirectionAndHoldIt) {
    const Vec3 wanted[] = {{0.3f, 0.1f, -1}, {1, 0, 0},    {-1, 0.2f, 0},       {0, 1, 0.01f},
                           {0, -1, 0.3f},    {0.1f, 0, 1}, {-0.5f, -0.5f, 0.7f}};
    for (const Vec3& w : wanted) {
        freshWorld();
        Ship& ship = *ships[1];
        const Vec3 unitWanted = w * (1.0f / w.length());
        float worst = 0.0f;
        for (int step = 0; step < 600; ++step) {
            StepInput input;
            input.ships[1].channels =
                turnChannels(noseError(ship.right, ship.up, ship.back, unitWanted), ship.controls);
            runDuelStep(input);
            if (step >= 400)
                worst =
                    std::max(worst, std::acos(std::min(1.0f, dot(ship.back * -1.0f, unitWanted))) *
                                        57.29578f);
        }
        EXPECT_LT(worst, 0.12f) << w.x << " " << w.y << " " << w.z;
    }
}

class NonLeading : public Contender {
public:
    NonLeading(int ship, uint32_t seed) : pilot_(ship, 3, seed, false) {}
    ShipInput decide() override { return pilot_.decide(); }

private:
    Pilot pilot_;
};

// A pilot that fires at where the other ship is now misses a moving one: the lead is
// what hits. Against the same circling and crossing ships, over the same time, the
// leading pilot lands far more hits.
TEST(PilotLead, LeadingHitsMovingShipsFarMoreOftenThanAimingAtTheirPlace) {
    int leading = 0;
    int aimingAtPlace = 0;
    int shotsAtPlace = 0;
    for (const char* target : {"circling", "straight"})
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            std::unique_ptr<Contender> a = makeContender(target, 0, seed);
            std::unique_ptr<Contender> lead = makeContender("level3", 1, seed);
            freshWorld();
            leading += runDuel(*a, *lead, 3000).hitsLanded[1];
            std::unique_ptr<Contender> b = makeContender(target, 0, seed);
            NonLeading place(1, seed);
            freshWorld();
            const DuelOutcome d = runDuel(*b, place, 3000);
            aimingAtPlace += d.hitsLanded[1];
            shotsAtPlace += d.shots[1];
        }
    // About seven times as many here; a pilot that turns its nose to where the ship is
    // now, though it still fires only when the shot would hit, lands three times.
    EXPECT_GT(leading, 4 * aimingAtPlace + 10);
    // It did fire: the difference is in where the shots went.
    EXPECT_GT(shotsAtPlace, 20);
}

// Flying at its cruise speed straight at the Earth, with the other ship sitting still
// behind it, every level turns away in time and touches nothing.
TEST(PilotSafety, EveryLevelClearsAPlanetItIsHeadingFor) {
    for (int level = 1; level <= PILOT_LEVELS; ++level) {
        freshWorld();
        const CelestialBody& earth = *celestialBodies[0];
        Ship& me = *ships[1];
        me.position = earth.position + Vec3(0, 0, 30);
        const float speed = pilotSkill(level).cruiseSpeed;
        me.velocity = Vec3(0, 0, -speed);
        ships[0]->position = earth.position + Vec3(0, 0, -20);
        Pilot pilot(1, level, 5);
        float closest = 1e9f;
        for (int step = 0; step < 3000; ++step) {
            StepInput input;
            input.ships[1] = pilot.decide();
            runDuelStep(input);
            retireBurntOutExplosions();
            closest = std::min(closest, (me.position - earth.position).length());
        }
        EXPECT_GT(closest, earth.getRadius() + 1.5f) << "level " << level;
    }
}

// The league's zeros mean something: a ship drifting into the Earth is counted once,
// and one drifting over the edge is counted as put back.
TEST(PilotLeague, CountsPlanetContactsAndTheEdge) {
    freshWorld();
    const CelestialBody& earth = *celestialBodies[0];
    ships[0]->position = earth.position + Vec3(0, 0, earth.getRadius() + 1.0f);
    ships[0]->velocity = Vec3(0, 0, -0.005f);
    ships[1]->position = Vec3(69.5f, 0, 0);
    ships[1]->velocity = Vec3(0.005f, 0, 0);
    std::unique_ptr<Contender> one = makeContender("still", 0, 1);
    std::unique_ptr<Contender> two = makeContender("still", 1, 1);
    const DuelOutcome d = runDuel(*one, *two, 300);
    EXPECT_EQ(d.planetContacts[0], 1);
    EXPECT_EQ(d.planetContacts[1], 0);
    EXPECT_EQ(d.edgeResets[0], 0);
    EXPECT_EQ(d.edgeResets[1], 1);
}

// Duels of the league kept in the tree: made again from their contenders and seeds,
// they give the same inputs and hashes step by step and the same end.
TEST(PilotReplays, KeptDuelsPlayAgainBitForBit) {
    const char* kept[][2] = {{"level3", "level2"}, {"level2", "level1"}, {"level1", "still"}};
    for (const auto& pair : kept) {
        const std::string name = std::string(pair[0]) + "-vs-" + pair[1] + ".kvr";
        const ReplayReading stored =
            readReplay(std::string(KELVIDRON_SOURCE_DIR) + "/tests/e2e/replays/" + name);
        ASSERT_TRUE(stored.error.empty()) << stored.error;
        // The fingerprint is taken on a fresh world; the duel sets up one of its own.
        // Both stay reachable afterwards (the game never frees a body).
        keepEarlierWorld();
        freshDuelWorld();
        const std::string again = "pilot-replay-" + name;
        ReplayWriter writer;
        ASSERT_TRUE(writer.open(again, simulationFingerprint(), DUEL_RAND_SEED));
        keepEarlierWorld();
        const DuelOutcome d = runPairingDuel(pair[0], pair[1], 0, &writer);
        ASSERT_TRUE(writer.finish(d.result));
        const ReplayReading made = readReplay(again);
        std::remove(again.c_str());
        ASSERT_TRUE(made.error.empty()) << made.error;
        EXPECT_TRUE(stored.replay.ended) << name;
        EXPECT_EQ(made.replay.result, stored.replay.result) << name;
        EXPECT_EQ(made.replay.fingerprint, stored.replay.fingerprint) << name;
        ASSERT_EQ(made.replay.inputs.size(), stored.replay.inputs.size()) << name;
        for (size_t i = 0; i < made.replay.inputs.size(); ++i)
            ASSERT_TRUE(made.replay.inputs[i] == stored.replay.inputs[i]) << name << " step " << i;
        ASSERT_EQ(made.replay.checkpoints.size(), stored.replay.checkpoints.size());
        for (size_t i = 0; i < made.replay.checkpoints.size(); ++i)
            EXPECT_EQ(made.replay.checkpoints[i].hash, stored.replay.checkpoints[i].hash)
                << name << " after step " << made.replay.checkpoints[i].steps;
    }
}

} // namespace
