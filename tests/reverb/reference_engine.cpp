#include "tests/reverb/reference_engine.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr float kSpeedOfSound = 343.0f;
constexpr float kOutputLimit = 0.99f;
constexpr float kStoreLimit = 0.99f;
constexpr float kSilence = 1.0e-7f;
constexpr float kMinReflectionDistance = 1.0e-3f;
constexpr float kRunawayLevel = 1.0e15f;
constexpr std::int32_t kCombCapacity = 2500;

// Image point of reflection k: x as −sx (0), sx (1) or 2W − sx (2); y as 2D + sy (0), sy (1) or −sy (2).
constexpr int kImageX[8] = {0, 0, 0, 1, 2, 1, 2, 2};
constexpr int kImageY[8] = {0, 1, 2, 0, 2, 2, 0, 1};
constexpr float kImageWeight[8] = {0.5f, 1.0f, 1.0f, 0.5f, 1.0f, 1.0f, 0.5f, 1.0f};

std::int32_t limitedFloor(float product, std::int32_t limit) {
    if (!(product > 0.0f)) return 0;
    if (product >= static_cast<float>(limit)) return limit;
    return static_cast<std::int32_t>(product);
}
std::int32_t scaledDistance(std::int32_t length, float value) {
    return limitedFloor(static_cast<float>(length) * value, length);
}
std::int32_t floorToLength(double samples) { return static_cast<std::int32_t>(std::floor(samples)); }
double ieeeQuotient(double dividend, double divisor) {
    if (divisor != 0.0) return dividend / divisor;
    if (dividend == 0.0 || std::isnan(dividend)) return std::numeric_limits<double>::quiet_NaN();
    return std::copysign(std::numeric_limits<double>::infinity(), dividend) * std::copysign(1.0, divisor);
}
float limitOutput(float value) {
    if (value < -kOutputLimit) return -kOutputLimit;
    if (value > kOutputLimit) return kOutputLimit;
    if (std::isnan(value)) return 0.0f;
    return value;
}
float monoInput(float input1, float input2) {
    float x = (input1 + input2) * 0.5f;
    if (!std::isfinite(x)) x = 0.0f;
    if (x == 0.0f) x = kSilence;
    return x;
}

constexpr float kSampleRate = 44100.0f;
constexpr float halfRateOf(float sampleRate) { return static_cast<float>(static_cast<double>(sampleRate) * 0.5); }
std::int32_t maxLengthOf(float sampleRate) { return floorToLength(static_cast<double>(sampleRate) * 3.0); }

}  // namespace

ReferenceEngine::ReferenceEngine()
    : halfRate(halfRateOf(kSampleRate)),
      tankAllpassLength(floorToLength(static_cast<double>(halfRate) * 0.12)),
      diffuserLength(floorToLength(static_cast<double>(halfRate) * 0.09)),
      tankDelayLength(floorToLength(static_cast<double>(halfRate) * 0.18)),
      outputLength(floorToLength(static_cast<double>(halfRate) * 0.2)),
      reflectionLength(floorToLength(static_cast<double>(maxLengthOf(kSampleRate)) * 0.3)),
      tankAllpasses(4, Line(tankAllpassLength)),
      diffusers(4, Line(diffuserLength)),
      reflectionLine(reflectionLength),
      outputLine(outputLength),
      tankDelays(4, Line(tankDelayLength)),
      combLines(kMaxCombs, Line(kCombCapacity)) {
    loadProgram(0);
    mainsOff();
}

void ReferenceEngine::setParameter(std::int32_t index, float value) {
    if (index < 0 || index >= kParameterCount) return;
    live[index] = value;
    bool* stage = index == kFilterSwitch        ? &filterOn
                  : index == kReflectionsSwitch ? &reflectionsOn
                  : index == kTankSwitch        ? &tankOn
                  : index == kCombsSwitch       ? &combsOn
                                                : nullptr;
    if (stage == nullptr) return;
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if (value == 0.0f)
        *stage = false;
    else if (bits == 0x3F800000u)
        *stage = true;
}

void ReferenceEngine::loadProgram(std::int32_t program) {
    for (std::int32_t index : kProgramLoadOrder) {
        const ParameterInfo& info = kParameterTable[index];
        setParameter(index, program == 1 ? info.dattorroValue : info.initValue);
    }
}

void ReferenceEngine::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    processBlock<false>(inputs, outputs, sampleFrames);
}
void ReferenceEngine::process(float** inputs, float** outputs, std::int32_t sampleFrames) {
    processBlock<true>(inputs, outputs, sampleFrames);
}

