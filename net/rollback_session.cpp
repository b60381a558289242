// The rollback session: prediction, going back, confirmation and hash comparison.
#include "net/rollback_session.h"

#include "world/duel_step.h"

#include <algorithm>
#include <cmath>

namespace {

// No wrong guess waiting to be mended.
constexpr uint32_t NONE = UINT32_MAX;

} // namespace

RollbackSession::RollbackSession(RollbackWorld& world, const SessionSettings& settings)
    : world_(world), settings_(settings) {
    // The steps before the delay has passed have no input from either side.
    local_.assign(static_cast<size_t>(settings_.localDelay), ShipInput{});
    remote_.assign(static_cast<size_t>(settings_.remoteDelay), ShipInput{});
    const size_t ring = static_cast<size_t>(settings_.maxPrediction + 2);
    used_.assign(ring, ShipInput{});
    hashAfter_.assign(ring, 0);
    runningAfter_.assign(ring, true);
    firstWrong_ = NONE;
}

int RollbackSession::ringIndex(uint32_t step) const {
    return static_cast<int>(step % used_.size());
}

ShipInput RollbackSession::guessFor(uint32_t step) const {
    if (step < remote_.size())
        return remote_[step];
    // The other player's controls held as they last were; a shot is a press of its
    // own, so it is never guessed.
    ShipInput guess = remote_.empty() ? ShipInput{} : remote_.back();
    guess.fire = false;
    return guess;
}

StepInput RollbackSession::inputFor(uint32_t step) const {
    StepInput input;
    input.ships[settings_.localPlayer] = local_[step];
    input.ships[1 - settings_.localPlayer] = guessFor(step);
    return input;
}

void RollbackSession::runStep(uint32_t step, bool again) {
    world_.save(step);
    const StepInput input = inputFor(step);
    used_[ringIndex(step)] = input.ships[1 - settings_.localPlayer];
    world_.run(step, input, again);
    hashAfter_[ringIndex(step)] = world_.hash();
    runningAfter_[ringIndex(step)] = world_.running();
}

void RollbackSession::synchronise() {
    if (firstWrong_ < current_) {
        const int steps = static_cast<int>(current_ - firstWrong_);
        world_.load(firstWrong_);
        for (uint32_t step = firstWrong_; step < current_; ++step) {
            runStep(step, true);
            // A duel that now ends here has no later steps: those guessed past the
            // end are dropped, so the world shows the end.
            if (!world_.running()) {
                current_ = step + 1;
                break;
            }
        }
        ++stats_.rollbacks;
        stats_.stepsRunAgain += static_cast<uint64_t>(steps);
        stats_.longestRollback = std::max(stats_.longestRollback, steps);
    }
    firstWrong_ = NONE;
    confirmUpTo(std::min<uint32_t>(current_, static_cast<uint32_t>(remote_.size())));
}

bool RollbackSession::canAdvance() const {
    return !ended_ && desyncStep_ == 0 && world_.running() && firstWrong_ == NONE &&
           predictedSteps() < settings_.maxPrediction;
}

int RollbackSession::predictedSteps() const {
    return static_cast<int>(current_) - static_cast<int>(remote_.size());
}

void RollbackSession::advance(const ShipInput& local) {
    local_.push_back(local);
    runStep(current_, false);
    ++current_;
    confirmUpTo(std::min<uint32_t>(current_, static_cast<uint32_t>(remote_.size())));
}

void RollbackSession::confirmUpTo(uint32_t steps) {
    // A step from a wrong guess on is confirmed only once it has run again.
    steps = std::min(steps, firstWrong_);
    for (; confirmed_ < steps && !ended_; ++confirmed_) {
        const uint32_t step = confirmed_;
        const uint64_t hash = hashAfter_[ringIndex(step)];
        StepInput input = inputFor(step);
        input.view = ViewChoice::Keep;
        newlyConfirmed_.push_back({step, input, hash});
        const uint32_t after = step + 1;
        const bool last = !runningAfter_[ringIndex(step)];
        if (last)
            ended_ = true;
        if (last || after % static_cast<uint32_t>(settings_.hashInterval) == 0) {
            ownHashes_.push_back({after, hash});
            for (const auto& [theirStep, theirHash] : theirHashes_)
                if (theirStep == after)
                    compareHash(after, theirHash);
            theirHashes_.erase(std::remove_if(theirHashes_.begin(), theirHashes_.end(),
                                              [&](const auto& h) { return h.first <= after; }),
                               theirHashes_.end());
        }
    }
}

