// The pass of an online duel, its phases and its last word.
#include "online_duel.h"

#include "app/control_mapping.h"
#include "app/keyboard.h"
#include "replay/duel_result.h"
#include "sound/sound_player.h"
#include "world/duel_step.h"
#include "world/ship.h"
#include "world/world.h"
#include "world/world_update.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>

namespace {

// Inputs go out every second step: half the packets of one per step, at most 10 ms
// later (docs/online.md weighs the bytes).
constexpr double SEND_INTERVAL_MS = 2 * DUEL_STEP_MS;
constexpr int MAX_PREDICTION = 20;
// A silence this long ends the duel; shorter ones stall it.
constexpr double LOST_AFTER_MS = 5000.0;
// A stall shows its words only once it is long enough to be noticed.
constexpr double WAITING_SHOWN_AFTER_MS = 200.0;
// Once the duel is over: the other side gets this long to take the last inputs, and
// a key script's duel stays on screen this long.
constexpr double LINGER_MS = 3000.0;
constexpr double SCRIPTED_END_MS = 2000.0;
// After a pause (a dragged window, a stopped process) the clock does not run the
// missed time all at once; the time sync makes it up.
constexpr double MAX_CATCH_UP_MS = 200.0;

void deliver(const ScriptedKey& key) {
    if (key.special)
        (key.down ? specialDown : specialUp)(key.code, 0, 0);
    else
        (key.down ? keyDown : keyUp)(static_cast<unsigned char>(key.code), 0, 0);
}

void hearOnce(const StepEvents& events, bool running) { hearStep(events, running); }

} // namespace

namespace {

SessionSettings settingsOf(const DuelOptions& o) {
    SessionSettings s;
    s.localPlayer = o.localPlayer;
    s.localDelay = o.delay;
    s.remoteDelay = o.remoteDelay;
    s.maxPrediction = MAX_PREDICTION;
    return s;
}

} // namespace

OnlineDuel::OnlineDuel(DuelLink& link, const DuelOptions& options, double nowMs, int countdownMs)
    : link_(link), options_(options),
      world_(MAX_PREDICTION + 2, options.windowed, options.windowed ? hearOnce : nullptr),
      session_(world_, settingsOf(options)), startMs_(nowMs + countdownMs) {}

bool OnlineDuel::openRecording(std::string& error) {
    if (options_.recordPath.empty())
        return true;
    if (!writer_.open(options_.recordPath, options_.fingerprint, options_.randSeed)) {
        error = writer_.error();
        return false;
    }
    recording_ = true;
    return true;
}

void OnlineDuel::finishRecording(DuelResult result) {
    if (!recording_)
        return;
    recording_ = false;
    if (!writer_.finish(result))
        std::fprintf(stderr, "kelvidron-online: %s\n", writer_.error().c_str());
}

void OnlineDuel::stop(const std::string& why, int status, double nowMs) {
    if (phase_ == Phase::Stopped || phase_ == Phase::Finished)
        return;
    phase_ = Phase::Stopped;
    message_ = why;
    status_ = status;
    endedMs_ = nowMs;
    atEnd_ = link_.traffic();
    finishRecording(DuelResult::Unfinished);
}

void OnlineDuel::handle(const LinkEvent& event, double nowMs) {
    switch (event.kind) {
    case LinkEvent::Received:
        if (event.message.type == MessageType::Inputs) {
            session_.receive(event.message.inputs, nowMs);
        } else if (event.message.type == MessageType::Desync && phase_ != Phase::Finished) {
            session_.noteRemoteDesync(event.message.desync.step);
            stop("desync: the two duels differ after step " +
                     std::to_string(session_.desyncStep()) + "; the duel is stopped",
                 1, nowMs);
        }
        break;
    case LinkEvent::Left:
    case LinkEvent::Lost:
        if (pendingStop_.empty())
            pendingStop_ = event.text;
        break;
    default:
        break;
    }
}

ShipInput OnlineDuel::readLocal(uint32_t step) {
    if (options_.keys)
        for (; nextKey_ < options_.keys->keys.size() &&
               options_.keys->keys[nextKey_].step <= static_cast<int>(step);
             ++nextKey_)
            deliver(options_.keys->keys[nextKey_]);
    // Either key set (and either pad) flies the local ship; the view is this side's.
    const StepInput both = readStepInput();
    if (options_.windowed)
        applyViewChoice(both.view);
    ShipInput local;
    for (const ShipInput& ship : both.ships) {
        local.channels |= ship.channels;
        local.fire = local.fire || ship.fire;
    }
    return local;
}

