#include <gtest/gtest.h>

#include "tests/frame/test_effect.h"

namespace {

class CountingEditor : public EditorInterface {
public:
    using EditorInterface::EditorInterface;
    ~CountingEditor() override { ++destroyed; }
    void update() override { ++updates; }
    static inline int destroyed = 0;
    int updates = 0;
};

TEST(EffectBase, RecordHoldsTheConstructionValues) {
    CountingEffect effect(nullptr, 3, 4);
    const AEffect* record = effect.getEffectRecord();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 3);
    EXPECT_EQ(record->numParams, 4);
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 0);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->object, &effect);
    EXPECT_EQ(record->user, nullptr);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->initialDelay, 0);
    for (char byte : record->future) EXPECT_EQ(byte, 0);
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_EQ(effect.getProgram(), 0);
}

TEST(EffectBase, RecordEntriesReachTheVirtualOperations) {
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    record->process(record, nullptr, nullptr, 0);
    record->processReplacing(record, nullptr, nullptr, 0);
    record->setParameter(record, 2, 0.75f);
    EXPECT_EQ(effect.processCalls, 1);
    EXPECT_EQ(effect.replacingCalls, 1);
    EXPECT_EQ(effect.lastIndex, 2);
    EXPECT_EQ(effect.lastValue, 0.75f);
    EXPECT_EQ(record->getParameter(record, 3), 0.75f);
}

TEST(EffectBase, ProgramSelectionIgnoresIndicesOutsideTheRange) {
    struct Case {
        VstIntPtr value;
        std::int32_t expectedProgram;
    };
    for (const Case& c : {Case{2, 2}, Case{3, 0}, Case{-1, 0}, Case{1, 1}, Case{100000, 0}}) {
        CountingEffect effect(nullptr, 3, 4);
        AEffect* record = effect.getEffectRecord();
        EXPECT_EQ(dispatch(record, effSetProgram, 0, c.value), 0);
        EXPECT_EQ(dispatch(record, effGetProgram), c.expectedProgram) << "value " << c.value;
    }
}

