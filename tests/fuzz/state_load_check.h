// What loading any bytes as a saved state must keep, whatever the format:
// refused, the instance is exactly as before (its saved states and its
// sound); accepted, the state it then saves loads back and saves as itself.
//
// Threads: the caller's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using StateBytes = std::vector<std::uint8_t>;

struct StateTarget {
    const char* name;                                       // for the failure text: "component", "state"
    std::function<StateBytes()> save;                       // empty when saving fails
    std::function<bool(const StateBytes&)> load;            // true when accepted
    std::function<StateBytes()> everySavedState;            // all the instance saves, this target's and others'
    std::function<std::vector<float>(std::string&)> sound;  // a short render from silence; failures into the string
};

// "" when the promise holds; `accepted` answers whether bytes were accepted.
std::string checkStateLoad(const StateTarget& target, const StateBytes& bytes, bool& accepted);
