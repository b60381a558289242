// kelvidron-net-relay: an impairing UDP relay on loopback, for testing the online duel
// under latency, jitter, loss, loss bursts, duplication, reordering and silences, and
// under a rain of random and replayed datagrams. It stands between one joiner and one
// host, the same impairment each way, and ends by itself.
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <queue>
#include <random>
#include <string>
#include <vector>

namespace {

const char USAGE[] =
    "Usage: kelvidron-net-relay LISTEN_PORT HOST_PORT [OPTIONS]\n"
    "\n"
    "Relays UDP datagrams between the first sender to 127.0.0.1:LISTEN_PORT and\n"
    "127.0.0.1:HOST_PORT, impairing both ways alike:\n"
    "  --delay MS          one-way latency (default 0)\n"
    "  --jitter MS         latency spread, uniform within +-MS\n"
    "  --loss P            probability a datagram is lost (0 to 1)\n"
    "  --burst EVERY,LONG,P  for LONG ms of every EVERY ms, loss P instead\n"
    "  --duplicate P       probability a datagram arrives twice\n"
    "  --reorder P         probability a datagram is held 25 ms past the ones after it\n"
    "  --silence AT,LONG   nothing passes for LONG ms from AT ms after the first datagram\n"
    "  --garbage N         N datagrams a second at both sides from another port: random\n"
    "                      bytes, and replays of real datagrams, whole or with a byte changed\n"
    "  --seed N            the random choices' seed (default 1)\n"
    "  --lifetime S        ends after S seconds (default 120) or 10 s without traffic\n"
    "On ending (or SIGTERM) prints what it did on standard error.\n";

volatile std::sig_atomic_t stopping = 0;
void onSignal(int) { stopping = 1; }

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Settings {
    int listenPort = 0;
    int hostPort = 0;
    double delay = 0, jitter = 0, loss = 0, duplicate = 0, reorder = 0;
    double burstEvery = 0, burstLong = 0, burstLoss = 0;
    double silenceAt = -1, silenceLong = 0;
    double garbage = 0;
    unsigned seed = 1;
    double lifetimeS = 120;
};

bool number(const char* text, double& out) {
    char* end = nullptr;
    out = std::strtod(text, &end);
    return *text && !*end && out >= 0;
}

bool numbers(const char* text, double* out, int count) {
    std::string s = text;
    for (int i = 0; i < count; ++i) {
        const size_t comma = s.find(',');
        if ((comma == std::string::npos) != (i == count - 1))
            return false;
        if (!number(s.substr(0, comma).c_str(), out[i]))
            return false;
        s = comma == std::string::npos ? "" : s.substr(comma + 1);
    }
    return true;
}

bool parse(int argc, char** argv, Settings& s) {
    if (argc < 3)
        return false;
    s.listenPort = std::atoi(argv[1]);
    s.hostPort = std::atoi(argv[2]);
    if (s.listenPort < 1 || s.listenPort > 65535 || s.hostPort < 1 || s.hostPort > 65535)
        return false;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc)
            return false;
        const char* v = argv[++i];
        double b[3];
        bool ok = true;
        if (a == "--delay")
            ok = number(v, s.delay);
        else if (a == "--jitter")
            ok = number(v, s.jitter);
        else if (a == "--loss")
            ok = number(v, s.loss);
        else if (a == "--duplicate")
            ok = number(v, s.duplicate);
        else if (a == "--reorder")
            ok = number(v, s.reorder);
        else if (a == "--garbage")
            ok = number(v, s.garbage);
        else if (a == "--lifetime")
            ok = number(v, s.lifetimeS);
        else if (a == "--seed")
            s.seed = static_cast<unsigned>(std::strtoul(v, nullptr, 10));
        else if (a == "--burst" && (ok = numbers(v, b, 3))) {
            s.burstEvery = b[0];
            s.burstLong = b[1];
            s.burstLoss = b[2];
        } else if (a == "--silence" && (ok = numbers(v, b, 2))) {
            s.silenceAt = b[0];
            s.silenceLong = b[1];
        } else if (a != "--burst" && a != "--silence")
            return false;
        if (!ok)
            return false;
    }
    return s.loss <= 1 && s.duplicate <= 1 && s.reorder <= 1 && s.burstLoss <= 1 &&
           (s.burstEvery == 0 || s.burstLong <= s.burstEvery);
}

int boundSocket(int port) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        std::perror("kelvidron-net-relay: bind");
        std::exit(1);
    }
    return fd;
}

sockaddr_in loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    return a;
}

struct Pending {
    double at;
    bool towardsHost;
    std::vector<uint8_t> bytes;
    bool operator>(const Pending& o) const { return at > o.at; }
};

struct Counts {
    long relayed = 0, lost = 0, duplicated = 0, reordered = 0, silenced = 0, garbage = 0;
};

class Relay {
public:
    explicit Relay(const Settings& s)
        : s_(s), random_(s.seed), client_(boundSocket(s.listenPort)), upstream_(boundSocket(0)),
          stranger_(boundSocket(0)), host_(loopback(s.hostPort)) {}

