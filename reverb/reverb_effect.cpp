#include "reverb/reverb_effect.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <utility>

namespace {

constexpr float kSpeedOfSound = 343.0f;  // m/s
constexpr double kTankGainScale = 0.8;   // tank allpass gain = 0.8 × v, rounded to float once
constexpr std::uint32_t kOneBits = 0x3F800000u;

// The image sources of the rectangular room, as the room's sound was tuned:
// rows 0, 3 and 6 put the far wall's image at 2D + sy (not the mirror 2D − sy).
enum class ImageX { MinusSourceX, SourceX, TwoWidthMinusSourceX };
enum class ImageY { TwoDepthPlusSourceY, SourceY, MinusSourceY };
struct ImageSource {
    ImageX x;
    ImageY y;
    float weight;
};
constexpr std::array<ImageSource, ReverbEffect::kReflectionCount> kImageSources{{
    {ImageX::MinusSourceX, ImageY::TwoDepthPlusSourceY, 0.5f},
    {ImageX::MinusSourceX, ImageY::SourceY, 1.0f},
    {ImageX::MinusSourceX, ImageY::MinusSourceY, 1.0f},
    {ImageX::SourceX, ImageY::TwoDepthPlusSourceY, 0.5f},
    {ImageX::TwoWidthMinusSourceX, ImageY::MinusSourceY, 1.0f},
    {ImageX::SourceX, ImageY::MinusSourceY, 1.0f},
    {ImageX::TwoWidthMinusSourceX, ImageY::TwoDepthPlusSourceY, 0.5f},
    {ImageX::TwoWidthMinusSourceX, ImageY::SourceY, 1.0f},
}};

// floor(product) as a distance 0 … limit. Limited in float before the
// conversion, so NaN, negative or huge products give 0 or the limit.
std::int32_t limitedFloor(float product, std::int32_t limit) {
    if (!(product > 0.0f)) return 0;
    if (product >= static_cast<float>(limit)) return limit;
    return static_cast<std::int32_t>(product);  // truncation is floor for positive values
}

// floor(length × v) with the product in single precision: floor(4410 × 0.9f) is 3969.
std::int32_t scaledDistance(std::int32_t length, float value) {
    return limitedFloor(static_cast<float>(length) * value, length);
}

std::int32_t floorToLength(double samples) { return static_cast<std::int32_t>(std::floor(samples)); }

// The IEEE quotient, spelled out for a zero divisor: an absorption of exactly 1
// has log10 0 and an infinite decay time (no decay); 0 has a decay time of 0.
double ieeeQuotient(double dividend, double divisor) {
    if (divisor != 0.0) return dividend / divisor;
    if (dividend == 0.0 || std::isnan(dividend)) return std::numeric_limits<double>::quiet_NaN();
    return std::copysign(std::numeric_limits<double>::infinity(), dividend) * std::copysign(1.0, divisor);
}

float limitOutput(float value) {
    if (value < -ReverbEffect::kOutputLimit) return -ReverbEffect::kOutputLimit;
    if (value > ReverbEffect::kOutputLimit) return ReverbEffect::kOutputLimit;
    if (std::isnan(value)) return 0.0f;
    return value;
}

// Non-finite input counts as silence; exact silence becomes kSilence.
float monoInput(float input1, float input2) {
    float x = (input1 + input2) * 0.5f;
    if (!std::isfinite(x)) x = 0.0f;
    if (x == 0.0f) x = ReverbEffect::kSilence;
    return x;
}

template <typename Block, std::size_t... line>
std::array<Block, sizeof...(line)> makeBlocks(std::int32_t length, std::index_sequence<line...>) {
    return {{Block((static_cast<void>(line), length))...}};
}
template <typename Block, std::size_t count>
std::array<Block, count> makeBlocks(std::int32_t length) {
    return makeBlocks<Block>(length, std::make_index_sequence<count>{});
}

}  // namespace

// Gains, coefficients and switches of one run of pairs, read once at its start.
struct ReverbEffect::RunControls {
    float combCount;   // p0
    float absorption;  // p1
    float bandwidth;
    float diffusionGain12, diffusionGain34;
    float tankGainAB, tankGainCD;
    float damping1, damping2;
    float decay1, decay2;
    float feed1Into2, feed2Into1;
    float dry, wet;
    float centre, resonance, highMix, lowMix, bandMix;
    float colour, diffuserFeedback;
    bool tankOn, filterOn, reflectionsOn, combsOn;
};