void OnlineDuel::takeConfirmed() {
    for (const ConfirmedStep& c : session_.takeConfirmed())
        if (recording_)
            writer_.addStep(c.input, c.hash);
}

void OnlineDuel::play(double nowMs) {
    session_.synchronise();
    const double rtt = link_.roundTripMs();
    const double elapsed = std::min(nowMs - lastMs_, MAX_CATCH_UP_MS);
    lastMs_ = nowMs;
    accumulator_ += elapsed * timeSync_.rate(session_.localAdvantage(nowMs, rtt),
                                             session_.remoteAdvantage(), elapsed);

    bool waited = false;
    while (accumulator_ >= DUEL_STEP_MS) {
        if (!session_.canAdvance()) {
            // A duel waiting only for the confirmation of its end is not stalled.
            waited = gameRunning;
            accumulator_ = std::min(accumulator_, static_cast<double>(DUEL_STEP_MS));
            break;
        }
        const uint32_t step = session_.stepsRun();
        const ShipInput local = readLocal(step);
        if (local.fire)
            localShots_[step + static_cast<uint32_t>(options_.delay)] = nowMs;
        session_.advance(local);
        accumulator_ -= DUEL_STEP_MS;
    }
    if (waited && !stalled_) {
        stalled_ = true;
        stallSinceMs_ = nowMs;
        ++stalls_;
    } else if (!waited && stalled_) {
        stalled_ = false;
        stalledMs_ += nowMs - stallSinceMs_;
    }
    // The other side's shots that the world now runs with, as they first did.
    const std::vector<ShipInput>& remote = session_.remoteInputs();
    const uint32_t shown = std::min(session_.stepsRun(), static_cast<uint32_t>(remote.size()));
    for (; shownScanned_ < shown; ++shownScanned_)
        if (remote[shownScanned_].fire)
            remoteShotsShown_[shownScanned_] = nowMs;

    takeConfirmed();
    if (session_.desyncStep() != 0) {
        link_.send(desyncMessage(session_.desyncStep()));
        link_.flush();
        stop("desync: the two duels differ after step " + std::to_string(session_.desyncStep()) +
                 "; the duel is stopped",
             1, nowMs);
        return;
    }
    if (session_.ended()) {
        const DuelResult result = duelResultNow();
        finishRecording(result);
        phase_ = Phase::Finished;
        endedMs_ = nowMs;
        atEnd_ = link_.traffic();
        result_ = duelResultText(result);
        message_ = "the duel is over after " + std::to_string(session_.confirmedSteps()) +
                   " steps: " + result_;
    }
}

void OnlineDuel::pass(double nowMs) {
    // The first wait is the loop's rest: at most a millisecond.
    LinkEvent event = link_.poll(1);
    for (int i = 0; i < 256 && event.kind != LinkEvent::None; ++i) {
        handle(event, nowMs);
        event = link_.poll(0);
    }
    if ((phase_ == Phase::Countdown || phase_ == Phase::Playing) &&
        link_.silenceMs() > LOST_AFTER_MS) {
        stop("connection lost", 1, nowMs);
    }
    if (phase_ == Phase::Countdown && nowMs >= startMs_) {
        phase_ = Phase::Playing;
        lastMs_ = nowMs;
        atStart_ = link_.traffic();
        std::printf("kelvidron-online: go\n");
    }
    if (phase_ == Phase::Playing)
        play(nowMs);
    if (!pendingStop_.empty())
        stop(pendingStop_, 1, nowMs);
    if (phase_ != Phase::Stopped && nowMs - lastSentMs_ >= SEND_INTERVAL_MS) {
        link_.send(inputsMessage(session_.outgoing(nowMs, link_.roundTripMs())));
        link_.flush();
        lastSentMs_ = nowMs;
    }
}

void OnlineDuel::closedHere() {
    if (phase_ == Phase::Countdown || phase_ == Phase::Playing) {
        phase_ = Phase::Stopped;
        message_ = "the duel was closed here";
        status_ = 0;
        finishRecording(DuelResult::Unfinished);
    }
    link_.close(leaveMessage());
}

