#include "tests/fuzz/vst3_harness.h"

#include <array>

#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/state_load_check.h"
#include "vst3/vst3_ids.h"

namespace {

constexpr std::array<std::int32_t, 4> kReadSizes{{1, 7, 64, 1 << 30}};
constexpr std::int32_t kProbeFrames = 256;
constexpr std::uint32_t kProbeSeed = 7;

// Below 0x80 one of the parameters (About included); then the bypass, the
// program parameter, or 4 raw bytes.
Steinberg_Vst_ParamID anyParameterId(FuzzInput& input) {
    const std::uint8_t selector = input.byte();
    if (selector < 0x80) return selector % kParameterCount;
    if (selector < 0xA0) return kBypassParamId;
    if (selector < 0xC0) return kProgramParamId;
    return input.word32();
}

}  // namespace

Vst3Harness::Vst3Harness() {
    if (!instance.made()) return;
    firstComponentState = instance.componentState();
    firstControllerState = instance.controllerState();
}

std::string Vst3Harness::restore() {
    if (!instance.made()) return "the factory made no usable instance";
    if (instance.setComponentState(firstComponentState, kReadSizes.back()) != Steinberg_kResultOk ||
        instance.setControllerState(firstControllerState, kReadSizes.back()) != Steinberg_kResultOk)
        return "the instance refused its own first state";
    instance.clearSignal();
    return "";
}

std::vector<float> Vst3Harness::probe(std::string& failure) {
    instance.clearSignal();
    NoiseBlock block(kProbeFrames, kProbeSeed);
    if (instance.process(block, nullptr) != Steinberg_kResultOk) failure = "process refused a plain block";
    if (failure.empty()) failure = block.check();
    return block.samples();
}

std::string Vst3Harness::playState(const std::uint8_t* data, std::size_t size) {
    accepted = false;
    const std::string failure = restore();
    if (!failure.empty()) return failure;
    FuzzInput input(data, size);
    const std::uint8_t selector = input.byte();
    const bool toController = (selector & 1) != 0;
    const std::int32_t maxRead = kReadSizes[(selector >> 1) & 3];
    const StateBytes bytes(data + (size - input.remaining()), data + size);

    StateTarget target;
    target.name = toController ? "controller state" : "component state";
    target.save = [&] { return toController ? instance.controllerState() : instance.componentState(); };
    target.load = [&](const StateBytes& state) {
        return (toController ? instance.setControllerState(state, maxRead)
                             : instance.setComponentState(state, maxRead)) == Steinberg_kResultOk;
    };
    target.everySavedState = [&] {
        StateBytes both = instance.componentState();
        const StateBytes controller = instance.controllerState();
        both.insert(both.end(), controller.begin(), controller.end());
        return both;
    };
    target.sound = [&](std::string& soundFailure) { return probe(soundFailure); };
    return checkStateLoad(target, bytes, accepted);
}

std::string Vst3Harness::playEvents(const std::uint8_t* data, std::size_t size) {
    std::string failure = restore();
    FuzzInput input(data, size);
    std::int64_t framesLeft = kFramesAnInput;
    while (failure.empty() && !input.atEnd()) {
        const std::int32_t frames = input.word16() % (kEventBlockFrames + 1);
        const std::uint8_t seed = input.byte();
        ParameterChangeList changes;
        const int queues = input.byte() % 8;
        for (int q = 0; q < queues; ++q) {
            const Steinberg_Vst_ParamID id = anyParameterId(input);
            const int points = input.byte() % 8;
            for (int p = 0; p < points; ++p) {
                const std::int32_t offset = input.anyOffset(frames);
                changes.add(id, offset, input.anyDouble());
            }
        }
        if (frames > framesLeft) break;
        framesLeft -= frames;
        NoiseBlock block(frames, seed);
        if (instance.process(block, &changes) != Steinberg_kResultOk) return "process refused a block";
        failure = block.check();
    }
    return failure;
}