void RollbackSession::compareHash(uint32_t step, uint64_t theirs) {
    const auto own =
        std::lower_bound(ownHashes_.begin(), ownHashes_.end(), std::make_pair(step, uint64_t{0}));
    if (own == ownHashes_.end() || own->first != step)
        return;
    if (own->second != theirs && (desyncStep_ == 0 || step < desyncStep_))
        desyncStep_ = step;
}

void RollbackSession::noteRemoteDesync(uint32_t step) {
    // The other side saw the hashes differ; a step past what either confirmed is the
    // most that can be believed.
    const uint32_t believed = std::max<uint32_t>(1, std::min(step, confirmed_ + 1));
    if (desyncStep_ == 0 || believed < desyncStep_)
        desyncStep_ = believed;
}

void RollbackSession::receive(const InputsMessage& m, double nowMs) {
    // The other side cannot have run further than this side's inputs let it guess;
    // anything beyond is not from an honest duel.
    const uint64_t reachable = static_cast<uint64_t>(local_.size()) +
                               static_cast<uint64_t>(settings_.maxPrediction) +
                               static_cast<uint64_t>(settings_.remoteDelay) + 1;
    for (size_t i = 0; i < m.inputs.size(); ++i) {
        const uint64_t step = static_cast<uint64_t>(m.firstStep) + i;
        if (step < remote_.size())
            continue;
        if (step > remote_.size() || step >= reachable)
            break;
        remote_.push_back(m.inputs[i]);
        if (step < current_ && !(used_[ringIndex(static_cast<uint32_t>(step))] == m.inputs[i]))
            firstWrong_ = std::min(firstWrong_, static_cast<uint32_t>(step));
    }
    // The other side cannot acknowledge inputs this side never made.
    if (m.ackStep > remoteAck_ && m.ackStep <= local_.size())
        remoteAck_ = m.ackStep;
    if (m.hashStep != 0 && m.hashStep <= reachable) {
        theirLastHashStep_ = std::max(theirLastHashStep_, m.hashStep);
        if (m.hashStep <= confirmed_)
            compareHash(m.hashStep, m.hash);
        else if (theirHashes_.size() < 64 &&
                 std::none_of(theirHashes_.begin(), theirHashes_.end(),
                              [&](const auto& h) { return h.first == m.hashStep; }))
            theirHashes_.push_back({m.hashStep, m.hash});
    }
    const uint32_t theirInputs = static_cast<uint32_t>(
        std::min<uint64_t>(static_cast<uint64_t>(m.firstStep) + m.inputs.size(), reachable));
    const uint32_t ran = theirInputs > static_cast<uint32_t>(settings_.remoteDelay)
                             ? theirInputs - static_cast<uint32_t>(settings_.remoteDelay)
                             : 0;
    if (!heard_ || ran >= remoteRan_) {
        remoteRan_ = ran;
        remoteHeardAtMs_ = nowMs;
        heard_ = true;
    }
    remoteAdvantage_ = m.advantage;
}

double RollbackSession::localAdvantage(double nowMs, double roundTripMs) const {
    if (!heard_)
        return 0.0;
    // Where the other side is now: where it was when it sent, half a round trip and
    // the time since its message came later.
    const double since = (nowMs - remoteHeardAtMs_ + roundTripMs / 2) / DUEL_STEP_MS;
    return static_cast<double>(current_) - (static_cast<double>(remoteRan_) + since);
}

InputsMessage RollbackSession::outgoing(double nowMs, double roundTripMs) const {
    InputsMessage m;
    m.firstStep = remoteAck_;
    const size_t end =
        std::min(local_.size(), static_cast<size_t>(remoteAck_) + MAX_INPUTS_PER_MESSAGE);
    for (size_t step = remoteAck_; step < end; ++step)
        m.inputs.push_back(local_[step]);
    m.ackStep = static_cast<uint32_t>(remote_.size());
    const double advantage = std::round(localAdvantage(nowMs, roundTripMs));
    m.advantage = static_cast<int8_t>(std::clamp(advantage, -127.0, 127.0));
    if (!ownHashes_.empty()) {
        m.hashStep = ownHashes_.back().first;
        m.hash = ownHashes_.back().second;
    }
    return m;
}

std::vector<ConfirmedStep> RollbackSession::takeConfirmed() {
    std::vector<ConfirmedStep> out;
    out.swap(newlyConfirmed_);
    return out;
}
