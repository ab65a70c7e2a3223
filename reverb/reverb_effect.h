// The reverberator. It sums its two inputs to mono, runs at half the host's
// sample rate and makes its stereo image only at the very end, from six taps a
// channel on one output line.
//
// Threads: setParameter, getParameter, setProgram and the program names come
// from the host's or the editor's thread, process and processReplacing from the
// audio thread, mainsOff from any thread (it leaves the clearing to the audio
// thread's next block). Live values and switches are relaxed atomics; the audio
// thread reads distances, lengths and room geometry once per block and gains,
// coefficients and switches once per pair of frames.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "frame/effect_base_ext.h"
#include "reverb/allpass.h"
#include "reverb/damped_allpass.h"
#include "reverb/parameter_table.h"
#include "reverb/program_record.h"
#include "reverb/state_variable_filter.h"
#include "reverb/tap_delay.h"
#include "reverb/two_pole_lowpass.h"

class ReverbEffect : public EffectBaseExt {
    // Signal flow of one pair of frames, in code order (renderRun):
    //  1. x = mono sum of the pair's even input frame; non-finite → silence;
    //     an exact 0 becomes 1.0e-7 so no recursive stage ever sees a true zero
    //  2. earlyReflections: eight image sources of a rectangular room    (reflectionsOn)
    //  3. bandwidth lowpass
    //  4. diffusers: four damped allpasses in series
    //  5. tank: two cross-fed branches, each allpass → delay → damping
    //     → decay → allpass → delay, feeding the other branch              (tankOn)
    //  6. the four tank delays advance, whether or not the tank ran
    //  7. combBank: up to 20 parallel comb lines over one octave from 100 ms (combsOn)
    //  8. tone filter: state-variable filter                              (filterOn)
    //  9. mix: wet · filtered + dry · x
    // 10. outputTaps: the mean of six taps a channel off the output line,
    //     limited to ±0.99 and written to both frames of the pair
    // Before the first pair of each block: updateReflections, updateCombs,
    // updateDelayTimes, updateOutputTaps.
    //
    // The pairs are rendered in runs of at most kRunPairs: gains, coefficients
    // and switches are read at the start of each run, and each step above
    // works through the whole run before the next begins, so that the
    // feed-forward stages 2 and 7 become loops over arrays. The recursive ones
    // go pair by pair through the run: 3 and 4 in one loop, 5 with 6 (nothing
    // else touches the tank delays), and 8 to 10 in one loop, where the
    // filter's latency leaves room for the mix, the taps and the stores.

public:
    static constexpr std::int32_t kMaxCombs = 20;
    static constexpr std::int32_t kCombCapacity = 2500;  // samples, about 113 ms
    static constexpr std::int32_t kReflectionCount = 8;
    static constexpr std::int32_t kOutputTapCount = 6;
    // Pairs rendered with the gains and switches read at the run's start: a
    // change made during a call takes effect within this many pairs.
    static constexpr std::int32_t kRunPairs = 32;
    static constexpr float kOutputLimit = 0.99f;
    static constexpr float kSilence = 1.0e-7f;  // what an exactly silent input becomes
    // A reflection's distance in metres is at least this, so an image point on
    // the listener gives a large finite gain instead of a division by zero.
    static constexpr float kMinReflectionDistance = 1.0e-3f;
    // A block whose mixed signal or tank feedback goes beyond this, or is not
    // finite, clears the signal state at its end. Settings within 0 … 1 with
    // input of sensible level stay far below it: the loudest, a reflection
    // source on the listener, gives about 1e5 per full-scale sample, and a comb
    // bank without decay (p1 = 1) would need years of full-scale DC to get there.
    static constexpr float kRunawayLevel = 1.0e15f;

    // Fixed at construction from the sample rate the base holds then (44100 Hz).
    struct BlockSizes {
        float sampleRate;
        float halfRate;                  // the engine's own rate, Hz
        std::int32_t maxLength;          // floor(sampleRate × 3)
        std::int32_t tankAllpassLength;  // 120 ms at the half rate
        std::int32_t diffuserLength;     // 90 ms
        std::int32_t tankDelayLength;    // 180 ms
        std::int32_t outputLength;       // 200 ms
        std::int32_t reflectionLength;   // floor(maxLength × 0.3), 1.8 s
        std::int32_t combCapacity;
    };

    // Derived from the live values at the start of every block.
    struct BlockValues {
        std::array<std::int32_t, kReflectionCount> reflectionTap{};  // samples
        std::array<float, kReflectionCount> reflectionGain{};
        std::int32_t activeCombs = 0;
        float combDecayTime = 0.0f;  // ms in which a comb line falls by 60 dB
        std::array<float, kMaxCombs> combGain{};
        std::array<std::int32_t, 4> diffuserDistance{};     // diffusers 1 to 4
        std::array<std::int32_t, 4> tankAllpassDistance{};  // A, B, C, D
        std::array<std::int32_t, 4> tankDelayTap{};         // tank delays 1 to 4
        std::array<std::int32_t, kOutputTapCount> outputTapLeft{};
        std::array<std::int32_t, kOutputTapCount> outputTapRight{};
    };
    enum TankAllpass : std::int32_t { kAllpassA, kAllpassB, kAllpassC, kAllpassD };

