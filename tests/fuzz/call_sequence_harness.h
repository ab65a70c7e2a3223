// Plays any byte string to a plug-in as a sequence of host calls, the way a
// careless host might make them, and checks after each call what a host may
// rely on. The fuzzer and the replay test share it.
//
// Input: commands one after another; each starts with a byte whose value
// modulo the command count selects it (Command), followed by its arguments
// as FuzzInput reads them:
//   Dispatch          opcode byte (value % 76 − 5: −5 … 70), index, value, opt,
//                     pointer byte (low 3 bits 0: a null pointer; bit 3: a
//                     spare buffer for opcodes that take none), then what the
//                     opcode needs (text, chunk bytes)
//   SetParameter      index, float
//   GetParameter      index
//   ProcessReplacing  frames (16 bits % 4097), signal, in-place byte (bit 0)
//   Process           frames, signal
//   MainsChanged      value
//   SetProgram        value
//   SetProgramName    text
//   CloseAndReopen    -
//   EntryWithoutHost  -
//   EditorSession     idle count byte
// A signal is a mode byte (Signal) and its arguments. Past the end of the
// input every read gives 0; the instance is closed at the end (a kept one is
// left for the next input; see HarnessOptions::kept).
//
// Checks: the entry answers a record with 2 inputs and 2 outputs, and no
// record without a host; every output sample is finite and within ±0.99
// (replacing outputs start as NaN, so a frame left unwritten shows; adding
// outputs start at 0); inputs are left unchanged; parameters, the program
// number and program names read back as ParameterModel expects; text answers
// stay within their field and are terminated; effEditGetRect answers a
// rectangle when it answers non-zero; effGetChunk's data can be read; effClose
// answers 1; the plug-in calls back only with audioMasterVersion,
// audioMasterAutomate (a valid index) and audioMasterIdle, on its own record.
// Address faults are left to the sanitizers: every buffer has exactly the size
// the call announces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/aeffect.h"
#include "tests/fuzz/kept_instance.h"
#include "tests/fuzz/parent_window.h"

using PluginEntry = AEffect*(VSTCALLBACK*)(HostCallback hostCallback);

enum class Command : std::uint8_t {
    Dispatch,
    SetParameter,
    GetParameter,
    ProcessReplacing,
    Process,
    MainsChanged,
    SetProgram,
    SetProgramName,
    CloseAndReopen,
    EntryWithoutHost,
    EditorSession,
    Count
};

enum class Signal : std::uint8_t {
    Silence,
    Noise,     // amplitude float, seed 16 bits
    Raw,       // 4 bytes a sample, channel 1 then 2, frame by frame, while the input lasts
    Spiked,    // noise of amplitude 1, then a count byte (% 16) of (frame 16 bits, channel byte, float)
    Constant,  // float, both channels
    Opposite,  // noise on channel 1 and its negation on channel 2: the mono sum is exactly 0
    Impulse,   // float on frame 0 of both channels
    Square,    // amplitude float, half period byte
    Count
};

// What a run called, for a test that the seeds reach every command and opcode.
struct CallCounts {
    static constexpr std::int32_t kLowestOpcode = -5;
    static constexpr std::int32_t kOpcodeCount = 76;  // −5 … 70
    std::array<long, static_cast<std::size_t>(Command::Count)> commands{};
    std::array<long, kOpcodeCount> opcodes{};  // dispatched, by opcode − kLowestOpcode
    long framesProcessed = 0;
};

struct HarnessOptions {
    PluginEntry entry = nullptr;
    // Parent windows for effEditOpen; null: the editor gets a null window.
    ParentWindowSource* windows = nullptr;
    // Frames processed for one input at most (further processing calls are
    // read but skipped), so that every input runs in a few milliseconds.
    std::int64_t frameBudget = 1 << 18;
    // Added to when not null.
    CallCounts* counts = nullptr;
    // When set, inputs play to the instance it keeps (made on first use)
    // instead of a fresh one each: it is restored before the input, and
    // effClose and CloseAndReopen restore it instead of closing it.
    KeptInstance* kept = nullptr;
    // False: the editor's opcodes and EditorSession are read but not called.
    bool editor = true;
    // Frames of one processing call at most (the 16-bit count is taken modulo one more).
    std::int32_t maxBlockFrames = 4096;
    // When set, the bits of every output sample are folded in (FNV-1a), so
    // that a test can compare a kept instance's sound with a fresh one's.
    std::uint64_t* outputDigest = nullptr;
};

// Plays the input; answers "" when every check passed, else the first
// failure (the sequence stops there and the instance is closed).
std::string runCallSequence(const std::uint8_t* data, std::size_t size, const HarnessOptions& options);
