#include "reverb/reverb_engine.h"

#include <algorithm>
#include <cmath>

#include "reverb/parameter_table.h"
#include "reverb/recursion_pass.h"
#include "reverb/scaled_distance.h"
#include "reverb/vector_clones.h"

namespace {

constexpr double kTankGainScale = 0.8;  // tank allpass gain = 0.8 × v, rounded to float once

// Non-finite input counts as silence; exact silence becomes kSilence.
// Selections without a call, so that a run of them vectorizes: x − x is 0
// exactly for finite x, NaN for an infinity or NaN.
float monoInput(float input1, float input2) {
    float x = (input1 + input2) * 0.5f;
    x = x - x == 0.0f ? x : 0.0f;
    return x == 0.0f ? ReverbEngine::kSilence : x;
}

// x[n] from the even frames 2n of both inputs, for n < pairs.
ROOMPLATE_VECTOR_CLONES void monoRun(const float* input1, const float* input2, float* x, std::int32_t pairs) {
    for (std::int32_t n = 0; n < pairs; ++n) x[n] = monoInput(input1[2 * n], input2[2 * n]);
}

}  // namespace

ReverbEngine::ReverbEngine(float sampleRate)
    : engineSizes(EngineSizes::forRate(sampleRate)),
      reflections(engineSizes),
      diffusion(engineSizes),
      tankStage(engineSizes),
      combs(engineSizes),
      taps(engineSizes) {
    for (std::atomic<float>& value : liveValues) value.store(0.0f, std::memory_order_relaxed);
}

// ---- parameters ---------------------------------------------------------------

void ReverbEngine::setParameter(std::int32_t index, float value) {
    if (!isParameterIndex(index)) return;
    liveValues[index].store(value, std::memory_order_relaxed);
    if (std::atomic<bool>* stage = stageSwitch(index))
        stage->store(switchStateAfter(stage->load(std::memory_order_relaxed), value), std::memory_order_relaxed);
}

float ReverbEngine::parameter(std::int32_t index) const {
    return isParameterIndex(index) ? liveValues[index].load(std::memory_order_relaxed) : 0.0f;
}

std::atomic<bool>* ReverbEngine::stageSwitch(std::int32_t index) {
    switch (index) {
        case kFilterSwitch: return &filterOn;
        case kReflectionsSwitch: return &reflectionsOn;
        case kTankSwitch: return &tankOn;
        case kCombsSwitch: return &combsOn;
        default: return nullptr;
    }
}

bool ReverbEngine::isStageOn(std::int32_t switchIndex) const {
    const std::atomic<bool>* stage = const_cast<ReverbEngine*>(this)->stageSwitch(switchIndex);
    return stage != nullptr && stage->load(std::memory_order_relaxed);
}

// ---- tail ---------------------------------------------------------------------

namespace {

constexpr double kInfinitePairs = 1.0e300;

// Pairs in which a loop of `loopPairs` with gain `loopGain` per round falls by 60 dB.
double ringPairs(double loopPairs, double loopGain) {
    const double gain = std::fabs(loopGain);
    if (!(gain < 1.0)) return kInfinitePairs;  // NaN too
    if (gain == 0.0) return loopPairs;
    return loopPairs * std::ceil(-3.0 / std::log10(gain) + 1.0);
}

double clamped(float value) { return std::isfinite(value) ? std::fabs(static_cast<double>(value)) : kInfinitePairs; }

}  // namespace