    explicit ReverbEffect(HostCallback hostCallback);
    ~ReverbEffect() override;

    // Stores the value unchanged in the live values and the current program;
    // indices 53 to 56 also switch their stage (exactly 0 off, exactly 1.0 on,
    // anything else leaves it). Every call, any index, posts an editor update.
    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    // Programs 0 and 1; any other number is ignored.
    void setProgram(std::int32_t program) override;
    // Keeps at most 23 characters; null is ignored.
    void setProgramName(char* text) override;
    void getProgramName(char* text) override;

    // Audio thread. Renders floor(sampleFrames / 2) pairs; with an odd count the
    // last frame of each output gets the last pair's value again (the value of
    // the previous block's last pair when there is no pair). Nothing happens for
    // sampleFrames ≤ 0 or a null buffer. processReplacing stores, process adds.
    void process(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    // Clears all signal state; cursors and comb lengths stay. Any thread: the
    // next block clears before it renders, so that clearing never races with a
    // block in progress on the audio thread.
    void mainsOff() override;

    const BlockSizes& getBlockSizes() const { return sizes; }
    const BlockValues& getBlockValues() const { return values; }
    // Active length of comb line 0 … 19; 0 for any other number.
    std::int32_t getCombLength(std::int32_t line) const {
        return line >= 0 && line < kMaxCombs ? combLines[line].getLength() : 0;
    }
    // Whether the stage of switch parameter 53 … 56 is on.
    bool isSwitchOn(std::int32_t index) const;

    // Tests only: called on the audio thread at the start of every run of
    // pairs, before the run reads its gains and switches, with the index of
    // the run's first pair within the call. Null (the default) for none.
    using RunStartHook = void (*)(void* context, std::int32_t firstPair);
    void setRunStartHook(RunStartHook hook, void* context) {
        runStartHook = hook;
        runStartContext = context;
    }

private:
    enum class OutputMode { Replace, Add };
    struct RunControls;
    struct Stereo {
        float left;
        float right;
    };
    // The room and comb settings the last per-block values were derived from.
    struct DerivedFrom {
        std::array<std::uint32_t, 7> room{};   // bits of p29 … p35
        std::array<std::uint32_t, 2> combs{};  // bits of p0, p1
        bool roomKnown = false, combsKnown = false;
    };

    static BlockSizes blockSizesFor(float sampleRate);
    float live(std::int32_t index) const { return liveValues[index].load(std::memory_order_relaxed); }
    void updateSwitch(std::int32_t index, float value);

    template <OutputMode mode>
    void processBlock(float** inputs, float** outputs, std::int32_t sampleFrames);
    void updateReflections();
    void updateCombs();
    void updateDelayTimes();
    void updateOutputTaps();
    void updateRunLimit();
    template <OutputMode mode>
    static void writeFrame(float& frame, float value) {
        if constexpr (mode == OutputMode::Replace)
            frame = value;
        else
            frame += value;
    }
    template <OutputMode mode>
    void render(const float* input1, const float* input2, float* output1, float* output2, std::int32_t frames);
    RunControls readRunControls() const;
    template <OutputMode mode>
    bool renderRun(const float* input1, const float* input2, float* output1, float* output2, std::int32_t pairs,
                   const RunControls& controls);
    void earlyReflections(const float* x, float* early, std::int32_t pairs);
    void diffuse(const float* early, float* diffused, std::int32_t pairs, const RunControls& controls);
    void runTank(const float* diffused, float* tankOutput, std::int32_t pairs, const RunControls& controls);
    void combBank(const float* input, float* output, std::int32_t pairs);
    template <OutputMode mode>
    bool filterMixAndOutput(const float* combed, const float* x, float* output1, float* output2, std::int32_t pairs,
                            const RunControls& controls);
    void clearSignalState();
    void recoverFromRunaway();

    const BlockSizes sizes;
    Allpass tankAllpassA, tankAllpassB, tankAllpassC, tankAllpassD;
    std::array<DampedAllpass, 4> diffusers;
    TapDelay reflectionLine;
    TapDelay outputLine;
    std::array<TapDelay, 4> tankDelays;
    std::array<TapDelay, kMaxCombs> combLines;
    TwoPoleLowpass bandwidthFilter, dampingFilter1, dampingFilter2;
    StateVariableFilter toneFilter;
    float feedback1 = 0.0f;  // end of branch 1 into branch 2
    float feedback2 = 0.0f;  // end of branch 2 into branch 1
    Stereo lastPair{0.0f, 0.0f};
    BlockValues values;
    DerivedFrom derivedFrom;
    // Most pairs a run may have with this block's reflection taps: the
    // reflection line takes a whole run's samples before its taps are read.
    std::int32_t runLimit = kRunPairs;
    RunStartHook runStartHook = nullptr;
    void* runStartContext = nullptr;

    std::array<std::atomic<float>, kParameterCount> liveValues;
    std::atomic<bool> tankOn{true}, filterOn{true}, reflectionsOn{true}, combsOn{true};
    std::atomic<std::int32_t> currentProgram{0};
    std::atomic<bool> clearPending{false};  // set by mainsOff, taken by the next block
    std::array<ProgramRecord, kProgramCount> programs;
};
