// A progress line on stderr, rewritten in place with \r: only when stderr is a
// terminal and only once the work has run for more than a second, so short
// runs and logs stay clean.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class ProgressLine {
public:
    ProgressLine(std::string label, std::uint64_t totalFrames, int sampleRate);
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine() { finish(); }

    void update(std::uint64_t framesDone);
    // Ends the line, if one was shown, so that what is printed next starts on its own line.
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuietTime{1000};
    static constexpr std::chrono::milliseconds kRefreshTime{100};

    std::string label;
    std::uint64_t totalFrames;
    double sampleRate;
    bool terminal;
    bool shown = false;
    Clock::time_point started = Clock::now();
    Clock::time_point lastShown{};
};
