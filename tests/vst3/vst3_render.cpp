// vst3_render MODULE OUTPUT [PROGRAM [BLOCK]]: loads a VST 3 module file (the
// binary inside a bundle) as a host does, renders the same deterministic
// noise and tail through its first class at 44.1 kHz, program PROGRAM (0 or
// 1) in blocks of BLOCK frames, and writes the output as raw little-endian
// float32, left then right per frame. Built for every target, so the same
// render can be compared across builds (Windows ones under Wine).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/reverb/reverb_test_support.h"
#include "tests/vst3/host_objects.h"
#include "vst3/vst3_ids.h"
#include "vst3_interface/interface_query.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

constexpr int kNoiseFrames = 44100, kTailFrames = 44100;

using GetFactory = Steinberg_IPluginFactory*(SMTG_STDMETHODCALLTYPE*)();

int fail(const char* what) {
    std::fprintf(stderr, "vst3_render: %s\n", what);
    return 1;
}

GetFactory loadFactory(const char* path) {
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path);
    if (module == nullptr) return nullptr;
    using ModuleCall = bool(SMTG_STDMETHODCALLTYPE*)();
    // Through void(*)(), the type any function pointer converts to without a warning.
    using AnyFunction = void (*)();
    if (auto init = reinterpret_cast<ModuleCall>(reinterpret_cast<AnyFunction>(GetProcAddress(module, "InitDll"))))
        init();
    return reinterpret_cast<GetFactory>(reinterpret_cast<AnyFunction>(GetProcAddress(module, "GetPluginFactory")));
#else
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return nullptr;
    using ModuleEntry = bool (*)(void*);
    if (auto entry = reinterpret_cast<ModuleEntry>(dlsym(module, "ModuleEntry"))) entry(module);
    return reinterpret_cast<GetFactory>(dlsym(module, "GetPluginFactory"));
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return fail("usage: vst3_render MODULE OUTPUT [PROGRAM [BLOCK]]");
    const double program = argc > 3 ? std::atof(argv[3]) : 0.0;
    const int block = argc > 4 ? std::atoi(argv[4]) : 512;
    if (block <= 0) return fail("the block size must be positive");
    GetFactory getFactory = loadFactory(argv[1]);
    if (getFactory == nullptr) return fail("not a VST 3 module (no GetPluginFactory)");
    Steinberg_IPluginFactory* factory = getFactory();
    Steinberg_PClassInfo info{};
    if (factory == nullptr || factory->lpVtbl->getClassInfo(factory, 0, &info) != Steinberg_kResultOk)
        return fail("the factory has no class");
    void* made = nullptr;
    if (factory->lpVtbl->createInstance(factory, info.cid, Steinberg_Vst_IComponent_iid, &made) != Steinberg_kResultOk)
        return fail("createInstance failed");
    auto* component = static_cast<Steinberg_Vst_IComponent*>(made);
    component->lpVtbl->initialize(component, nullptr);
    auto* processor = queried<Steinberg_Vst_IAudioProcessor>(component, Steinberg_Vst_IAudioProcessor_iid);
    if (processor == nullptr) return fail("no IAudioProcessor");
    Steinberg_Vst_ProcessSetup setup{Steinberg_Vst_ProcessModes_kOffline, Steinberg_Vst_SymbolicSampleSizes_kSample32,
                                     block, 44100.0};
    if (processor->lpVtbl->setupProcessing(processor, &setup) != Steinberg_kResultOk ||
        component->lpVtbl->setActive(component, 1) != Steinberg_kResultOk)
        return fail("setup or activation failed");
    processor->lpVtbl->setProcessing(processor, 1);

    std::vector<float> left(kNoiseFrames + kTailFrames), right(left.size());
    TestSignal noise(2024);
    for (int i = 0; i < kNoiseFrames; ++i) {
        left[i] = noise.next();
        right[i] = noise.next();
    }
    ParameterChangeList programChange;
    programChange.add(kProgramParamId, 0, program);
    for (std::size_t done = 0; done < left.size(); done += static_cast<std::size_t>(block)) {
        const int count = static_cast<int>(std::min<std::size_t>(block, left.size() - done));
        StereoProcessData data(left.data() + done, right.data() + done, count,
                               done == 0 ? programChange.changes() : nullptr);
        if (processor->lpVtbl->process(processor, data.data()) != Steinberg_kResultOk) return fail("process failed");
    }
    processor->lpVtbl->setProcessing(processor, 0);
    component->lpVtbl->setActive(component, 0);
    component->lpVtbl->terminate(component);
    processor->lpVtbl->release(processor);
    component->lpVtbl->release(component);

    std::FILE* file = std::fopen(argv[2], "wb");
    if (file == nullptr) return fail("cannot write the output file");
    for (std::size_t i = 0; i < left.size(); ++i) {
        const float frame[2] = {left[i], right[i]};
        std::fwrite(frame, sizeof(float), 2, file);  // every target here is little-endian
    }
    return std::fclose(file) == 0 ? 0 : fail("cannot write the output file");
}
