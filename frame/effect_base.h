// Root of every plug-in class: owns the AEffect record the host sees, turns its
// five entries into virtual operations, decodes the core dispatcher opcodes
// 0 to 24, owns the editor and wraps the host calls.
//
// Threads: the dispatcher and the parameter entries come on the host's main
// or window thread, process and processReplacing on its audio thread.
#pragma once

#include <cstdint>

#include "frame/aeffect.h"
#include "frame/editor_interface.h"

class EffectBase {
public:
    EffectBase(HostCallback hostCallback, std::int32_t numPrograms, std::int32_t numParams);
    EffectBase(const EffectBase&) = delete;
    EffectBase& operator=(const EffectBase&) = delete;
    virtual ~EffectBase();

    virtual void setParameter(std::int32_t index, float value);
    virtual float getParameter(std::int32_t index);
    // Stores the value through setParameter, then tells the host.
    virtual void automateParameter(std::int32_t index, float value);
    virtual void process(float** inputs, float** outputs, std::int32_t sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames);
    virtual VstIntPtr dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt);
    virtual void open() {}
    virtual void close() {}
    virtual std::int32_t getProgram() { return curProgram; }
    virtual void setProgram(std::int32_t program) { curProgram = program; }
    virtual void setProgramName(char* text);
    virtual void getProgramName(char* text);
    virtual void getParamLabel(std::int32_t index, char* text);
    virtual void getParamDisplay(std::int32_t index, char* text);
    virtual void getParamName(std::int32_t index, char* text);
    virtual float getVu() { return 0.0f; }
    virtual std::int32_t getChunk(void** data, bool isPreset);
    virtual std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset);
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(std::int32_t frames) { blockSize = frames; }
    virtual void mainsOff() {}
    virtual void mainsOn() {}
    virtual void setUniqueID(std::int32_t id) { record.uniqueID = id; }
    virtual void setNumInputs(std::int32_t n) { record.numInputs = n; }
    virtual void setNumOutputs(std::int32_t n) { record.numOutputs = n; }
    virtual void setFlagHasVu(bool state) { setFlag(effFlagsHasVu, state); }
    virtual void setFlagHasClip(bool state) { setFlag(effFlagsHasClip, state); }
    virtual void setFlagCanMono(bool state) { setFlag(effFlagsCanMono, state); }
    virtual void setFlagCanReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
    virtual void setFlagProgramChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
    virtual void setRealQualities(std::int32_t n) { record.realQualities = n; }
    virtual void setOffQualities(std::int32_t n) { record.offQualities = n; }
    virtual void setInitialDelay(std::int32_t frames) { record.initialDelay = frames; }
    virtual float getSampleRate() { return sampleRate; }
    virtual std::int32_t getBlockSize() { return blockSize; }
    virtual void hostIdle();

    AEffect* getEffectRecord() { return &record; }
    // Stores the editor (owned from now on) and sets or clears effFlagsHasEditor.
    void attachEditor(EditorInterface* newEditor);
    EditorInterface* getEditor() const { return editor; }
    HostCallback getHostCallback() const { return hostCallback; }
    std::int32_t getNumPrograms() const { return numPrograms; }
    std::int32_t getNumParams() const { return numParams; }

protected:
    // Bool arguments count by their low byte only, as a host passing an int expects.
    void setFlag(std::int32_t bit, bool state);

    float sampleRate = 44100.0f;
    EditorInterface* editor = nullptr;
    HostCallback hostCallback;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::int32_t curProgram = 0;
    std::int32_t blockSize = 1024;
    AEffect record;
};

// Writes an empty string into a caller's text buffer, tolerating null.
inline void writeEmptyText(char* text) {
    if (text != nullptr) text[0] = '\0';
}
