// What a host keeps for the plug-in in a session: the programs as
// PluginState holds them (both programs' values and names, the current one)
// and the bypass switch. Our own versioned little-endian format:
//
//   "RPv3", version u32 (1), flags u32 (bit 0: bypassed; the others 0),
//   then PluginState's bytes (of its version 1 or 2).
//
// Bytes that are shorter or longer, of another plug-in, of a newer
// version, with unknown flags or a refused PluginState are refused whole.
//
// Threads: the host's main thread (states are saved and loaded there).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "reverb/plugin_state.h"

struct SessionState {
    static constexpr std::uint32_t kVersion = 1;
    static constexpr std::size_t kHeaderSize = 12;
    static constexpr std::size_t kSize = kHeaderSize + PluginState::kSize;

    PluginState programs;
    bool bypassed = false;

    std::vector<std::uint8_t> toBytes() const;
    // False, and `state` untouched, for anything but a well-formed blob.
    static bool fromBytes(const std::uint8_t* bytes, std::size_t size, SessionState& state);
};