ReverbEffect::ReverbEffect(HostCallback hostCallback)
    : EffectBaseExt(hostCallback, kProgramCount, kParameterCount),
      sizes(blockSizesFor(getSampleRate())),
      tankAllpassA(sizes.tankAllpassLength),
      tankAllpassB(sizes.tankAllpassLength),
      tankAllpassC(sizes.tankAllpassLength),
      tankAllpassD(sizes.tankAllpassLength),
      diffusers(makeBlocks<DampedAllpass, 4>(sizes.diffuserLength)),
      reflectionLine(sizes.reflectionLength),
      outputLine(sizes.outputLength),
      tankDelays(makeBlocks<TapDelay, 4>(sizes.tankDelayLength)),
      combLines(makeBlocks<TapDelay, kMaxCombs>(sizes.combCapacity)) {
    for (std::atomic<float>& value : liveValues) value.store(0.0f, std::memory_order_relaxed);
    programs[1].loadFactoryProgram(1);
    programs[1].setName("Dattorro");
    setProgram(0);
    setNumInputs(2);
    setNumOutputs(2);
    setFlagHasVu(true);
    setUniqueID(fourCharCode("Quaz"));
    setFlagCanMono(true);
    setFlagCanReplacing(true);
    mainsOff();
}

ReverbEffect::~ReverbEffect() = default;

ReverbEffect::BlockSizes ReverbEffect::blockSizesFor(float sampleRate) {
    BlockSizes s{};
    s.sampleRate = sampleRate;
    s.halfRate = static_cast<float>(static_cast<double>(sampleRate) * 0.5);
    const double halfRate = s.halfRate;
    s.maxLength = floorToLength(static_cast<double>(sampleRate) * 3.0);
    s.tankAllpassLength = floorToLength(halfRate * 0.12);
    s.diffuserLength = floorToLength(halfRate * 0.09);
    s.tankDelayLength = floorToLength(halfRate * 0.18);
    s.outputLength = floorToLength(halfRate * 0.2);
    s.reflectionLength = floorToLength(static_cast<double>(s.maxLength) * 0.3);
    s.combCapacity = kCombCapacity;
    return s;
}

// ---- parameters and programs ------------------------------------------------

void ReverbEffect::setParameter(std::int32_t index, float value) {
    const std::uint32_t slot = static_cast<std::uint32_t>(index);  // negative indices are out of range too
    if (slot < static_cast<std::uint32_t>(kParameterCount)) {
        programs[currentProgram.load(std::memory_order_relaxed)].store(index, value);
        liveValues[slot].store(value, std::memory_order_relaxed);
        updateSwitch(index, value);
    }
    if (editor != nullptr) editor->postUpdate();
}

void ReverbEffect::updateSwitch(std::int32_t index, float value) {
    std::atomic<bool>* stage = nullptr;
    switch (index) {
        case kFilterSwitch: stage = &filterOn; break;
        case kReflectionsSwitch: stage = &reflectionsOn; break;
        case kTankSwitch: stage = &tankOn; break;
        case kCombsSwitch: stage = &combsOn; break;
        default: return;
    }
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if (value == 0.0f)  // +0.0 and −0.0
        stage->store(false, std::memory_order_relaxed);
    else if (bits == kOneBits)
        stage->store(true, std::memory_order_relaxed);
}

bool ReverbEffect::isSwitchOn(std::int32_t index) const {
    switch (index) {
        case kFilterSwitch: return filterOn.load(std::memory_order_relaxed);
        case kReflectionsSwitch: return reflectionsOn.load(std::memory_order_relaxed);
        case kTankSwitch: return tankOn.load(std::memory_order_relaxed);
        case kCombsSwitch: return combsOn.load(std::memory_order_relaxed);
        default: return false;
    }
}

float ReverbEffect::getParameter(std::int32_t index) {
    const std::uint32_t slot = static_cast<std::uint32_t>(index);
    return slot < static_cast<std::uint32_t>(kParameterCount) ? liveValues[slot].load(std::memory_order_relaxed) : 0.0f;
}

