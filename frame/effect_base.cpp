#include "frame/effect_base.h"

#include <cstring>

namespace {

EffectBase* instanceOf(AEffect* effect) { return static_cast<EffectBase*>(effect->object); }

HOST_ENTRY VstIntPtr VSTCALLBACK dispatchEntry(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                               VstIntPtr value, void* ptr, float opt) {
    EffectBase* instance = instanceOf(effect);
    VstIntPtr answer = instance->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        delete instance;  // the record lives inside the instance: invalid from here on
        return 1;
    }
    return answer;
}

HOST_ENTRY void VSTCALLBACK processEntry(AEffect* effect, float** inputs, float** outputs, std::int32_t sampleFrames) {
    instanceOf(effect)->process(inputs, outputs, sampleFrames);
}

HOST_ENTRY void VSTCALLBACK processReplacingEntry(AEffect* effect, float** inputs, float** outputs,
                                                  std::int32_t sampleFrames) {
    instanceOf(effect)->processReplacing(inputs, outputs, sampleFrames);
}

HOST_ENTRY void VSTCALLBACK setParameterEntry(AEffect* effect, std::int32_t index, float value) {
    instanceOf(effect)->setParameter(index, value);
}

HOST_ENTRY float VSTCALLBACK getParameterEntry(AEffect* effect, std::int32_t index) {
    return instanceOf(effect)->getParameter(index);
}

}  // namespace

EffectBase::EffectBase(HostCallback hostCallback, std::int32_t numPrograms, std::int32_t numParams)
    : hostCallback(hostCallback), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&record, 0, sizeof(record));
    record.magic = kEffectMagic;
    record.dispatcher = dispatchEntry;
    record.process = processEntry;
    record.setParameter = setParameterEntry;
    record.getParameter = getParameterEntry;
    record.numPrograms = numPrograms;
    record.numParams = numParams;
    record.numInputs = 1;
    record.numOutputs = 2;
    record.ioRatio = 1.0f;
    record.object = this;
    record.uniqueID = fourCharCode("NoEf");
    record.version = 1;
    record.processReplacing = processReplacingEntry;
}

EffectBase::~EffectBase() { delete editor; }

void EffectBase::setParameter(std::int32_t, float) {}

float EffectBase::getParameter(std::int32_t) { return 0.0f; }

void EffectBase::automateParameter(std::int32_t index, float value) {
    setParameter(index, value);
    if (hostCallback != nullptr) hostCallback(&record, audioMasterAutomate, index, 0, nullptr, value);
}

void EffectBase::processReplacing(float**, float**, std::int32_t) {}

void EffectBase::setProgramName(char* text) { writeEmptyText(text); }
void EffectBase::getProgramName(char* text) { writeEmptyText(text); }
void EffectBase::getParamLabel(std::int32_t, char* text) { writeEmptyText(text); }
void EffectBase::getParamDisplay(std::int32_t, char* text) { writeEmptyText(text); }
void EffectBase::getParamName(std::int32_t, char* text) { writeEmptyText(text); }

std::int32_t EffectBase::getChunk(void**, bool) { return 0; }
std::int32_t EffectBase::setChunk(void*, std::int32_t, bool) { return 0; }

void EffectBase::hostIdle() {
    if (hostCallback != nullptr) hostCallback(&record, audioMasterIdle, 0, 0, nullptr, 0.0f);
}

void EffectBase::attachEditor(EditorInterface* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void EffectBase::setFlag(std::int32_t bit, bool state) {
    if (state)
        record.flags |= bit;
    else
        record.flags &= ~bit;
}

VstIntPtr EffectBase::dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effOpen: open(); return 0;
        case effClose: close(); return 0;
        case effSetProgram:
            if (value >= 0 && value < numPrograms) setProgram(static_cast<std::int32_t>(value));
            return 0;
        case effGetProgram: return getProgram();
        case effSetProgramName: setProgramName(text); return 0;
        case effGetProgramName: getProgramName(text); return 0;
        case effGetParamLabel: getParamLabel(index, text); return 0;
        case effGetParamDisplay: getParamDisplay(index, text); return 0;
        case effGetParamName: getParamName(index, text); return 0;
        case effGetVu: return static_cast<VstIntPtr>(getVu() * 32767.0);
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effSetBlockSize: setBlockSize(static_cast<std::int32_t>(value)); return 0;
        case effMainsChanged:
            if (value == 0)
                mainsOff();
            else
                mainsOn();
            return 0;
        case effEditGetRect:
            if (editor == nullptr || ptr == nullptr) return 0;
            return editor->getRect(static_cast<ERect**>(ptr));
        case effEditOpen: return editor != nullptr ? editor->open(ptr) : 0;
        case effEditClose:
            if (editor != nullptr) editor->close();
            return 0;
        case effEditIdle:
            if (editor != nullptr) editor->idle();
            return 0;
        case effIdentify: return kEffectIdentity;
        case effGetChunk: return ptr != nullptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
        case effSetChunk: return setChunk(ptr, static_cast<std::int32_t>(value), index != 0);
        default: return 0;
    }
}
