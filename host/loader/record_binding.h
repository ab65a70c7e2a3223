// The VST 2 record that a plug-in of another format stands behind in our
// host (ClapEffect, Vst3Effect): its function pointers forward to the
// adapter's dispatch, setParameter, getParameter and process, and texts go
// out in the record's usual 64-byte buffers.
//
// Threads: whichever thread calls the record calls the adapter.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frame/aeffect.h"

// Sets the record's magic, object and functions for adapter, a stereo
// processReplacing effect; the caller fills in the counts and flags.
template <typename Adapter>
void bindRecord(AEffect& record, Adapter& adapter) {
    record.magic = kEffectMagic;
    record.object = &adapter;
    record.dispatcher = [](AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                           float opt) {
        return static_cast<Adapter*>(effect->object)->dispatch(opcode, index, value, ptr, opt);
    };
    record.setParameter = [](AEffect* effect, std::int32_t index, float value) {
        static_cast<Adapter*>(effect->object)->setParameter(index, value);
    };
    record.getParameter = [](AEffect* effect, std::int32_t index) {
        return static_cast<Adapter*>(effect->object)->getParameter(index);
    };
    record.processReplacing = [](AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
        static_cast<Adapter*>(effect->object)->process(inputs, outputs, frames);
    };
    record.numInputs = 2;
    record.numOutputs = 2;
}

// Copies a plug-in's text into a VST 2 text buffer of the usual size, cut to fit.
inline void copyVstText(char* target, std::string_view text) {
    constexpr std::size_t kVstTextBytes = 64;
    const std::size_t length = std::min(text.size(), kVstTextBytes - 1);
    if (length > 0) std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

// The same for a C text that may be null (given as "").
inline void copyVstText(char* target, const char* text) {
    copyVstText(target, std::string_view(text != nullptr ? text : ""));
}