void ReverbEffect::setProgram(std::int32_t program) {
    if (program < 0 || program >= kProgramCount) return;
    currentProgram.store(program, std::memory_order_relaxed);
    curProgram = program;
    // Through the virtual setParameter, so that a subclass (the editor side) follows.
    for (std::int32_t index : kProgramLoadOrder) setParameter(index, programs[program].valueOf(index));
}

void ReverbEffect::setProgramName(char* text) {
    programs[currentProgram.load(std::memory_order_relaxed)].setName(text);
}

void ReverbEffect::getProgramName(char* text) {
    if (text == nullptr) return;
    std::memcpy(text, programs[currentProgram.load(std::memory_order_relaxed)].name, kProgramNameSize);
}

// ---- per-block preparation --------------------------------------------------

// Image sources of a rectangular room, in metres, single precision.
// Skipped while p29 … p35 keep their bits: the same inputs give the same taps and gains.
void ReverbEffect::updateReflections() {
    float room[7];  // p29 … p35
    std::array<std::uint32_t, 7> roomBits;
    for (std::int32_t i = 0; i < 7; ++i) {
        room[i] = live(29 + i);
        std::memcpy(&roomBits[i], &room[i], sizeof roomBits[i]);
    }
    if (derivedFrom.roomKnown && roomBits == derivedFrom.room) return;
    const float level = room[0];
    const float width = 50.0f * room[1] + 10.0f;
    const float depth = 50.0f * room[2] + 10.0f;
    const float sourceX = width * room[3];
    const float sourceY = depth * room[4];
    const float listenerX = width * room[5];
    const float listenerY = depth * room[6];
    for (std::int32_t k = 0; k < kReflectionCount; ++k) {
        const ImageSource& image = kImageSources[k];
        const float imageX = image.x == ImageX::MinusSourceX ? -sourceX
                             : image.x == ImageX::SourceX    ? sourceX
                                                             : 2.0f * width - sourceX;
        const float imageY = image.y == ImageY::TwoDepthPlusSourceY ? 2.0f * depth + sourceY
                             : image.y == ImageY::SourceY           ? sourceY
                                                                    : -sourceY;
        const float dx = imageX - listenerX;
        const float dy = imageY - listenerY;
        float distance = std::sqrt(dx * dx + dy * dy);
        if (distance < kMinReflectionDistance) distance = kMinReflectionDistance;
        values.reflectionTap[k] = limitedFloor(distance / kSpeedOfSound * sizes.halfRate, sizes.reflectionLength);
        // A room of undefined size or position (NaN) reflects nothing.
        values.reflectionGain[k] = std::isnan(distance) ? 0.0f : level * image.weight * 100.0f / distance;
    }
    derivedFrom.room = roomBits;
    derivedFrom.roomKnown = true;
}

// Comb lengths spread geometrically over one octave from 100 ms down; every
// line falls by 60 dB in the decay time T that the 100 ms line's gain p1 fixes.
// T, the lengths and the gains are computed in double; T and each gain are
// rounded to float once. Skipped while p0 and p1 keep their bits (the
// lengths and gains would come out the same).
void ReverbEffect::updateCombs() {
    const float quality = live(0);
    const float absorption = live(1);
    std::array<std::uint32_t, 2> combBits;
    std::memcpy(&combBits[0], &quality, sizeof combBits[0]);
    std::memcpy(&combBits[1], &absorption, sizeof combBits[1]);
    if (derivedFrom.combsKnown && combBits == derivedFrom.combs) return;
    derivedFrom.combs = combBits;
    derivedFrom.combsKnown = true;
    values.activeCombs = scaledDistance(kMaxCombs, quality);
    values.combGain[0] = absorption;
    values.combDecayTime = static_cast<float>(ieeeQuotient(-300.0, std::log10(static_cast<double>(absorption))));
    const double decayTime = values.combDecayTime;
    for (std::int32_t i = 0; i < values.activeCombs; ++i) {
        const double lengthMs = 100.0 / std::pow(2.0, static_cast<double>(i) / values.activeCombs);
        values.combGain[i] = static_cast<float>(std::pow(10.0, ieeeQuotient(-3.0 * lengthMs, decayTime)));
        combLines[i].setLength(floorToLength(lengthMs * 0.001 * sizes.halfRate));  // at most the capacity
    }
}

