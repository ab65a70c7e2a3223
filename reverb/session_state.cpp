#include "reverb/session_state.h"

#include <cstring>

namespace {

constexpr char kMagic[4] = {'R', 'P', 'v', '3'};
constexpr std::uint32_t kBypassedFlag = 1;

void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(word >> shift));
}

std::uint32_t wordAt(const std::uint8_t* bytes) {
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i) word = (word << 8) | bytes[i];
    return word;
}

}  // namespace

std::vector<std::uint8_t> SessionState::toBytes() const {
    std::vector<std::uint8_t> bytes(kMagic, kMagic + sizeof kMagic);
    putWord(bytes, kVersion);
    putWord(bytes, bypassed ? kBypassedFlag : 0);
    const std::vector<std::uint8_t> programBytes = programs.toBytes();
    bytes.insert(bytes.end(), programBytes.begin(), programBytes.end());
    return bytes;
}

bool SessionState::fromBytes(const std::uint8_t* bytes, std::size_t size, SessionState& state) {
    // PluginState's version 1 is shorter; it still loads.
    const bool knownSize = size == kSize || size == kHeaderSize + PluginState::kVersion1Size;
    if (bytes == nullptr || !knownSize || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) return false;
    if (wordAt(bytes + 4) != kVersion) return false;
    const std::uint32_t flags = wordAt(bytes + 8);
    if ((flags & ~kBypassedFlag) != 0) return false;
    PluginState programs;
    if (!PluginState::fromBytes(bytes + kHeaderSize, size - kHeaderSize, programs)) return false;
    state.programs = programs;
    state.bypassed = (flags & kBypassedFlag) != 0;
    return true;
}
