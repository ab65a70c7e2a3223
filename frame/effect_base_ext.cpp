#include "frame/effect_base_ext.h"

namespace {
VstIntPtr answerOf(bool result) { return result ? 1 : 0; }
VstIntPtr answerOf(void* result) { return reinterpret_cast<VstIntPtr>(result); }
}  // namespace

VstIntPtr EffectBaseExt::dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    const auto value32 = static_cast<std::int32_t>(value);
    switch (opcode) {
        case effProcessEvents: return processEvents(ptr);
        case effCanBeAutomated: return answerOf(canBeAutomated(index));
        case effString2Parameter: return answerOf(stringToParameter(index, text));
        case effGetNumProgramCategories: return getNumProgramCategories();
        case effGetProgramNameIndexed: return answerOf(getProgramNameIndexed(value32, index, text));
        case effCopyProgram: return answerOf(copyProgram(index));
        case effConnectInput: connectInput(index, value != 0); return 1;
        case effConnectOutput: connectOutput(index, value != 0); return 1;
        case effGetInputProperties: return answerOf(getInputProperties(index, ptr));
        case effGetOutputProperties: return answerOf(getOutputProperties(index, ptr));
        case effGetPlugCategory: return getPlugCategory();
        case effGetCurrentPosition: return getCurrentPosition();
        case effGetDestinationBuffer: return answerOf(getDestinationBuffer());
        case effOfflineNotify: return answerOf(offlineNotify(ptr, value32, index != 0));
        case effOfflinePrepare: return answerOf(offlinePrepare(ptr, value32));
        case effOfflineRun: return answerOf(offlineRun(ptr, value32));
        case effProcessVarIo: return answerOf(processVarIo(ptr));
        case effSetSpeakerArrangement: return answerOf(setSpeakerArrangement(value, ptr));
        case effSetBlockSizeAndSampleRate: setBlockSizeAndSampleRate(value32, opt); return 1;
        case effSetBypass: return answerOf(setBypass(value != 0));
        case effGetEffectName: return answerOf(getEffectName(text));
        case effGetErrorText: return answerOf(getErrorText(text));
        case effGetVendorString: return answerOf(getVendorString(text));
        case effGetProductString: return answerOf(getProductString(text));
        case effGetVendorVersion: return getVendorVersion();
        case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
        case effCanDo: return canDo(text);
        case effGetTailSize: return getTailSize();
        case effIdle: return effectIdle();
        case effGetIcon: return answerOf(getIcon());
        case effSetViewPosition: return answerOf(setViewPosition(index, value32));
        case effGetParameterProperties: return answerOf(getParameterProperties(index, ptr));
        case effKeysRequired: return keysRequired() ? 0 : 1;
        case effGetVstVersion: return getVstVersion();
        default: return EffectBase::dispatcher(opcode, index, value, ptr, opt);
    }
}
