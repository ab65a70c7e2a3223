// The harness's checks catch the faults they are there for: each small
// plug-in below breaks one promise, and a short hand-written call sequence
// must report it. The same sequences pass against Roomplate.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame/effect_base_ext.h"
#include "frame/plugin_entry.h"
#include "tests/fuzz/call_sequence_harness.h"
#include "tests/fuzz/roomplate_entry_point.h"

namespace {

enum class Fault { None, Loud, LastFrameUnwritten, ClampsParameters, LongProgramName, WritesInput, ForgetsProgram };

class FaultyEffect : public EffectBaseExt {
public:
    static constexpr std::int32_t kParams = 4;

    FaultyEffect(HostCallback host, Fault fault) : EffectBaseExt(host, 2, kParams), fault(fault) {
        setNumInputs(2);
        setNumOutputs(2);
    }
    void setParameter(std::int32_t index, float value) override {
        if (index < 0 || index >= kParams) return;
        if (fault == Fault::ClampsParameters) value = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
        values[curProgram][index] = value;
    }
    float getParameter(std::int32_t index) override {
        return index >= 0 && index < kParams ? values[curProgram][index] : 0.0f;
    }
    void setProgram(std::int32_t program) override {
        curProgram = program;
        if (fault == Fault::ForgetsProgram) std::memset(values[program], 0, sizeof values[program]);
    }
    void getProgramName(char* text) override {
        if (text != nullptr) std::strcpy(text, fault == Fault::LongProgramName ? "a name of more than 23 chars" : "P");
    }
    void processReplacing(float** inputs, float** outputs, std::int32_t frames) override {
        const std::int32_t written = fault == Fault::LastFrameUnwritten ? frames - 1 : frames;
        for (int channel = 0; channel < 2; ++channel)
            for (std::int32_t i = 0; i < written; ++i) outputs[channel][i] = fault == Fault::Loud ? 1.0f : 0.25f;
        if (fault == Fault::WritesInput && frames > 0) inputs[0][0] = 0.5f;
    }
    void process(float**, float**, std::int32_t) override {}

private:
    Fault fault;
    float values[2][kParams] = {};
};

Fault plannedFault = Fault::None;

AEffect* VSTCALLBACK faultyEntry(HostCallback host) {
    return runPluginMain(host, [](HostCallback h) -> EffectBase* { return new FaultyEffect(h, plannedFault); });
}

// Hand-written call sequences, in the harness's byte format.
struct Script {
    std::vector<std::uint8_t> bytes;
    Script& command(Command c) { return add(static_cast<std::uint8_t>(c)); }
    Script& add(std::uint8_t b) {
        bytes.push_back(b);
        return *this;
    }
    Script& rawFloat(float value) {
        std::uint8_t raw[4];
        std::memcpy(raw, &value, 4);
        add(0x80);
        for (std::uint8_t b : raw) add(b);
        return *this;
    }
    // Noise of amplitude 1 in, in a separate output buffer.
    Script& processReplacing(std::uint16_t frames) {
        command(Command::ProcessReplacing).add(frames & 0xFF).add(frames >> 8);
        return add(static_cast<std::uint8_t>(Signal::Noise)).add(0x7F).add(7).add(0).add(0);
    }
    Script& setParameter(std::uint8_t index, float value) {
        return command(Command::SetParameter).add(index).rawFloat(value);
    }
    // Through the dispatcher: opcode, index 0, value 0, opt 0, a valid pointer.
    Script& dispatch(std::int32_t opcode) {
        return command(Command::Dispatch).add(static_cast<std::uint8_t>(opcode + 5)).add(0).add(0).add(0x0C).add(1);
    }
    Script& setProgram(std::uint8_t program) { return command(Command::SetProgram).add(program); }
};

std::string run(PluginEntry entry, const Script& script) {
    HarnessOptions options;
    options.entry = entry;
    return runCallSequence(script.bytes.data(), script.bytes.size(), options);
}

TEST(CallSequenceHarness, EachBrokenPromiseIsReportedAndRoomplateKeepsThemAll) {
    struct Case {
        Fault fault;
        Script script;
        const char* report;  // a part of the expected report
    };
    const Case cases[] = {
        {Fault::Loud, Script().processReplacing(64), "output 1 frame 0 of 64 is 1"},
        {Fault::LastFrameUnwritten, Script().processReplacing(7), "output 1 frame 6 of 7 is "},
        {Fault::ClampsParameters, Script().setParameter(1, 1.5f), "parameter 1: expected 1.5"},
        {Fault::LongProgramName, Script().dispatch(effGetProgramName), "beyond its text field"},
        {Fault::WritesInput, Script().processReplacing(16), "input 1 was changed"},
        {Fault::ForgetsProgram,
         Script().setParameter(2, 0.75f).setProgram(1).setProgram(0).command(Command::GetParameter).add(2),
         "parameter 2: expected 0.75"},
    };
    for (const Case& c : cases) {
        plannedFault = Fault::None;
        EXPECT_EQ(run(faultyEntry, c.script), "") << c.report;
        plannedFault = c.fault;
        EXPECT_NE(run(faultyEntry, c.script).find(c.report), std::string::npos)
            << c.report << ", reported: " << run(faultyEntry, c.script);
        EXPECT_EQ(run(VSTPluginMain, c.script), "") << c.report;
    }
}

AEffect* VSTCALLBACK entryIgnoringTheHost(HostCallback) {
    static VstIntPtr (*const silentHost)(AEffect*, std::int32_t, std::int32_t, VstIntPtr, void*, float) =
        [](AEffect*, std::int32_t, std::int32_t, VstIntPtr, void*, float) -> VstIntPtr { return 1; };
    return runPluginMain(silentHost, [](HostCallback h) -> EffectBase* { return new FaultyEffect(h, Fault::None); });
}

TEST(CallSequenceHarness, AnInstanceMadeWithoutAHostIsReported) {
    const Script script = Script().command(Command::EntryWithoutHost);
    EXPECT_NE(run(entryIgnoringTheHost, script).find("the entry made an instance"), std::string::npos);
    EXPECT_EQ(run(VSTPluginMain, script), "");
}

}  // namespace