void ReverbEffect::updateDelayTimes() {
    for (std::int32_t j = 0; j < 4; ++j) values.diffuserDistance[j] = scaledDistance(sizes.diffuserLength, live(3 + j));
    values.tankAllpassDistance[kAllpassA] = scaledDistance(sizes.tankAllpassLength, live(7));
    values.tankAllpassDistance[kAllpassB] = scaledDistance(sizes.tankAllpassLength, live(8));
    values.tankAllpassDistance[kAllpassC] = scaledDistance(sizes.tankAllpassLength, live(9));
    values.tankAllpassDistance[kAllpassD] = scaledDistance(sizes.tankAllpassLength, live(10));
    for (std::int32_t j = 0; j < 4; ++j) values.tankDelayTap[j] = scaledDistance(sizes.tankDelayLength, live(17 + j));
}

// The reflection line takes a whole run's samples before its taps are read.
// A tap of distance d reads, at pair n, what pair n − d wrote; the cell it
// reads would already hold a later pair's sample only for d within a run of
// the line's length (d = length reads the cell just written, as d = 0 does).
// Such taps, which only a room beyond parameter values of 1 gives, shorten
// the runs to length − d pairs.
void ReverbEffect::updateRunLimit() {
    std::int32_t limit = kRunPairs;
    const auto limitFor = [&limit](std::int32_t distance, std::int32_t length) {
        if (distance > length - limit && distance < length) limit = length - distance;
    };
    for (std::int32_t tap : values.reflectionTap) limitFor(tap, reflectionLine.getLength());
    runLimit = limit;
}

void ReverbEffect::updateOutputTaps() {
    const std::int32_t length = outputLine.getLength();
    for (std::int32_t i = 0; i < kOutputTapCount; ++i) {
        values.outputTapLeft[i] = scaledDistance(length, live(36 + i));
        values.outputTapRight[i] = scaledDistance(length, live(42 + i));
    }
}

// ---- processing -------------------------------------------------------------

void ReverbEffect::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    processBlock<OutputMode::Replace>(inputs, outputs, sampleFrames);
}

void ReverbEffect::process(float** inputs, float** outputs, std::int32_t sampleFrames) {
    processBlock<OutputMode::Add>(inputs, outputs, sampleFrames);
}

template <ReverbEffect::OutputMode mode>
void ReverbEffect::processBlock(float** inputs, float** outputs, std::int32_t sampleFrames) {
    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr) return;
    if (inputs[0] == nullptr || inputs[1] == nullptr || outputs[0] == nullptr || outputs[1] == nullptr) return;
    if (clearPending.load(std::memory_order_relaxed) && clearPending.exchange(false, std::memory_order_relaxed))
        clearSignalState();
    updateReflections();
    updateCombs();
    updateDelayTimes();
    updateOutputTaps();
    updateRunLimit();
    render<mode>(inputs[0], inputs[1], outputs[0], outputs[1], sampleFrames);
}

template <ReverbEffect::OutputMode mode>
void ReverbEffect::render(const float* input1, const float* input2, float* output1, float* output2,
                          std::int32_t frames) {
    bool runaway = false;
    const std::int32_t pairs = frames / 2;
    for (std::int32_t first = 0; first < pairs;) {
        if (runStartHook != nullptr) runStartHook(runStartContext, first);
        const RunControls controls = readRunControls();
        const std::int32_t count = std::min(runLimit, pairs - first);
        const std::int32_t frame = 2 * first;
        if (renderRun<mode>(input1 + frame, input2 + frame, output1 + frame, output2 + frame, count, controls))
            runaway = true;
        first += count;
    }
    if (frames % 2 != 0) {
        writeFrame<mode>(output1[frames - 1], lastPair.left);
        writeFrame<mode>(output2[frames - 1], lastPair.right);
    }
    runaway = runaway || !(std::fabs(feedback1) <= kRunawayLevel) || !(std::fabs(feedback2) <= kRunawayLevel);
    if (runaway) recoverFromRunaway();
}

