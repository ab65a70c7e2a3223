// One plug-in instance kept across fuzz inputs, so that an input costs its
// calls and not an instance's construction. What the instance held when it
// was made is remembered; before every input the plug-in's own calls return
// it there: each program's values and name, the current program, the host's
// rate and block size, a resume (an input may end suspended) and one pair of
// frames far too loud. The loud pair makes the engine recover from a runaway,
// which clears all of its signal, the diffusers' inner lowpasses included (a
// suspend leaves those as they are), so that an input sounds exactly as on a
// fresh instance.
//
// Threads: the caller's (the harness plays inputs on one thread).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/aeffect.h"

class KeptInstance {
public:
    KeptInstance() = default;
    ~KeptInstance();
    KeptInstance(const KeptInstance&) = delete;
    KeptInstance& operator=(const KeptInstance&) = delete;

    AEffect* effect() const { return kept; }
    // Takes a freshly made instance (closed with this object) and remembers its state.
    void keep(AEffect* made);
    // The remembered state, through effSetProgram, setParameter, effSetProgramName,
    // effSetSampleRate, effSetBlockSize, effMainsChanged 1 and processReplacing. Only
    // values and names that read back otherwise are set again, and the other
    // programs are visited only after a program switch was noted, so that an
    // input that edits little costs little to undo.
    void restore();
    // The host selected or copied a program since the last restore.
    void noteProgramSwitch() { programSwitched = true; }

    static constexpr float kHostRate = 44100.0f;
    static constexpr VstIntPtr kHostBlockSize = 4096;

private:
    struct Program {
        std::vector<float> values;
        std::string name;
    };
    VstIntPtr call(std::int32_t opcode, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
        return kept->dispatcher(kept, opcode, 0, value, ptr, opt);
    }

    void restoreCurrentProgram(const Program& program);
    void recoverFromRunaway();

    AEffect* kept = nullptr;
    bool programSwitched = false;
    std::vector<Program> programs;
    VstIntPtr currentProgram = 0;
};
