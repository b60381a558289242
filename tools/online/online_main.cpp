// kelvidron-online: the duel between two machines. The host waits with a join code,
// the other player joins with it; once both agree, each opens the game's window with
// their own view alone and flies their own ship, and rollback keeps the two duels one.
#include "key_script.h"
#include "net/duel_link.h"
#include "net/join_code.h"
#include "online_duel.h"

#include "app/game_folder.h"
#include "app/game_init.h"
#include "app/gamepad_keys.h"
#include "app/window_record.h"
#include "render/frame_caption.h"
#include "standard_options.h"
#include "world/simulation_fingerprint.h"
#include "world/world.h"
#include "world/world_update.h"

#include <GL/freeglut.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

const char USAGE[] =
    "Usage: kelvidron-online host [--port N] [OPTIONS]\n"
    "       kelvidron-online join HOST[:PORT] CODE [OPTIONS]\n"
    "\n"
    "A duel between two machines. The host flies player 1's ship, the one who joins\n"
    "player 2's; each sees their own view alone and flies with either key set or a\n"
    "gamepad.\n"
    "\n"
    "  host         waits for the other player on port N (default 27183, UDP) and\n"
    "               prints this machine's addresses and the join code to give them\n"
    "  join         connects to HOST (an IPv4 address or a name) with the host's code\n"
    "\n"
    "Options:\n"
    "  --record FILE  keeps the duel as a replay (kelvidron-replay checks and plays it)\n"
    "  --keys SCRIPT  flies from a key script (lines of \"STEP KEY down|up\", steps\n"
    "                 counted from the duel's start) instead of the keyboard, and ends\n"
    "                 two seconds after the duel does\n"
    "  --delay N      input delay in steps of 10 ms (0 to 10, default 2)\n"
    "  --no-window    runs the duel without a window or sound (for tests and\n"
    "                 measurements), ending when the duel does\n"
    "  --stats FILE   writes the session's figures (traffic, rollbacks, stalls) there\n"
    "  --help         shows this\n"
    "  --version      says the program's version\n"
    "\n"
    "Closing the window (or Ctrl-C) ends the duel on both sides.\n"
    "Exit status: 0 after a finished duel (or a window closed here), 1 after a refusal,\n"
    "a lost connection, a desync or the other player leaving, 2 for bad arguments.\n";

struct Options {
    bool hosting = false;
    std::string address;
    uint16_t port = DEFAULT_DUEL_PORT;
    std::string code;
    std::string record;
    std::string keys;
    int delay = 2;
    bool windowed = true;
    std::string stats;
};

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool parsePort(const char* text, uint16_t& port) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < 1 || value > 65535)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

bool parseOptions(int argc, char** argv, Options& o) {
    if (argc < 2)
        return false;
    const std::string mode = argv[1];
    int i = 2;
    if (mode == "host") {
        o.hosting = true;
    } else if (mode == "join" && argc >= 4) {
        std::string where = argv[2];
        const size_t colon = where.rfind(':');
        if (colon != std::string::npos) {
            if (!parsePort(where.c_str() + colon + 1, o.port))
                return false;
            where.resize(colon);
        }
        if (where.empty())
            return false;
        o.address = where;
        o.code = argv[3];
        i = 4;
    } else {
        return false;
    }
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && o.hosting && hasValue) {
            if (!parsePort(argv[++i], o.port))
                return false;
        } else if (arg == "--record" && hasValue) {
            o.record = argv[++i];
        } else if (arg == "--keys" && hasValue) {
            o.keys = argv[++i];
        } else if (arg == "--stats" && hasValue) {
            o.stats = argv[++i];
        } else if (arg == "--delay" && hasValue) {
            char* end = nullptr;
            const long d = std::strtol(argv[++i], &end, 10);
            if (*end || d < 0 || d > 10)
                return false;
            o.delay = static_cast<int>(d);
        } else if (arg == "--no-window") {
            o.windowed = false;
        } else {
            return false;
        }
    }
    return true;
}

uint64_t randomBits() {
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device();
}

// Waits for the handshake to end: the countdown's length, or -1 after a refusal.
int agree(DuelLink& link, const Options& o) {
    for (;;) {
        const LinkEvent e = link.poll(100);
        if (e.kind == LinkEvent::Agreed)
            return e.countdownMs;
        if (e.kind == LinkEvent::TurnedAway)
            std::fprintf(stderr, "kelvidron-online: %s; still waiting\n", e.text.c_str());
        if (e.kind == LinkEvent::Refused) {
            std::fprintf(stderr, "kelvidron-online: %s\n", e.text.c_str());
            return -1;
        }
        (void)o;
    }
}

OnlineDuel* duel = nullptr;

// Ctrl-C or a polite kill leaves the duel as closing the window does: the other side
// is told.
volatile std::sig_atomic_t leaving = 0;
void onLeave(int) { leaving = 1; }

