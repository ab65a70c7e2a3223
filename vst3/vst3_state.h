// The session state (SessionState: the programs and the bypass switch) as a
// VST 3 host keeps it, for the component and the controller alike, through
// the host's streams.
//
// Threads: the host's main thread (states are saved and loaded there).
#pragma once

#include <vst3_c_api.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "reverb/session_state.h"

struct Vst3State : SessionState {
    // The whole blob into the stream; false if the stream takes less.
    bool write(Steinberg_IBStream* stream) const;
    // The stream from its position to its end; false, `state` untouched, for
    // a null stream, a read error or anything fromBytes refuses.
    static bool read(Steinberg_IBStream* stream, Vst3State& state);
};
