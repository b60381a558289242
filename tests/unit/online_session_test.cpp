// The online duel's logic without sockets: the messages' bytes, join codes, two
// rollback sessions over a late, lossy, shuffling link of the test's own, a duel
// that strays caught at its first compared step, hostile messages, and the synctest
// on the real world: every step rolled back and run again to the same hashes.
#include "unit/world_fixture.h"

#include "net/duel_world.h"
#include "net/join_code.h"
#include "net/packets.h"
#include "net/rollback_session.h"
#include "net/time_sync.h"
#include "world/duel_state.h"
#include "world/duel_step.h"
#include "world/simulation_fingerprint.h"
#include "world/step_events.h"

#include <map>
#include <random>

namespace {

Message everyField(MessageType type) {
    Message m;
    m.type = type;
    m.hello.version = 7;
    m.hello.fingerprint = 0x0123456789abcdefull;
    for (int i = 0; i < JOIN_CODE_LENGTH; ++i)
        m.hello.code[i] = JOIN_CODE_ALPHABET[i * 3];
    m.hello.nonce = 0xfedcba9876543210ull;
    m.hello.delay = 3;
    m.welcome = {9, 0x1111222233334444ull, 0x5555666677778888ull, 4, 0xdeadbeefu};
    m.refusal = {RefusalReason::Fingerprint, 2, 0x99aabbccddeeff00ull};
    m.ping.nonce = 0x0102030405060708ull;
    m.start.countdownMs = 3000;
    m.inputs.firstStep = 1234567;
    for (int i = 0; i < MAX_INPUTS_PER_MESSAGE; ++i)
        m.inputs.inputs.push_back(ShipInput{static_cast<uint8_t>(i / 50 * 37), i % 61 == 0});
    m.inputs.ackStep = 1234500;
    m.inputs.advantage = -5;
    m.inputs.hashStep = 1234560;
    m.inputs.hash = 0xa5a5a5a5a5a5a5a5ull;
    m.desync.step = 4242;
    return m;
}

// The fields a type carries, compared by their bytes again.
void expectSame(const Message& a, const Message& b) {
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(encodeMessage(a), encodeMessage(b));
}

TEST(OnlineMessages, EveryMessageSurvivesItsBytesAndNoCutOrLengthenedOneIsRead) {
    for (int t = static_cast<int>(MessageType::Hello); t <= static_cast<int>(MessageType::Leave);
         ++t) {
        const Message m = everyField(static_cast<MessageType>(t));
        const std::vector<uint8_t> bytes = encodeMessage(m);
        Message read;
        ASSERT_TRUE(decodeMessage(bytes.data(), bytes.size(), read)) << "type " << t;
        expectSame(m, read);
        for (size_t cut = 0; cut < bytes.size(); ++cut)
            EXPECT_FALSE(decodeMessage(bytes.data(), cut, read)) << "type " << t << " cut " << cut;
        std::vector<uint8_t> longer = bytes;
        longer.push_back(0);
        EXPECT_FALSE(decodeMessage(longer.data(), longer.size(), read)) << "type " << t;
    }
    // Inputs come back step for step, runs and all.
    const Message inputs = everyField(MessageType::Inputs);
    const std::vector<uint8_t> bytes = encodeMessage(inputs);
    Message read;
    ASSERT_TRUE(decodeMessage(bytes.data(), bytes.size(), read));
    ASSERT_EQ(read.inputs.inputs.size(), inputs.inputs.inputs.size());
    for (size_t i = 0; i < read.inputs.inputs.size(); ++i)
        EXPECT_TRUE(read.inputs.inputs[i] == inputs.inputs.inputs[i]) << i;
    EXPECT_EQ(read.inputs.advantage, -5);
}

// Bytes that are the right length but say what no side sends.
TEST(OnlineMessages, ValuesNoSideSendsAreRefused) {
    auto refused = [](MessageType type, size_t at, uint8_t value) {
        std::vector<uint8_t> bytes = encodeMessage(everyField(type));
        bytes.at(at) = value;
        Message read;
        return !decodeMessage(bytes.data(), bytes.size(), read);
    };
    EXPECT_TRUE(refused(MessageType::Hello, 0, 0)) << "type 0";
    EXPECT_TRUE(refused(MessageType::Hello, 0, 10)) << "type past the last";
    EXPECT_TRUE(refused(MessageType::Hello, 11, 'O')) << "a look-alike in the code";
    EXPECT_TRUE(refused(MessageType::Hello, 11, 0)) << "a NUL in the code";
    EXPECT_TRUE(refused(MessageType::Hello, 27, 31)) << "a delay of 31 steps";
    EXPECT_TRUE(refused(MessageType::Refusal, 1, 5)) << "an unknown reason";
    EXPECT_TRUE(refused(MessageType::Start, 2, 0xff)) << "a countdown of 65 s";
    EXPECT_TRUE(refused(MessageType::Desync, 4, 0x40)) << "a step past a day of play";
    // 128 inputs in runs: one more step in the last run is one too many.
    const std::vector<uint8_t> bytes = encodeMessage(everyField(MessageType::Inputs));
    EXPECT_TRUE(refused(MessageType::Inputs, bytes.size() - 1, 0x7f));
    // A run count that promises more runs than follow.
    EXPECT_TRUE(refused(MessageType::Inputs, 22, 200));
}

TEST(JoinCodes, MadeCodesReadBackAndTypedOnesAreForgivenOnlyCaseAndSeparators) {
    std::mt19937_64 random(5);
    for (int i = 0; i < 200; ++i) {
        const std::string code = makeJoinCode(random());
        ASSERT_EQ(code.size(), static_cast<size_t>(JOIN_CODE_LENGTH));
        EXPECT_EQ(normaliseJoinCode(code), code);
        std::string typed = code.substr(0, 4) + " - " + code.substr(4);
        for (char& c : typed)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(normaliseJoinCode(typed), code);
    }
    for (const char* bad : {"", "34679AC", "34679ACDE", "34679ACO", "3467 9AC1", "34679AC\xc3"})
        EXPECT_EQ(normaliseJoinCode(bad), "") << bad;
    EXPECT_TRUE(sameJoinCode("34679ACD", "34679ACD"));
    EXPECT_FALSE(sameJoinCode("34679ACD", "34679ACE"));
    EXPECT_FALSE(sameJoinCode("34679ACD", "34679AC"));
}

// A world of the test's own: its state is a hash of every step's input in order, so
// any input taken wrongly or any step run twice shows, and the duel ends after a
// given step. `strayAt` makes it differ from the other side's from that step on.
class ToyWorld : public RollbackWorld {
public:
    explicit ToyWorld(uint32_t endAfter, uint32_t strayAt = UINT32_MAX)
        : endAfter_(endAfter), strayAt_(strayAt) {}
    void save(uint32_t step) override { saved_[step] = {state_, steps_}; }
    void load(uint32_t step) override {
        state_ = saved_.at(step).first;
        steps_ = saved_.at(step).second;
    }
    void run(uint32_t step, const StepInput& input, bool again) override {
        EXPECT_EQ(step, steps_) << "steps run in order";
        for (const ShipInput& s : input.ships)
            state_ = (state_ ^ (s.channels * 2u + s.fire)) * 1099511628211ull;
        if (step >= strayAt_)
            state_ += 1;
        ++steps_;
        runsAgain += again ? 1 : 0;
    }
    uint64_t hash() override { return state_; }
    bool running() override { return steps_ <= endAfter_; }
    int runsAgain = 0;

private:
    uint64_t state_ = 14695981039346656037ull;
    uint32_t steps_ = 0;
    std::map<uint32_t, std::pair<uint64_t, uint32_t>> saved_;
    uint32_t endAfter_;
    uint32_t strayAt_;
};

// Each side's player: channels that change every few steps, a shot now and then.
ShipInput playerInput(int player, uint32_t step) {
    ShipInput input;
    input.channels = static_cast<uint8_t>(((step / (7 + 4 * player)) * 29 + player) & 0xff);
    input.fire = (step + 3 * player) % 23 == 0;
    return input;
}

// A link of the test's own between two sessions: each message late by a base and a
// jitter, some lost, some twice, in a shuffled order; time runs in whole milliseconds.
struct Wire {
    std::mt19937 random{11};
    double lateMs = 40, jitterMs = 15, loss = 0.1, twice = 0.05;
    std::multimap<double, std::pair<int, InputsMessage>> inFlight;