std::uint32_t ReverbEngine::tailSamples() const {
    const double halfRate = engineSizes.halfRate;
    // A distance of 0 reads the whole ring, as the delay lines do.
    const auto loopOf = [](std::int32_t length, float time) {
        const std::int32_t distance = scaledDistance(length, time);
        return static_cast<double>(distance == 0 ? length : distance);
    };
    double pairs = 0.0;
    if (isStageOn(kReflectionsSwitch)) pairs += engineSizes.reflectionLength;  // the longest reflection a room gives
    // Each diffuser's cells take its gain and the feedback through the oldest cell.
    const double feedback = 1.0 + clamped(live(kDiffuserFeedback));
    const ParameterId diffuserTimes[] = {kDiffuserTime1, kDiffuserTime2, kDiffuserTime3, kDiffuserTime4};
    for (std::int32_t j = 0; j < 4; ++j) {
        const double gain = clamped(live(j < 2 ? kDiffusionGain12 : kDiffusionGain34)) * feedback;
        pairs += ringPairs(loopOf(engineSizes.diffuserLength, live(diffuserTimes[j])), gain);
    }
    if (isStageOn(kTankSwitch)) {
        // Around both branches: decay, feed into the other branch, its decay, feed back; damping only lowers it.
        const double crossLoopGain = clamped(live(kTankDecay1)) * clamped(live(kTankFeed1Into2)) *
                                     clamped(live(kTankDecay2)) * clamped(live(kTankFeed2Into1));
        double loopPairs = 0.0;
        const ParameterId allpassTimes[] = {kTankAllpassTimeA, kTankAllpassTimeB, kTankAllpassTimeC, kTankAllpassTimeD};
        for (std::int32_t j = 0; j < 4; ++j) {
            const double gain = 0.8 * clamped(live(j < 2 ? kTankGainAB : kTankGainCD));
            loopPairs += ringPairs(loopOf(engineSizes.tankAllpassLength, live(allpassTimes[j])), gain);
        }
        for (ParameterId delay : {kTankDelay1, kTankDelay2, kTankDelay3, kTankDelay4})
            loopPairs += loopOf(engineSizes.tankDelayLength, live(delay));
        pairs += ringPairs(loopPairs, crossLoopGain);
    }
    if (isStageOn(kCombsSwitch) && live(kQuality) > 0.0f && live(kAbsorption) > 0.0f) {
        const double absorption = clamped(live(kAbsorption));
        if (!(absorption < 1.0)) return kInfiniteTail;
        pairs += -300.0 / std::log10(absorption) * 0.001 * halfRate;  // the comb lines' 60 dB decay time
    }
    pairs += engineSizes.outputLength;
    const double samples = 2.0 * pairs;
    return samples < static_cast<double>(kInfiniteTail) ? static_cast<std::uint32_t>(samples) : kInfiniteTail;
}

// ---- per-block preparation ----------------------------------------------------

void ReverbEngine::prepareBlock() {
    reflections.updateRoom({live(kSourceLevel), live(kRoomWidth), live(kRoomLength), live(kSourceX), live(kSourceY),
                            live(kListenerX), live(kListenerY)});
    combs.update(live(kQuality), live(kAbsorption));
    diffusion.updateTimes({live(kDiffuserTime1), live(kDiffuserTime2), live(kDiffuserTime3), live(kDiffuserTime4)});
    tankStage.updateTimes(
        {live(kTankAllpassTimeA), live(kTankAllpassTimeB), live(kTankAllpassTimeC), live(kTankAllpassTimeD)},
        {live(kTankDelay1), live(kTankDelay2), live(kTankDelay3), live(kTankDelay4)});
    taps.updateTimes(
        {live(kLeftTap1), live(kLeftTap2), live(kLeftTap3), live(kLeftTap4), live(kLeftTap5), live(kLeftTap6)},
        {live(kRightTap1), live(kRightTap2), live(kRightTap3), live(kRightTap4), live(kRightTap5), live(kRightTap6)});
    runLimit = reflections.runLimit(kRunPairs);
}

inline RunControls ReverbEngine::readRunControls() const {
    RunControls c;
    c.combCount = live(kQuality);
    c.absorption = live(kAbsorption);
    c.bandwidth = live(kBandwidth);
    c.diffusionGain12 = live(kDiffusionGain12);
    c.diffusionGain34 = live(kDiffusionGain34);
    c.tankGainAB = static_cast<float>(kTankGainScale * live(kTankGainAB));
    c.tankGainCD = static_cast<float>(kTankGainScale * live(kTankGainCD));
    c.damping1 = live(kDamping1);
    c.damping2 = live(kDamping2);
    c.decay1 = live(kTankDecay1);
    c.decay2 = live(kTankDecay2);
    c.feed1Into2 = live(kTankFeed1Into2);
    c.feed2Into1 = live(kTankFeed2Into1);
    c.dry = live(kDryLevel);
    c.wet = live(kWetLevel);
    c.centre = live(kFilterCentre);
    c.resonance = live(kFilterResonance);
    c.highMix = live(kHighMix);
    c.lowMix = live(kLowMix);
    c.bandMix = live(kBandMix);
    c.colour = live(kColour);
    c.diffuserFeedback = live(kDiffuserFeedback);
    c.tankOn = tankOn.load(std::memory_order_relaxed);
    c.filterOn = filterOn.load(std::memory_order_relaxed);
    c.reflectionsOn = reflectionsOn.load(std::memory_order_relaxed);
    c.combsOn = combsOn.load(std::memory_order_relaxed);
    return c;
}

