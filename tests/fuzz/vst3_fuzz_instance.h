// One VST 3 instance for the fuzz harnesses, made through the plug-in's
// factory and driven only through its C interface: set up at 44.1 kHz for
// blocks of up to kMaxBlockFrames, active and processing from construction.
// Failures are answers, never aborts, so that a harness can report them.
//
// Threads: the caller's (the harness plays host and audio thread in turn).
#pragma once

#include <vst3_c_api.h>

#include <cstdint>
#include <vector>

#include "tests/fuzz/noise_block.h"
#include "tests/vst3/host_objects.h"

class Vst3FuzzInstance {
public:
    static constexpr std::int32_t kMaxBlockFrames = 4096;
    static constexpr double kSampleRate = 44100.0;

    Vst3FuzzInstance();
    ~Vst3FuzzInstance();
    Vst3FuzzInstance(const Vst3FuzzInstance&) = delete;
    Vst3FuzzInstance& operator=(const Vst3FuzzInstance&) = delete;

    bool made() const { return processor != nullptr && controller != nullptr; }
    // In place; the changes may be null.
    Steinberg_tresult process(NoiseBlock& block, ParameterChangeList* changes);
    // setActive off and on: the next block starts from silence.
    void clearSignal();

    std::vector<std::uint8_t> componentState();
    std::vector<std::uint8_t> controllerState();
    // maxRead: the bytes one read of the host's stream gives at most.
    Steinberg_tresult setComponentState(const std::vector<std::uint8_t>& bytes, std::int32_t maxRead);
    Steinberg_tresult setControllerState(const std::vector<std::uint8_t>& bytes, std::int32_t maxRead);

private:
    Steinberg_Vst_IComponent* component = nullptr;
    Steinberg_Vst_IAudioProcessor* processor = nullptr;
    Steinberg_Vst_IEditController* controller = nullptr;
};
