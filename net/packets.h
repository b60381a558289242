// The messages two sides of an online duel exchange, and their bytes on the wire.
// Every number is little-endian. A datagram from the network is hostile until
// decodeMessage has accepted it: any length, any byte, and it is refused or read.
#pragma once

#include "world/step_input.h"

#include <cstdint>
#include <string>
#include <vector>

// Raised whenever a message changes its meaning; both sides must agree on it.
constexpr uint16_t NET_PROTOCOL_VERSION = 1;
// Letters of a join code, as the host prints it.
constexpr int JOIN_CODE_LENGTH = 8;
// The most inputs one input message carries: more than a side can be ahead.
constexpr int MAX_INPUTS_PER_MESSAGE = 128;

enum class MessageType : uint8_t {
    Hello = 1, // join -> host: who is asking, with the code
    Welcome,   // host -> join: accepted, with the host's side of the agreement
    Refusal,   // either way: why not, then the link closes
    Ping,      // either way: a round trip before the duel
    Pong,      // the answer, echoing the ping's nonce
    Start,     // host -> join: the duel starts this many milliseconds after it arrives
    Inputs,    // either way, unreliable: the sender's inputs the other lacks
    Desync,    // either way: the states differed after this step; the duel stops
    Leave,     // either way: the player closed the window
};

enum class RefusalReason : uint8_t {
    WrongCode = 1,
    ProtocolVersion,
    Fingerprint,
    Busy, // a duel is already running
};

struct HelloMessage {
    uint16_t version = NET_PROTOCOL_VERSION;
    uint64_t fingerprint = 0;
    char code[JOIN_CODE_LENGTH] = {};
    uint64_t nonce = 0;
    uint8_t delay = 0; // the joiner's input delay in steps
};

struct WelcomeMessage {
    uint16_t version = NET_PROTOCOL_VERSION;
    uint64_t fingerprint = 0;
    uint64_t nonce = 0; // the hello's, echoed
    uint8_t delay = 0;  // the host's input delay
    uint32_t randSeed = 0;
};

// The refusing side's own version and fingerprint, so the message can say which.
struct RefusalMessage {
    RefusalReason reason = RefusalReason::WrongCode;
    uint16_t version = NET_PROTOCOL_VERSION;
    uint64_t fingerprint = 0;
};

struct PingMessage {
    uint64_t nonce = 0;
};

struct StartMessage {
    uint16_t countdownMs = 0;
};

// One side's own inputs from firstStep on, run-length coded on the wire, with what
// the sender knows of the other: every input of the other's before ackStep, and the
// hash of the duel state after the confirmed step hashStep (0: none yet). advantage
// is how many steps the sender reckons it runs ahead of the receiver, for time sync.
struct InputsMessage {
    uint32_t firstStep = 0;
    std::vector<ShipInput> inputs;
    uint32_t ackStep = 0;
    int8_t advantage = 0;
    uint32_t hashStep = 0;
    uint64_t hash = 0;
};

struct DesyncMessage {
    uint32_t step = 0;
};

struct Message {
    MessageType type = MessageType::Leave;
    HelloMessage hello;
    WelcomeMessage welcome;
    RefusalMessage refusal;
    PingMessage ping;
    StartMessage start;
    InputsMessage inputs;
    DesyncMessage desync;
};

std::vector<uint8_t> encodeMessage(const Message& message);

// Reads one datagram. False for anything that is not exactly one well-formed message
// (unknown type, short or long, counts out of range, a code with foreign letters).
bool decodeMessage(const uint8_t* data, size_t size, Message& out);

// Shorthands for building the messages.
Message helloMessage(const HelloMessage& hello);
Message welcomeMessage(const WelcomeMessage& welcome);
Message refusalMessage(const RefusalMessage& refusal);
Message pingMessage(MessageType type, uint64_t nonce);
Message startMessage(uint16_t countdownMs);
Message inputsMessage(const InputsMessage& inputs);
Message desyncMessage(uint32_t step);
Message leaveMessage();