    void send(int to, const InputsMessage& m, double now) {
        std::uniform_real_distribution<double> u(0, 1);
        if (u(random) < loss)
            return;
        const double at = now + lateMs + (u(random) * 2 - 1) * jitterMs;
        inFlight.insert({at, {to, m}});
        if (u(random) < twice)
            inFlight.insert({at + 7, {to, m}});
    }
};

struct Side {
    ToyWorld world;
    RollbackSession session;
    std::vector<ConfirmedStep> confirmed;
    Side(uint32_t endAfter, int player, uint32_t strayAt = UINT32_MAX)
        : world(endAfter, strayAt), session(world, settingsFor(player)) {}
    Side(uint32_t endAfter, const SessionSettings& settings)
        : world(endAfter), session(world, settings) {}
    static SessionSettings settingsFor(int player) {
        SessionSettings s;
        s.localPlayer = player;
        s.localDelay = player == 0 ? 2 : 3;
        s.remoteDelay = player == 0 ? 3 : 2;
        return s;
    }
};

// Both sides a step every 10 ms (one of them a little fast), a message every 20 ms,
// until both have ended or stopped, or the time is up.
void duel(Side& a, Side& b, Wire& wire, double endMs) {
    Side* sides[2] = {&a, &b};
    double nextStep[2] = {0, 3};
    for (double now = 0; now < endMs; now += 1) {
        for (auto it = wire.inFlight.begin(); it != wire.inFlight.end() && it->first <= now;) {
            sides[it->second.first]->session.receive(it->second.second, now);
            it = wire.inFlight.erase(it);
        }
        bool done = true;
        for (int i = 0; i < 2; ++i) {
            RollbackSession& s = sides[i]->session;
            s.synchronise();
            if (now >= nextStep[i]) {
                if (s.canAdvance())
                    s.advance(playerInput(i, s.stepsRun()));
                nextStep[i] += i == 0 ? 10.0 : 9.8;
            }
            if (static_cast<int>(now) % 20 == i * 10)
                wire.send(1 - i, s.outgoing(now, 2 * wire.lateMs), now);
            for (const ConfirmedStep& c : s.takeConfirmed())
                sides[i]->confirmed.push_back(c);
            EXPECT_LE(s.predictedSteps(), s.settings().maxPrediction);
            done = done && ((s.ended() && s.otherSideHasEverything()) || s.desyncStep() != 0);
        }
        if (done)
            return;
    }
}

TEST(RollbackSession, TwoSidesOverALateLossyShufflingLinkConfirmTheSameDuel) {
    Side a(400, 0), b(400, 1);
    Wire wire;
    duel(a, b, wire, 20000);
    ASSERT_TRUE(a.session.ended());
    ASSERT_TRUE(b.session.ended());
    EXPECT_EQ(a.session.desyncStep(), 0u);
    EXPECT_EQ(b.session.desyncStep(), 0u);
    // The end is the step after which the world stopped, on both sides.
    ASSERT_EQ(a.confirmed.size(), 401u);
    ASSERT_EQ(b.confirmed.size(), 401u);
    for (size_t i = 0; i < a.confirmed.size(); ++i) {
        const ConfirmedStep& x = a.confirmed[i];
        const ConfirmedStep& y = b.confirmed[i];
        ASSERT_EQ(x.step, i);
        ASSERT_EQ(y.step, i);
        ASSERT_TRUE(x.input == y.input) << "step " << i;
        ASSERT_EQ(x.hash, y.hash) << "step " << i;
        // Each player's own input, delayed by their own delay.
        const uint32_t step = static_cast<uint32_t>(i);
        EXPECT_TRUE(x.input.ships[0] == (step < 2 ? ShipInput{} : playerInput(0, step - 2)));
        EXPECT_TRUE(x.input.ships[1] == (step < 3 ? ShipInput{} : playerInput(1, step - 3)));
    }
    // The guesses were wrong often enough to go back, never further than they reach.
    EXPECT_GT(a.session.stats().rollbacks, 10u);
    EXPECT_GT(b.session.stats().rollbacks, 10u);
    EXPECT_LE(a.session.stats().longestRollback, a.session.settings().maxPrediction);
    EXPECT_GT(a.world.runsAgain, 0);
}

TEST(RollbackSession, ADuelThatStraysIsCaughtAtItsFirstComparedStepOnBothSides) {
    // Side b's world differs from step 55 on: the hashes after 56 steps differ, and the
    // first compared after that is 60.
    Side a(1000, 0), b(1000, 1, 55);
    Wire wire;
    wire.loss = 0;
    duel(a, b, wire, 5000);
    EXPECT_EQ(a.session.desyncStep(), 60u);
    EXPECT_EQ(b.session.desyncStep(), 60u);
    EXPECT_FALSE(a.session.canAdvance());
}

TEST(RollbackSession, MessagesNoHonestSideSendsChangeNothing) {
    Side a(1000, 0);
    for (int i = 0; i < 10; ++i) {
        a.session.synchronise();
        a.session.advance(playerInput(0, a.session.stepsRun()));
    }
    // Inputs far past what the other side could have reached, and an acknowledgement of
    // inputs never made.
    InputsMessage far;
    far.firstStep = 500;
    far.inputs.assign(20, ShipInput{0xff, true});
    far.ackStep = 900;
    a.session.receive(far, 0);
    EXPECT_EQ(a.session.remoteInputs().size(), 3u) << "only the delay's empty steps";
    EXPECT_EQ(a.session.outgoing(0, 0).firstStep, 0u);
    // The real inputs arrive, then the same steps again saying something else: the first
    // word stands, and the duel goes back only for the first.
    InputsMessage real;
    real.firstStep = 3;
    for (uint32_t s = 3; s < 8; ++s)
        real.inputs.push_back(playerInput(1, s - 3));
    a.session.receive(real, 0);
    a.session.synchronise();
    const uint64_t rollbacks = a.session.stats().rollbacks;
    const uint64_t hash = a.world.hash();
    InputsMessage changed = real;
    for (ShipInput& input : changed.inputs)
        input.channels ^= 0x55;
    a.session.receive(changed, 0);
    a.session.synchronise();
    EXPECT_EQ(a.session.stats().rollbacks, rollbacks);
    EXPECT_EQ(a.world.hash(), hash);
    EXPECT_EQ(a.session.confirmedSteps(), 8u);
    // A hash for a step that is no compared one is not believed either.
    InputsMessage odd;
    odd.firstStep = 8;
    odd.hashStep = 7;
    odd.hash = 1;
    a.session.receive(odd, 0);
    EXPECT_EQ(a.session.desyncStep(), 0u);
}

// A minute of play where side 1's clock runs 1% fast, over a link of 30 ms each way
// with both input delays 2: the stalled milliseconds of the fast side and both sides'
// rollbacks, with the time sync slowing the side ahead or without.
struct ClockRun {
    double fastSideStalledMs = 0;
    uint64_t rollbacks[2] = {};
    double ahead = 0;
};

ClockRun runClocks(bool synced) {
    SessionSettings settings[2];
    settings[1].localPlayer = 1;
    Side a(1000000, settings[0]), b(1000000, settings[1]);
    Side* sides[2] = {&a, &b};
    const double speed[2] = {1.0, 1.01};
    TimeSync sync[2];
    double accumulator[2] = {0, 5};
    Wire wire;
    wire.lateMs = 30;
    wire.jitterMs = 3;
    wire.loss = 0;
    wire.twice = 0;
    ClockRun run;
    for (double now = 0; now < 60000; now += 1) {
        for (auto it = wire.inFlight.begin(); it != wire.inFlight.end() && it->first <= now;) {
            sides[it->second.first]->session.receive(it->second.second, now);
            it = wire.inFlight.erase(it);
        }
        for (int i = 0; i < 2; ++i) {
            RollbackSession& s = sides[i]->session;
            s.synchronise();
            const double rate =
                synced ? sync[i].rate(s.localAdvantage(now, 60), s.remoteAdvantage(), 1.0) : 1.0;
            accumulator[i] += speed[i] * rate;
            while (accumulator[i] >= DUEL_STEP_MS) {
                if (!s.canAdvance()) {
                    if (i == 1)
                        run.fastSideStalledMs += 1;
                    accumulator[i] = DUEL_STEP_MS;
                    break;
                }
                s.advance(playerInput(i, s.stepsRun()));
                accumulator[i] -= DUEL_STEP_MS;
            }
            if (static_cast<int>(now) % 20 == i * 10)
                wire.send(1 - i, s.outgoing(now, 60), now);
        }
    }
    run.rollbacks[0] = a.session.stats().rollbacks;
    run.rollbacks[1] = b.session.stats().rollbacks;
    run.ahead = sync[1].ahead();
    return run;
}

TEST(TimeSync, TheSideWhoseClockRunsFastEasesBackInsteadOfStallingAndRollingBackAlone) {
    const ClockRun loose = runClocks(false);
    const ClockRun synced = runClocks(true);
    // Unsynced, the fast side gains a step a second, reaches the prediction limit after
    // 20 s and then waits there a hundredth of the time; synced, it settles within a
    // step ahead and never waits.
    EXPECT_GT(loose.fastSideStalledMs, 200);
    EXPECT_EQ(synced.fastSideStalledMs, 0);
    EXPECT_LT(synced.ahead, 1.5);
    // The rollbacks fall on both sides alike, not all on the side ahead.
    const auto lopsided = [](const ClockRun& r) {
        return static_cast<double>(r.rollbacks[1]) /
               static_cast<double>(std::max<uint64_t>(1, r.rollbacks[0]));
    };
    EXPECT_GT(lopsided(loose), 10.0);
    const double ratio = lopsided(synced);
    EXPECT_GT(ratio, 0.5);
    EXPECT_LT(ratio, 2.0);
}

// Counts what the world hands its listener.
int shotsHeard = 0;
int explosionsHeard = 0;
void countHeard(const StepEvents& events, bool) {
    shotsHeard += events.shotsFired[0] + events.shotsFired[1];
    explosionsHeard += events.explosionCount;
}

// The synctest: every step is run, then the last several are rolled back and run
// again; each run again must reach the hash of its first run, the whole duel the hash
// of a straight run, and every shot and explosion is heard exactly once.
TEST_F(WorldTest, SyncTestEveryStepRolledBackAndRunAgainReachesTheSameHashes) {
    std::vector<uint64_t> straight;
    int straightShots = 0;
    int straightExplosions = 0;
    for (int step = 0; step < BUILT_IN_DUEL_STEPS; ++step) {
        runDuelStep(builtInDuelInput(step));
        straight.push_back(duelStateHash());
        straightShots += stepEvents.shotsFired[0] + stepEvents.shotsFired[1];
        straightExplosions += stepEvents.explosionCount;
    }
    ASSERT_GT(straightExplosions, 0) << "the built-in duel bursts shots";

    freshWorld();
    shotsHeard = explosionsHeard = 0;
    constexpr int BACK = 8;
    DuelWorld world(BACK + 2, false, countHeard);
    for (uint32_t step = 0; step < static_cast<uint32_t>(BUILT_IN_DUEL_STEPS); ++step) {
        world.save(step);
        world.run(step, builtInDuelInput(static_cast<int>(step)), false);
        ASSERT_EQ(world.hash(), straight[step]) << "step " << step;
        const uint32_t back = std::min<uint32_t>(step + 1, 1 + step % BACK);
        world.load(step + 1 - back);
        for (uint32_t again = step + 1 - back; again <= step; ++again) {
            world.save(again);
            world.run(again, builtInDuelInput(static_cast<int>(again)), true);
            ASSERT_EQ(world.hash(), straight[again]) << "step " << again << " run again";
        }
    }
    EXPECT_EQ(shotsHeard, straightShots);
    EXPECT_EQ(explosionsHeard, straightExplosions);
}

// Particles decide nothing of the duel: a step run again leaves them, and the next new
// step moves them by all the time held at once (a particle's life falls with time
// alone, so as far as over the steps one by one).
TEST_F(WorldTest, AStepRunAgainHoldsTheParticlesForTheNextNewStep) {
    spawnExplosion(Vec3(0, 40, 0));
    ParticleSystem& burst = *liveExplosion(0);
    DuelWorld world(4, false, nullptr);
    world.save(0);
    world.run(0, StepInput{}, false);
    const float lifeAfterOne = burst.particles[0].life;
    world.run(1, StepInput{}, true);
    world.run(2, StepInput{}, true);
    EXPECT_EQ(burst.particles[0].life, lifeAfterOne) << "held while run again";
    world.run(3, StepInput{}, false);
    const float perStep = 1.0f - lifeAfterOne;
    EXPECT_NEAR(1.0f - burst.particles[0].life, 4 * perStep, 1e-4f) << "caught up at once";
}

TEST(DuelWorldHearing, OnlyWhatARunAgainAddsIsHeard) {
    StepEvents first;
    first.shotsFired[0] = 1;
    first.explosionCount = 1;
    first.explosionAt[0] = Vec3(1, 2, 3);
    StepEvents again = first;
    again.hits[1] = 1;
    again.explosionCount = 2;
    again.explosionAt[1] = Vec3(4, 5, 6);
    const StepEvents added = unheardEvents(again, first);
    EXPECT_EQ(added.shotsFired[0], 0);
    EXPECT_EQ(added.hits[1], 1);
    ASSERT_EQ(added.explosionCount, 1);
    EXPECT_EQ(added.explosionAt[0].x, 4);
    // What a run again lost was heard already and stays so: nothing negative.
    const StepEvents lost = unheardEvents(first, again);
    EXPECT_EQ(lost.hits[1], 0);
    EXPECT_EQ(lost.explosionCount, 0);
}

} // namespace
