#include "host/loader/clap_timer_list.h"

#include <algorithm>

bool ClapTimerList::add(clap_id* timerId) {
    if (timerId == nullptr || ids.size() >= kMaxTimers) return false;
    *timerId = ++lastId;
    ids.push_back(*timerId);
    return true;
}

bool ClapTimerList::remove(clap_id timerId) {
    const auto found = std::find(ids.begin(), ids.end(), timerId);
    if (found == ids.end()) return false;
    ids.erase(found);
    return true;
}
