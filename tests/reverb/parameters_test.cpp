#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "reverb/program_record.h"
#include "tests/reverb/reverb_test_support.h"
#include "vst2/reverb_effect.h"

namespace {

std::string programName(ReverbEffect& effect) {
    char text[kProgramNameSize + 8];
    std::memset(text, 'x', sizeof text);
    effect.getProgramName(text);
    return text;
}

// An editor that only remembers that it was asked to update.
class PostUpdateProbe : public EditorInterface {
public:
    explicit PostUpdateProbe(EffectBase* effect) : EditorInterface(effect) {}
};

TEST(ProgramRecord, StartsAsInitAndLoadsDattorroOnlyForNumberOne) {
    ProgramRecord record;
    EXPECT_STREQ(record.name, "Init");
    EXPECT_EQ(record.words[4], 1.0f);   // Quality
    EXPECT_EQ(record.words[15], 0.5f);  // DryOutput
    EXPECT_EQ(record.words[1], 0.99f);  // unbound
    EXPECT_EQ(record.words[35], 0.1f);  // unbound

    for (std::int32_t other : {0, 2, -1}) {
        ProgramRecord unchanged;
        unchanged.loadFactoryProgram(other);
        EXPECT_EQ(std::memcmp(&unchanged, &record, sizeof record), 0) << "number " << other;
    }

    record.loadFactoryProgram(1);
    EXPECT_STREQ(record.name, "Init") << "the name is not touched";
    EXPECT_EQ(record.words[4], 0.6f);
    EXPECT_EQ(record.words[15], 0.0f);
    EXPECT_EQ(record.words[5], 0.05f);
    EXPECT_EQ(record.words[1], 0.99f);
    EXPECT_EQ(record.words[35], 0.1f);
}

TEST(ReverbParameters, AfterConstructionInitIsLiveWithAllSwitchesOn) {
    ReverbEffect effect(nullptr);
    EXPECT_EQ(programName(effect), "Init");
    EXPECT_EQ(effect.getParameter(0), 1.0f);
    for (const ParameterInfo& info : kParameterTable) EXPECT_EQ(effect.getParameter(info.id), info.initValue);
    for (std::int32_t index : {kFilterSwitch, kReflectionsSwitch, kTankSwitch, kCombsSwitch})
        EXPECT_TRUE(effect.getEngine().isStageOn(index)) << index;
    const AEffect* record = effect.getEffectRecord();
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->numPrograms, 2);
    EXPECT_EQ(record->numParams, 58);
    EXPECT_EQ(record->uniqueID, 0x5175617A);
    EXPECT_EQ(record->flags, 0x1C);
}

TEST(ReverbParameters, ProgramOneIsDattorroAndTheHostSeesItSelected) {
    ReverbEffect effect(nullptr);
    AEffect* record = effect.getEffectRecord();
    record->dispatcher(record, effSetProgram, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(programName(effect), "Dattorro");
    EXPECT_EQ(effect.getParameter(25), 0.0f);
    EXPECT_EQ(effect.getParameter(15), 0.3f);
    for (const ParameterInfo& info : kParameterTable) EXPECT_EQ(effect.getParameter(info.id), info.dattorroValue);
    EXPECT_EQ(record->dispatcher(record, effGetProgram, 0, 0, nullptr, 0.0f), 1);
}

TEST(ReverbParameters, SwitchesTurnOffAtZeroOnAtExactlyOneAndOtherwiseKeepTheirState) {
    struct Case {
        float value;
        bool startsOn;
        bool endsOn;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0.5f, true, true},   {0.0f, true, false},         {-0.0f, true, false},       {1.0f, false, true},
        {0.5f, false, false}, {0.99999994f, false, false}, {1.0000001f, false, false}, {nan, true, true},
        {nan, false, false},  {2.0f, false, false},        {-1.0f, true, true},
    };
    for (std::int32_t index : {kFilterSwitch, kReflectionsSwitch, kTankSwitch, kCombsSwitch}) {
        for (const Case& c : cases) {
            ReverbEffect effect(nullptr);
            effect.setParameter(index, c.startsOn ? 1.0f : 0.0f);
            effect.setParameter(index, c.value);
            EXPECT_EQ(effect.getEngine().isStageOn(index), c.endsOn) << "index " << index << " value " << c.value;
            EXPECT_EQ(bitsOf(effect.getParameter(index)), bitsOf(c.value)) << "the value is stored unchanged";
        }
    }
}

