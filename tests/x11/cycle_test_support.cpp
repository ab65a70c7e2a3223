#include "tests/x11/cycle_test_support.h"

#include <dirent.h>
#include <malloc.h>

#include <cstdlib>

int cycleCount() {
    const char* text = std::getenv("ROOMPLATE_EDITOR_CYCLES");
    return text != nullptr ? std::atoi(text) : kDefaultCycles;
}

int openFileDescriptors() {
    int count = 0;
    DIR* folder = opendir("/proc/self/fd");
    while (dirent* entry = readdir(folder)) count += entry->d_name[0] != '.';
    closedir(folder);
    return count;
}

long heapInUse() { return static_cast<long>(mallinfo2().uordblks); }