// ---- processing ---------------------------------------------------------------

template <OutputMode mode>
void ReverbEngine::process(const float* input1, const float* input2, float* output1, float* output2,
                           std::int32_t frames) {
    if (frames <= 0 || input1 == nullptr || input2 == nullptr || output1 == nullptr || output2 == nullptr) return;
    takePendingClear();
    prepareBlock();
    bool runaway = false;
    const std::int32_t pairs = frames / 2;
    RunSignals runs[2];
    RunSignals* before = nullptr;  // the run whose second half is still to come
    for (std::int32_t first = 0; first < pairs;) {
        if (runStartHook != nullptr) runStartHook(runStartContext, first);
        RunSignals& run = runs[before == &runs[0] ? 1 : 0];
        run.controls = readRunControls();
        run.pairs = std::min(runLimit, pairs - first);
        run.firstFrame = 2 * first;
        renderFront(input1 + run.firstFrame, input2 + run.firstFrame, run, before);
        if (before != nullptr && renderBack<mode>(*before, output1, output2)) runaway = true;
        before = &run;
        first += run.pairs;
    }
    if (before != nullptr && renderBack<mode>(*before, output1, output2)) runaway = true;
    if (frames % 2 != 0) {
        writeFrame<mode>(output1[frames - 1], taps.lastValue().left);
        writeFrame<mode>(output2[frames - 1], taps.lastValue().right);
    }
    if (runaway || tankStage.feedbackBeyond(kRunawayLevel)) recoverFromRunaway();
}

template void ReverbEngine::process<OutputMode::kReplace>(const float*, const float*, float*, float*, std::int32_t);
template void ReverbEngine::process<OutputMode::kAdd>(const float*, const float*, float*, float*, std::int32_t);

void ReverbEngine::processStream(const float* input1, const float* input2, float* output1, float* output2,
                                 std::int32_t frames) {
    if (frames <= 0 || input1 == nullptr || input2 == nullptr || output1 == nullptr || output2 == nullptr) return;
    takePendingClear();
    std::int32_t first = 0;
    if (oddFrameNext) {  // the second frame of the pair the last call began
        output1[0] = taps.lastValue().left;
        output2[0] = taps.lastValue().right;
        first = 1;
    }
    const std::int32_t rest = frames - first;
    const std::int32_t wholePairs = rest - rest % 2;
    if (wholePairs > 0)
        process<OutputMode::kReplace>(input1 + first, input2 + first, output1 + first, output2 + first, wholePairs);
    const bool halfPairAtEnd = rest % 2 != 0;
    oddFrameNext = false;
    if (!halfPairAtEnd) return;
    // A pair reads only its even frame's input: it is rendered now, its odd
    // frame's input (not yet here) is not needed.
    const std::int32_t last = frames - 1;
    const float pairInput1[2] = {input1[last], 0.0f}, pairInput2[2] = {input2[last], 0.0f};
    float pairOutput1[2], pairOutput2[2];
    process<OutputMode::kReplace>(pairInput1, pairInput2, pairOutput1, pairOutput2, 2);
    output1[last] = pairOutput1[0];
    output2[last] = pairOutput2[0];
    oddFrameNext = true;
}

void ReverbEngine::renderFront(const float* input1, const float* input2, RunSignals& run, RunSignals* before) {
    const RunControls& c = run.controls;
    const std::int32_t pairs = run.pairs;
    float reflected[kRunPairs], diffused[kRunPairs], tanked[kRunPairs];
    monoRun(input1, input2, run.x, pairs);

    const float* early = run.x;
    if (c.reflectionsOn) {
        reflections.run(run.x, reflected, pairs);
        early = reflected;
    }
    const float* tankOutput = diffused;
    const bool toneFilterBeside = before != nullptr && before->controls.filterOn;
    if (toneFilterBeside && diffusion.lowpassesRunAhead(pairs) && (!c.tankOn || tankStage.dampingRunsAhead(pairs))) {
        renderRecursionsAhead(early, diffused, tanked, run, *before);
        if (c.tankOn) tankOutput = tanked;
    } else {  // the stages step their own lowpasses; the tone filter of the run before waits for its second half
        diffusion.run(early, diffused, pairs, c);
        if (c.tankOn) {
            tankStage.run(diffused, tanked, pairs, c);
            tankOutput = tanked;
        }
    }
    if (!c.tankOn) tankStage.skip(pairs);

    if (combs.runs(c))
        combs.run(tankOutput, run.wet, pairs);
    else
        std::copy(tankOutput, tankOutput + pairs, run.wet);
    run.filtered = false;
}

