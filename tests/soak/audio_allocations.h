// Counts the allocations made on a thread while it is inside a plug-in's
// audio call: this program replaces the global operator new and delete.
#pragma once

#include <cstdint>

// RAII: the calling thread's allocations count while it lives.
class AudioCallWatch {
public:
    AudioCallWatch();
    AudioCallWatch(const AudioCallWatch&) = delete;
    AudioCallWatch& operator=(const AudioCallWatch&) = delete;
    ~AudioCallWatch();
    // Allocations and frees on this thread since the watch began.
    std::uint64_t allocations() const;

private:
    std::uint64_t before;
};
