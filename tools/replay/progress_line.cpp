// The progress bar.
#include "progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace {

constexpr int BAR_WIDTH = 30;
constexpr auto REDRAW_EVERY = std::chrono::milliseconds(200);

} // namespace

ProgressLine::ProgressLine(std::string what, long total)
    : what_(std::move(what)), total_(total > 0 ? total : 1), shown_(isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()), lastDrawn_(start_ - REDRAW_EVERY) {}

void ProgressLine::update(long done) {
    if (!shown_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDrawn_ < REDRAW_EVERY && done < total_)
        return;
    lastDrawn_ = now;
    const double share = static_cast<double>(done) / total_;
    const int filled = static_cast<int>(share * BAR_WIDTH);
    char bar[BAR_WIDTH + 1];
    for (int i = 0; i < BAR_WIDTH; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[BAR_WIDTH] = '\0';
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    char left[32] = "--:--";
    if (done > 0) {
        const long seconds = static_cast<long>(elapsed / done * (total_ - done) + 0.5);
        std::snprintf(left, sizeof left, "%ld:%02ld", seconds / 60, seconds % 60);
    }
    std::fprintf(stderr, "\r%s [%s] %3d%%  %s left \033[K", what_.c_str(), bar,
                 static_cast<int>(share * 100), left);
    std::fflush(stderr);
}

void ProgressLine::finish() {
    if (!shown_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
}