void onlineIdle() {
    if (leaving) {
        glutLeaveMainLoop();
        return;
    }
    readGamepads();
    const double now = nowMs();
    duel->pass(now);
    setFrameCaption(duel->caption(now));
    mainWindow.refreshAll();
    if (duel->over(now))
        glutLeaveMainLoop();
}

// Lets the last message go before the program ends.
void drain(DuelLink& link) {
    const double until = nowMs() + 300.0;
    while (nowMs() < until && link.poll(10).kind != LinkEvent::Lost) {
    }
}

} // namespace

int main(int argc, char** argv) {
    if (answerStandardOption(argc, argv, "kelvidron-online", USAGE))
        return 0;
    Options o;
    if (!parseOptions(argc, argv, o)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    KeyScript script;
    if (!o.keys.empty()) {
        script = readKeyScript(o.keys);
        if (!script.error.empty()) {
            std::fprintf(stderr, "kelvidron-online: %s\n", script.error.c_str());
            return 2;
        }
    }
    DuelTerms terms;
    terms.delay = static_cast<uint8_t>(o.delay);
    if (o.hosting) {
        terms.code = makeJoinCode(randomBits());
    } else {
        terms.code = normaliseJoinCode(o.code);
        if (terms.code.empty()) {
            std::fprintf(stderr,
                         "kelvidron-online: '%s' is no join code (%d of the letters and digits "
                         "%s)\n",
                         o.code.c_str(), JOIN_CODE_LENGTH, JOIN_CODE_ALPHABET);
            return 2;
        }
    }
    // The game's pictures are found before anyone is kept waiting for them.
    if (o.windowed) {
        o.record = absolutePath(o.record);
        if (!enterGameFolder()) {
            std::fprintf(stderr, "kelvidron-online: %s\n", missingGameFolderMessage().c_str());
            return 2;
        }
    }
    // The fingerprint is taken on a world of its own, before any window exists.
    std::srand(terms.randSeed);
    setUpWorld();
    terms.fingerprint = simulationFingerprint();

    DuelLink link;
    const bool opened = o.hosting ? link.host(o.port, terms) : link.join(o.address, o.port, terms);
    if (!opened) {
        std::fprintf(stderr, "kelvidron-online: %s\n", link.error().c_str());
        return 1;
    }
    if (o.hosting) {
        std::printf("kelvidron-online: hosting a duel on UDP port %u of %s\n", o.port,
                    DuelLink::localAddresses().c_str());
        std::printf("join code: %s\n", terms.code.c_str());
        std::printf("the other player runs: kelvidron-online join ADDRESS:%u %s\n", o.port,
                    terms.code.c_str());
    } else {
        std::printf("kelvidron-online: joining %s:%u\n", o.address.c_str(), o.port);
    }
    const int countdownMs = agree(link, o);
    if (countdownMs < 0) {
        drain(link);
        return 1;
    }
    const double agreedMs = nowMs();
    std::printf("kelvidron-online: the duel starts; you fly player %d's ship\n", o.hosting ? 1 : 2);

    DuelOptions d;
    d.localPlayer = o.hosting ? 0 : 1;
    d.delay = o.delay;
    d.remoteDelay = link.theirTerms().delay;
    d.fingerprint = terms.fingerprint;
    d.randSeed = o.hosting ? terms.randSeed : link.theirTerms().randSeed;
    d.recordPath = o.record;
    d.keys = o.keys.empty() ? nullptr : &script;
    d.windowed = o.windowed;
    d.statsPath = o.stats;

    std::srand(d.randSeed);
    if (o.windowed) {
        int glutArgc = 1;
        char* glutArgv[] = {argv[0], nullptr};
        openSingleView(d.localPlayer, &glutArgc, glutArgv);
        glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    } else {
        gameRunning = true;
        setUpWorld();
    }
    // The countdown runs from the agreement, however long the window took to open.
    const double now = nowMs();
    auto session = std::make_unique<OnlineDuel>(
        link, d, now, std::max(0, countdownMs - static_cast<int>(now - agreedMs)));
    std::string error;
    if (!session->openRecording(error)) {
        std::fprintf(stderr, "kelvidron-online: %s\n", error.c_str());
        session->closedHere();
        drain(link);
        return 1;
    }
    duel = session.get();
    std::signal(SIGINT, onLeave);
    std::signal(SIGTERM, onLeave);
    if (o.windowed) {
        mainWindow.setIdleFunc(onlineIdle);
        glutMainLoop();
        // The loop returns when the duel is over or a window was closed.
        if (!duel->over(nowMs()))
            duel->closedHere();
    } else {
        while (!duel->over(nowMs()) && !leaving)
            duel->pass(nowMs());
        if (leaving)
            duel->closedHere();
    }
    duel->report();
    duel->writeStats(nowMs());
    link.close(leaveMessage());
    drain(link);
    return duel->exitStatus();
}
