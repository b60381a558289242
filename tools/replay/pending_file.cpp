// The temporary file and its clean-up on signals and exits.
#include "pending_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int CAUGHT_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

// What a signal handler may read: a fixed buffer, empty when nothing is pending.
char pendingName[4096];

void removePending() {
    if (pendingName[0])
        unlink(pendingName);
    pendingName[0] = '\0';
}

void onSignal(int signal) {
    if (pendingName[0])
        unlink(pendingName);
    // Dies of the signal, as the shell expects.
    ::signal(signal, SIG_DFL);
    raise(signal);
}

sigset_t caughtSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : CAUGHT_SIGNALS)
        sigaddset(&set, signal);
    return set;
}

} // namespace

PendingFile::~PendingFile() { discard(); }

bool PendingFile::create(const std::string& path) {
    path_ = path;
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) {
        error_ = path + ": names a folder, not a file";
        return false;
    }
    std::string pattern = folder + "." + name + ".XXXXXX";
    if (pattern.size() >= sizeof pendingName) {
        error_ = path + ": the name is too long";
        return false;
    }
    static bool handlersSet = false;
    if (!handlersSet) {
        struct sigaction action {};
        action.sa_handler = onSignal;
        for (int signal : CAUGHT_SIGNALS)
            sigaction(signal, &action, nullptr);
        std::atexit(removePending);
        handlersSet = true;
    }
    // No signal between making the file and noting its name.
    const sigset_t blocked = caughtSignals();
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkstemp(buffer.data());
    if (fd >= 0) {
        std::memcpy(pendingName, buffer.data(), buffer.size());
        close(fd);
    }
    const int failure = errno;
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (fd < 0) {
        error_ = path + ": cannot write there (" + std::strerror(failure) + ")";
        return false;
    }
    temporary_ = buffer.data();
    return true;
}

bool PendingFile::commit() {
    if (temporary_.empty())
        return false;
    // The file as a new one would be made, not mkstemp's owner-only mode.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(temporary_.c_str(), 0666 & ~mask);
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        error_ = path_ + ": cannot write there (" + std::strerror(errno) + ")";
        discard();
        return false;
    }
    const sigset_t blocked = caughtSignals();
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    pendingName[0] = '\0';
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    temporary_.clear();
    return true;
}

void PendingFile::discard() {
    if (temporary_.empty())
        return;
    const sigset_t blocked = caughtSignals();
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    removePending();
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    temporary_.clear();
}
