#include "tests/soak/audio_allocations.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool watching = false;
thread_local std::uint64_t watchedAllocations = 0;

void noteAllocation() {
    if (watching) ++watchedAllocations;
}

}  // namespace

void* operator new(std::size_t size) {
    noteAllocation();
    if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    noteAllocation();
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* memory) noexcept {
    if (memory != nullptr) noteAllocation();
    std::free(memory);
}
void operator delete[](void* memory) noexcept { ::operator delete(memory); }
void operator delete(void* memory, std::size_t) noexcept { ::operator delete(memory); }
void operator delete[](void* memory, std::size_t) noexcept { ::operator delete(memory); }

AudioCallWatch::AudioCallWatch() : before(watchedAllocations) { watching = true; }

AudioCallWatch::~AudioCallWatch() { watching = false; }

std::uint64_t AudioCallWatch::allocations() const { return watchedAllocations - before; }