inline ReverbEffect::RunControls ReverbEffect::readRunControls() const {
    RunControls c;
    c.combCount = live(0);
    c.absorption = live(1);
    c.bandwidth = live(2);
    c.diffusionGain12 = live(11);
    c.diffusionGain34 = live(12);
    c.tankGainAB = static_cast<float>(kTankGainScale * live(13));
    c.tankGainCD = static_cast<float>(kTankGainScale * live(14));
    c.damping1 = live(15);
    c.damping2 = live(16);
    c.decay1 = live(21);
    c.decay2 = live(22);
    c.feed1Into2 = live(23);
    c.feed2Into1 = live(24);
    c.dry = live(25);
    c.wet = live(26);
    c.centre = live(27);
    c.resonance = live(28);
    c.highMix = live(48);
    c.lowMix = live(49);
    c.bandMix = live(50);
    c.colour = live(51);
    c.diffuserFeedback = live(52);
    c.tankOn = tankOn.load(std::memory_order_relaxed);
    c.filterOn = filterOn.load(std::memory_order_relaxed);
    c.reflectionsOn = reflectionsOn.load(std::memory_order_relaxed);
    c.combsOn = combsOn.load(std::memory_order_relaxed);
    return c;
}

// One run of `pairs` pairs (at most kRunPairs), stage after stage; tells
// whether a mixed sample ran away (beyond kRunawayLevel, or NaN).
template <ReverbEffect::OutputMode mode>
bool ReverbEffect::renderRun(const float* input1, const float* input2, float* output1, float* output2,
                             std::int32_t pairs, const RunControls& c) {
    float x[kRunPairs], reflected[kRunPairs], diffused[kRunPairs], tanked[kRunPairs], combed[kRunPairs];
    for (std::int32_t n = 0; n < pairs; ++n) x[n] = monoInput(input1[2 * n], input2[2 * n]);

    const float* early = x;
    if (c.reflectionsOn) {
        earlyReflections(x, reflected, pairs);
        early = reflected;
    }
    diffuse(early, diffused, pairs, c);
    const float* tank = diffused;
    if (c.tankOn) {
        runTank(diffused, tanked, pairs, c);
        tank = tanked;
    } else {
        for (TapDelay& delay : tankDelays) delay.advanceBy(pairs);  // they advance whether or not the tank runs
    }
    const float* combInput = tank;
    const bool combsRun = c.combsOn && c.combCount > 0.0f && c.absorption > 0.0f && values.activeCombs >= 1;
    if (combsRun) {
        combBank(tank, combed, pairs);
        combInput = combed;
    }
    return filterMixAndOutput<mode>(combInput, x, output1, output2, pairs, c);
}

// The reflection line takes the whole run's input first; then each tap adds
// its reflection to every pair of the run, tap after tap in reflection order,
// which is each pair's own sum in the same order, one loop per tap.
void ReverbEffect::earlyReflections(const float* x, float* early, std::int32_t pairs) {
    reflectionLine.tickRun(x, pairs);
    for (std::int32_t n = 0; n < pairs; ++n) early[n] = 0.0f;
    for (std::int32_t k = 0; k < kReflectionCount; ++k) {
        const float gain = values.reflectionGain[k];
        reflectionLine.forEachTapSpan(values.reflectionTap[k], pairs,
                                      [early, gain](const float* cells, std::int32_t first, std::int32_t steps) {
                                          float* sum = early + first;
#pragma GCC ivdep  // the sums are not the line's cells
                                          for (std::int32_t n = 0; n < steps; ++n) sum[n] += cells[n] * gain;
                                      });
    }
    for (std::int32_t n = 0; n < pairs; ++n) early[n] = early[n] / static_cast<float>(kReflectionCount);
    reflectionLine.advanceBy(pairs);
}

