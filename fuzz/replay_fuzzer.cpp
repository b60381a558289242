// Fuzz target: the replay reader on arbitrary file contents. Besides crashes and
// sanitizer reports it checks that an accepted replay's hashes follow its inputs
// (every checkpoint within them, in order) and that a refusal keeps nothing.
#include "fuzz_file.h"
#include "replay/replay_file.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ReplayReading r = readReplay(writeFuzzFile(data, size));
    if (!r.error.empty()) {
        if (!r.replay.inputs.empty() || !r.replay.checkpoints.empty())
            fuzzFailure("a refused replay kept what it read");
        return 0;
    }
    uint32_t last = 0;
    for (const ReplayCheckpoint& c : r.replay.checkpoints) {
        if (c.steps < last || c.steps > r.replay.inputs.size())
            fuzzFailure("checkpoints out of order or beyond the inputs");
        last = c.steps;
    }
    return 0;
}