void ReverbEngine::renderRecursionsAhead(const float* early, float* diffused, float* tanked, RunSignals& run,
                                         RunSignals& before) {
    const RunControls& c = run.controls;
    const std::int32_t pairs = run.pairs;
    float band[kRunPairs], innerOutput[4][kRunPairs], damped[2][kRunPairs];
    float innerScratch[4][kRunPairs], dampingScratch[2][kRunPairs];  // for cells that wrap within the run
    RecursionPass::LowpassSteps lowpasses{diffusion.bandwidthLowpass(),
                                          early,
                                          band,
                                          c.bandwidth,
                                          diffusion.innerLowpasses(),
                                          {innerScratch[0], innerScratch[1], innerScratch[2], innerScratch[3]},
                                          {innerOutput[0], innerOutput[1], innerOutput[2], innerOutput[3]},
                                          c.colour,
                                          c.tankOn,
                                          tankStage.dampingLowpasses(),
                                          {dampingScratch[0], dampingScratch[1]},
                                          {damped[0], damped[1]},
                                          {c.damping1, c.damping2},
                                          pairs};
    float* const innerRoom[4] = {innerScratch[0], innerScratch[1], innerScratch[2], innerScratch[3]};
    diffusion.innerLowpassInputs(pairs, lowpasses.innerInput, innerRoom);  // the cells, or copies where they wrap
    float* const dampingRoom[2] = {dampingScratch[0], dampingScratch[1]};
    if (c.tankOn) tankStage.dampingInputs(pairs, lowpasses.dampingInput, dampingRoom);

    const RunControls& b = before.controls;
    RecursionPass::ToneSteps tone{toneFilterMix.filterState(),
                                  before.wet,
                                  before.filteredWet,
                                  before.pairs,
                                  b.centre,
                                  b.resonance,
                                  b.highMix,
                                  b.lowMix,
                                  b.bandMix};
    RecursionPass::run(tone, lowpasses);
    toneFilterMix.setFilterState(tone.filter);
    before.filtered = true;

    diffusion.runAfterLowpasses(band, lowpasses.innerOutput, diffused, pairs, c, lowpasses.bandwidth, lowpasses.inner);
    if (c.tankOn) tankStage.runAfterDamping(diffused, damped[0], damped[1], tanked, pairs, c, lowpasses.damping);
}

template <OutputMode mode>
bool ReverbEngine::renderBack(RunSignals& run, float* output1, float* output2) {
    const RunControls& c = run.controls;
    const float* toMix = run.wet;
    if (c.filterOn) {
        if (!run.filtered) toneFilterMix.filter(run.wet, run.filteredWet, run.pairs, c);
        toMix = run.filteredWet;
    }
    float mixed[kRunPairs];
    const bool runaway = toneFilterMix.mix(toMix, run.x, mixed, run.pairs, c, kRunawayLevel);
    taps.run<mode>(mixed, output1 + run.firstFrame, output2 + run.firstFrame, run.pairs);
    return runaway;
}

// ---- state --------------------------------------------------------------------

void ReverbEngine::takePendingClear() {
    if (!clearPending.load(std::memory_order_relaxed) || !clearPending.exchange(false, std::memory_order_acquire))
        return;
    clearSignalState();
    if (fullClearPending.exchange(false, std::memory_order_relaxed)) diffusion.clearAll();
}

// Cursors and comb lengths stay; the diffusers' inner lowpasses keep their state.
void ReverbEngine::clearSignalState() {
    oddFrameNext = false;
    reflections.clear();
    diffusion.clear();
    tankStage.clear();
    combs.clear();
    toneFilterMix.clear();
    taps.clear();
}

// A NaN or infinity in the state would stay there for good, and a huge value
// would take minutes to decay: start again from silence instead.
void ReverbEngine::recoverFromRunaway() {
    clearSignalState();
    diffusion.clearAll();
}
