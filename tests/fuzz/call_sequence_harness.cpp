#include "tests/fuzz/call_sequence_harness.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/output_check.h"
#include "tests/fuzz/parameter_model.h"

namespace {

constexpr VstIntPtr kHostVersion = 2400;
constexpr std::int32_t kLowestOpcode = CallCounts::kLowestOpcode;
constexpr std::int32_t kOpcodeCount = CallCounts::kOpcodeCount;
constexpr std::size_t kTextBufferSize = 256;
constexpr std::size_t kStructBufferSize = 1024;  // more than any VST 2 structure an opcode points at
constexpr unsigned char kUntouched = 0xA5;
constexpr VstIntPtr kLargestChunk = VstIntPtr{64} << 20;

// Text answers and the room, terminator included, that hosts give them.
struct TextField {
    std::int32_t opcode;
    std::size_t size;
};
constexpr std::array<TextField, 9> kTextAnswers{{
    {effGetProgramName, 24},
    {effGetParamLabel, 8},
    {effGetParamDisplay, 8},
    {effGetParamName, 8},
    {effGetProgramNameIndexed, 24},
    {effGetEffectName, 32},
    {effGetErrorText, 256},
    {effGetVendorString, 64},
    {effGetProductString, 64},
}};

std::size_t textFieldOf(std::int32_t opcode) {
    for (const TextField& field : kTextAnswers)
        if (field.opcode == opcode) return field.size;
    return 0;
}

bool takesText(std::int32_t opcode) {
    return opcode == effSetProgramName || opcode == effString2Parameter || opcode == effCanDo;
}

// Opcodes whose pointer (and for effSetSpeakerArrangement also value) names a structure.
bool takesStructure(std::int32_t opcode) {
    switch (opcode) {
        case effProcessEvents:
        case effGetInputProperties:
        case effGetOutputProperties:
        case effOfflineNotify:
        case effOfflinePrepare:
        case effOfflineRun:
        case effProcessVarIo:
        case effSetSpeakerArrangement:
        case effVendorSpecific:
        case effGetParameterProperties: return true;
        default: return false;
    }
}

bool isEditorOpcode(std::int32_t opcode) { return opcode >= effEditGetRect && opcode <= effEditSleep; }

void foldIntoDigest(std::uint64_t& digest, const float* samples, std::int32_t frames) {
    constexpr std::uint64_t kFnvPrime = 0x100000001B3ull;
    for (std::int32_t i = 0; i < frames; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, &samples[i], sizeof bits);
        digest = (digest ^ bits) * kFnvPrime;
    }
}

bool countsStructures(std::int32_t opcode) {
    return opcode == effOfflineNotify || opcode == effOfflinePrepare || opcode == effOfflineRun;
}