bool OnlineDuel::over(double nowMs) const {
    if (phase_ == Phase::Countdown || phase_ == Phase::Playing)
        return false;
    const double since = nowMs - endedMs_;
    if (phase_ == Phase::Finished && !session_.otherSideHasEverything() && since < LINGER_MS)
        return false;
    if (!options_.windowed)
        return true;
    return options_.keys && since >= SCRIPTED_END_MS;
}

int OnlineDuel::exitStatus() const { return status_; }

std::string OnlineDuel::caption(double nowMs) const {
    switch (phase_) {
    case Phase::Countdown: {
        const int seconds = static_cast<int>((startMs_ - nowMs) / 1000.0) + 1;
        return std::to_string(std::max(1, seconds)) + "\nyou fly player " +
               std::to_string(options_.localPlayer + 1) + "'s ship";
    }
    case Phase::Playing:
        return stalled_ && nowMs - stallSinceMs_ > WAITING_SHOWN_AFTER_MS
                   ? "waiting for the other player"
                   : "";
    case Phase::Finished: {
        const DuelResult r = duelResultNow();
        const bool won = (r == DuelResult::PlayerOneWins && options_.localPlayer == 0) ||
                         (r == DuelResult::PlayerTwoWins && options_.localPlayer == 1);
        const std::string who = r == DuelResult::BothDestroyed ? ""
                                : won                          ? "\nyou won"
                                                               : "\nthe other player won";
        return result_ + who;
    }
    case Phase::Stopped:
        return message_;
    }
    return "";
}

void OnlineDuel::report() {
    if (reported_)
        return;
    reported_ = true;
    if (!message_.empty())
        std::fprintf(phase_ == Phase::Finished ? stdout : stderr, "kelvidron-online: %s\n",
                     message_.c_str());
}

void OnlineDuel::writeStats(double nowMs) const {
    if (options_.statsPath.empty())
        return;
    std::FILE* out = std::fopen(options_.statsPath.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "kelvidron-online: cannot write %s\n", options_.statsPath.c_str());
        return;
    }
    const SessionStats& s = session_.stats();
    const bool playing = phase_ == Phase::Playing || phase_ == Phase::Countdown;
    const LinkTraffic end = playing ? link_.traffic() : atEnd_;
    const double playedMs = std::max(1.0, (playing ? nowMs : endedMs_) - startMs_);
    std::fprintf(out, "steps %u\n", session_.confirmedSteps());
    std::fprintf(out, "result %s\n", phase_ == Phase::Finished ? result_.c_str() : "unfinished");
    std::fprintf(out, "played_ms %.0f\n", playedMs);
    std::fprintf(out, "rollbacks %llu\n", static_cast<unsigned long long>(s.rollbacks));
    std::fprintf(out, "steps_run_again %llu\n", static_cast<unsigned long long>(s.stepsRunAgain));
    std::fprintf(out, "longest_rollback %d\n", s.longestRollback);
    std::fprintf(out, "stalls %llu\n", static_cast<unsigned long long>(stalls_));
    std::fprintf(out, "stalled_ms %.0f\n", stalledMs_);
    std::fprintf(out, "round_trip_ms %.1f\n", link_.roundTripMs());
    // During the duel only, headers included.
    const double seconds = playedMs / 1000.0;
    std::fprintf(out, "sent_bytes_per_s %.0f\nreceived_bytes_per_s %.0f\n",
                 static_cast<double>(end.sentBytes - atStart_.sentBytes) / seconds,
                 static_cast<double>(end.receivedBytes - atStart_.receivedBytes) / seconds);
    std::fprintf(out, "sent_datagrams_per_s %.1f\nreceived_datagrams_per_s %.1f\n",
                 static_cast<double>(end.sentDatagrams - atStart_.sentDatagrams) / seconds,
                 static_cast<double>(end.receivedDatagrams - atStart_.receivedDatagrams) / seconds);
    for (const auto& [step, ms] : localShots_)
        std::fprintf(out, "shot %u %.3f\n", step, ms);
    for (const auto& [step, ms] : remoteShotsShown_)
        std::fprintf(out, "shown %u %.3f\n", step, ms);
    std::fclose(out);
}
