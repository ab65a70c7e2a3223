// The plug-in's saved state, as hosts of every format but VST 2 keep it in
// their sessions: both programs' values and names and which one is current.
// A versioned little-endian format of our own, read back years later by a
// newer build: a blob that is truncated, too long, of another plug-in, of a
// newer version or with a value that is not a finite number is refused, and
// a refused blob changes nothing.
//
// Layout (version 2, 528 bytes): "RPst", version u32, current program u32,
// then for each of the two programs its name (24 bytes, zero-terminated) and
// its 58 values as float32 in parameter order, then the factor the editor was
// drawn at as float32 (1, 1.5 or 2). Version 1 (524 bytes) is the same without
// the factor and still loads, with the editor at 1.
//
// Threads: the caller's (hosts save and load states on their main thread).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "reverb/parameter_table.h"
#include "reverb/program_bank.h"
#include "reverb/program_record.h"

struct PluginState {
    static constexpr std::uint32_t kVersion = 2;
    static constexpr std::size_t kVersion1Size = 4 + 4 + 4 + kProgramCount * (kProgramNameSize + 4 * kParameterCount);
    static constexpr std::size_t kSize = kVersion1Size + 4;

    std::int32_t currentProgram = 0;
    float editorScale = 1.0f;  // finite and positive; the editor takes the nearest it draws
    std::array<std::array<float, kParameterCount>, kProgramCount> values{};
    std::array<std::array<char, kProgramNameSize>, kProgramCount> names{};

    static PluginState of(const ProgramBank& bank);
    // Into the bank: both programs and the current one.
    void applyTo(ProgramBank& bank) const;

    std::vector<std::uint8_t> toBytes() const;
    // False, and `state` untouched, for anything but a well-formed blob.
    static bool fromBytes(const std::uint8_t* bytes, std::size_t size, PluginState& state);
};
