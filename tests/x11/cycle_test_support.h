// What the open/close cycle tests measure about their own process, and how
// many cycles they run.
#pragma once

// ROOMPLATE_EDITOR_CYCLES may change it (the leak check compares two counts).
constexpr int kDefaultCycles = 100;
constexpr int kIdleCallsPerCycle = 3;
// Allowed heap growth over all cycles: far below one editor's worth (its
// window surface alone is 1 MiB), above the allocator's own noise.
constexpr long kHeapSlackBytes = 64 * 1024;

int cycleCount();
int openFileDescriptors();
long heapInUse();
