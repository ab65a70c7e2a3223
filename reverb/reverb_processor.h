// The plug-in as every format but VST 2 binds it: the engine at the host's
// rate, the programs, the saved state, and a bypass that glides instead of
// clicking. A binding translates its host's calls into these and nothing else.
//
// Threads: the constructor, activate, saveState and loadState on the host's
// main thread, while the audio thread is not in process; setParameter,
// parameter, selectProgram, setBypass, reset and tailSamples from any thread
// (they store relaxed atomics only; VST 3 hosts change programs inside
// process); process on the audio thread only. Nothing on the audio thread
// allocates, locks or waits.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "reverb/program_bank.h"
#include "reverb/reverb_engine.h"

class ReverbProcessor {
public:
    static constexpr float kBypassGlideMs = 5.0f;
    static constexpr float kDefaultSampleRate = 44100.0f;
    // The rates the engine is built for. Below, its shortest lines would hold
    // no samples; far above, its lengths overflow and its lines would take
    // gigabytes. The bindings refuse any other rate a host offers.
    static constexpr double kMinSampleRate = 8000.0;
    static constexpr double kMaxSampleRate = 768000.0;
    static bool supportsRate(double sampleRate) {
        return sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate;  // NaN: false
    }

    // "Init" current, the engine at 44.1 kHz until activate gives the host's rate.
    ReverbProcessor();

    // Main thread. Builds the engine for the rate (again only when it
    // changed; a rate outside the supported ones gives the default), with the
    // current values and a silent signal state.
    void activate(float sampleRate);
    float sampleRate() const { return engine->sizes().sampleRate; }

    // Stored in the current program and the engine; indices outside 0 … 57 are ignored.
    void setParameter(std::int32_t index, float value);
    float parameter(std::int32_t index) const { return engine->parameter(index); }
    // Any thread. Program 0 or 1 becomes current and its values live; false for other numbers.
    bool selectProgram(std::int32_t program);
    std::int32_t currentProgram() const { return programs.current(); }
    const ProgramBank& programBank() const { return programs; }

    // Main thread. The state of both programs; loadState refuses a damaged
    // blob and then changes nothing.
    std::vector<std::uint8_t> saveState() const;
    bool loadState(const std::uint8_t* bytes, std::size_t size);
    // Main thread. The same with the bypass switch, as a host keeps a
    // session (SessionState); loadSession also takes saveState's bytes
    // alone, as sessions saved before the bypass was kept hold them, and
    // then leaves the bypass off.
    std::vector<std::uint8_t> saveSession() const;
    bool loadSession(const std::uint8_t* bytes, std::size_t size);
    // Main thread: the factor the editor is drawn at, kept in the state (1
    // until an editor sets one or a state brings one).
    void setEditorScale(float factor) { editorScaleFactor = factor; }
    float editorScale() const { return editorScaleFactor; }

    // Any thread: bypassed, the output glides to the input over kBypassGlideMs.
    void setBypass(bool bypassed) { bypassTarget.store(bypassed, std::memory_order_relaxed); }
    bool isBypassed() const { return bypassTarget.load(std::memory_order_relaxed); }
    // Any thread: the signal state, filters included, is cleared before the next block.
    void reset() { engine->requestFullClear(); }
    std::uint32_t tailSamples() const { return engine->tailSamples(); }

    // Audio thread. Any number of frames (the stream continues across calls);
    // input and output may be the same buffers.
    void process(const float* input1, const float* input2, float* output1, float* output2, std::int32_t frames);

    const ReverbEngine& getEngine() const { return *engine; }

private:
    static constexpr std::int32_t kGlideChunk = 256;  // frames of dry signal kept while gliding
    void loadCurrentProgramIntoEngine();
    void processGliding(const float* input1, const float* input2, float* output1, float* output2, std::int32_t frames);

    ProgramBank programs;
    float editorScaleFactor = 1.0f;  // main thread only
    std::unique_ptr<ReverbEngine> engine;
    std::atomic<bool> bypassTarget{false};
    float bypassMix = 0.0f;  // audio thread: 0 the reverb's output, 1 the input
    float glideStep = 1.0f;  // per frame
};
