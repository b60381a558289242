// The ENet host of either side, the handshake's steps, and the traffic counts.
#include "net/duel_link.h"

#include "net/join_code.h"

#include <arpa/inet.h>
#include <enet/enet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <random>

namespace {

// Sent with the connection request, so that a stray ENet program is told apart
// before a byte of ours is read ("KVDN").
constexpr enet_uint32 CONNECT_MAGIC = 0x4e44564bu;
constexpr size_t HOST_PEERS = 4;
constexpr size_t CHANNELS = 2;
constexpr enet_uint8 RELIABLE_CHANNEL = 0;
constexpr enet_uint8 INPUT_CHANNEL = 1;
// ENet gives up on a link whose reliable data goes unanswered this long.
constexpr enet_uint32 PEER_TIMEOUT_MS = 5000;
constexpr int HANDSHAKE_PINGS = 4;
// A connection that has not finished the handshake by then is let go, so that one
// that says nothing cannot keep the right player out.
constexpr double HANDSHAKE_LIMIT_MS = 5000.0;
constexpr uint16_t COUNTDOWN_MS = 3000;
// The IPv4 and UDP headers of every datagram, which ENet's counts leave out.
constexpr uint64_t IP_UDP_HEADER_BYTES = 28;

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

uint64_t randomNonce() {
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device();
}

bool networkStarted() {
    static const bool started = [] {
        if (enet_initialize() != 0)
            return false;
        std::atexit(enet_deinitialize);
        return true;
    }();
    return started;
}

std::string hex(uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, v);
    return text;
}

// Why a handshake failed, as the side that learns it says it.
std::string refusalText(const RefusalMessage& r, uint16_t ourVersion, uint64_t ourFingerprint,
                        bool theyRefused) {
    const std::string who = theyRefused ? "the other side" : "this side";
    switch (r.reason) {
    case RefusalReason::WrongCode:
        return theyRefused ? "the host refused the join code (wrong code)"
                           : "a player tried a wrong join code";
    case RefusalReason::ProtocolVersion:
        return "refused by " + who + ": protocol version " + std::to_string(ourVersion) +
               " here, " + std::to_string(r.version) + " there";
    case RefusalReason::Fingerprint:
        return "refused by " + who + ": the two builds simulate differently (fingerprint " +
               hex(ourFingerprint) + " here, " + hex(r.fingerprint) + " there)";
    case RefusalReason::Busy:
        return "a duel is already running on that host";
    }
    return "refused";
}

} // namespace

DuelLink::DuelLink() = default;

DuelLink::~DuelLink() {
    if (enet_) {
        if (peer_)
            enet_peer_disconnect_now(peer_, 0);
        enet_host_destroy(enet_);
    }
}

bool DuelLink::host(uint16_t port, const DuelTerms& terms) {
    if (!networkStarted()) {
        error_ = "the network could not be started";
        return false;
    }
    ours_ = terms;
    hosting_ = true;
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    enet_ = enet_host_create(&address, HOST_PEERS, CHANNELS, 0, 0);
    if (!enet_) {
        error_ = "cannot open port " + std::to_string(port) + " (is it in use?)";
        return false;
    }
    return true;
}

bool DuelLink::join(const std::string& address, uint16_t port, const DuelTerms& terms) {
    if (!networkStarted()) {
        error_ = "the network could not be started";
        return false;
    }
    ours_ = terms;
    hosting_ = false;
    enet_ = enet_host_create(nullptr, 1, CHANNELS, 0, 0);
    if (!enet_) {
        error_ = "cannot open a network socket";
        return false;
    }
    ENetAddress to{};
    if (enet_address_set_host(&to, address.c_str()) != 0) {
        error_ = "cannot find the host " + address;
        return false;
    }
    to.port = port;
    peer_ = enet_host_connect(enet_, &to, CHANNELS, CONNECT_MAGIC);
    if (!peer_) {
        error_ = "cannot connect to " + address;
        return false;
    }
    enet_peer_timeout(peer_, 0, PEER_TIMEOUT_MS, PEER_TIMEOUT_MS);
    nonce_ = randomNonce();
    lastHeardMs_ = nowMs();
    return true;
}

void DuelLink::sendTo(_ENetPeer* peer, const Message& message) {
    const std::vector<uint8_t> bytes = encodeMessage(message);
    const bool inputs = message.type == MessageType::Inputs;
    ENetPacket* packet =
        enet_packet_create(bytes.data(), bytes.size(),
                           inputs ? ENET_PACKET_FLAG_UNSEQUENCED : ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(peer, inputs ? INPUT_CHANNEL : RELIABLE_CHANNEL, packet) != 0)
        enet_packet_destroy(packet);
}

void DuelLink::send(const Message& message) {
    if (peer_ && !closing_)
        sendTo(peer_, message);
}

