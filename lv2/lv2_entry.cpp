// The plug-in library's one export, lv2_descriptor: the host's C calls
// handed to an Lv2Reverb.
#include <lv2/core/lv2.h>

#include <new>

#include "lv2/lv2_reverb.h"
#include "lv2/plugin_uris.h"

namespace {

Lv2Reverb* reverbOf(LV2_Handle instance) { return static_cast<Lv2Reverb*>(instance); }

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const*) {
    if (!ReverbProcessor::supportsRate(sampleRate)) return nullptr;  // the host reports the refusal
    try {
        return new Lv2Reverb(sampleRate);
    } catch (const std::bad_alloc&) {
        return nullptr;  // the host reports a plug-in that could not be made
    }
}

void connectPort(LV2_Handle instance, uint32_t port, void* data) { reverbOf(instance)->connectPort(port, data); }
void activate(LV2_Handle instance) { reverbOf(instance)->activate(); }
void run(LV2_Handle instance, uint32_t frames) { reverbOf(instance)->run(frames); }
void deactivate(LV2_Handle instance) { reverbOf(instance)->deactivate(); }
void cleanup(LV2_Handle instance) { delete reverbOf(instance); }
const void* extensionData(const char*) { return nullptr; }

const LV2_Descriptor kDescriptor = {lv2_uris::kPlugin, instantiate, connectPort,  activate, run,
                                    deactivate,        cleanup,     extensionData};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
