#include "vst3/vst3_state.h"

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

std::vector<std::uint8_t> Vst3State::toBytes() const {
    std::vector<std::uint8_t> bytes(kMagic, kMagic + sizeof kMagic);
    putWord(bytes, kVersion);
    putWord(bytes, bypassed ? kBypassedFlag : 0);
    const std::vector<std::uint8_t> programBytes = programs.toBytes();
    bytes.insert(bytes.end(), programBytes.begin(), programBytes.end());
    return bytes;
}

bool Vst3State::fromBytes(const std::uint8_t* bytes, std::size_t size, Vst3State& state) {
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

bool Vst3State::write(Steinberg_IBStream* stream) const {
    if (stream == nullptr) return false;
    std::vector<std::uint8_t> bytes = toBytes();
    Steinberg_int32 written = 0;
    const auto size = static_cast<Steinberg_int32>(bytes.size());
    return stream->lpVtbl->write(stream, bytes.data(), size, &written) == Steinberg_kResultOk && written == size;
}

// Reads at most one byte more than a state has: enough to see a longer
// stream as longer without reading all of it.
bool Vst3State::read(Steinberg_IBStream* stream, Vst3State& state) {
    if (stream == nullptr) return false;
    std::vector<std::uint8_t> bytes(kSize + 1);
    std::size_t size = 0;
    while (size < bytes.size()) {
        Steinberg_int32 count = 0;
        const auto wanted = static_cast<Steinberg_int32>(bytes.size() - size);
        // An error or the end: what came so far is judged whole (a truncated blob is refused).
        if (stream->lpVtbl->read(stream, bytes.data() + size, wanted, &count) != Steinberg_kResultOk || count <= 0)
            break;
        size += static_cast<std::size_t>(count) < bytes.size() - size ? static_cast<std::size_t>(count)
                                                                      : bytes.size() - size;
    }
    return fromBytes(bytes.data(), size, state);
}
