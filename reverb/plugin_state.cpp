#include "reverb/plugin_state.h"

#include <cmath>
#include <cstring>

namespace {

constexpr std::uint8_t kMagic[4] = {'R', 'P', 's', 't'};

void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(word >> shift));
}

std::uint32_t wordAt(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

PluginState PluginState::of(const ProgramBank& bank) {
    PluginState state;
    state.currentProgram = bank.current();
    for (std::int32_t program = 0; program < kProgramCount; ++program) {
        for (const ParameterInfo& info : kParameterTable)
            state.values[program][info.id] = bank.valueOf(program, info.id);
        std::memcpy(state.names[program].data(), bank.nameOf(program), kProgramNameSize);
    }
    return state;
}

void PluginState::applyTo(ProgramBank& bank) const {
    for (std::int32_t program = 0; program < kProgramCount; ++program) {
        for (const ParameterInfo& info : kParameterTable) bank.storeInto(program, info.id, values[program][info.id]);
        bank.setName(program, names[program].data());
    }
    bank.select(currentProgram);
}

std::vector<std::uint8_t> PluginState::toBytes() const {
    std::vector<std::uint8_t> bytes(kMagic, kMagic + 4);
    bytes.reserve(kSize);
    putWord(bytes, kVersion);
    putWord(bytes, static_cast<std::uint32_t>(currentProgram));
    for (std::int32_t program = 0; program < kProgramCount; ++program) {
        bytes.insert(bytes.end(), names[program].begin(), names[program].end());
        for (float value : values[program]) {
            std::uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            putWord(bytes, bits);
        }
    }
    std::uint32_t scaleBits;
    std::memcpy(&scaleBits, &editorScale, sizeof scaleBits);
    putWord(bytes, scaleBits);
    return bytes;
}

bool PluginState::fromBytes(const std::uint8_t* bytes, std::size_t size, PluginState& state) {
    if (bytes == nullptr || size < 8 || std::memcmp(bytes, kMagic, 4) != 0) return false;
    const std::uint32_t version = wordAt(bytes + 4);
    if (!((version == 1 && size == kVersion1Size) || (version == kVersion && size == kSize))) return false;
    PluginState read;
    const std::uint32_t current = wordAt(bytes + 8);
    if (current >= static_cast<std::uint32_t>(kProgramCount)) return false;
    read.currentProgram = static_cast<std::int32_t>(current);
    const std::uint8_t* at = bytes + 12;
    for (std::int32_t program = 0; program < kProgramCount; ++program) {
        std::memcpy(read.names[program].data(), at, kProgramNameSize);
        if (read.names[program][kProgramNameSize - 1] != '\0') return false;
        at += kProgramNameSize;
        for (float& value : read.values[program]) {
            const std::uint32_t bits = wordAt(at);
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value)) return false;
            at += 4;
        }
    }
    if (version >= 2) {
        const std::uint32_t bits = wordAt(at);
        std::memcpy(&read.editorScale, &bits, sizeof read.editorScale);
        if (!std::isfinite(read.editorScale) || !(read.editorScale > 0.0f)) return false;
    }
    state = read;
    return true;
}
