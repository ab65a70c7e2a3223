#include "host/audio/progress_line.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool stderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace

ProgressLine::ProgressLine(std::string label, std::uint64_t totalFrames, int sampleRate)
    : label(std::move(label)), totalFrames(totalFrames), sampleRate(sampleRate), terminal(stderrIsTerminal()) {}

void ProgressLine::finish() {
    if (shown) std::fputc('\n', stderr);
    shown = false;
}

void ProgressLine::update(std::uint64_t framesDone) {
    if (!terminal) return;
    const auto now = Clock::now();
    if (now - started < kQuietTime || (shown && now - lastShown < kRefreshTime && framesDone < totalFrames)) return;
    if (totalFrames == 0) {  // a source that did not tell its length
        std::fprintf(stderr, "\r%s: %.1f s", label.c_str(), static_cast<double>(framesDone) / sampleRate);
    } else {
        const auto done = static_cast<double>(std::min(framesDone, totalFrames));
        const auto total = static_cast<double>(totalFrames);
        std::fprintf(stderr, "\r%s: %3.0f%% (%.1f of %.1f s)", label.c_str(), 100.0 * done / total, done / sampleRate,
                     total / sampleRate);
    }
    std::fflush(stderr);
    shown = true;
    lastShown = now;
}
