// A minimal effect and a recording host callback for the frame tests.
#pragma once

#include <cstring>
#include <vector>

#include "frame/effect_base_ext.h"

struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

// The recording host: one per test, reached through a global because the
// callback is a plain function.
struct RecordingHost {
    static inline std::vector<HostCall> calls;
    static inline VstIntPtr versionAnswer = 2400;
    static VstIntPtr VSTCALLBACK callback(AEffect*, std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                          float opt) {
        calls.push_back({opcode, index, value, ptr, opt});
        return opcode == audioMasterVersion ? versionAnswer : 0;
    }
    static void reset() {
        calls.clear();
        versionAnswer = 2400;
    }
};

// Counts the calls a subclass sees, so tests can tell which virtual ran.
class CountingEffect : public EffectBaseExt {
public:
    explicit CountingEffect(HostCallback host = nullptr, std::int32_t programs = 3, std::int32_t params = 4)
        : EffectBaseExt(host, programs, params) {}
    ~CountingEffect() override { ++destroyed; }

    void process(float**, float**, std::int32_t) override { ++processCalls; }
    void processReplacing(float**, float**, std::int32_t) override { ++replacingCalls; }
    void setParameter(std::int32_t index, float value) override {
        lastIndex = index;
        lastValue = value;
        ++setParameterCalls;
    }
    float getParameter(std::int32_t index) override { return static_cast<float>(index) * 0.25f; }
    void open() override { ++openCalls; }
    void close() override { ++closeCalls; }
    void mainsOff() override { ++mainsOffCalls; }
    void mainsOn() override { ++mainsOnCalls; }
    void setSampleRate(float rate) override {
        ++sampleRateCalls;
        EffectBaseExt::setSampleRate(rate);
    }
    void setBlockSize(std::int32_t frames) override {
        ++blockSizeCalls;
        EffectBaseExt::setBlockSize(frames);
    }
    float getVu() override { return vu; }
    std::int32_t getChunk(void**, bool isPreset) override {
        lastIsPreset = isPreset;
        return 7;
    }
    std::int32_t setChunk(void*, std::int32_t byteSize, bool isPreset) override {
        lastIsPreset = isPreset;
        return byteSize;
    }

    static inline int destroyed = 0;
    int processCalls = 0, replacingCalls = 0, setParameterCalls = 0, openCalls = 0, closeCalls = 0;
    int mainsOffCalls = 0, mainsOnCalls = 0, sampleRateCalls = 0, blockSizeCalls = 0;
    std::int32_t lastIndex = -1;
    float lastValue = 0.0f;
    float vu = 0.0f;
    bool lastIsPreset = false;
};

// Dispatches through the record, as a host does.
inline VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                          void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}
