// One LV2 instance of the reverb: the host's ports bound to a ReverbProcessor
// built at the rate given to instantiate.
//
// Threads (LV2's classes): the constructor, activate, deactivate and the
// destructor on the host's instantiation thread, never during run;
// connectPort and run on the audio thread (connectPort also before
// activate). Nothing in run allocates, locks or waits.
#pragma once

#include <array>
#include <cstdint>

#include "lv2/port_layout.h"
#include "reverb/reverb_processor.h"

class Lv2Reverb {
public:
    explicit Lv2Reverb(double sampleRate);
    Lv2Reverb(const Lv2Reverb&) = delete;
    Lv2Reverb& operator=(const Lv2Reverb&) = delete;

    // Ports outside the layout are ignored; null disconnects.
    void connectPort(std::uint32_t port, void* data);
    // Both start the next run from silence.
    void activate();
    void deactivate();
    // Reads the control ports once, then processes; any frame count, 0 included.
    void run(std::uint32_t frames);

    const ReverbProcessor& getProcessor() const { return processor; }

private:
    void readControlPorts();
    void applyControl(ParameterId id, float value);
    void silenceOutputs(std::uint32_t frames);

    ReverbProcessor processor;
    float sampleRateHz;
    std::array<const float*, 2> inputs{};
    std::array<float*, 2> outputs{};
    std::array<const float*, lv2_ports::kSoundParameterCount> controls{};
    const float* enabled = nullptr;
    // The bits of each port's value when it was last read: only a changed one is applied.
    std::array<std::uint32_t, lv2_ports::kSoundParameterCount> readBits{};
    std::uint32_t enabledBits = 0;
};