TEST(ReverbParameters, OutOfRangeIndicesStoreNothingButStillPostAnEditorUpdate) {
    ReverbEffect effect(nullptr);
    auto* probe = new PostUpdateProbe(&effect);
    effect.attachEditor(probe);
    for (std::int32_t index : {58, 60, -1, std::numeric_limits<std::int32_t>::min()}) {
        probe->idle();  // clears the pending update
        ASSERT_FALSE(probe->isUpdatePending());
        effect.setParameter(index, 0.7f);
        EXPECT_TRUE(probe->isUpdatePending()) << index;
        EXPECT_EQ(effect.getParameter(index), 0.0f) << index;
    }
    for (const ParameterInfo& info : kParameterTable) EXPECT_EQ(effect.getParameter(info.id), info.initValue);
}

TEST(ReverbParameters, ValuesOutsideTheRangeAreStoredUnchanged) {
    ReverbEffect effect(nullptr);
    for (float value :
         {-3.5f, 1.5f, 1e30f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        effect.setParameter(3, value);
        EXPECT_EQ(bitsOf(effect.getParameter(3)), bitsOf(value));
    }
}

TEST(ReverbParameters, EditsStayInTheirProgramAcrossProgramChanges) {
    ReverbEffect effect(nullptr);
    effect.setProgram(1);
    effect.setParameter(26, 0.2f);
    effect.setProgram(0);
    EXPECT_EQ(effect.getParameter(26), 0.5f);
    effect.setParameter(55, 0.0f);
    effect.setProgram(1);
    EXPECT_EQ(effect.getParameter(26), 0.2f);
    EXPECT_TRUE(effect.getEngine().isStageOn(kTankSwitch)) << "program 1 switches the tank on again";
    effect.setProgram(0);
    EXPECT_FALSE(effect.getEngine().isStageOn(kTankSwitch)) << "program 0 keeps its edit of the tank switch";
}

TEST(ReverbParameters, ProgramNumbersOutsideZeroToOneAreIgnored) {
    ReverbEffect effect(nullptr);
    effect.setProgram(1);
    for (std::int32_t program : {2, -1, 1000}) {
        effect.setProgram(program);
        EXPECT_EQ(effect.getProgram(), 1);
        EXPECT_EQ(programName(effect), "Dattorro");
        EXPECT_EQ(effect.getParameter(0), 0.6f);
    }
}

// Records the order in which setProgram passes the parameters on.
class OrderRecorder : public ReverbEffect {
public:
    OrderRecorder() : ReverbEffect(nullptr) {}
    void setParameter(std::int32_t index, float value) override {
        order.push_back(index);
        ReverbEffect::setParameter(index, value);
    }
    std::vector<std::int32_t> order;
};

TEST(ReverbParameters, SetProgramPassesEveryParameterThroughTheVirtualSetParameterInItsOrder) {
    OrderRecorder effect;
    effect.setProgram(1);
    std::vector<std::int32_t> expected{25, 26, 34, 35};
    for (std::int32_t i = 0; i <= 10; ++i) expected.push_back(i);
    for (std::int32_t i : {13, 14, 11, 12, 15, 16, 21, 22, 23, 24}) expected.push_back(i);
    for (std::int32_t i = 17; i <= 20; ++i) expected.push_back(i);
    for (std::int32_t i = 27; i <= 33; ++i) expected.push_back(i);
    for (std::int32_t i = 36; i <= 50; ++i) expected.push_back(i);
    for (std::int32_t i : {51, 53, 55, 54, 56, 52, 57}) expected.push_back(i);
    EXPECT_EQ(effect.order, expected);
}

TEST(ReverbParameters, LongProgramNamesKeepTwentyThreeCharactersAndStayInTheirField) {
    ReverbEffect effect(nullptr);
    const std::string longName = "A rather long program name that goes on";
    std::vector<char> text(longName.begin(), longName.end());
    text.push_back('\0');
    effect.setProgramName(text.data());
    EXPECT_EQ(programName(effect), longName.substr(0, 23));

    // Exactly 23 characters fit; 24 lose the last one.
    std::string fits = "abcdefghijklmnopqrstuvw";
    effect.setProgramName(fits.data());
    EXPECT_EQ(programName(effect), fits);
    std::string oneTooMany = fits + "x";
    effect.setProgramName(oneTooMany.data());
    EXPECT_EQ(programName(effect), fits);

    effect.setProgramName(nullptr);
    EXPECT_EQ(programName(effect), fits);
    effect.getProgramName(nullptr);  // ignored, no crash

    // The record behind the name (program 1) is untouched.
    effect.setProgram(1);
    EXPECT_EQ(programName(effect), "Dattorro");
    for (const ParameterInfo& info : kParameterTable) EXPECT_EQ(effect.getParameter(info.id), info.dattorroValue);
}

TEST(ReverbParameters, GetProgramNameWritesAtMostTheNameField) {
    ReverbEffect effect(nullptr);
    char text[kProgramNameSize + 4];
    std::memset(text, '#', sizeof text);
    effect.getProgramName(text);
    for (std::size_t i = kProgramNameSize; i < sizeof text; ++i) EXPECT_EQ(text[i], '#') << i;
}

}  // namespace
