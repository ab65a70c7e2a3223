#include <gtest/gtest.h>

#include "tests/frame/test_effect.h"

namespace {

TEST(EffectBaseExt, DefaultAnswersOfTheExtendedOpcodes) {
    struct Case {
        std::int32_t opcode;
        VstIntPtr expected;
    };
    const Case cases[] = {
        {effProcessEvents, 0},
        {effCanBeAutomated, 1},
        {effString2Parameter, 0},
        {effGetNumProgramCategories, 1},
        {effGetProgramNameIndexed, 0},
        {effCopyProgram, 0},
        {effConnectInput, 1},
        {effConnectOutput, 1},
        {effGetInputProperties, 0},
        {effGetOutputProperties, 0},
        {effGetPlugCategory, 0},
        {effGetCurrentPosition, 0},
        {effGetDestinationBuffer, 0},
        {effOfflineNotify, 0},
        {effOfflinePrepare, 0},
        {effOfflineRun, 0},
        {effProcessVarIo, 0},
        {effSetSpeakerArrangement, 0},
        {effSetBypass, 0},
        {effGetVendorVersion, 0},
        {effVendorSpecific, 0},
        {effCanDo, 0},
        {effGetTailSize, 0},
        {effIdle, 0},
        {effGetIcon, 0},
        {effSetViewPosition, 0},
        {effGetParameterProperties, 0},
        {effKeysRequired, 1},
        {effGetVstVersion, 2},
    };
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    for (const Case& c : cases) {
        char buffer[256] = "receiveVstEvents";
        EXPECT_EQ(dispatch(record, c.opcode, 0, 1, buffer), c.expected) << "opcode " << c.opcode;
    }
}

TEST(EffectBaseExt, TextQueriesLeaveTheBufferUntouched) {
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    for (std::int32_t opcode : {effGetEffectName, effGetErrorText, effGetVendorString, effGetProductString,
                                effGetProgramNameIndexed, effString2Parameter}) {
        char buffer[256] = "host text";
        EXPECT_EQ(dispatch(record, opcode, 0, 0, buffer), 0) << "opcode " << opcode;
        EXPECT_STREQ(buffer, "host text") << "opcode " << opcode;
    }
}

TEST(EffectBaseExt, CanDoAnswersZeroForEveryString) {
    CountingEffect effect;
    for (const char* capability : {"receiveVstEvents", "1in1out", "2in2out", "", "plugAsChannelInsert"}) {
        std::string text = capability;
        EXPECT_EQ(dispatch(effect.getEffectRecord(), effCanDo, 0, 0, text.data()), 0) << capability;
    }
}

TEST(EffectBaseExt, PlugCategoryFollowsTheSynthFlag) {
    CountingEffect effect;
    EXPECT_EQ(dispatch(effect.getEffectRecord(), effGetPlugCategory), kPlugCategUnknown);
    effect.setFlagIsSynth(true);
    EXPECT_EQ(effect.getEffectRecord()->flags & effFlagsIsSynth, effFlagsIsSynth);
    EXPECT_EQ(dispatch(effect.getEffectRecord(), effGetPlugCategory), kPlugCategSynth);
    effect.setFlagIsSynth(false);
    EXPECT_EQ(dispatch(effect.getEffectRecord(), effGetPlugCategory), kPlugCategUnknown);
}

TEST(EffectBaseExt, ExtensionFlagSetters) {
    CountingEffect effect;
    effect.setFlagNoSoundInStop(true);
    effect.setFlagExtIsAsync(true);
    effect.setFlagExtHasBuffer(true);
    EXPECT_EQ(effect.getEffectRecord()->flags, 512 | 1024 | 2048);
    effect.setFlagExtIsAsync(false);
    EXPECT_EQ(effect.getEffectRecord()->flags, 512 | 2048);
}

TEST(EffectBaseExt, BlockSizeAndSampleRateAreStoredWithoutTheSetters) {
    CountingEffect effect;
    EXPECT_EQ(dispatch(effect.getEffectRecord(), effSetBlockSizeAndSampleRate, 0, 512, nullptr, 48000.0f), 1);
    EXPECT_EQ(effect.getBlockSize(), 512);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.sampleRateCalls, 0);
    EXPECT_EQ(effect.blockSizeCalls, 0);
}

TEST(EffectBaseExt, CoreOpcodesStillReachTheCoreDispatcher) {
    CountingEffect effect;
    AEffect* record = effect.getEffectRecord();
    void* data = nullptr;
    EXPECT_EQ(dispatch(record, effSetChunk, 0, 9, &data), 9) << "opcode 24 still reaches setChunk";
    EXPECT_EQ(dispatch(record, effIdentify), 0x4E764566);
    EXPECT_EQ(dispatch(record, effGetVstVersion + 1), 0);
    dispatch(record, effSetProgram, 0, 2);
    EXPECT_EQ(dispatch(record, effGetProgram), 2);
}

}  // namespace
