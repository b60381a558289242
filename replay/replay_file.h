// Replay files: a duel's step inputs with the duel state's hashes along the way, in
// checksummed chunks (docs/replay-format.md). The reader trusts nothing in the file.
#pragma once

#include "world/step_input.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

constexpr uint16_t REPLAY_VERSION = 1;
// Steps per input chunk as the writer makes them: one second of play.
constexpr int REPLAY_CHUNK_STEPS = 100;

enum class DuelResult : uint8_t { Unfinished, PlayerOneWins, PlayerTwoWins, BothDestroyed };

// The duel state's hash after a step (steps count from 1: after the first step is 1).
struct ReplayCheckpoint {
    uint32_t steps;
    uint64_t hash;
};

struct Replay {
    uint64_t fingerprint = 0;
    uint32_t randSeed = 0;
    std::vector<StepInput> inputs;
    std::vector<ReplayCheckpoint> checkpoints;
    // The end chunk was read: the duel's last hash and result are known.
    bool ended = false;
    DuelResult result = DuelResult::Unfinished;
};

struct ReplayReading {
    Replay replay;
    // Empty when the file is sound; otherwise names the file and what is wrong.
    std::string error;
    // Cut after its header: everything up to the last whole chunk was read.
    bool incomplete = false;
};

// The CRC-32 (the zlib and PNG one) that guards the header and every chunk.
uint32_t replayCrc32(const uint8_t* data, size_t size);

// Reads a file's bytes as a replay; `name` names it in messages.
ReplayReading parseReplay(const uint8_t* data, size_t size, const std::string& name);
ReplayReading readReplay(const std::string& path);

// Writes a replay as the duel goes: every REPLAY_CHUNK_STEPS steps a chunk reaches
// the file, so a recording killed mid-way keeps all but its last second.
class ReplayWriter {
public:
    ReplayWriter() = default;
    ~ReplayWriter();
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;

    // False, with a message in error(), when the file cannot be made.
    bool open(const std::string& path, uint64_t fingerprint, uint32_t randSeed);
    // One step's input and the duel state's hash after that step.
    void addStep(const StepInput& input, uint64_t hashAfter);
    // The same, with the hash asked of `hashNow` only where the file keeps one (as a
    // chunk closes, and at the finish), so that recording costs a step little.
    void addStep(const StepInput& input, uint64_t (*hashNow)());
    // Writes what is left and the end chunk, and closes the file; false on a failed
    // write. After the second addStep, the world must still be as the last step
    // left it.
    bool finish(DuelResult result);
    bool isOpen() const { return file_ != nullptr; }
    // Steps kept in the file so far (in whole chunks).
    uint32_t stepsWritten() const { return steps_; }
    const std::string& error() const { return error_; }

private:
    void writeChunk(char type, const std::vector<uint8_t>& payload);
    void flushInputs();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string error_;
    std::vector<StepInput> pending_;
    uint32_t steps_ = 0;
    uint64_t lastHash_ = 0;
    uint64_t (*hashNow_)() = nullptr;
};
