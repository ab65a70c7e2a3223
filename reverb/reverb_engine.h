// The reverberator, apart from any plug-in format. It sums its two inputs to
// mono, runs at half the sample rate (one step per pair of frames) and makes
// its stereo image only at the very end, from six taps a channel on one
// output line.
//
// Signal flow of one pair of frames, in code order (renderRun):
//  1. x = mono sum of the pair's even input frame; non-finite → silence;
//     an exact 0 becomes 1.0e-7 so no recursive stage ever sees a true zero
//  2. EarlyReflections: eight image sources of a rectangular room  (reflections switch)
//  3. InputDiffusion: bandwidth lowpass,
//  4.   then four damped allpasses in series
//  5. Tank: two cross-fed branches, each allpass → delay → damping
//     → decay → allpass → delay, feeding the other branch            (tank switch)
//  6.   its four delays advance whether or not the tank ran
//  7. CombBank: up to 20 parallel comb lines over one octave from 100 ms (combs switch)
//  8. ToneFilterMix: state-variable filter                           (filter switch)
//  9.   then mix: wet · filtered + dry · x
// 10. OutputTaps: the mean of six taps a channel off the output line,
//     limited to ±0.99 and written to both frames of the pair
// Before the first pair of each block, every stage derives its distances,
// taps, lengths and gains from the live values (prepareBlock).
//
// The pairs are rendered in runs of at most kRunPairs: gains, coefficients
// and switches are read at the start of each run (RunControls), and each
// stage works through the whole run before the next begins. The tone
// filter, the mix and the output taps of a run come after the next run's
// lowpasses, so that the tone filter's recursion runs beside theirs
// (RecursionPass); the last run of a call finishes within the call.
//
// Threads: setParameter, parameter, isStageOn and the clear requests from any
// thread (live values and switches are relaxed atomics); process from the
// audio thread only.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "reverb/comb_bank.h"
#include "reverb/early_reflections.h"
#include "reverb/engine_sizes.h"
#include "reverb/input_diffusion.h"
#include "reverb/output_mode.h"
#include "reverb/output_taps.h"
#include "reverb/parameter_id.h"
#include "reverb/run_controls.h"
#include "reverb/tank.h"
#include "reverb/tone_filter_mix.h"

class ReverbEngine {
public:
    // Pairs rendered with the gains and switches read at the run's start: a
    // change made during a call takes effect within this many pairs.
    static constexpr std::int32_t kRunPairs = CombBank::kLongestRun;
    static constexpr float kSilence = 1.0e-7f;  // what an exactly silent input becomes
    // A block whose mixed signal or tank feedback goes beyond this, or is not
    // finite, clears the signal state at its end. Settings within 0 … 1 with
    // input of sensible level stay far below it: the loudest, a reflection
    // source on the listener, gives about 1e5 per full-scale sample, and a comb
    // bank without decay (absorption 1) would need years of full-scale DC to get there.
    static constexpr float kRunawayLevel = 1.0e15f;

    // Every live value 0 and every stage switched on; the signal state silent.
    explicit ReverbEngine(float sampleRate);

    // Any thread. Stores the value unchanged as the live value; the four stage
    // switches also follow the switch rule. Indices outside 0 … 57 are ignored.
    void setParameter(std::int32_t index, float value);
    // Any thread. The live value; 0 outside 0 … 57.
    float parameter(std::int32_t index) const;
    // Any thread. Whether the stage of a switch parameter is on (false for other indices).
    bool isStageOn(std::int32_t switchIndex) const;
    // Any thread. Clears all signal state before the next block renders, so
    // that clearing never races with a block in progress.
    void requestClear() { clearPending.store(true, std::memory_order_relaxed); }
    // Any thread. As requestClear, and the diffusers' inner lowpasses too, so
    // that the next block renders as a new engine's first would: what a host's
    // reset or activation asks of the newer formats.
    void requestFullClear() {
        fullClearPending.store(true, std::memory_order_relaxed);
        clearPending.store(true, std::memory_order_release);  // the block that takes it sees fullClearPending
    }

