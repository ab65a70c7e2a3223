#include <gtest/gtest.h>

#include "frame/plugin_entry.h"
#include "tests/frame/test_effect.h"

namespace {

int created = 0;

EffectBase* createCounting(HostCallback host) {
    ++created;
    return new CountingEffect(host);
}

EffectBase* createWithoutEditorMemory(HostCallback host) {
    outOfMemory = true;  // what an instance does when its editor cannot be allocated
    return new CountingEffect(host);
}

class PluginEntry : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingHost::reset();
        outOfMemory = false;
        created = 0;
        CountingEffect::destroyed = 0;
    }
    void TearDown() override { outOfMemory = false; }
};

TEST_F(PluginEntry, AsksTheHostVersionFirstAndAnswersTheRecord) {
    AEffect* record = runPluginMain(RecordingHost::callback, createCounting);
    ASSERT_NE(record, nullptr);
    ASSERT_FALSE(RecordingHost::calls.empty());
    EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(RecordingHost::calls[0].index, 0);
    EXPECT_EQ(RecordingHost::calls[0].value, 0);
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(dispatch(record, effClose), 1);
    EXPECT_EQ(CountingEffect::destroyed, 1);
}

TEST_F(PluginEntry, NoHostVersionMeansNoInstance) {
    RecordingHost::versionAnswer = 0;
    EXPECT_EQ(runPluginMain(RecordingHost::callback, createCounting), nullptr);
    EXPECT_EQ(created, 0);
    EXPECT_EQ(runPluginMain(nullptr, createCounting), nullptr);
    EXPECT_EQ(created, 0);
}

TEST_F(PluginEntry, OutOfMemoryRefusesThisAndEveryLaterInstance) {
    EXPECT_EQ(runPluginMain(RecordingHost::callback, createWithoutEditorMemory), nullptr);
    EXPECT_EQ(CountingEffect::destroyed, 1) << "the refused instance is destroyed";
    EXPECT_EQ(runPluginMain(RecordingHost::callback, createCounting), nullptr);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(CountingEffect::destroyed, 2);
}

}  // namespace
