#include "tests/fuzz/lv2_harness.h"

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "lv2/port_layout.h"
#include "reverb/parameter_table.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/noise_block.h"

extern "C" const LV2_Descriptor* lv2_descriptor(uint32_t index);

namespace {

constexpr std::array<float, 8> kUsualRates{
    {44100.0f, 48000.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f, 22050.0f, 32000.0f}};
constexpr std::uint8_t kFirstOddRateSelector = 0xF0;
constexpr std::uint32_t kPortChoices = lv2_ports::kPortCount + 2;

// What the host holds for one instance: a value for every control port and
// the audio of the block in play.
class PortValues {
public:
    PortValues() {
        for (std::int32_t id = 0; id < lv2_ports::kSoundParameterCount; ++id)
            controls[id] = kParameterTable[id].initValue;
    }
    void connectControls(const LV2_Descriptor* descriptor, LV2_Handle instance) {
        for (std::int32_t id = 0; id < lv2_ports::kSoundParameterCount; ++id)
            descriptor->connect_port(instance, lv2_ports::portOf(static_cast<ParameterId>(id)), &controls[id]);
        descriptor->connect_port(instance, lv2_ports::kEnabledPort, &enabled);
    }
    // A control port's value; false for an audio port or one past the layout.
    bool set(std::uint32_t port, float value) {
        const ParameterId id = lv2_ports::parameterOf(port);
        if (lv2_ports::isSoundParameter(id)) {
            controls[id] = value;
            return true;
        }
        if (port == lv2_ports::kEnabledPort) {
            enabled = value;
            return true;
        }
        return false;
    }

private:
    std::array<float, lv2_ports::kSoundParameterCount> controls{};
    float enabled = 1.0f;
};

}  // namespace

Lv2Harness::Lv2Harness() : descriptor(lv2_descriptor(0)) {}

Lv2Harness::~Lv2Harness() {
    for (const auto& [rate, instance] : kept) {
        descriptor->deactivate(instance);
        descriptor->cleanup(instance);
    }
}

std::string Lv2Harness::play(const std::uint8_t* data, std::size_t size) {
    if (descriptor == nullptr) return "lv2_descriptor(0) answered no descriptor";
    FuzzInput input(data, size);
    const std::uint8_t rateSelector = input.byte();
    const bool usualRate = rateSelector < kFirstOddRateSelector;
    const float rate = usualRate ? kUsualRates[rateSelector % kUsualRates.size()] : input.anyFloat();

    LV2_Handle instance = usualRate && kept.count(rate) != 0 ? kept[rate] : nullptr;
    if (instance == nullptr) {
        instance = descriptor->instantiate(descriptor, rate, "", nullptr);
        if (instance == nullptr) return usualRate ? "instantiate refused a usual rate" : "";
        if (usualRate) kept[rate] = instance;
    } else {
        descriptor->deactivate(instance);
    }
    PortValues ports;
    ports.connectControls(descriptor, instance);
    descriptor->activate(instance);

    std::array<bool, lv2_ports::kAudioPortCount> audioConnected{{true, true, true, true}};
    std::string failure;
    std::int64_t framesLeft = kFramesAnInput;
    while (failure.empty() && !input.atEnd()) {
        const std::int32_t frames = input.word16() % (kMaxBlockFrames + 1);
        const std::uint8_t seed = input.byte();
        const int changes = input.byte() % 8;
        for (int c = 0; c < changes; ++c) {
            const std::uint32_t port = input.byte() % kPortChoices;
            const float value = input.anyFloat();
            if (!ports.set(port, value) && port < lv2_ports::kAudioPortCount) audioConnected[port] = !std::isnan(value);
        }
        if (frames > framesLeft) break;
        framesLeft -= frames;
        NoiseBlock in(frames, seed);
        NoiseBlock out(frames, 0);
        out.left.assign(frames, std::numeric_limits<float>::quiet_NaN());
        out.right.assign(frames, std::numeric_limits<float>::quiet_NaN());
        float* const audio[lv2_ports::kAudioPortCount] = {in.left.data(), in.right.data(), out.left.data(),
                                                          out.right.data()};
        for (std::uint32_t port = 0; port < lv2_ports::kAudioPortCount; ++port)
            descriptor->connect_port(instance, port, audioConnected[port] ? audio[port] : nullptr);
        descriptor->run(instance, static_cast<std::uint32_t>(frames));
        // A host reads only the outputs it connected.
        if (audioConnected[lv2_ports::kOutputLeft] && audioConnected[lv2_ports::kOutputRight]) failure = out.check();
    }
    for (std::uint32_t port = 0; port < lv2_ports::kAudioPortCount; ++port)
        descriptor->connect_port(instance, port, nullptr);
    if (!usualRate) {
        descriptor->deactivate(instance);
        descriptor->cleanup(instance);
    }
    return failure;
}
