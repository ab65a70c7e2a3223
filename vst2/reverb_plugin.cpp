#include "vst2/reverb_plugin.h"

#include "frame/plugin_entry.h"

ReverbPlugin::ReverbPlugin(HostCallback hostCallback, EditorFactory makeEditor) : ReverbEffect(hostCallback) {
    if (makeEditor == nullptr) return;
    EditorInterface* madeEditor = makeEditor(*this, this);  // registers itself with this effect
    if (madeEditor == nullptr) {
        outOfMemory.store(true, std::memory_order_relaxed);
        return;
    }
    parameterListener = dynamic_cast<ParameterListener*>(madeEditor);
}

// One update post per change: the editor's listener asks for it while the
// editor is open (opening posts one anyway), or the effect does for an
// editor that does not listen.
void ReverbPlugin::setParameter(std::int32_t index, float value) {
    if (parameterListener == nullptr) {
        ReverbEffect::setParameter(index, value);
        return;
    }
    storeParameter(index, value);
    parameterListener->setParameter(index, value);
}
