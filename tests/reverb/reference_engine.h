// The engine as it was before its render path was tuned for speed: a frozen,
// self-contained copy of the straightforward per-pair implementation (its own
// delay lines and filters, its own per-block preparation), kept only to check
// the optimised ReverbEffect against it sample by sample. Do not "improve" it:
// its worth is that it stays as it was.
//
// At 44100 Hz (the rate every ReverbEffect is built with), with the live
// values and switches handled as ReverbEffect handles them.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "reverb/parameter_table.h"

class ReferenceEngine {
public:
    static constexpr std::int32_t kMaxCombs = 20;
    static constexpr std::int32_t kReflectionCount = 8;
    static constexpr std::int32_t kOutputTapCount = 6;

    // Program "Init" is live, every switch on, all signal state cleared.
    ReferenceEngine();

    // As ReverbEffect: stores the value; 53 … 56 switch on exactly 1.0 and off on ±0.
    void setParameter(std::int32_t index, float value);
    // Passes the factory program's values through setParameter in the load order.
    void loadProgram(std::int32_t program);
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames);
    void process(float** inputs, float** outputs, std::int32_t sampleFrames);
    void mainsOff();

private:
    struct Line {
        explicit Line(std::int32_t cells) : cells(cells, 0.0f), length(cells) {}
        std::vector<float> cells;
        std::int32_t length;  // active length (tap delays) or capacity
        std::int32_t cursor = 0;
        std::int32_t back(std::int32_t distance) const {
            std::int32_t index = cursor - distance;
            if (index < 0) index += length;
            return index;
        }
        void advance() {
            ++cursor;
            if (cursor >= length) cursor -= length;
        }
        void clear() { std::fill(cells.begin(), cells.end(), 0.0f); }
    };
    struct Lowpass {
        float s1 = 0.0f, s2 = 0.0f;
        float filter(float x, float c) {
            const float keep = 1.0f - c;
            s1 = keep * s1 + c * x;
            s2 = keep * s2 + c * s1;
            return s2;
        }
    };

    struct Stereo {
        float left, right;
    };
    template <bool add>
    void processBlock(float** inputs, float** outputs, std::int32_t sampleFrames);
    float allpass(Line& line, float x, std::int32_t d, float g);
    float dampedAllpass(std::int32_t diffuser, float x, std::int32_t d, float g, float c, float f);
    float renderPair(float x);
    void clearSignalState();

    float live[kParameterCount] = {};
    bool tankOn = true, filterOn = true, reflectionsOn = true, combsOn = true;

    float halfRate;
    std::int32_t tankAllpassLength, diffuserLength, tankDelayLength, outputLength, reflectionLength;
    std::vector<Line> tankAllpasses;  // A, B, C, D
    std::vector<Line> diffusers;
    std::array<Lowpass, 4> diffuserLowpasses;
    Line reflectionLine, outputLine;
    std::vector<Line> tankDelays;
    std::vector<Line> combLines;
    Lowpass bandwidthFilter, dampingFilter1, dampingFilter2;
    float svfLow = 0.0f, svfHigh = 0.0f, svfBand = 0.0f;
    float feedback1 = 0.0f, feedback2 = 0.0f;
    Stereo lastPair{0.0f, 0.0f};

    std::array<std::int32_t, kReflectionCount> reflectionTap{};
    std::array<float, kReflectionCount> reflectionGain{};
    std::int32_t activeCombs = 0;
    std::array<float, kMaxCombs> combGain{};
    std::array<std::int32_t, 4> diffuserDistance{}, tankAllpassDistance{}, tankDelayTap{};
    std::array<std::int32_t, kOutputTapCount> outputTapLeft{}, outputTapRight{};
};
