// One instance of the VST 3 plug-in, made and driven only through its C
// interface, as a host does: the factory's createInstance, initialize, the
// component, processor, controller and unit interfaces, and process with
// 32-bit stereo buffers.
#pragma once

#include <vst3_c_api.h>

#include <cstdint>
#include <vector>

#include "tests/vst3/host_objects.h"

struct StereoSignal {
    explicit StereoSignal(std::size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::vector<float> left, right;
    std::size_t frames() const { return left.size(); }
    bool operator==(const StereoSignal& other) const { return left == other.left && right == other.right; }
};

// Deterministic noise, at most ±0.5, then silence for the tail.
StereoSignal noiseThenSilence(std::size_t noiseFrames, std::size_t silentFrames, std::uint32_t seed = 2024);

class PluginUnderTest {
public:
    PluginUnderTest();
    ~PluginUnderTest();
    PluginUnderTest(const PluginUnderTest&) = delete;
    PluginUnderTest& operator=(const PluginUnderTest&) = delete;

    // setupProcessing (32-bit, realtime), setActive(true), setProcessing(true).
    void activate(double sampleRate = 44100.0);
    void deactivate();

    // One process call over frames [first, first + count) of signal, in place.
    Steinberg_tresult process(StereoSignal& signal, std::size_t first, std::int32_t count,
                              ParameterChangeList* changes = nullptr, std::uint64_t* outputSilenceFlags = nullptr);
    // The whole signal, cut into blocks of the given sizes (repeated), changes in the first block.
    StereoSignal render(const StereoSignal& input, const std::vector<std::int32_t>& blockSizes,
                        ParameterChangeList* firstBlockChanges = nullptr);
    // One change at offset 0 of an empty block, as hosts flush them.
    void set(Steinberg_Vst_ParamID id, double value);

    std::vector<std::uint8_t> componentState();
    std::vector<std::uint8_t> controllerState();
    Steinberg_tresult setComponentState(const std::vector<std::uint8_t>& bytes);
    Steinberg_tresult setControllerState(const std::vector<std::uint8_t>& bytes);

    Steinberg_Vst_IComponent* component = nullptr;
    Steinberg_Vst_IAudioProcessor* processor = nullptr;
    Steinberg_Vst_IEditController* controller = nullptr;
    Steinberg_Vst_IUnitInfo* units = nullptr;
};
