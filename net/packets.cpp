// Encoding and decoding the online duel's messages. The decoder reads through a
// cursor that never passes the end; a message must use every byte it came with.
#include "net/packets.h"

#include "net/join_code.h"

namespace {

// An input delay beyond this is no duel any more (a third of a second).
constexpr uint8_t MAX_DELAY = 30;
constexpr uint16_t MAX_COUNTDOWN_MS = 10000;
// Steps are counted from the duel's start; a day of play is far below this.
constexpr uint32_t MAX_STEP = 1u << 30;
// An input run: the channels byte, then the fire flag (bit 7) and the run's length
// less one (bits 0 to 6), so a run covers 1 to 128 steps.
constexpr uint8_t RUN_FIRE = 0x80;
constexpr int MAX_RUN = 128;

class Writer {
public:
    void put(uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    std::vector<uint8_t> out;
};

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    // False, and nothing read, when fewer bytes are left.
    bool get(uint64_t& value, int bytes) {
        if (size_ - at_ < static_cast<size_t>(bytes)) {
            failed_ = true;
            return false;
        }
        value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | data_[at_ + i];
        at_ += bytes;
        return true;
    }
    template <typename T> T take(int bytes) {
        uint64_t v = 0;
        get(v, bytes);
        return static_cast<T>(v);
    }
    // Every byte read, and no read short.
    bool complete() const { return !failed_ && at_ == size_; }
    bool failed() const { return failed_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool failed_ = false;
};

void encodeRuns(Writer& w, const std::vector<ShipInput>& inputs) {
    std::vector<std::pair<ShipInput, int>> runs;
    for (const ShipInput& input : inputs) {
        if (!runs.empty() && runs.back().first == input && runs.back().second < MAX_RUN)
            ++runs.back().second;
        else
            runs.push_back({input, 1});
    }
    w.put(runs.size(), 1);
    for (const auto& [input, length] : runs) {
        w.put(input.channels, 1);
        w.put((input.fire ? RUN_FIRE : 0) | (length - 1), 1);
    }
}

bool decodeRuns(Reader& r, std::vector<ShipInput>& inputs) {
    const int runs = r.take<int>(1);
    inputs.clear();
    for (int i = 0; i < runs && !r.failed(); ++i) {
        ShipInput input;
        input.channels = r.take<uint8_t>(1);
        const uint8_t flags = r.take<uint8_t>(1);
        input.fire = (flags & RUN_FIRE) != 0;
        const int length = (flags & ~RUN_FIRE) + 1;
        if (static_cast<int>(inputs.size()) + length > MAX_INPUTS_PER_MESSAGE)
            return false;
        inputs.insert(inputs.end(), static_cast<size_t>(length), input);
    }
    return !r.failed();
}

bool decodeBody(Reader& r, Message& m) {
    switch (m.type) {
    case MessageType::Hello: {
        HelloMessage& h = m.hello;
        h.version = r.take<uint16_t>(2);
        h.fingerprint = r.take<uint64_t>(8);
        for (char& c : h.code) {
            c = r.take<char>(1);
            if (!isJoinCodeLetter(c))
                return false;
        }
        h.nonce = r.take<uint64_t>(8);
        h.delay = r.take<uint8_t>(1);
        return h.delay <= MAX_DELAY;
    }
    case MessageType::Welcome: {
        WelcomeMessage& w = m.welcome;
        w.version = r.take<uint16_t>(2);
        w.fingerprint = r.take<uint64_t>(8);
        w.nonce = r.take<uint64_t>(8);
        w.delay = r.take<uint8_t>(1);
        w.randSeed = r.take<uint32_t>(4);
        return w.delay <= MAX_DELAY;
    }
    case MessageType::Refusal: {
        RefusalMessage& f = m.refusal;
        const uint8_t reason = r.take<uint8_t>(1);
        f.reason = static_cast<RefusalReason>(reason);
        f.version = r.take<uint16_t>(2);
        f.fingerprint = r.take<uint64_t>(8);
        return reason >= static_cast<uint8_t>(RefusalReason::WrongCode) &&
               reason <= static_cast<uint8_t>(RefusalReason::Busy);
    }
    case MessageType::Ping:
    case MessageType::Pong:
        m.ping.nonce = r.take<uint64_t>(8);
        return true;
    case MessageType::Start:
        m.start.countdownMs = r.take<uint16_t>(2);
        return m.start.countdownMs <= MAX_COUNTDOWN_MS;
    case MessageType::Inputs: {
        InputsMessage& in = m.inputs;
        in.firstStep = r.take<uint32_t>(4);
        in.ackStep = r.take<uint32_t>(4);
        in.advantage = r.take<int8_t>(1);
        in.hashStep = r.take<uint32_t>(4);
        in.hash = r.take<uint64_t>(8);
        if (!decodeRuns(r, in.inputs))
            return false;
        return in.firstStep <= MAX_STEP && in.ackStep <= MAX_STEP && in.hashStep <= MAX_STEP;
    }
    case MessageType::Desync:
        m.desync.step = r.take<uint32_t>(4);
        return m.desync.step <= MAX_STEP;
    case MessageType::Leave:
        return true;
    }
    return false;
}

} // namespace

std::vector<uint8_t> encodeMessage(const Message& m) {
    Writer w;
    w.put(static_cast<uint8_t>(m.type), 1);
    switch (m.type) {
    case MessageType::Hello:
        w.put(m.hello.version, 2);
        w.put(m.hello.fingerprint, 8);
        for (char c : m.hello.code)
            w.put(static_cast<uint8_t>(c), 1);
        w.put(m.hello.nonce, 8);
        w.put(m.hello.delay, 1);
        break;
    case MessageType::Welcome:
        w.put(m.welcome.version, 2);
        w.put(m.welcome.fingerprint, 8);
        w.put(m.welcome.nonce, 8);
        w.put(m.welcome.delay, 1);
        w.put(m.welcome.randSeed, 4);
        break;
    case MessageType::Refusal:
        w.put(static_cast<uint8_t>(m.refusal.reason), 1);
        w.put(m.refusal.version, 2);
        w.put(m.refusal.fingerprint, 8);
        break;
    case MessageType::Ping:
    case MessageType::Pong:
        w.put(m.ping.nonce, 8);
        break;
    case MessageType::Start:
        w.put(m.start.countdownMs, 2);
        break;
    case MessageType::Inputs:
        w.put(m.inputs.firstStep, 4);
        w.put(m.inputs.ackStep, 4);
        w.put(static_cast<uint8_t>(m.inputs.advantage), 1);
        w.put(m.inputs.hashStep, 4);
        w.put(m.inputs.hash, 8);
        encodeRuns(w, m.inputs.inputs);
        break;
    case MessageType::Desync:
        w.put(m.desync.step, 4);
        break;
    case MessageType::Leave:
        break;
    }
    return w.out;
}

bool decodeMessage(const uint8_t* data, size_t size, Message& out) {
    Reader r(data, size);
    const uint8_t type = r.take<uint8_t>(1);
    if (r.failed() || type < static_cast<uint8_t>(MessageType::Hello) ||
        type > static_cast<uint8_t>(MessageType::Leave))
        return false;
    Message m;
    m.type = static_cast<MessageType>(type);
    if (!decodeBody(r, m) || !r.complete())
        return false;
    out = m;
    return true;
}

Message helloMessage(const HelloMessage& hello) {
    Message m;
    m.type = MessageType::Hello;
    m.hello = hello;
    return m;
}

Message welcomeMessage(const WelcomeMessage& welcome) {
    Message m;
    m.type = MessageType::Welcome;
    m.welcome = welcome;
    return m;
}

Message refusalMessage(const RefusalMessage& refusal) {
    Message m;
    m.type = MessageType::Refusal;
    m.refusal = refusal;
    return m;
}

Message pingMessage(MessageType type, uint64_t nonce) {
    Message m;
    m.type = type;
    m.ping.nonce = nonce;
    return m;
}

Message startMessage(uint16_t countdownMs) {
    Message m;
    m.type = MessageType::Start;
    m.start.countdownMs = countdownMs;
    return m;
}

Message inputsMessage(const InputsMessage& inputs) {
    Message m;
    m.type = MessageType::Inputs;
    m.inputs = inputs;
    return m;
}

Message desyncMessage(uint32_t step) {
    Message m;
    m.type = MessageType::Desync;
    m.desync.step = step;
    return m;
}

Message leaveMessage() {
    Message m;
    m.type = MessageType::Leave;
    return m;
}