    int run() {
        const double start = nowMs();
        double lastTraffic = start;
        double nextGarbage = start;
        while (!stopping) {
            const double now = nowMs();
            if (now - start > s_.lifetimeS * 1000 || (first_ > 0 && now - lastTraffic > 10000))
                break;
            double wait = 50;
            if (!queue_.empty())
                wait = std::min(wait, std::max(0.0, queue_.top().at - now));
            if (s_.garbage > 0 && haveClient_)
                wait = std::min(wait, std::max(0.0, nextGarbage - now));
            pollfd fds[3] = {{client_, POLLIN, 0}, {upstream_, POLLIN, 0}, {stranger_, POLLIN, 0}};
            poll(fds, 3, static_cast<int>(wait) + 1);
            if (fds[0].revents & POLLIN)
                lastTraffic = receive(client_, true);
            if (fds[1].revents & POLLIN)
                lastTraffic = receive(upstream_, false);
            if (fds[2].revents & POLLIN) {
                uint8_t sink[2048];
                (void)recv(stranger_, sink, sizeof sink, 0);
            }
            release(nowMs());
            if (s_.garbage > 0 && haveClient_ && nowMs() >= nextGarbage) {
                sendGarbage();
                nextGarbage += 1000.0 / s_.garbage;
            }
        }
        std::fprintf(stderr,
                     "kelvidron-net-relay: relayed %ld, lost %ld, duplicated %ld, reordered %ld, "
                     "silenced %ld, garbage %ld\n",
                     counts_.relayed, counts_.lost, counts_.duplicated, counts_.reordered,
                     counts_.silenced, counts_.garbage);
        return 0;
    }

private:
    double chance() { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }

    double receive(int fd, bool fromClient) {
        uint8_t buffer[2048];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n =
            recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        const double now = nowMs();
        if (n <= 0)
            return now;
        if (fromClient) {
            // One joiner: the first to send.
            if (!haveClient_) {
                clientAddress_ = from;
                haveClient_ = true;
            } else if (from.sin_port != clientAddress_.sin_port) {
                return now;
            }
        }
        if (first_ == 0)
            first_ = now;
        std::vector<uint8_t> bytes(buffer, buffer + n);
        remember(bytes, fromClient);
        const double since = now - first_;
        if (s_.silenceAt >= 0 && since >= s_.silenceAt && since < s_.silenceAt + s_.silenceLong) {
            ++counts_.silenced;
            return now;
        }
        double loss = s_.loss;
        if (s_.burstEvery > 0 && std::fmod(since, s_.burstEvery) < s_.burstLong)
            loss = s_.burstLoss;
        if (chance() < loss) {
            ++counts_.lost;
            return now;
        }
        double delay = s_.delay + (s_.jitter > 0 ? (chance() * 2 - 1) * s_.jitter : 0);
        if (chance() < s_.reorder) {
            delay += 25;
            ++counts_.reordered;
        }
        queue_.push({now + std::max(0.0, delay), fromClient, bytes});
        if (chance() < s_.duplicate) {
            queue_.push({now + std::max(0.0, delay) + 5 * chance(), fromClient, bytes});
            ++counts_.duplicated;
        }
        return now;
    }

    void remember(const std::vector<uint8_t>& bytes, bool towardsHost) {
        std::deque<std::vector<uint8_t>>& seen = towardsHost ? towardsHost_ : towardsClient_;
        seen.push_back(bytes);
        if (seen.size() > 64)
            seen.pop_front();
    }

    void release(double now) {
        while (!queue_.empty() && queue_.top().at <= now) {
            const Pending& p = queue_.top();
            if (p.towardsHost)
                sendto(upstream_, p.bytes.data(), p.bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&host_), sizeof host_);
            else
                sendto(client_, p.bytes.data(), p.bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&clientAddress_), sizeof clientAddress_);
            ++counts_.relayed;
            queue_.pop();
        }
    }

    // From a port neither side knows: random bytes, or a real datagram again, whole or
    // with one byte changed.
    void sendGarbage() {
        const bool towardsHost = chance() < 0.5;
        const std::deque<std::vector<uint8_t>>& seen = towardsHost ? towardsHost_ : towardsClient_;
        std::vector<uint8_t> bytes;
        const double kind = chance();
        if (kind < 0.4 || seen.empty()) {
            bytes.resize(1 + static_cast<size_t>(chance() * 120));
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random_());
        } else {
            bytes = seen[static_cast<size_t>(chance() * static_cast<double>(seen.size()))];
            if (kind > 0.7 && !bytes.empty())
                bytes[static_cast<size_t>(chance() * static_cast<double>(bytes.size()))] ^=
                    static_cast<uint8_t>(1 + random_() % 255);
        }
        const sockaddr_in& to = towardsHost ? host_ : clientAddress_;
        sendto(stranger_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
               sizeof to);
        ++counts_.garbage;
    }

    Settings s_;
    std::mt19937 random_;
    int client_, upstream_, stranger_;
    sockaddr_in host_;
    sockaddr_in clientAddress_{};
    bool haveClient_ = false;
    double first_ = 0;
    std::priority_queue<Pending, std::vector<Pending>, std::greater<Pending>> queue_;
    std::deque<std::vector<uint8_t>> towardsHost_, towardsClient_;
    Counts counts_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    Settings s;
    if (!parse(argc, argv, s)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    return Relay(s).run();
}
