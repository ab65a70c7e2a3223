#include "reverb/reverb_effect.h"

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

// Gains, coefficients and switches of one pair, read once.
struct ReverbEffect::PairControls {
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
void ReverbEffect::updateReflections() {
    const float width = 50.0f * live(30) + 10.0f;
    const float depth = 50.0f * live(31) + 10.0f;
    const float sourceX = width * live(32);
    const float sourceY = depth * live(33);
    const float listenerX = width * live(34);
    const float listenerY = depth * live(35);
    const float level = live(29);
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
}

// Comb lengths spread geometrically over one octave from 100 ms down; every
// line falls by 60 dB in the decay time T that the 100 ms line's gain p1 fixes.
// T, the lengths and the gains are computed in double; T and each gain are
// rounded to float once.
void ReverbEffect::updateCombs() {
    values.activeCombs = scaledDistance(kMaxCombs, live(0));
    const float absorption = live(1);
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
    updateReflections();
    updateCombs();
    updateDelayTimes();
    updateOutputTaps();
    render<mode>(inputs[0], inputs[1], outputs[0], outputs[1], sampleFrames);
}

template <ReverbEffect::OutputMode mode>
void ReverbEffect::render(const float* input1, const float* input2, float* output1, float* output2,
                          std::int32_t frames) {
    const auto write = [](float& frame, float value) {
        if constexpr (mode == OutputMode::Replace)
            frame = value;
        else
            frame += value;
    };
    bool runaway = false;
    const std::int32_t pairs = frames / 2;
    for (std::int32_t pair = 0; pair < pairs; ++pair) {
        const std::int32_t frame = 2 * pair;
        const PairControls controls = readPairControls();
        const float mixed = renderPair(monoInput(input1[frame], input2[frame]), controls);
        runaway = runaway || !(std::fabs(mixed) <= kRunawayLevel);  // NaN fails the comparison
        const Stereo tapped = outputTaps(mixed);
        lastPair = {limitOutput(tapped.left), limitOutput(tapped.right)};
        write(output1[frame], lastPair.left);
        write(output2[frame], lastPair.right);
        write(output1[frame + 1], lastPair.left);
        write(output2[frame + 1], lastPair.right);
    }
    if (frames % 2 != 0) {
        write(output1[frames - 1], lastPair.left);
        write(output2[frames - 1], lastPair.right);
    }
    runaway = runaway || !(std::fabs(feedback1) <= kRunawayLevel) || !(std::fabs(feedback2) <= kRunawayLevel);
    if (runaway) recoverFromRunaway();
}

inline ReverbEffect::PairControls ReverbEffect::readPairControls() const {
    PairControls c;
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

inline float ReverbEffect::renderPair(float x, const PairControls& c) {
    const float early = c.reflectionsOn ? earlyReflections(x) : x;
    const float band = bandwidthFilter.filter(early, c.bandwidth);
    const float diffused = diffuse(band, c);
    const float tank = c.tankOn ? runTank(diffused, c) : diffused;
    const bool combsRun = c.combsOn && c.combCount > 0.0f && c.absorption > 0.0f && values.activeCombs >= 1;
    const float combed = combsRun ? combBank(tank) : tank;
    for (TapDelay& delay : tankDelays) delay.advance();
    const float filtered =
        c.filterOn ? toneFilter.filter(combed, c.centre, c.resonance, c.highMix, c.lowMix, c.bandMix) : combed;
    return filtered * c.wet + x * c.dry;
}

inline float ReverbEffect::earlyReflections(float x) {
    reflectionLine.tick(x);
    float sum = 0.0f;
    for (std::int32_t k = 0; k < kReflectionCount; ++k)
        sum += reflectionLine.tapAt(values.reflectionTap[k]) * values.reflectionGain[k];
    reflectionLine.advance();
    return sum / static_cast<float>(kReflectionCount);
}

inline float ReverbEffect::diffuse(float input, const PairControls& c) {
    float s = diffusers[0].allpass(input, values.diffuserDistance[0], c.diffusionGain12, c.colour, c.diffuserFeedback);
    s = diffusers[1].allpass(s, values.diffuserDistance[1], c.diffusionGain12, c.colour, c.diffuserFeedback);
    s = diffusers[2].allpass(s, values.diffuserDistance[2], c.diffusionGain34, c.colour, c.diffuserFeedback);
    return diffusers[3].allpass(s, values.diffuserDistance[3], c.diffusionGain34, c.colour, c.diffuserFeedback);
}

inline float ReverbEffect::runTank(float input, const PairControls& c) {
    const auto& distance = values.tankAllpassDistance;
    const auto& tap = values.tankDelayTap;
    const float a1 = tankAllpassA.allpass(input + feedback2, distance[kAllpassA], c.tankGainAB);
    tankDelays[0].tick(a1);
    const float a2 = tankAllpassB.allpass(input + feedback1, distance[kAllpassB], c.tankGainAB);
    tankDelays[1].tick(a2);
    const float l1 = dampingFilter1.filter(tankDelays[0].tapAt(tap[0]), c.damping1);
    const float l2 = dampingFilter2.filter(tankDelays[1].tapAt(tap[1]), c.damping2);
    const float c1 = tankAllpassC.allpass(-c.decay1 * l1, distance[kAllpassC], c.tankGainCD);
    tankDelays[2].tick(c1);
    feedback1 = tankDelays[2].tapAt(tap[2]) * c.feed1Into2;
    const float c2 = tankAllpassD.allpass(-c.decay2 * l2, distance[kAllpassD], c.tankGainCD);
    tankDelays[3].tick(c2);
    feedback2 = tankDelays[3].tapAt(tap[3]) * c.feed2Into1;
    return a1 + l1 + c1 + a2 + l2 + c2;
}

// Needs at least one active line; the caller checks.
inline float ReverbEffect::combBank(float input) {
    if (input == 0.0f) return 0.0f;
    float sum = 0.0f;
    for (std::int32_t i = 0; i < values.activeCombs; ++i) sum += combLines[i].combTick(values.combGain[i], input);
    return sum / static_cast<float>(values.activeCombs);
}

inline ReverbEffect::Stereo ReverbEffect::outputTaps(float mixed) {
    outputLine.tick(mixed);
    float left = 0.0f;
    float right = 0.0f;
    for (std::int32_t i = 0; i < kOutputTapCount; ++i) {
        left += outputLine.tapAt(values.outputTapLeft[i]);
        right += outputLine.tapAt(values.outputTapRight[i]);
    }
    outputLine.advance();
    return {left / static_cast<float>(kOutputTapCount), right / static_cast<float>(kOutputTapCount)};
}

// ---- state ------------------------------------------------------------------

void ReverbEffect::mainsOff() { clearSignalState(); }

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