void DuelLink::close(const Message& last) {
    if (!peer_ || closing_)
        return;
    sendTo(peer_, last);
    enet_peer_disconnect_later(peer_, 0);
    closing_ = true;
    enet_host_flush(enet_);
}

void DuelLink::flush() {
    if (enet_)
        enet_host_flush(enet_);
}

void DuelLink::refuse(_ENetPeer* peer, RefusalReason reason) {
    RefusalMessage r;
    r.reason = reason;
    r.fingerprint = ours_.fingerprint;
    sendTo(peer, refusalMessage(r));
    // After the refusal has gone; a player who never answers is dropped by the timeout.
    enet_peer_disconnect_later(peer, 0);
}

void DuelLink::dropCandidate() {
    peer_ = nullptr;
    agreed_ = false;
    pingsLeft_ = 0;
}

double DuelLink::roundTripMs() const {
    if (bestRoundTripMs_ > 0.0)
        return bestRoundTripMs_;
    return peer_ ? static_cast<double>(peer_->roundTripTime) : 0.0;
}

uint16_t DuelLink::port() const { return enet_ ? enet_->address.port : 0; }

double DuelLink::silenceMs() const { return nowMs() - lastHeardMs_; }

LinkTraffic DuelLink::traffic() const {
    LinkTraffic t;
    if (!enet_)
        return t;
    t.sentDatagrams = enet_->totalSentPackets;
    t.receivedDatagrams = enet_->totalReceivedPackets;
    t.sentBytes = enet_->totalSentData + IP_UDP_HEADER_BYTES * t.sentDatagrams;
    t.receivedBytes = enet_->totalReceivedData + IP_UDP_HEADER_BYTES * t.receivedDatagrams;
    return t;
}

LinkEvent DuelLink::poll(uint32_t timeoutMs) {
    LinkEvent out;
    if (!enet_)
        return out;
    if (hosting_ && peer_ && !agreed_ && nowMs() - candidateSinceMs_ > HANDSHAKE_LIMIT_MS) {
        enet_peer_disconnect_now(peer_, 0);
        dropCandidate();
    }
    ENetEvent event;
    const int got = enet_host_service(enet_, &event, timeoutMs);
    if (got <= 0)
        return out;
    switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
        if (hosting_) {
            if (event.data != CONNECT_MAGIC) {
                enet_peer_reset(event.peer);
            } else if (peer_ && peer_ != event.peer) {
                refuse(event.peer, RefusalReason::Busy);
            } else {
                peer_ = event.peer;
                enet_peer_timeout(peer_, 0, PEER_TIMEOUT_MS, PEER_TIMEOUT_MS);
                lastHeardMs_ = nowMs();
                candidateSinceMs_ = lastHeardMs_;
            }
        } else if (event.peer == peer_) {
            HelloMessage hello;
            hello.fingerprint = ours_.fingerprint;
            for (int i = 0; i < JOIN_CODE_LENGTH; ++i)
                hello.code[i] = i < static_cast<int>(ours_.code.size()) ? ours_.code[i] : '3';
            hello.nonce = nonce_;
            hello.delay = ours_.delay;
            sendTo(peer_, helloMessage(hello));
            lastHeardMs_ = nowMs();
        }
        break;
    case ENET_EVENT_TYPE_RECEIVE:
        if (event.peer == peer_)
            out = handleReceived(event.peer, event.packet->data, event.packet->dataLength);
        enet_packet_destroy(event.packet);
        break;
    case ENET_EVENT_TYPE_DISCONNECT:
        if (event.peer != peer_)
            break;
        if (agreed_) {
            out.kind = closing_ ? LinkEvent::None : LinkEvent::Lost;
            out.text = "connection lost";
            peer_ = nullptr;
        } else if (hosting_) {
            dropCandidate();
        } else {
            out.kind = LinkEvent::Refused;
            out.text = "no duel: the host did not answer or closed the connection";
            peer_ = nullptr;
        }
        break;
    case ENET_EVENT_TYPE_NONE:
        break;
    }
    return out;
}

LinkEvent DuelLink::handleReceived(_ENetPeer*, const uint8_t* data, size_t size) {
    LinkEvent out;
    Message m;
    // A datagram that is no message of ours is dropped as if it never came.
    if (!decodeMessage(data, size, m))
        return out;
    lastHeardMs_ = nowMs();
    if (agreed_) {
        if (m.type == MessageType::Inputs || m.type == MessageType::Desync) {
            out.kind = LinkEvent::Received;
            out.message = m;
        } else if (m.type == MessageType::Leave) {
            out.kind = LinkEvent::Left;
            out.text = "the other player left";
        }
        return out;
    }
    return hosting_ ? hostHandles(m) : joinerHandles(m);
}