template <bool add>
void ReferenceEngine::processBlock(float** inputs, float** outputs, std::int32_t frames) {
    if (frames <= 0 || inputs == nullptr || outputs == nullptr) return;
    if (inputs[0] == nullptr || inputs[1] == nullptr || outputs[0] == nullptr || outputs[1] == nullptr) return;

    // Reflections.
    {
        const float width = 50.0f * live[30] + 10.0f;
        const float depth = 50.0f * live[31] + 10.0f;
        const float sourceX = width * live[32];
        const float sourceY = depth * live[33];
        const float listenerX = width * live[34];
        const float listenerY = depth * live[35];
        const float level = live[29];
        for (std::int32_t k = 0; k < kReflectionCount; ++k) {
            const float imageX = kImageX[k] == 0 ? -sourceX : kImageX[k] == 1 ? sourceX : 2.0f * width - sourceX;
            const float imageY = kImageY[k] == 0 ? 2.0f * depth + sourceY : kImageY[k] == 1 ? sourceY : -sourceY;
            const float dx = imageX - listenerX;
            const float dy = imageY - listenerY;
            float distance = std::sqrt(dx * dx + dy * dy);
            if (distance < kMinReflectionDistance) distance = kMinReflectionDistance;
            reflectionTap[k] = limitedFloor(distance / kSpeedOfSound * halfRate, reflectionLength);
            reflectionGain[k] = std::isnan(distance) ? 0.0f : level * kImageWeight[k] * 100.0f / distance;
        }
    }
    // Combs.
    {
        activeCombs = scaledDistance(kMaxCombs, live[0]);
        const float absorption = live[1];
        combGain[0] = absorption;
        const float decayTimeFloat =
            static_cast<float>(ieeeQuotient(-300.0, std::log10(static_cast<double>(absorption))));
        const double decayTime = decayTimeFloat;
        for (std::int32_t i = 0; i < activeCombs; ++i) {
            const double lengthMs = 100.0 / std::pow(2.0, static_cast<double>(i) / activeCombs);
            combGain[i] = static_cast<float>(std::pow(10.0, ieeeQuotient(-3.0 * lengthMs, decayTime)));
            const std::int32_t length = floorToLength(lengthMs * 0.001 * halfRate);
            combLines[i].length = length < 1 ? 1 : (length > kCombCapacity ? kCombCapacity : length);
        }
    }
    // Delay times.
    for (std::int32_t j = 0; j < 4; ++j) diffuserDistance[j] = scaledDistance(diffuserLength, live[3 + j]);
    tankAllpassDistance[0] = scaledDistance(tankAllpassLength, live[7]);
    tankAllpassDistance[1] = scaledDistance(tankAllpassLength, live[8]);
    tankAllpassDistance[2] = scaledDistance(tankAllpassLength, live[9]);
    tankAllpassDistance[3] = scaledDistance(tankAllpassLength, live[10]);
    for (std::int32_t j = 0; j < 4; ++j) tankDelayTap[j] = scaledDistance(tankDelayLength, live[17 + j]);
    // Output taps.
    for (std::int32_t i = 0; i < kOutputTapCount; ++i) {
        outputTapLeft[i] = scaledDistance(outputLine.length, live[36 + i]);
        outputTapRight[i] = scaledDistance(outputLine.length, live[42 + i]);
    }

    const auto write = [](float& frame, float value) {
        if constexpr (add)
            frame += value;
        else
            frame = value;
    };
    const float* input1 = inputs[0];
    const float* input2 = inputs[1];
    float* output1 = outputs[0];
    float* output2 = outputs[1];
    bool runaway = false;
    const std::int32_t pairs = frames / 2;
    for (std::int32_t pair = 0; pair < pairs; ++pair) {
        const std::int32_t frame = 2 * pair;
        const float mixed = renderPair(monoInput(input1[frame], input2[frame]));
        runaway = runaway || !(std::fabs(mixed) <= kRunawayLevel);

        outputLine.cells[outputLine.cursor] = mixed;
        float left = 0.0f;
        float right = 0.0f;
        for (std::int32_t i = 0; i < kOutputTapCount; ++i) {
            left += outputLine.cells[outputLine.back(outputTapLeft[i])];
            right += outputLine.cells[outputLine.back(outputTapRight[i])];
        }
        outputLine.advance();
        lastPair = {limitOutput(left / static_cast<float>(kOutputTapCount)),
                    limitOutput(right / static_cast<float>(kOutputTapCount))};
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
    if (runaway) {
        clearSignalState();
        for (Lowpass& lowpass : diffuserLowpasses) lowpass = Lowpass{};
    }
}

float ReferenceEngine::allpass(Line& line, float x, std::int32_t d, float g) {
    const float delayed = line.cells[line.back(d)];
    const float v = delayed - g * x;
    line.cells[line.cursor] = x + g * v;
    line.advance();
    return v;
}

float ReferenceEngine::dampedAllpass(std::int32_t diffuser, float x, std::int32_t d, float g, float c, float f) {
    Line& line = diffusers[diffuser];
    const float delayed = diffuserLowpasses[diffuser].filter(line.cells[line.back(d)], c);
    const float v = delayed - g * x;
    float& oldest = line.cells[line.cursor];
    float w = (x + g * v) + f * oldest * g;
    if (w < -kStoreLimit)
        w = -kStoreLimit;
    else if (w > kStoreLimit)
        w = kStoreLimit;
    oldest = w;
    line.advance();
    return v;
}

// Steps 2 to 9 of one pair, every gain and switch read here, at the pair.
float ReferenceEngine::renderPair(float x) {
    float e = x;
    if (reflectionsOn) {
        reflectionLine.cells[reflectionLine.cursor] = x;
        float sum = 0.0f;
        for (std::int32_t k = 0; k < kReflectionCount; ++k)
            sum += reflectionLine.cells[reflectionLine.back(reflectionTap[k])] * reflectionGain[k];
        reflectionLine.advance();
        e = sum / static_cast<float>(kReflectionCount);
    }
    const float y = bandwidthFilter.filter(e, live[2]);
    float s = dampedAllpass(0, y, diffuserDistance[0], live[11], live[51], live[52]);
    s = dampedAllpass(1, s, diffuserDistance[1], live[11], live[51], live[52]);
    s = dampedAllpass(2, s, diffuserDistance[2], live[12], live[51], live[52]);
    s = dampedAllpass(3, s, diffuserDistance[3], live[12], live[51], live[52]);

    float t = s;
    if (tankOn) {
        const float gainAB = static_cast<float>(0.8 * live[13]);
        const float gainCD = static_cast<float>(0.8 * live[14]);
        Line& delay1 = tankDelays[0];
        Line& delay2 = tankDelays[1];
        Line& delay3 = tankDelays[2];
        Line& delay4 = tankDelays[3];
        const float a1 = allpass(tankAllpasses[0], s + feedback2, tankAllpassDistance[0], gainAB);
        delay1.cells[delay1.cursor] = a1;
        const float a2 = allpass(tankAllpasses[1], s + feedback1, tankAllpassDistance[1], gainAB);
        delay2.cells[delay2.cursor] = a2;
        const float l1 = dampingFilter1.filter(delay1.cells[delay1.back(tankDelayTap[0])], live[15]);
        const float l2 = dampingFilter2.filter(delay2.cells[delay2.back(tankDelayTap[1])], live[16]);
        const float c1 = allpass(tankAllpasses[2], -live[21] * l1, tankAllpassDistance[2], gainCD);
        delay3.cells[delay3.cursor] = c1;
        feedback1 = delay3.cells[delay3.back(tankDelayTap[2])] * live[23];
        const float c2 = allpass(tankAllpasses[3], -live[22] * l2, tankAllpassDistance[3], gainCD);
        delay4.cells[delay4.cursor] = c2;
        feedback2 = delay4.cells[delay4.back(tankDelayTap[3])] * live[24];
        t = a1 + l1 + c1 + a2 + l2 + c2;
    }

    float r = t;
    if (combsOn && live[0] > 0.0f && live[1] > 0.0f && activeCombs >= 1) {
        if (t == 0.0f) {
            r = 0.0f;
        } else {
            float sum = 0.0f;
            for (std::int32_t i = 0; i < activeCombs; ++i) {
                Line& line = combLines[i];
                float& oldest = line.cells[line.cursor];
                const float y = combGain[i] * oldest + t;
                oldest = y;
                line.advance();
                sum += y;
            }
            r = sum / static_cast<float>(activeCombs);
        }
    }
    for (Line& delay : tankDelays) delay.advance();

    float f = r;
    if (filterOn) {
        const float frequency = live[27];
        const float q = live[28];
        svfLow = svfLow + frequency * svfBand;
        svfHigh = q * r - svfLow - q * svfBand;
        svfBand = svfBand + frequency * svfHigh;
        f = (live[49] * svfLow + live[48] * svfHigh) + live[50] * svfBand;
    }
    return f * live[26] + x * live[25];
}

void ReferenceEngine::mainsOff() { clearSignalState(); }

void ReferenceEngine::clearSignalState() {
    for (Line& line : tankAllpasses) line.clear();
    for (Line& line : tankDelays) line.clear();
    for (Line& line : diffusers) line.clear();
    bandwidthFilter = Lowpass{};
    dampingFilter1 = Lowpass{};
    dampingFilter2 = Lowpass{};
    svfLow = svfHigh = svfBand = 0.0f;
    for (Line& line : combLines) line.clear();
    outputLine.clear();
    reflectionLine.clear();
    feedback1 = 0.0f;
    feedback2 = 0.0f;
    lastPair = {0.0f, 0.0f};
}