std::string numbered(const char* format, long long a, long long b = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// Two channels of exactly `frames` samples: a sanitizer sees any access beyond them.
struct Channels {
    explicit Channels(std::int32_t frames) : first(new float[frames]), second(new float[frames]) {}
    std::unique_ptr<float[]> first, second;
    float* pointers[2] = {first.get(), second.get()};
};

class CallSequenceHarness {
public:
    CallSequenceHarness(const std::uint8_t* data, std::size_t size, const HarnessOptions& options)
        : input(data, size), options(options), framesLeft(options.frameBudget) {}
    CallSequenceHarness(const CallSequenceHarness&) = delete;
    CallSequenceHarness& operator=(const CallSequenceHarness&) = delete;

    std::string run();

private:
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* caller, std::int32_t opcode, std::int32_t index, VstIntPtr,
                                              void*, float);
    static VstIntPtr VSTCALLBACK refusingHost(AEffect*, std::int32_t, std::int32_t, VstIntPtr, void*, float) {
        return 0;
    }
    VstIntPtr answerHost(AEffect* caller, std::int32_t opcode, std::int32_t index);

    void runCommand(Command command);
    bool createInstance();
    void closeInstance();
    void closeOrRestore();
    void noteProgramSwitch() {
        if (options.kept != nullptr) options.kept->noteProgramSwitch();
    }
    void dispatch();
    void checkAnswer(std::int32_t opcode, VstIntPtr value, void* ptr, VstIntPtr answer, const char* text,
                     const ERect* rect, const void* chunk);
    void checkTextAnswer(std::int32_t opcode, const char* text, std::size_t field);
    void setParameter();
    void getParameter(std::int32_t index);
    void setProgram(VstIntPtr program);
    void renameProgram();
    void process(bool replacing);
    void fillSignal(float* first, float* second, std::int32_t frames);
    void refuseWithoutHost();
    void editorSession();
    void* openParent();
    void releaseParent();
    VstIntPtr call(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    void fail(std::string what) {
        if (failure.empty()) failure = std::move(what);
    }
    bool failed() const { return !failure.empty(); }

    FuzzInput input;
    const HarnessOptions& options;
    AEffect* effect = nullptr;
    void* editorParent = nullptr;
    ParameterModel model;
    std::int64_t framesLeft;
    std::string failure;
};

thread_local CallSequenceHarness* activeHarness = nullptr;

std::string CallSequenceHarness::run() {
    CallSequenceHarness* const outer = activeHarness;
    activeHarness = this;
    if (createInstance())
        while (!input.atEnd() && !failed())
            runCommand(static_cast<Command>(input.byte() % static_cast<std::uint8_t>(Command::Count)));
    closeInstance();
    activeHarness = outer;
    return failure;
}

void CallSequenceHarness::runCommand(Command command) {
    if (options.counts != nullptr) ++options.counts->commands[static_cast<std::size_t>(command)];
    switch (command) {
        case Command::Dispatch: dispatch(); break;
        case Command::SetParameter: setParameter(); break;
        case Command::GetParameter: getParameter(input.anyIndex()); break;
        case Command::ProcessReplacing: process(true); break;
        case Command::Process: process(false); break;
        case Command::MainsChanged: call(effMainsChanged, 0, input.anyValue()); break;
        case Command::SetProgram:
            noteProgramSwitch();
            setProgram(input.anyValue());
            break;
        case Command::SetProgramName: renameProgram(); break;
        case Command::CloseAndReopen: closeOrRestore(); break;
        case Command::EntryWithoutHost: refuseWithoutHost(); break;
        case Command::EditorSession:
            if (options.editor)
                editorSession();
            else
                input.byte();
            break;
        case Command::Count: break;
    }
}

// ---- the instance -------------------------------------------------------------

bool CallSequenceHarness::createInstance() {
    if (options.kept != nullptr && options.kept->effect() != nullptr) {
        effect = options.kept->effect();
        options.kept->restore();
        model.reset(effect);
        return true;
    }
    AEffect* made = options.entry(hostCallback);
    if (made == nullptr) {
        fail("the entry answered no instance");
        return false;
    }
    if (made->magic != kEffectMagic) {
        fail("the entry's record has a bad magic number");  // nothing a host may close
        return false;
    }
    effect = made;
    if (effect->numInputs != 2 || effect->numOutputs != 2)
        fail(numbered("the record declares %lld inputs and %lld outputs, not 2 and 2", effect->numInputs,
                      effect->numOutputs));
    else if (effect->numParams <= 0 || effect->numPrograms <= 0)
        fail(numbered("the record declares %lld parameters and %lld programs", effect->numParams, effect->numPrograms));
    if (failed()) return false;
    if (options.kept != nullptr) options.kept->keep(effect);
    model.reset(effect);
    return true;
}

void CallSequenceHarness::closeInstance() {
    if (effect == nullptr) return;
    if (options.kept != nullptr && effect == options.kept->effect()) {
        effect = nullptr;  // kept for the next input, which restores it
        return;
    }
    const VstIntPtr answer = call(effClose);
    effect = nullptr;  // the record went with the instance
    releaseParent();
    if (answer != 1) fail(numbered("effClose answered %lld, not 1", answer));
}

// A fresh instance, or the kept one restored.
void CallSequenceHarness::closeOrRestore() {
    closeInstance();
    if (!failed()) createInstance();
}

void CallSequenceHarness::refuseWithoutHost() {
    for (HostCallback host : {HostCallback{refusingHost}, HostCallback{nullptr}}) {
        AEffect* made = options.entry(host);
        if (made == nullptr) continue;
        fail(host == nullptr ? "the entry made an instance without a host callback"
                             : "the entry made an instance although the host answered 0 to audioMasterVersion");
        if (made->magic == kEffectMagic) made->dispatcher(made, effClose, 0, 0, nullptr, 0.0f);
        return;
    }
}

VstIntPtr VSTCALLBACK CallSequenceHarness::hostCallback(AEffect* caller, std::int32_t opcode, std::int32_t index,
                                                        VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return kHostVersion;
    return activeHarness != nullptr ? activeHarness->answerHost(caller, opcode, index) : 0;
}

VstIntPtr CallSequenceHarness::answerHost(AEffect* caller, std::int32_t opcode, std::int32_t index) {
    if (effect != nullptr && caller != effect) fail(numbered("host opcode %lld came with a foreign record", opcode));
    switch (opcode) {
        case audioMasterAutomate:
            if (effect != nullptr && (index < 0 || index >= effect->numParams))
                fail(numbered("audioMasterAutomate for parameter %lld", index));
            return 0;
        case audioMasterIdle: return 0;
        default: fail(numbered("the plug-in sent host opcode %lld", opcode)); return 0;
    }
}

// ---- dispatcher -----------------------------------------------------------------

void CallSequenceHarness::dispatch() {
    const std::int32_t opcode = static_cast<std::int32_t>(input.byte() % kOpcodeCount) + kLowestOpcode;
    const std::int32_t index = input.anyIndex();
    VstIntPtr value = input.anyValue();
    const float opt = input.anyFloat();
    const std::uint8_t pointerChoice = input.byte();
    const bool nullPointer = (pointerChoice & 7) == 0;
    const bool spareBuffer = (pointerChoice & 8) != 0;
    if (options.counts != nullptr) ++options.counts->opcodes[opcode - kLowestOpcode];
    if (opcode == effClose) return closeOrRestore();
    if (opcode == effSetProgram || opcode == effCopyProgram) noteProgramSwitch();
    if (!options.editor && isEditorOpcode(opcode)) return;

    alignas(16) unsigned char structure[kStructBufferSize] = {};
    alignas(16) unsigned char secondStructure[kStructBufferSize] = {};
    char text[kTextBufferSize];
    std::memset(text, kUntouched, sizeof text);
    text[kTextBufferSize - 1] = '\0';
    ERect* rect = nullptr;
    void* chunk = nullptr;
    std::unique_ptr<unsigned char[]> chunkIn;
    void* ptr = nullptr;

    if (textFieldOf(opcode) != 0) {
        ptr = text;
    } else if (takesText(opcode)) {
        input.text(text, sizeof text);
        ptr = text;
    } else if (opcode == effEditGetRect) {
        ptr = &rect;
    } else if (opcode == effEditOpen) {
        ptr = nullPointer ? nullptr : openParent();
    } else if (opcode == effGetChunk) {
        ptr = &chunk;
    } else if (opcode == effSetChunk) {
        const std::uint8_t size = input.byte();
        chunkIn.reset(new unsigned char[size]);  // exactly the size announced in value
        for (std::uint8_t i = 0; i < size; ++i) chunkIn[i] = input.byte();
        value = size;
        ptr = chunkIn.get();
    } else if (takesStructure(opcode)) {
        ptr = structure;
        if (opcode == effSetSpeakerArrangement) value = reinterpret_cast<VstIntPtr>(secondStructure);
        if (countsStructures(opcode)) value &= 1;
    } else if (spareBuffer) {
        ptr = structure;
    }
    if (nullPointer) {
        ptr = nullptr;
        if (opcode == effSetSpeakerArrangement) value = 0;
    }

    const VstIntPtr answer = call(opcode, index, value, ptr, opt);
    checkAnswer(opcode, value, ptr, answer, text, rect, chunk);
}

void CallSequenceHarness::checkAnswer(std::int32_t opcode, VstIntPtr value, void* ptr, VstIntPtr answer,
                                      const char* text, const ERect* rect, const void* chunk) {
    switch (opcode) {
        case effSetProgram:
            if (value >= 0 && value < effect->numPrograms) model.programSelected(effect, static_cast<int>(value));
            fail(model.checkProgram(call(effGetProgram)));
            break;
        case effGetProgram: fail(model.checkProgram(answer)); break;
        case effSetProgramName:
            if (ptr != nullptr) model.programRenamed(text);
            break;
        case effEditClose: releaseParent(); break;
        case effEditIdle:
            if (options.windows != nullptr) options.windows->pumpMessages();
            break;
        case effEditGetRect:
            if (ptr == nullptr || answer == 0) break;
            if (rect == nullptr)
                fail("effEditGetRect answered non-zero without a rectangle");
            else if (rect->bottom < rect->top || rect->right < rect->left)
                fail("effEditGetRect answered a rectangle of negative size");
            break;
        case effGetChunk:
            if (ptr == nullptr || answer == 0) break;
            if (answer < 0 || answer > kLargestChunk || chunk == nullptr) {
                fail(numbered("effGetChunk answered %lld bytes, data pointer set: %lld", answer, chunk != nullptr));
                break;
            }
            {
                volatile unsigned char sum = 0;  // reads every byte, so a sanitizer checks them
                for (VstIntPtr i = 0; i < answer; ++i) sum = sum + static_cast<const unsigned char*>(chunk)[i];
            }
            break;
        default: break;
    }
    const std::size_t field = textFieldOf(opcode);
    if (field != 0 && ptr != nullptr) {
        checkTextAnswer(opcode, text, field);
        if (opcode == effGetProgramName && !failed()) fail(model.checkProgramName(text));
    }
}

// The answer stays within its field and is terminated if anything was written.
void CallSequenceHarness::checkTextAnswer(std::int32_t opcode, const char* text, std::size_t field) {
    for (std::size_t i = field; i < kTextBufferSize - 1; ++i)
        if (static_cast<unsigned char>(text[i]) != kUntouched)
            return fail(
                numbered("opcode %lld wrote byte %lld, beyond its text field", opcode, static_cast<long long>(i)));
    bool written = false;
    for (std::size_t i = 0; i < field; ++i) {
        if (text[i] == '\0') return;
        written = written || static_cast<unsigned char>(text[i]) != kUntouched;
    }
    if (written) fail(numbered("opcode %lld left its text unterminated", opcode));
}

// ---- parameters and programs ------------------------------------------------------

void CallSequenceHarness::setParameter() {
    const std::int32_t index = input.anyIndex();
    const float value = input.anyFloat();
    effect->setParameter(effect, index, value);
    model.parameterSet(index, value);
    getParameter(index);
}

void CallSequenceHarness::getParameter(std::int32_t index) {
    fail(model.checkParameter(index, effect->getParameter(effect, index)));
}

void CallSequenceHarness::setProgram(VstIntPtr program) {
    call(effSetProgram, 0, program);
    checkAnswer(effSetProgram, program, nullptr, 0, nullptr, nullptr, nullptr);
}

void CallSequenceHarness::renameProgram() {
    char text[kTextBufferSize];
    input.text(text, sizeof text);
    call(effSetProgramName, 0, 0, text);
    model.programRenamed(text);
    char answer[kTextBufferSize];
    std::memset(answer, kUntouched, sizeof answer);
    answer[kTextBufferSize - 1] = '\0';
    call(effGetProgramName, 0, 0, answer);
    checkAnswer(effGetProgramName, 0, answer, 0, answer, nullptr, nullptr);
}

// ---- audio --------------------------------------------------------------------------

void CallSequenceHarness::process(bool replacing) {
    const std::int32_t frames = input.word16() % (options.maxBlockFrames + 1);
    Channels in(frames);
    fillSignal(in.first.get(), in.second.get(), frames);
    const bool inPlace = replacing && (input.byte() & 1) != 0;
    if (frames > framesLeft) return;
    framesLeft -= frames;
    if (options.counts != nullptr) options.counts->framesProcessed += frames;

    Channels out(frames);
    Channels heldInput(frames);
    const float start = replacing ? std::numeric_limits<float>::quiet_NaN() : 0.0f;
    for (std::int32_t i = 0; i < frames; ++i) {
        out.first[i] = out.second[i] = start;
        heldInput.first[i] = in.first[i];
        heldInput.second[i] = in.second[i];
    }
    float** outputs = inPlace ? in.pointers : out.pointers;
    const ProcessProc entry = replacing ? effect->processReplacing : effect->process;
    if (entry == nullptr) return fail(replacing ? "the record has no processReplacing" : "the record has no process");
    entry(effect, in.pointers, outputs, frames);

    for (int channel = 0; channel < 2 && !failed(); ++channel) {
        fail(checkChannel(outputs[channel], frames, channel));
        if (!inPlace && std::memcmp(in.pointers[channel], heldInput.pointers[channel], sizeof(float) * frames) != 0)
            fail(numbered("input %lld was changed by the plug-in", channel + 1));
        if (options.outputDigest != nullptr) foldIntoDigest(*options.outputDigest, outputs[channel], frames);
    }
}

void CallSequenceHarness::fillSignal(float* first, float* second, std::int32_t frames) {
    std::uint32_t noiseState = 0;
    const auto noise = [&noiseState] {
        noiseState = noiseState * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<std::int32_t>(noiseState >> 8) - (1 << 23)) / static_cast<float>(1 << 23);
    };
    for (std::int32_t i = 0; i < frames; ++i) first[i] = second[i] = 0.0f;
    switch (static_cast<Signal>(input.byte() % static_cast<std::uint8_t>(Signal::Count))) {
        case Signal::Silence: break;
        case Signal::Noise: {
            const float amplitude = input.anyFloat();
            noiseState = input.word16();
            for (std::int32_t i = 0; i < frames; ++i) {
                first[i] = amplitude * noise();
                second[i] = amplitude * noise();
            }
            break;
        }
        case Signal::Raw:
            for (std::int32_t i = 0; i < frames && !input.atEnd(); ++i) {
                first[i] = floatFromBits(input.word32());
                second[i] = floatFromBits(input.word32());
            }
            break;
        case Signal::Spiked: {
            for (std::int32_t i = 0; i < frames; ++i) {
                first[i] = noise();
                second[i] = noise();
            }
            const int spikes = input.byte() % 16;
            for (int s = 0; s < spikes; ++s) {
                const std::uint16_t frame = input.word16();
                float* channel = (input.byte() & 1) != 0 ? second : first;
                const float value = input.anyFloat();
                if (frames > 0) channel[frame % frames] = value;
            }
            break;
        }
        case Signal::Constant: {
            const float value = input.anyFloat();
            for (std::int32_t i = 0; i < frames; ++i) first[i] = second[i] = value;
            break;
        }
        case Signal::Opposite:
            for (std::int32_t i = 0; i < frames; ++i) {
                first[i] = noise();
                second[i] = -first[i];
            }
            break;
        case Signal::Impulse: {
            const float value = input.anyFloat();
            if (frames > 0) first[0] = second[0] = value;
            break;
        }
        case Signal::Square: {
            const float amplitude = input.anyFloat();
            const std::int32_t halfPeriod = input.byte() + 1;
            for (std::int32_t i = 0; i < frames; ++i)
                first[i] = second[i] = (i / halfPeriod) % 2 ? -amplitude : amplitude;
            break;
        }
        case Signal::Count: break;
    }
}

// ---- editor -------------------------------------------------------------------------

void CallSequenceHarness::editorSession() {
    const int idles = input.byte() % 8;
    ERect* rect = nullptr;
    const VstIntPtr answer = call(effEditGetRect, 0, 0, &rect);  // before rect is read
    checkAnswer(effEditGetRect, 0, &rect, answer, nullptr, rect, nullptr);
    void* parent = openParent();
    call(effEditOpen, 0, 0, parent);
    for (int i = 0; i < idles; ++i) {
        call(effEditIdle);
        if (options.windows != nullptr) options.windows->pumpMessages();
    }
    call(effEditClose);
    releaseParent();
}

// One parent window while the editor may be open; null without a window source.
void* CallSequenceHarness::openParent() {
    if (editorParent == nullptr && options.windows != nullptr) editorParent = options.windows->createParent();
    return editorParent;
}

void CallSequenceHarness::releaseParent() {
    if (editorParent != nullptr && options.windows != nullptr) options.windows->destroyParent(editorParent);
    editorParent = nullptr;
}

}  // namespace

std::string runCallSequence(const std::uint8_t* data, std::size_t size, const HarnessOptions& options) {
    return CallSequenceHarness(data, size, options).run();
}