LinkEvent DuelLink::hostHandles(const Message& m) {
    LinkEvent out;
    if (m.type == MessageType::Hello && pingsLeft_ == 0) {
        const HelloMessage& h = m.hello;
        const std::string code(h.code, JOIN_CODE_LENGTH);
        RefusalMessage why;
        bool refused = true;
        if (h.version != NET_PROTOCOL_VERSION) {
            why.reason = RefusalReason::ProtocolVersion;
            why.version = h.version;
        } else if (h.fingerprint != ours_.fingerprint) {
            why.reason = RefusalReason::Fingerprint;
            why.fingerprint = h.fingerprint;
        } else if (!sameJoinCode(code, ours_.code)) {
            why.reason = RefusalReason::WrongCode;
        } else {
            refused = false;
        }
        if (refused) {
            out.kind = LinkEvent::TurnedAway;
            out.text = refusalText(why, NET_PROTOCOL_VERSION, ours_.fingerprint, false);
            refuse(peer_, why.reason);
            dropCandidate();
            return out;
        }
        theirs_.delay = h.delay;
        theirs_.fingerprint = h.fingerprint;
        WelcomeMessage w;
        w.fingerprint = ours_.fingerprint;
        w.nonce = h.nonce;
        w.delay = ours_.delay;
        w.randSeed = ours_.randSeed;
        sendTo(peer_, welcomeMessage(w));
        pingsLeft_ = HANDSHAKE_PINGS;
        nonce_ = randomNonce();
        pingSentAtMs_ = nowMs();
        sendTo(peer_, pingMessage(MessageType::Ping, nonce_));
    } else if (m.type == MessageType::Pong && pingsLeft_ > 0 && m.ping.nonce == nonce_) {
        const double rtt = nowMs() - pingSentAtMs_;
        if (bestRoundTripMs_ == 0.0 || rtt < bestRoundTripMs_)
            bestRoundTripMs_ = rtt;
        if (--pingsLeft_ > 0) {
            nonce_ = randomNonce();
            pingSentAtMs_ = nowMs();
            sendTo(peer_, pingMessage(MessageType::Ping, nonce_));
        } else {
            sendTo(peer_, startMessage(COUNTDOWN_MS));
            enet_host_flush(enet_);
            agreed_ = true;
            out.kind = LinkEvent::Agreed;
            // The start reaches the other side half a round trip from now.
            out.countdownMs = COUNTDOWN_MS + static_cast<int>(bestRoundTripMs_ / 2);
        }
    } else if (m.type == MessageType::Refusal) {
        out.kind = LinkEvent::TurnedAway;
        out.text = refusalText(m.refusal, NET_PROTOCOL_VERSION, ours_.fingerprint, true);
        enet_peer_disconnect_later(peer_, 0);
        dropCandidate();
    }
    return out;
}

LinkEvent DuelLink::joinerHandles(const Message& m) {
    LinkEvent out;
    if (m.type == MessageType::Refusal) {
        out.kind = LinkEvent::Refused;
        out.text = refusalText(m.refusal, NET_PROTOCOL_VERSION, ours_.fingerprint, true);
        enet_peer_disconnect_later(peer_, 0);
        closing_ = true;
    } else if (m.type == MessageType::Welcome && m.welcome.nonce == nonce_) {
        const WelcomeMessage& w = m.welcome;
        RefusalMessage why;
        if (w.version != NET_PROTOCOL_VERSION || w.fingerprint != ours_.fingerprint) {
            why.reason = w.version != NET_PROTOCOL_VERSION ? RefusalReason::ProtocolVersion
                                                           : RefusalReason::Fingerprint;
            why.version = w.version;
            why.fingerprint = w.fingerprint;
            out.kind = LinkEvent::Refused;
            out.text = refusalText(why, NET_PROTOCOL_VERSION, ours_.fingerprint, false);
            refuse(peer_, why.reason);
            closing_ = true;
            return out;
        }
        theirs_.delay = w.delay;
        theirs_.fingerprint = w.fingerprint;
        theirs_.randSeed = w.randSeed;
        nonce_ = 0;
    } else if (m.type == MessageType::Ping && nonce_ == 0) {
        sendTo(peer_, pingMessage(MessageType::Pong, m.ping.nonce));
        enet_host_flush(enet_);
    } else if (m.type == MessageType::Start && nonce_ == 0) {
        agreed_ = true;
        out.kind = LinkEvent::Agreed;
        out.countdownMs = m.start.countdownMs;
    }
    return out;
}

std::string DuelLink::localAddresses() {
    std::string out;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return out;
    for (ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN];
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) {
            if (!out.empty())
                out += ", ";
            out += text;
        }
    }
    freeifaddrs(list);
    return out;
}