// Bandwidth lowpass and the four diffusers in series, pair by pair: every
// filter's state carries from one pair to the next. The run is cut where any
// diffuser's cells would wrap, so each piece reads and writes plain arrays of
// cells; the filter states stay in locals for the run.
void ReverbEffect::diffuse(const float* early, float* diffused, std::int32_t pairs, const RunControls& c) {
    const std::array<std::int32_t, 4>& distance = values.diffuserDistance;
    // Copies, so that no store into a cell can be taken to change them.
    const float bandwidthCoefficient = c.bandwidth, colour = c.colour, feedback = c.diffuserFeedback;
    const float gain12 = c.diffusionGain12, gain34 = c.diffusionGain34;
    TwoPoleLowpass bandwidth = bandwidthFilter;
    TwoPoleLowpass inner1 = diffusers[0].getLowpass(), inner2 = diffusers[1].getLowpass();
    TwoPoleLowpass inner3 = diffusers[2].getLowpass(), inner4 = diffusers[3].getLowpass();
    for (std::int32_t done = 0; done < pairs;) {
        std::int32_t steps = pairs - done;
        for (std::int32_t j = 0; j < 4; ++j) steps = std::min(steps, diffusers[j].stepsBeforeWrap(distance[j]));
        const DelayBlock::RunCells cells1 = diffusers[0].runCells(distance[0]);
        const DelayBlock::RunCells cells2 = diffusers[1].runCells(distance[1]);
        const DelayBlock::RunCells cells3 = diffusers[2].runCells(distance[2]);
        const DelayBlock::RunCells cells4 = diffusers[3].runCells(distance[3]);
        const float* in = early + done;
        float* out = diffused + done;
        float s1 = 0.0f, s2 = 0.0f, s3 = 0.0f, s4 = 0.0f;
        for (std::int32_t n = 0; n < steps; ++n) {
            const float band = bandwidth.filter(in[n], bandwidthCoefficient);
            s1 = DampedAllpass::step(band, cells1.delayed[n], cells1.current[n], gain12, colour, feedback, inner1);
            s2 = DampedAllpass::step(s1, cells2.delayed[n], cells2.current[n], gain12, colour, feedback, inner2);
            s3 = DampedAllpass::step(s2, cells3.delayed[n], cells3.current[n], gain34, colour, feedback, inner3);
            s4 = DampedAllpass::step(s3, cells4.delayed[n], cells4.current[n], gain34, colour, feedback, inner4);
            out[n] = s4;
        }
        diffusers[0].endRun(steps, s1, inner1);
        diffusers[1].endRun(steps, s2, inner2);
        diffusers[2].endRun(steps, s3, inner3);
        diffusers[3].endRun(steps, s4, inner4);
        done += steps;
    }
    bandwidthFilter = bandwidth;
}

