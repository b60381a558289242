// The handshake over real ENet on 127.0.0.1: a build that simulates differently and a
// side of another protocol version are refused on both sides with a message saying
// which, one that says nothing is let go, and the host waits on and agrees with the
// right player. Every wait is bounded; the host listens on a port the system picks.
#include "net/duel_link.h"
#include "net/packets.h"

#include <enet/enet.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

// Polls `host` and `other` in turn until `done` says so or 5 s have passed; the events
// of each side land in the given records.
bool pollUntil(DuelLink& host, const std::function<void()>& other,
               std::vector<LinkEvent>& hostEvents, const std::function<bool()>& done) {
    const Clock::time_point until = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < until) {
        LinkEvent e = host.poll(1);
        if (e.kind != LinkEvent::None)
            hostEvents.push_back(e);
        other();
        if (done())
            return true;
    }
    return false;
}

bool has(const std::vector<LinkEvent>& events, LinkEvent::Kind kind, const std::string& text) {
    for (const LinkEvent& e : events)
        if (e.kind == kind && e.text.find(text) != std::string::npos)
            return true;
    return false;
}

DuelTerms terms(uint64_t fingerprint, const std::string& code) {
    DuelTerms t;
    t.fingerprint = fingerprint;
    t.code = code;
    return t;
}

TEST(DuelLink, StrangersAreTurnedAwayAndTheHostWaitsForTheRightPlayer) {
    DuelLink host;
    ASSERT_TRUE(host.host(0, terms(0x1111, "34679ACD"))) << host.error();
    const uint16_t port = host.port();
    ASSERT_NE(port, 0);
    std::vector<LinkEvent> hostEvents;

    // A build with another fingerprint, with the right code.
    {
        DuelLink stranger;
        ASSERT_TRUE(stranger.join("127.0.0.1", port, terms(0x2222, "34679ACD")));
        std::vector<LinkEvent> theirs;
        ASSERT_TRUE(pollUntil(
            host,
            [&] {
                LinkEvent e = stranger.poll(1);
                if (e.kind != LinkEvent::None)
                    theirs.push_back(e);
            },
            hostEvents, [&] { return !theirs.empty() && !hostEvents.empty(); }));
        EXPECT_TRUE(has(theirs, LinkEvent::Refused,
                        "simulate differently (fingerprint 0000000000002222 here, "
                        "0000000000001111 there)"))
            << theirs[0].text;
        EXPECT_TRUE(has(hostEvents, LinkEvent::TurnedAway,
                        "fingerprint 0000000000001111 here, 0000000000002222 there"))
            << hostEvents[0].text;
    }

    // A program of another protocol version, by hand: its hello keeps the layout.
    {
        ENetHost* raw = enet_host_create(nullptr, 1, 2, 0, 0);
        ASSERT_NE(raw, nullptr);
        ENetAddress address{};
        enet_address_set_host(&address, "127.0.0.1");
        address.port = port;
        ENetPeer* peer = enet_host_connect(raw, &address, 2, 0x4e44564bu);
        bool refused = false;
        hostEvents.clear();
        ASSERT_TRUE(pollUntil(
            host,
            [&] {
                ENetEvent e;
                if (enet_host_service(raw, &e, 1) <= 0)
                    return;
                if (e.type == ENET_EVENT_TYPE_CONNECT) {
                    HelloMessage hello;
                    hello.version = NET_PROTOCOL_VERSION + 1;
                    hello.fingerprint = 0x1111;
                    for (int i = 0; i < JOIN_CODE_LENGTH; ++i)
                        hello.code[i] = "34679ACD"[i];
                    const std::vector<uint8_t> bytes = encodeMessage(helloMessage(hello));
                    enet_peer_send(
                        peer, 0,
                        enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
                } else if (e.type == ENET_EVENT_TYPE_RECEIVE) {
                    Message m;
                    refused = decodeMessage(e.packet->data, e.packet->dataLength, m) &&
                              m.type == MessageType::Refusal &&
                              m.refusal.reason == RefusalReason::ProtocolVersion &&
                              m.refusal.version == NET_PROTOCOL_VERSION;
                    enet_packet_destroy(e.packet);
                }
            },
            hostEvents, [&] { return refused && !hostEvents.empty(); }));
        EXPECT_TRUE(has(hostEvents, LinkEvent::TurnedAway,
                        "protocol version " + std::to_string(NET_PROTOCOL_VERSION) + " here, " +
                            std::to_string(NET_PROTOCOL_VERSION + 1) + " there"));
        enet_peer_reset(peer);
        enet_host_destroy(raw);
    }

    // A connection that never says hello is let go after 5 s rather than keeping the
    // host busy.
    {
        ENetHost* raw = enet_host_create(nullptr, 1, 2, 0, 0);
        ASSERT_NE(raw, nullptr);
        ENetAddress address{};
        enet_address_set_host(&address, "127.0.0.1");
        address.port = port;
        enet_host_connect(raw, &address, 2, 0x4e44564bu);
        bool dropped = false;
        const Clock::time_point until = Clock::now() + std::chrono::seconds(8);
        while (!dropped && Clock::now() < until) {
            host.poll(1);
            ENetEvent e;
            if (enet_host_service(raw, &e, 1) > 0 && e.type == ENET_EVENT_TYPE_DISCONNECT)
                dropped = true;
        }
        EXPECT_TRUE(dropped);
        enet_host_destroy(raw);
    }

    // The right player still gets in, and both agree on a start.
    DuelLink player;
    ASSERT_TRUE(player.join("127.0.0.1", port, terms(0x1111, "34679ACD")));
    std::vector<LinkEvent> theirs;
    hostEvents.clear();
    ASSERT_TRUE(pollUntil(
        host,
        [&] {
            LinkEvent e = player.poll(1);
            if (e.kind != LinkEvent::None)
                theirs.push_back(e);
        },
        hostEvents,
        [&] {
            return has(theirs, LinkEvent::Agreed, "") && has(hostEvents, LinkEvent::Agreed, "");
        }));
    EXPECT_TRUE(host.connected());
    EXPECT_TRUE(player.connected());
}

} // namespace
