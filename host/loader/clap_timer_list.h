// The timers a CLAP plug-in registered with its host through timer-support:
// at most kMaxTimers, each with an id not given to another while it is
// registered. Room is reserved at construction, so registering never allocates.
//
// Threads: the main thread, as timer-support's calls are.
#pragma once

#include <clap/clap.h>

#include <cstddef>
#include <vector>

class ClapTimerList {
public:
    static constexpr std::size_t kMaxTimers = 16;

    ClapTimerList() { ids.reserve(kMaxTimers); }

    // register_timer: a new id into timerId; false when full or timerId is null.
    bool add(clap_id* timerId);
    // unregister_timer: false for an id not registered.
    bool remove(clap_id timerId);
    const std::vector<clap_id>& registered() const { return ids; }

private:
    std::vector<clap_id> ids;
    clap_id lastId = 0;
};
