#include "clap/clap_parameter_map.h"

#include <array>
#include <cmath>

namespace {

constexpr bool isHostParameter(const ParameterInfo& info) { return info.kind != ParameterKind::kEditorState; }

constexpr std::uint32_t countSoundParameters() {
    std::uint32_t count = 0;
    for (const ParameterInfo& info : kParameterTable) count += isHostParameter(info) ? 1 : 0;
    return count;
}

constexpr std::uint32_t kSoundParameterCount = countSoundParameters();
static_assert(kSoundParameterCount == 57);

// Host list order: the table's order, the bypass last.
constexpr std::array<clap_id, kSoundParameterCount + 1> makeHostIds() {
    std::array<clap_id, kSoundParameterCount + 1> ids{};
    std::uint32_t position = 0;
    for (const ParameterInfo& info : kParameterTable)
        if (isHostParameter(info)) ids[position++] = static_cast<clap_id>(info.id);
    ids[position] = kBypassParamId;
    return ids;
}

constexpr std::array<clap_id, kSoundParameterCount + 1> kHostIds = makeHostIds();

bool isSwitchLike(clap_id id) {
    const ParameterInfo* info = soundParameterOf(id);
    return info == nullptr || info->kind == ParameterKind::kStageSwitch;
}

}  // namespace

std::uint32_t hostParameterCount() { return static_cast<std::uint32_t>(kHostIds.size()); }

bool hostParameterIdAt(std::uint32_t position, clap_id& id) {
    if (position >= kHostIds.size()) return false;
    id = kHostIds[position];
    return true;
}

const ParameterInfo* soundParameterOf(clap_id id) {
    if (id >= static_cast<clap_id>(kParameterCount)) return nullptr;
    const ParameterInfo& info = kParameterTable[id];
    return isHostParameter(info) ? &info : nullptr;
}

bool isKnownHostParameter(clap_id id) { return id == kBypassParamId || soundParameterOf(id) != nullptr; }

bool clampedValue(clap_id id, double hostValue, float& value) {
    if (!isKnownHostParameter(id) || std::isnan(hostValue)) return false;
    const double limited = hostValue < 0.0 ? 0.0 : (hostValue > 1.0 ? 1.0 : hostValue);
    // A switch between its steps would leave the stage as it was: take the nearer step.
    value = isSwitchLike(id) ? (limited >= 0.5 ? 1.0f : 0.0f) : static_cast<float>(limited);
    return true;
}

const char* moduleOf(clap_id id) {
    const ParameterInfo* info = soundParameterOf(id);
    return info != nullptr ? kSectionNames[static_cast<std::int32_t>(info->section)] : "";
}