// The tank, pair by pair: its feedback and its damping filters carry from
// one pair to the next. Cut, as the diffusers are, where any of its lines
// would wrap; filter states and feedback values stay in locals for the run.
void ReverbEffect::runTank(const float* diffused, float* tankOutput, std::int32_t pairs, const RunControls& c) {
    const std::array<std::int32_t, 4>& distance = values.tankAllpassDistance;
    const std::array<std::int32_t, 4>& tap = values.tankDelayTap;
    const float gainAB = c.tankGainAB, gainCD = c.tankGainCD, damping1 = c.damping1, damping2 = c.damping2;
    const float decay1 = c.decay1, decay2 = c.decay2, feed1Into2 = c.feed1Into2, feed2Into1 = c.feed2Into1;
    TwoPoleLowpass damping1Filter = dampingFilter1, damping2Filter = dampingFilter2;
    float fromBranch1 = feedback1, fromBranch2 = feedback2;
    Allpass* const allpasses[4] = {&tankAllpassA, &tankAllpassB, &tankAllpassC, &tankAllpassD};
    for (std::int32_t done = 0; done < pairs;) {
        std::int32_t steps = pairs - done;
        for (std::int32_t j = 0; j < 4; ++j) {
            steps = std::min(steps, allpasses[j]->stepsBeforeWrap(distance[j]));
            steps = std::min(steps, tankDelays[j].stepsBeforeWrap(tap[j]));
        }
        const DelayBlock::RunCells cellsA = tankAllpassA.runCells(distance[kAllpassA]);
        const DelayBlock::RunCells cellsB = tankAllpassB.runCells(distance[kAllpassB]);
        const DelayBlock::RunCells cellsC = tankAllpassC.runCells(distance[kAllpassC]);
        const DelayBlock::RunCells cellsD = tankAllpassD.runCells(distance[kAllpassD]);
        const DelayBlock::RunCells delay1 = tankDelays[0].runCells(tap[0]);
        const DelayBlock::RunCells delay2 = tankDelays[1].runCells(tap[1]);
        const DelayBlock::RunCells delay3 = tankDelays[2].runCells(tap[2]);
        const DelayBlock::RunCells delay4 = tankDelays[3].runCells(tap[3]);
        const float* in = diffused + done;
        float* out = tankOutput + done;
        float a1 = 0.0f, a2 = 0.0f, c1 = 0.0f, c2 = 0.0f;
        for (std::int32_t n = 0; n < steps; ++n) {
            const float s = in[n];
            a1 = Allpass::step(s + fromBranch2, cellsA.delayed[n], cellsA.current[n], gainAB);
            delay1.current[n] = a1;
            a2 = Allpass::step(s + fromBranch1, cellsB.delayed[n], cellsB.current[n], gainAB);
            delay2.current[n] = a2;
            const float l1 = damping1Filter.filter(delay1.delayed[n], damping1);
            const float l2 = damping2Filter.filter(delay2.delayed[n], damping2);
            c1 = Allpass::step(-decay1 * l1, cellsC.delayed[n], cellsC.current[n], gainCD);
            delay3.current[n] = c1;
            fromBranch1 = delay3.delayed[n] * feed1Into2;
            c2 = Allpass::step(-decay2 * l2, cellsD.delayed[n], cellsD.current[n], gainCD);
            delay4.current[n] = c2;
            fromBranch2 = delay4.delayed[n] * feed2Into1;
            out[n] = a1 + l1 + c1 + a2 + l2 + c2;
        }
        tankAllpassA.endRun(steps, a1);
        tankAllpassB.endRun(steps, a2);
        tankAllpassC.endRun(steps, c1);
        tankAllpassD.endRun(steps, c2);
        for (TapDelay& delay : tankDelays) delay.advanceBy(steps);
        done += steps;
    }
    dampingFilter1 = damping1Filter;
    dampingFilter2 = damping2Filter;
    feedback1 = fromBranch1;
    feedback2 = fromBranch2;
}

// Needs at least one active line; the caller checks. A pair whose input is
// exactly 0 gives 0 and leaves every line alone (no step, no advance), so
// the lines run over the other pairs only, one line (or four) at a time
// through the run. Each pair's sum still adds the lines in line order.
void ReverbEffect::combBank(const float* input, float* output, std::int32_t pairs) {
    float gathered[kRunPairs], sum[kRunPairs];
    std::int32_t pairOf[kRunPairs];
    std::int32_t count = 0;
    for (std::int32_t n = 0; n < pairs; ++n) {  // without a branch: the slot is overwritten when skipped
        gathered[count] = input[n];
        pairOf[count] = n;
        count += input[n] != 0.0f ? 1 : 0;
    }
    const float* lineInput = count == pairs ? input : gathered;
    for (std::int32_t k = 0; k < count; ++k) sum[k] = 0.0f;

    const std::int32_t lines = values.activeCombs;
    std::int32_t i = 0;
    for (; i + 4 <= lines; i += 4) {
        TapDelay* const group[4] = {&combLines[i], &combLines[i + 1], &combLines[i + 2], &combLines[i + 3]};
        if (group[0]->runsWithoutWrap(count) && group[1]->runsWithoutWrap(count) && group[2]->runsWithoutWrap(count) &&
            group[3]->runsWithoutWrap(count)) {
            TapDelay::combRunOfFour(group, &values.combGain[i], lineInput, sum, count);
        } else {
            for (std::int32_t k = 0; k < 4; ++k) group[k]->combRun(values.combGain[i + k], lineInput, sum, count);
        }
    }
    for (; i < lines; ++i) combLines[i].combRun(values.combGain[i], lineInput, sum, count);

    const float lineCount = static_cast<float>(lines);
    if (count == pairs) {
        for (std::int32_t n = 0; n < pairs; ++n) output[n] = sum[n] / lineCount;
        return;
    }
    for (std::int32_t n = 0; n < pairs; ++n) output[n] = 0.0f;
    for (std::int32_t k = 0; k < count; ++k) output[pairOf[k]] = sum[k] / lineCount;
}

