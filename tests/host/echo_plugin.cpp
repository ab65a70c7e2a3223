// A small plug-in for the host's tests, loaded like any other VST 2 file on
// every build (the Windows ones under Wine too): a feedback echo of 50 ms at
// 44100 Hz, so a render has a tail to keep. Two programs, "Short" and "Long",
// named only through effGetProgramName; parameter 0 is the feedback (0 … 0.9).
#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/plugin_entry.h"

namespace {

constexpr std::size_t kDelayFrames = 2205;
constexpr float kMaxFeedback = 0.9f;
constexpr const char* kProgramNames[] = {"Short", "Long"};
constexpr float kProgramFeedback[] = {0.2f, 0.8f};

class EchoEffect : public EffectBase {
public:
    explicit EchoEffect(HostCallback hostCallback) : EffectBase(hostCallback, 2, 1), line(kDelayFrames, 0.0f) {
        setNumInputs(2);
        setNumOutputs(2);
        setFlagCanReplacing(true);
        setUniqueID(fourCharCode("RpEc"));
        setProgram(0);
    }

    void setProgram(std::int32_t program) override {
        curProgram = program;
        feedback = kProgramFeedback[program];
    }
    void getProgramName(char* text) override { std::strcpy(text, kProgramNames[curProgram]); }
    void setParameter(std::int32_t, float value) override { feedback = value * kMaxFeedback; }
    float getParameter(std::int32_t) override { return feedback / kMaxFeedback; }
    void getParamName(std::int32_t, char* text) override { std::strcpy(text, "Feedback"); }
    void mainsOff() override { std::fill(line.begin(), line.end(), 0.0f); }

    void process(float** inputs, float** outputs, std::int32_t frames) override { run(inputs, outputs, frames, true); }
    void processReplacing(float** inputs, float** outputs, std::int32_t frames) override {
        run(inputs, outputs, frames, false);
    }

private:
    void run(float** inputs, float** outputs, std::int32_t frames, bool add) {
        for (std::int32_t i = 0; i < frames; ++i) {
            const float dry = 0.5f * (inputs[0][i] + inputs[1][i]);
            const float echo = line[position];
            line[position] = dry + feedback * echo;
            position = position + 1 == line.size() ? 0 : position + 1;
            const float out = dry + echo;
            outputs[0][i] = (add ? outputs[0][i] : 0.0f) + out;
            outputs[1][i] = (add ? outputs[1][i] : 0.0f) + out;
        }
    }

    std::vector<float> line;
    std::size_t position = 0;
    float feedback = 0.0f;
};

EffectBase* createEcho(HostCallback hostCallback) { return new EchoEffect(hostCallback); }

}  // namespace

#if defined(_WIN32)
#define ECHO_EXPORT __declspec(dllexport)
#else
#define ECHO_EXPORT __attribute__((visibility("default")))
#endif

extern "C" ECHO_EXPORT HOST_ENTRY AEffect* VSTCALLBACK VSTPluginMain(HostCallback hostCallback) {
    return runPluginMain(hostCallback, createEcho);
}
