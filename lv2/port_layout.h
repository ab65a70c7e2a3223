// The LV2 plug-in's ports, in index order: stereo audio in and out, one
// control input per sound parameter (in ParameterId order, "About" left out:
// it is the editor's own state), then the lv2:enabled bypass switch. Hosts
// store sessions by the symbols, and the DSP, the UI and the Turtle generator
// all read this one layout.
#pragma once

#include <cstdint>

#include "reverb/parameter_id.h"

namespace lv2_ports {

enum AudioPort : std::uint32_t { kInputLeft, kInputRight, kOutputLeft, kOutputRight, kAudioPortCount };

// Every parameter before "About" has a port; "About" is the last id.
constexpr std::int32_t kSoundParameterCount = kAbout;
static_assert(kAbout == kParameterCount - 1, "About must stay the one id after the sound parameters");

constexpr std::uint32_t kFirstControlPort = kAudioPortCount;
constexpr std::uint32_t kEnabledPort = kFirstControlPort + kSoundParameterCount;
constexpr std::uint32_t kPortCount = kEnabledPort + 1;  // 62

struct AudioPortInfo {
    const char* symbol;
    const char* name;
    bool input;
};
inline constexpr AudioPortInfo kAudioPorts[kAudioPortCount] = {
    {"in_left", "In Left", true},
    {"in_right", "In Right", true},
    {"out_left", "Out Left", false},
    {"out_right", "Out Right", false},
};
constexpr const char* kEnabledSymbol = "enabled";

constexpr bool isSoundParameter(std::int32_t id) { return id >= 0 && id < kSoundParameterCount; }
constexpr std::uint32_t portOf(ParameterId id) { return kFirstControlPort + static_cast<std::uint32_t>(id); }
// The parameter a control port sets, or kParameterIdEnd for the other ports.
constexpr ParameterId parameterOf(std::uint32_t port) {
    if (port < kFirstControlPort || port >= kEnabledPort) return kParameterIdEnd;
    return static_cast<ParameterId>(port - kFirstControlPort);
}

}  // namespace lv2_ports