// Tone filter, mix, output taps, limit and stores, pair by pair. The filter
// is a recursion whose latency bounds this loop; everything after it in a
// pair is independent of the next pair's filter step and runs in its shadow.
// Each pair stores its mixed sample before it reads its taps (a tap of 0
// reads that sample); the run is cut where the cursor or a tap would wrap.
// Tells whether a mixed sample ran away (beyond kRunawayLevel, or NaN).
template <ReverbEffect::OutputMode mode>
bool ReverbEffect::filterMixAndOutput(const float* combed, const float* x, float* output1, float* output2,
                                      std::int32_t pairs, const RunControls& c) {
    const float centre = c.centre, resonance = c.resonance, highMix = c.highMix, lowMix = c.lowMix;
    const float bandMix = c.bandMix, wet = c.wet, dry = c.dry;
    const bool filterRuns = c.filterOn;
    StateVariableFilter tone = toneFilter;
    Stereo last = lastPair;
    bool runaway = false;
    for (std::int32_t done = 0; done < pairs;) {
        std::int32_t steps = pairs - done;
        const float* tapLeft[kOutputTapCount];
        const float* tapRight[kOutputTapCount];
        for (std::int32_t i = 0; i < kOutputTapCount; ++i) {
            steps = std::min(steps, outputLine.stepsBeforeWrap(values.outputTapLeft[i]));
            steps = std::min(steps, outputLine.stepsBeforeWrap(values.outputTapRight[i]));
            tapLeft[i] = outputLine.runCells(values.outputTapLeft[i]).delayed;
            tapRight[i] = outputLine.runCells(values.outputTapRight[i]).delayed;
        }
        float* const written = outputLine.runCells(0).current;
        for (std::int32_t n = 0; n < steps; ++n) {
            const std::int32_t pair = done + n;
            const float filtered =
                filterRuns ? tone.filter(combed[pair], centre, resonance, highMix, lowMix, bandMix) : combed[pair];
            const float mixed = filtered * wet + x[pair] * dry;
            runaway |= !(std::fabs(mixed) <= kRunawayLevel);  // NaN fails the comparison
            written[n] = mixed;
            float left = 0.0f;
            float right = 0.0f;
            for (std::int32_t i = 0; i < kOutputTapCount; ++i) {
                left += tapLeft[i][n];
                right += tapRight[i][n];
            }
            last = {limitOutput(left / static_cast<float>(kOutputTapCount)),
                    limitOutput(right / static_cast<float>(kOutputTapCount))};
            writeFrame<mode>(output1[2 * pair], last.left);
            writeFrame<mode>(output2[2 * pair], last.right);
            writeFrame<mode>(output1[2 * pair + 1], last.left);
            writeFrame<mode>(output2[2 * pair + 1], last.right);
        }
        outputLine.advanceBy(steps);
        done += steps;
    }
    toneFilter = tone;
    lastPair = last;
    return runaway;
}

// ---- state ------------------------------------------------------------------

void ReverbEffect::mainsOff() { clearPending.store(true, std::memory_order_relaxed); }

void ReverbEffect::clearSignalState() {
    for (Allpass* allpass : {&tankAllpassA, &tankAllpassB, &tankAllpassC, &tankAllpassD}) allpass->clear();
    for (TapDelay& delay : tankDelays) delay.clear();
    for (DampedAllpass& diffuser : diffusers) diffuser.clear();  // their lowpasses keep their state
    bandwidthFilter.reset();
    dampingFilter1.reset();
    dampingFilter2.reset();
    toneFilter.reset();
    for (TapDelay& line : combLines) line.clear();
    outputLine.clear();
    reflectionLine.clear();
    feedback1 = 0.0f;
    feedback2 = 0.0f;
    lastPair = {0.0f, 0.0f};
}

// A NaN or infinity in the state would stay there for good, and a huge value
// would take minutes to decay: start again from silence instead.
void ReverbEffect::recoverFromRunaway() {
    clearSignalState();
    for (DampedAllpass& diffuser : diffusers) diffuser.resetLowpass();
}