    // Audio thread. Renders floor(frames / 2) pairs; with an odd count the
    // last frame of each output gets the last pair's value again (the value of
    // the previous block's last pair when there is no pair). Nothing happens
    // for frames ≤ 0 or a null buffer.
    template <OutputMode mode>
    void process(const float* input1, const float* input2, float* output1, float* output2, std::int32_t frames);
    // Audio thread. As process<kReplace>, but the frames continue the stream
    // of the earlier calls: a pair's even frame may end one call and its odd
    // frame begin the next, so any split of a signal into calls, single
    // frames included, gives the samples of one long call. The stream starts
    // again at an even frame after a clear. Input and output may be the same buffers.
    void processStream(const float* input1, const float* input2, float* output1, float* output2, std::int32_t frames);

    // Any thread. Samples in which the output falls by 60 dB once the input
    // stops, for the live values: a bound that stages in series add up (the
    // longest reflection, the diffusers' and the tank's rings, the comb
    // decay, the longest output tap), or kInfiniteTail where a loop does not
    // decay (absorption 1, or a loop gain of 1 or more).
    static constexpr std::uint32_t kInfiniteTail = 0xFFFFFFFFu;
    std::uint32_t tailSamples() const;

    const EngineSizes& sizes() const { return engineSizes; }
    // The stages, for reading what they derived from the live values.
    const EarlyReflections& earlyReflections() const { return reflections; }
    const InputDiffusion& inputDiffusion() const { return diffusion; }
    const Tank& tank() const { return tankStage; }
    const CombBank& combBank() const { return combs; }
    const OutputTaps& outputTaps() const { return taps; }

    // Tests only: called on the audio thread at the start of every run of
    // pairs, before the run reads its gains and switches, with the index of
    // the run's first pair within the call. Null (the default) for none.
    using RunStartHook = void (*)(void* context, std::int32_t firstPair);
    void setRunStartHook(RunStartHook hook, void* context) {
        runStartHook = hook;
        runStartContext = context;
    }

private:
    float live(ParameterId id) const { return liveValues[id].load(std::memory_order_relaxed); }
    std::atomic<bool>* stageSwitch(std::int32_t index);
    void prepareBlock();
    RunControls readRunControls() const;
    // A run's signals between its two halves.
    struct RunSignals {
        RunControls controls;
        std::int32_t pairs;
        std::int32_t firstFrame;  // of the call
        bool filtered;            // whether filteredWet holds the tone filter's output
        float x[kRunPairs];
        float wet[kRunPairs];  // what reaches the tone filter
        float filteredWet[kRunPairs];
    };
    // The stages up to the comb bank for `run` (its input from the call's
    // even frames at its first frame), with the tone filter of `before`, the
    // run before it (null for none), beside its lowpasses where they can run ahead.
    void renderFront(const float* input1, const float* input2, RunSignals& run, RunSignals* before);
    // The input diffusion and the tank (into tanked, while it is on), their
    // lowpasses ahead of the rest, in one loop with the tone filter of `before`.
    void renderRecursionsAhead(const float* early, float* diffused, float* tanked, RunSignals& run, RunSignals& before);
    // The tone filter (unless it ran already), the mix and the output taps
    // into the call's outputs; tells whether a mixed sample ran away (beyond
    // kRunawayLevel, or NaN).
    template <OutputMode mode>
    bool renderBack(RunSignals& run, float* output1, float* output2);
    void takePendingClear();
    void clearSignalState();
    void recoverFromRunaway();

    const EngineSizes engineSizes;
    EarlyReflections reflections;
    InputDiffusion diffusion;
    Tank tankStage;
    CombBank combs;
    ToneFilterMix toneFilterMix;
    OutputTaps taps;
    // The most pairs a run may have with this block's reflection taps.
    std::int32_t runLimit = kRunPairs;
    RunStartHook runStartHook = nullptr;
    void* runStartContext = nullptr;

    std::array<std::atomic<float>, kParameterCount> liveValues;
    std::atomic<bool> tankOn{true}, filterOn{true}, reflectionsOn{true}, combsOn{true};
    std::atomic<bool> clearPending{false};      // set by requestClear, taken by the next block
    std::atomic<bool> fullClearPending{false};  // set by requestFullClear, taken with clearPending
    bool oddFrameNext = false;                  // processStream: the next frame is a pair's second
};

extern template void ReverbEngine::process<OutputMode::kReplace>(const float*, const float*, float*, float*,
                                                                 std::int32_t);
extern template void ReverbEngine::process<OutputMode::kAdd>(const float*, const float*, float*, float*, std::int32_t);
