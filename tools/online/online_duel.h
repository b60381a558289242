// One side of an online duel from the handshake's end to the last word: the steps due
// by the clock (slowed a little when this side runs ahead), the local player's keys,
// the rollback session over the world, the recording, and what the window says.
// The window and the headless harness drive it alike, one pass at a time.
#pragma once

#include "key_script.h"
#include "net/duel_link.h"
#include "net/duel_world.h"
#include "net/rollback_session.h"
#include "net/time_sync.h"
#include "replay/replay_file.h"

#include <map>
#include <memory>
#include <string>

struct DuelOptions {
    int localPlayer = 0;
    int delay = 2;
    int remoteDelay = 2;
    uint64_t fingerprint = 0;
    uint32_t randSeed = 1;
    std::string recordPath;
    const KeyScript* keys = nullptr; // null: the keyboard and the pads
    bool windowed = true;
    std::string statsPath;
};

class OnlineDuel {
public:
    // The duel starts `countdownMs` after `nowMs`.
    OnlineDuel(DuelLink& link, const DuelOptions& options, double nowMs, int countdownMs);

    // False with a message when the recording cannot be made.
    bool openRecording(std::string& error);

    // One pass: what came from the other side, the steps due, what to send.
    void pass(double nowMs);
    // The player closed the window: the other side is told.
    void closedHere();

    // The program may end: the duel is over, the other side has what it needs, and
    // (with a key script, or without a window) the last word has been shown long enough.
    bool over(double nowMs) const;
    int exitStatus() const;
    // What the window says now ("" for nothing).
    std::string caption(double nowMs) const;
    // The last word on standard error, once.
    void report();
    void writeStats(double nowMs) const;

private:
    enum class Phase { Countdown, Playing, Finished, Stopped };

    void handle(const LinkEvent& event, double nowMs);
    void play(double nowMs);
    void takeConfirmed();
    ShipInput readLocal(uint32_t step);
    void stop(const std::string& why, int status, double nowMs);
    void finishRecording(DuelResult result);

    DuelLink& link_;
    DuelOptions options_;
    DuelWorld world_;
    RollbackSession session_;
    ReplayWriter writer_;
    bool recording_ = false;
    Phase phase_ = Phase::Countdown;
    double startMs_;
    double lastMs_ = 0.0;
    double lastSentMs_ = -1e9;
    double endedMs_ = 0.0;
    double accumulator_ = 0.0;
    TimeSync timeSync_;
    // Stalls: due steps that could not run because the other side's inputs lagged.
    bool stalled_ = false;
    double stallSinceMs_ = 0.0;
    uint64_t stalls_ = 0;
    double stalledMs_ = 0.0;
    size_t nextKey_ = 0;
    // The traffic when the duel started and when it ended, for its rate.
    LinkTraffic atStart_;
    LinkTraffic atEnd_;
    // The other side left or went silent: taken as the end only if this pass's steps
    // do not finish the duel first (the other side may have finished and gone).
    std::string pendingStop_;
    std::string result_;
    std::string message_;
    int status_ = 0;
    bool reported_ = false;
    // When each local shot was read and each of the other's first ran, for the
    // latency figure.
    std::map<uint32_t, double> localShots_;
    std::map<uint32_t, double> remoteShotsShown_;
    uint32_t shownScanned_ = 0;
};
