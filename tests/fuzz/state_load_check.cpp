#include "tests/fuzz/state_load_check.h"

#include <cstring>

namespace {

// Compares bits, so that a NaN or a -0 that appears shows as a change.
bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(float) * a.size()) == 0;
}

}  // namespace

std::string checkStateLoad(const StateTarget& target, const StateBytes& bytes, bool& accepted) {
    const std::string name = target.name;
    std::string failure;
    const StateBytes savedBefore = target.everySavedState();
    const std::vector<float> soundBefore = target.sound(failure);
    accepted = target.load(bytes);
    const std::vector<float> soundAfter = target.sound(failure);
    if (!failure.empty()) return failure;

    if (!accepted) {
        if (target.everySavedState() != savedBefore) return "a refused " + name + " changed the saved state";
        if (!sameBits(soundBefore, soundAfter)) return "a refused " + name + " changed the sound";
        return "";
    }
    const StateBytes saved = target.save();
    if (saved.empty()) return "no " + name + " saved after an accepted one";
    if (!target.load(saved)) return "the " + name + " it saved was refused";
    if (target.save() != saved) return "the " + name + " changed on its way back in";
    return "";
}
