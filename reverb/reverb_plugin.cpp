#include "reverb/reverb_plugin.h"

#include "frame/plugin_entry.h"

static_assert(ReverbPlugin::kUniqueId == fourCharCode("Quaz"));

ReverbPlugin::ReverbPlugin(HostCallback hostCallback, EditorFactory makeEditor) : ReverbEffect(hostCallback) {
    setUniqueID(kUniqueId);
    if (makeEditor == nullptr) return;
    EditorInterface* madeEditor = makeEditor(*this);
    attachEditor(madeEditor);
    if (madeEditor == nullptr) {
        outOfMemory = true;
        return;
    }
    parameterListener = dynamic_cast<ParameterListener*>(madeEditor);
}

void ReverbPlugin::setParameter(std::int32_t index, float value) {
    ReverbEffect::setParameter(index, value);
    if (parameterListener != nullptr) parameterListener->setParameter(index, value);
}
