// Fuzz target: datagrams as they come off the network, each behind a length byte, fed
// one after another to the decoder and every accepted input message to a rollback
// session that runs between them. Besides crashes and sanitizer reports it checks
// that an accepted message reads back as itself once encoded (the sender may split
// runs its own way, so the bytes need not be the same), and that no message
// makes the session guess further than it may, take more of the other side's inputs
// than that side could have made, or run a step twice without going back first.
#include "fuzz_file.h"
#include "net/packets.h"
#include "net/rollback_session.h"

#include <cstdint>
#include <map>
#include <vector>

namespace {

class CountingWorld : public RollbackWorld {
public:
    void save(uint32_t step) override { saved_[step % 32] = {steps_, state_}; }
    void load(uint32_t step) override {
        steps_ = saved_[step % 32].first;
        state_ = saved_[step % 32].second;
        if (steps_ != step)
            fuzzFailure("went back to a state that was never kept");
    }
    void run(uint32_t step, const StepInput& input, bool) override {
        if (step != steps_)
            fuzzFailure("a step out of order");
        ++steps_;
        state_ = state_ * 31 + input.ships[0].channels + input.ships[1].channels;
    }
    uint64_t hash() override { return state_; }
    bool running() override { return steps_ < 5000; }

private:
    uint32_t steps_ = 0;
    uint64_t state_ = 1;
    std::map<uint32_t, std::pair<uint32_t, uint64_t>> saved_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CountingWorld world;
    SessionSettings settings;
    RollbackSession session(world, settings);
    double now = 0;
    size_t at = 0;
    while (at < size) {
        const size_t length = data[at++];
        const size_t take = length < size - at ? length : size - at;
        Message m;
        if (decodeMessage(data + at, take, m)) {
            const std::vector<uint8_t> again = encodeMessage(m);
            Message back;
            if (!decodeMessage(again.data(), again.size(), back) || encodeMessage(back) != again)
                fuzzFailure("an accepted message does not read back as itself");
            if (m.type == MessageType::Inputs)
                session.receive(m.inputs, now);
        }
        at += take;
        // Two steps between datagrams, as far as the session lets it.
        for (int i = 0; i < 2; ++i) {
            session.synchronise();
            if (session.canAdvance())
                session.advance(ShipInput{static_cast<uint8_t>(session.stepsRun()), false});
        }
        if (session.predictedSteps() > settings.maxPrediction)
            fuzzFailure("guessed further than allowed");
        if (session.remoteInputs().size() > session.stepsRun() + settings.localDelay +
                                                settings.maxPrediction + settings.remoteDelay + 1)
            fuzzFailure("took inputs the other side could not have made");
        (void)session.outgoing(now, 50);
        now += 20;
    }
    return 0;
}
