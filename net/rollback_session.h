// One side of an online duel as pure logic, without sockets or clocks of its own:
// the local inputs, the other side's as they arrive, the guess for the steps whose
// other input has not, going back to the last right state when a guess was wrong,
// the steps both sides have confirmed, the comparison of their hashes, and how far
// this side runs ahead of the other.
#pragma once

#include "net/packets.h"
#include "world/step_input.h"

#include <cstdint>
#include <vector>

// What the session asks of the duel it runs (the world, or a test's stand-in).
class RollbackWorld {
public:
    virtual ~RollbackWorld() = default;
    // Keeps the state before `step` runs (step 0 is the duel's start).
    virtual void save(uint32_t step) = 0;
    // Goes back to the state kept before `step`.
    virtual void load(uint32_t step) = 0;
    // Runs `step`; `again` when it had run before and is run anew after a load.
    virtual void run(uint32_t step, const StepInput& input, bool again) = 0;
    virtual uint64_t hash() = 0;
    // Whether the duel goes on after the steps run so far.
    virtual bool running() = 0;
};

struct SessionSettings {
    int localPlayer = 0; // 0: player 1's ship, the host's
    int localDelay = 2;  // steps between reading a local input and its step
    int remoteDelay = 2;
    // Steps the session runs ahead of the other side's last input before it waits.
    int maxPrediction = 20;
    // Confirmed steps whose hashes are compared: every this many, and the last.
    int hashInterval = 10;
};

// A step both sides agree on: its input and the hash of the duel state after it.
struct ConfirmedStep {
    uint32_t step;
    StepInput input;
    uint64_t hash;
};

struct SessionStats {
    uint64_t rollbacks = 0;
    uint64_t stepsRunAgain = 0;
    int longestRollback = 0; // steps run again at once
};

class RollbackSession {
public:
    RollbackSession(RollbackWorld& world, const SessionSettings& settings);

    // Goes back and runs again from the first step whose guess was wrong, then takes
    // every step that is now confirmed. Call before advancing and whenever inputs came.
    void synchronise();
    // Whether the next step may run: the duel goes on and the guesses reach no further
    // than maxPrediction steps past the other side's last input.
    bool canAdvance() const;
    // Runs the next step with `local` as the local player's input for the step
    // localDelay steps later (steps before the first delay have no input).
    void advance(const ShipInput& local);

    // The other side's message. Inputs it already had are kept as they were, steps
    // beyond what the other side could have reached are ignored, and a hash is
    // compared as soon as both sides have confirmed its step. `nowMs` is this side's
    // clock, for the time sync.
    void receive(const InputsMessage& message, double nowMs);
    // What to send now: every local input the other side has not acknowledged (up to
    // MAX_INPUTS_PER_MESSAGE), this side's acknowledgement, advantage and last hash.
    InputsMessage outgoing(double nowMs, double roundTripMs) const;

    // Steps run, steps confirmed by both, and whether the confirmed duel has ended.
    uint32_t stepsRun() const { return current_; }
    uint32_t confirmedSteps() const { return confirmed_; }
    bool ended() const { return ended_; }
    // The other side has confirmed the end too (its last hash is of the last step):
    // nothing left to send.
    bool otherSideHasEverything() const { return ended_ && theirLastHashStep_ >= confirmed_; }
    // The first compared step whose hashes differ, or 0.
    uint32_t desyncStep() const { return desyncStep_; }
    void noteRemoteDesync(uint32_t step);

    // The steps confirmed since the last call, in order (for the recording).
    std::vector<ConfirmedStep> takeConfirmed();

    // How many steps this side runs ahead of the other, by its own reckoning and as
    // the other last reported its own; the time sync slows the side ahead.
    double localAdvantage(double nowMs, double roundTripMs) const;
    int remoteAdvantage() const { return remoteAdvantage_; }

    // Steps since the other side's last input: how far the guesses reach.
    int predictedSteps() const;
    // The other side's inputs as far as they came (steps before stepsRun() that are
    // among them have run with them).
    const std::vector<ShipInput>& remoteInputs() const { return remote_; }
    const SessionStats& stats() const { return stats_; }
    const SessionSettings& settings() const { return settings_; }

private:
    StepInput inputFor(uint32_t step) const;
    ShipInput guessFor(uint32_t step) const;
    void runStep(uint32_t step, bool again);
    void confirmUpTo(uint32_t steps);
    void compareHash(uint32_t step, uint64_t theirs);
    int ringIndex(uint32_t step) const;

    RollbackWorld& world_;
    SessionSettings settings_;
    uint32_t current_ = 0;
    uint32_t confirmed_ = 0;
    bool ended_ = false;
    // Inputs by step: the local player's, and the other's as far as they came.
    std::vector<ShipInput> local_;
    std::vector<ShipInput> remote_;
    // The other side's input each recent step ran with, and the hash after it.
    std::vector<ShipInput> used_;
    std::vector<uint64_t> hashAfter_;
    std::vector<bool> runningAfter_;
    // Earliest step that ran on a wrong guess, if any.
    uint32_t firstWrong_;
    // The other side has every local input before remoteAck_.
    uint32_t remoteAck_ = 0;
    std::vector<ConfirmedStep> newlyConfirmed_;
    // Own hashes of confirmed steps (steps, hash), and the other's not yet compared.
    std::vector<std::pair<uint32_t, uint64_t>> ownHashes_;
    std::vector<std::pair<uint32_t, uint64_t>> theirHashes_;
    uint32_t desyncStep_ = 0;
    uint32_t theirLastHashStep_ = 0;
    // The time sync's view of the other: the steps it had run by its last message,
    // when that message came, and the advantage it reported.
    uint32_t remoteRan_ = 0;
    double remoteHeardAtMs_ = 0.0;
    bool heard_ = false;
    int remoteAdvantage_ = 0;
    SessionStats stats_;
};
