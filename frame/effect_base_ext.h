// The VST 2 extension layer: opcodes 25 to 58 with their default answers.
// Every other opcode goes on to the core dispatcher of EffectBase.
#pragma once

#include "frame/effect_base.h"

class EffectBaseExt : public EffectBase {
public:
    EffectBaseExt(HostCallback hostCallback, std::int32_t numPrograms, std::int32_t numParams)
        : EffectBase(hostCallback, numPrograms, numParams) {}

    VstIntPtr dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt) override;

    virtual std::int32_t processEvents(void*) { return 0; }
    virtual bool canBeAutomated(std::int32_t) { return true; }
    virtual bool stringToParameter(std::int32_t, char*) { return false; }
    virtual float reservedRealQuery(std::int32_t, std::int32_t) { return 0.0f; }
    virtual std::int32_t getNumProgramCategories() { return 1; }
    virtual bool getProgramNameIndexed(std::int32_t, std::int32_t, char*) { return false; }
    virtual bool copyProgram(std::int32_t) { return false; }
    virtual void connectInput(std::int32_t, bool) {}
    virtual void connectOutput(std::int32_t, bool) {}
    virtual bool getInputProperties(std::int32_t, void*) { return false; }
    virtual bool getOutputProperties(std::int32_t, void*) { return false; }
    virtual std::int32_t getPlugCategory() {
        return (record.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
    }
    virtual void setFlagExtIsAsync(bool state) { setFlag(effFlagsExtIsAsync, state); }
    virtual void setFlagExtHasBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }
    virtual std::int32_t getCurrentPosition() { return 0; }
    virtual void* getDestinationBuffer() { return nullptr; }
    virtual bool offlineNotify(void*, std::int32_t, bool) { return false; }
    virtual bool offlinePrepare(void*, std::int32_t) { return false; }
    virtual bool offlineRun(void*, std::int32_t) { return false; }
    virtual std::int32_t offlineNumPasses() { return 0; }
    virtual std::int32_t offlineNumMetaPasses() { return 0; }
    virtual void setFlagIsSynth(bool state) { setFlag(effFlagsIsSynth, state); }
    virtual void setFlagNoSoundInStop(bool state) { setFlag(effFlagsNoSoundInStop, state); }
    virtual bool processVarIo(void*) { return false; }
    virtual bool setSpeakerArrangement(VstIntPtr, void*) { return false; }
    // Stores both fields directly: setBlockSize and setSampleRate are not told.
    virtual void setBlockSizeAndSampleRate(std::int32_t frames, float rate) {
        blockSize = frames;
        sampleRate = rate;
    }
    virtual bool setBypass(bool) { return false; }
    virtual bool getEffectName(char*) { return false; }
    virtual bool getErrorText(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual std::int32_t getVendorVersion() { return 0; }
    virtual std::int32_t vendorSpecific(std::int32_t, VstIntPtr, void*, float) { return 0; }
    virtual std::int32_t canDo(char*) { return 0; }
    virtual void* getIcon() { return nullptr; }
    virtual bool setViewPosition(std::int32_t, std::int32_t) { return false; }
    virtual std::int32_t getTailSize() { return 0; }
    virtual std::int32_t effectIdle() { return 0; }
    virtual bool getParameterProperties(std::int32_t, void*) { return false; }
    virtual bool keysRequired() { return false; }
    virtual std::int32_t getVstVersion() { return 2; }
};
