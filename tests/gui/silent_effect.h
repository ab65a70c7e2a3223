// An effect that makes no sound and a host that counts its idle calls, for
// the editor tests.
#pragma once

#include <algorithm>
#include <vector>

#include "frame/effect_base.h"

struct IdleCountingHost {
    static inline std::vector<std::int32_t> opcodes;
    static VstIntPtr VSTCALLBACK callback(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
        opcodes.push_back(opcode);
        return 0;
    }
    static int idleCalls() { return static_cast<int>(std::count(opcodes.begin(), opcodes.end(), audioMasterIdle)); }
};

class SilentEffect : public EffectBase {
public:
    SilentEffect() : EffectBase(IdleCountingHost::callback, 1, 1) {}
    void process(float**, float**, std::int32_t) override {}
};
