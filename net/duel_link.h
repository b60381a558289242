// The connection to the other player over ENet, and the handshake before a duel: the
// join code, the protocol version and the simulation fingerprint compared, a few
// round trips timed, and the start given by the host. The host stays open for the
// right player; anyone else is refused with a reason, and nothing from anyone but
// the joined player reaches the duel.
#pragma once

#include "net/packets.h"

#include <cstdint>
#include <string>

struct _ENetHost;
struct _ENetPeer;

// The host's port unless told otherwise.
constexpr uint16_t DEFAULT_DUEL_PORT = 27183;

// What one side brings to the handshake.
struct DuelTerms {
    uint64_t fingerprint = 0;
    std::string code; // the host's code, or the one the joiner typed
    uint8_t delay = 2;
    uint32_t randSeed = 1; // the host's: both worlds are set up from it
};

struct LinkEvent {
    enum Kind {
        None,
        // The host turned a player away and waits on (`text` says why).
        TurnedAway,
        // The handshake failed on this side's player (`text` says why): the end.
        Refused,
        // Both agreed: the duel starts after `countdownMs` (from the poll's time).
        Agreed,
        // A message of the duel from the other player.
        Received,
        // The other player closed their window.
        Left,
        // Nothing heard for too long, or ENet gave up on the link.
        Lost,
    };
    Kind kind = None;
    std::string text;
    int countdownMs = 0;
    Message message;
};

struct LinkTraffic {
    // Bytes on the wire each way, with the IPv4 and UDP headers of every datagram.
    uint64_t sentBytes = 0;
    uint64_t receivedBytes = 0;
    uint64_t sentDatagrams = 0;
    uint64_t receivedDatagrams = 0;
};

class DuelLink {
public:
    DuelLink();
    ~DuelLink();
    DuelLink(const DuelLink&) = delete;
    DuelLink& operator=(const DuelLink&) = delete;

    // Opens the host's port (all IPv4 addresses). False with a message in error().
    bool host(uint16_t port, const DuelTerms& terms);
    // Connects to a host. False with a message when the address cannot be used.
    bool join(const std::string& address, uint16_t port, const DuelTerms& terms);

    // Waits up to `timeoutMs` for what the network brings, and reports one event.
    LinkEvent poll(uint32_t timeoutMs);

    // Inputs go unsequenced (a lost one costs nothing, nothing waits for a resend);
    // everything else reliably.
    void send(const Message& message);
    // Tells the other side and lets the link close after what is queued has gone.
    void close(const Message& last);
    // Sends what is queued without waiting for anything to come.
    void flush();

    bool connected() const { return peer_ != nullptr && agreed_; }
    // The port the host listens on (the one it was given, or the system's choice for 0).
    uint16_t port() const;
    // The other side's terms, once agreed.
    const DuelTerms& theirTerms() const { return theirs_; }
    double roundTripMs() const;
    LinkTraffic traffic() const;
    // Milliseconds since anything came from the other player.
    double silenceMs() const;
    const std::string& error() const { return error_; }
    // This side's IPv4 addresses, for the host to print.
    static std::string localAddresses();

private:
    LinkEvent handleReceived(_ENetPeer* from, const uint8_t* data, size_t size);
    LinkEvent hostHandles(const Message& m);
    LinkEvent joinerHandles(const Message& m);
    void refuse(_ENetPeer* peer, RefusalReason reason);
    void sendTo(_ENetPeer* peer, const Message& message);
    void dropCandidate();

    _ENetHost* enet_ = nullptr;
    _ENetPeer* peer_ = nullptr; // the player being shaken hands with, then dueled
    bool hosting_ = false;
    bool agreed_ = false;
    bool closing_ = false;
    DuelTerms ours_;
    DuelTerms theirs_;
    uint64_t nonce_ = 0;
    int pingsLeft_ = 0;
    double bestRoundTripMs_ = 0.0;
    double pingSentAtMs_ = 0.0;
    double lastHeardMs_ = 0.0;
    double candidateSinceMs_ = 0.0;
    std::string error_;
};