TEST(EffectBase, CoreOpcodesCallTheirOperations) {
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    EXPECT_EQ(dispatch(record, effOpen), 0);
    EXPECT_EQ(effect.openCalls, 1);
    EXPECT_EQ(dispatch(record, effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(dispatch(record, effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(effect.getBlockSize(), 256);
    dispatch(record, effMainsChanged, 0, 0);
    dispatch(record, effMainsChanged, 0, 1);
    dispatch(record, effMainsChanged, 0, 2);
    EXPECT_EQ(effect.mainsOffCalls, 1);
    EXPECT_EQ(effect.mainsOnCalls, 2);
    EXPECT_EQ(dispatch(record, effIdentify), 0x4E764566);
}

TEST(EffectBase, VuIsScaledAndTruncated) {
    struct Case {
        float vu;
        VstIntPtr expected;
    };
    for (const Case& c : {Case{0.0f, 0}, Case{1.0f, 32767}, Case{0.5f, 16383}, Case{-0.5f, -16383}}) {
        CountingEffect effect;
        effect.vu = c.vu;
        EXPECT_EQ(dispatch(effect.getEffectRecord(), effGetVu), c.expected) << c.vu;
    }
}

TEST(EffectBase, ChunkOpcodesPassIsPresetFromTheIndex) {
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    void* data = nullptr;
    EXPECT_EQ(dispatch(record, effGetChunk, 5, 0, &data), 7);
    EXPECT_TRUE(effect.lastIsPreset);
    EXPECT_EQ(dispatch(record, effGetChunk, 0, 0, &data), 7);
    EXPECT_FALSE(effect.lastIsPreset);
    EXPECT_EQ(dispatch(record, effSetChunk, 1, 42, &data), 42);
    EXPECT_TRUE(effect.lastIsPreset);
}

TEST(EffectBase, TextQueriesOfTheBaseAnswerEmptyStrings) {
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    for (std::int32_t opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
        char text[64] = "untouched";
        EXPECT_EQ(dispatch(record, opcode, 1, 0, text), 0);
        EXPECT_STREQ(text, "") << "opcode " << opcode;
        EXPECT_EQ(dispatch(record, opcode, 1, 0, nullptr), 0);  // a null buffer is not written
    }
}

TEST(EffectBase, EditorOpcodesWithoutEditorAnswerZero) {
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(dispatch(record, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x1));
    for (std::int32_t opcode :
         {effEditOpen, effEditClose, effEditIdle, effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep})
        EXPECT_EQ(dispatch(record, opcode), 0) << "opcode " << opcode;
}

TEST(EffectBase, AttachedEditorGetsTheEditorOpcodesAndIsDeletedWithTheEffect) {
    CountingEditor::destroyed = 0;
    {
        CountingEffect effect;
        auto* editor = new CountingEditor(&effect);
        effect.attachEditor(editor);
        AEffect* record = effect.getEffectRecord();
        EXPECT_EQ(record->flags & effFlagsHasEditor, effFlagsHasEditor);
        ERect* rect = reinterpret_cast<ERect*>(0x1);
        EXPECT_EQ(dispatch(record, effEditGetRect, 0, 0, &rect), 0);
        EXPECT_EQ(rect, nullptr);
        int window = 0;
        EXPECT_EQ(dispatch(record, effEditOpen, 0, 0, &window), 0);
        EXPECT_EQ(editor->getSystemWindow(), &window);
        editor->postUpdate();
        dispatch(record, effEditIdle);
        dispatch(record, effEditIdle);
        EXPECT_EQ(editor->updates, 1) << "a second idle without postUpdate must not update";
    }
    EXPECT_EQ(CountingEditor::destroyed, 1);
}

TEST(EffectBase, AttachingNullClearsTheEditorFlag) {
    CountingEffect effect;
    auto* editor = new CountingEditor(&effect);
    effect.attachEditor(editor);
    effect.attachEditor(nullptr);
    EXPECT_EQ(effect.getEffectRecord()->flags & effFlagsHasEditor, 0);
    delete editor;
}

TEST(EffectBase, FlagSettersSetAndClearTheirBits) {
    CountingEffect effect;
    effect.setFlagHasVu(true);
    effect.setFlagCanMono(true);
    effect.setFlagCanReplacing(true);
    effect.setFlagHasClip(true);
    effect.setFlagProgramChunks(true);
    EXPECT_EQ(effect.getEffectRecord()->flags, 0x3E);
    effect.setFlagHasClip(false);
    effect.setFlagProgramChunks(false);
    EXPECT_EQ(effect.getEffectRecord()->flags, 0x1C);
}

TEST(EffectBase, CloseThroughTheRecordCallsCloseAndDestroysTheInstance) {
    CountingEffect::destroyed = 0;
    auto* effect = new CountingEffect;
    AEffect* record = effect->getEffectRecord();
    EXPECT_EQ(dispatch(record, effClose), 1);
    EXPECT_EQ(CountingEffect::destroyed, 1);
}

TEST(EffectBase, HostCallsGoToTheCallbackOrAreSkipped) {
    RecordingHost::reset();
    {
        CountingEffect effect(RecordingHost::callback);
        effect.automateParameter(3, 0.5f);
        effect.hostIdle();
        EXPECT_EQ(effect.lastIndex, 3);
        ASSERT_EQ(RecordingHost::calls.size(), 2u);
        EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterAutomate);
        EXPECT_EQ(RecordingHost::calls[0].index, 3);
        EXPECT_EQ(RecordingHost::calls[0].value, 0);
        EXPECT_EQ(RecordingHost::calls[0].ptr, nullptr);
        EXPECT_EQ(RecordingHost::calls[0].opt, 0.5f);
        EXPECT_EQ(RecordingHost::calls[1].opcode, audioMasterIdle);
    }
    CountingEffect silent(nullptr);
    silent.automateParameter(1, 0.25f);
    silent.hostIdle();
    EXPECT_EQ(silent.setParameterCalls, 1) << "without a host only setParameter runs";
}

TEST(EffectBase, UnknownOpcodesAnswerZero) {
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    char buffer[256] = {};
    for (std::int32_t opcode : {-5, -1, 59, 70, 1000, 0x7fffffff})
        EXPECT_EQ(dispatch(record, opcode, 1, 2, buffer, 3.0f), 0) << "opcode " << opcode;
}

}  // namespace
