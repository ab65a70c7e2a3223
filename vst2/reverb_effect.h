// The reverb as a VST 2 effect: the engine and the program bank behind the
// binary interface's calls, at the 44.1 kHz the effect holds when it is built.
//
// Threads: setParameter, getParameter, setProgram and the program names come
// from the host's or the editor's thread, process and processReplacing from the
// audio thread, mainsOff from any thread (it leaves the clearing to the audio
// thread's next block).
#pragma once

#include <cstdint>

#include "frame/effect_base_ext.h"
#include "reverb/program_bank.h"
#include "reverb/reverb_engine.h"

class ReverbEffect : public EffectBaseExt {
public:
    static constexpr std::int32_t kUniqueId = 0x5175617A;  // 'Quaz'

    explicit ReverbEffect(HostCallback hostCallback);
    ~ReverbEffect() override;

    // Stores the value unchanged in the live values and the current program;
    // the four stage switches also follow the switch rule. Every call, any
    // index, posts an editor update.
    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    // Programs 0 and 1; any other number is ignored.
    void setProgram(std::int32_t program) override;
    // Keeps at most 23 characters; null is ignored.
    void setProgramName(char* text) override;
    void getProgramName(char* text) override;

    // Audio thread. processReplacing stores, process adds (see ReverbEngine::process).
    void process(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    // Clears all signal state before the next block; cursors and comb lengths stay.
    void mainsOff() override;

    const ReverbEngine& getEngine() const { return engine; }
    ReverbEngine& getEngine() { return engine; }

protected:
    // The value into the current program and the engine, without telling the editor.
    void storeParameter(std::int32_t index, float value);

private:
    template <OutputMode mode>
    void processBlock(float** inputs, float** outputs, std::int32_t sampleFrames);

    ReverbEngine engine;
    ProgramBank programs;
};
