#include "tests/vst3/plugin_under_test.h"

#include <gtest/gtest.h>

#include "tests/reverb/reverb_test_support.h"
#include "vst3/plugin_factory.h"
#include "vst3/vst3_ids.h"

namespace {

template <typename Interface>
Interface* queried(Steinberg_Vst_IComponent* component, const Steinberg_TUID iid) {
    void* found = nullptr;
    EXPECT_EQ(component->lpVtbl->queryInterface(component, iid, &found), Steinberg_kResultOk);
    return static_cast<Interface*>(found);
}

template <typename Interface>
void releaseInterface(Interface*& pointer) {
    if (pointer != nullptr) pointer->lpVtbl->release(pointer);
    pointer = nullptr;
}

}  // namespace

StereoSignal noiseThenSilence(std::size_t noiseFrames, std::size_t silentFrames, std::uint32_t seed) {
    StereoSignal signal(noiseFrames + silentFrames);
    TestSignal noise(seed);
    for (std::size_t i = 0; i < noiseFrames; ++i) {
        signal.left[i] = noise.next();
        signal.right[i] = noise.next();
    }
    return signal;
}

PluginUnderTest::PluginUnderTest() {
    Steinberg_IPluginFactory* factory = PluginFactory::instance();
    void* made = nullptr;
    EXPECT_EQ(factory->lpVtbl->createInstance(factory, kReverbClassId, Steinberg_Vst_IComponent_iid, &made),
              Steinberg_kResultOk);
    component = static_cast<Steinberg_Vst_IComponent*>(made);
    EXPECT_EQ(component->lpVtbl->initialize(component, nullptr), Steinberg_kResultOk);
    processor = queried<Steinberg_Vst_IAudioProcessor>(component, Steinberg_Vst_IAudioProcessor_iid);
    controller = queried<Steinberg_Vst_IEditController>(component, Steinberg_Vst_IEditController_iid);
    units = queried<Steinberg_Vst_IUnitInfo>(component, Steinberg_Vst_IUnitInfo_iid);
}

PluginUnderTest::~PluginUnderTest() {
    component->lpVtbl->terminate(component);
    releaseInterface(units);
    releaseInterface(controller);
    releaseInterface(processor);
    releaseInterface(component);
}

void PluginUnderTest::activate(double sampleRate) {
    Steinberg_Vst_ProcessSetup setup{Steinberg_Vst_ProcessModes_kRealtime, Steinberg_Vst_SymbolicSampleSizes_kSample32,
                                     4096, sampleRate};
    ASSERT_EQ(processor->lpVtbl->setupProcessing(processor, &setup), Steinberg_kResultOk);
    ASSERT_EQ(component->lpVtbl->setActive(component, 1), Steinberg_kResultOk);
    ASSERT_EQ(processor->lpVtbl->setProcessing(processor, 1), Steinberg_kResultOk);
}

void PluginUnderTest::deactivate() {
    processor->lpVtbl->setProcessing(processor, 0);
    component->lpVtbl->setActive(component, 0);
}

Steinberg_tresult PluginUnderTest::process(StereoSignal& signal, std::size_t first, std::int32_t count,
                                           ParameterChangeList* changes, std::uint64_t* outputSilenceFlags) {
    StereoProcessData data(signal.left.data() + first, signal.right.data() + first, count,
                           changes != nullptr ? changes->changes() : nullptr);
    const Steinberg_tresult result = processor->lpVtbl->process(processor, data.data());
    if (outputSilenceFlags != nullptr) *outputSilenceFlags = data.outputSilenceFlags();
    return result;
}

StereoSignal PluginUnderTest::render(const StereoSignal& input, const std::vector<std::int32_t>& blockSizes,
                                     ParameterChangeList* firstBlockChanges) {
    StereoSignal signal = input;
    std::size_t done = 0;
    for (std::size_t block = 0; done < signal.frames(); ++block) {
        const auto size = std::min<std::size_t>(static_cast<std::size_t>(blockSizes[block % blockSizes.size()]),
                                                signal.frames() - done);
        EXPECT_EQ(process(signal, done, static_cast<std::int32_t>(size), block == 0 ? firstBlockChanges : nullptr),
                  Steinberg_kResultOk);
        done += size;
    }
    return signal;
}

void PluginUnderTest::set(Steinberg_Vst_ParamID id, double value) {
    ParameterChangeList changes;
    changes.add(id, 0, value);
    Steinberg_Vst_ProcessData data{};
    data.symbolicSampleSize = Steinberg_Vst_SymbolicSampleSizes_kSample32;
    data.inputParameterChanges = changes.changes();
    EXPECT_EQ(processor->lpVtbl->process(processor, &data), Steinberg_kResultOk);
    EXPECT_EQ(controller->lpVtbl->setParamNormalized(controller, id, value), Steinberg_kResultOk);
}

std::vector<std::uint8_t> PluginUnderTest::componentState() {
    MemoryStream stream;
    EXPECT_EQ(component->lpVtbl->getState(component, stream.stream()), Steinberg_kResultOk);
    return stream.bytes();
}

std::vector<std::uint8_t> PluginUnderTest::controllerState() {
    MemoryStream stream;
    EXPECT_EQ(controller->lpVtbl->getState(controller, stream.stream()), Steinberg_kResultOk);
    return stream.bytes();
}

Steinberg_tresult PluginUnderTest::setComponentState(const std::vector<std::uint8_t>& bytes) {
    MemoryStream stream(bytes, 7);  // a stream that gives a few bytes per read
    return component->lpVtbl->setState(component, stream.stream());
}

Steinberg_tresult PluginUnderTest::setControllerState(const std::vector<std::uint8_t>& bytes) {
    MemoryStream stream(bytes);
    return controller->lpVtbl->setState(controller, stream.stream());
}
