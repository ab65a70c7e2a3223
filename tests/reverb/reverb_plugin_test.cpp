#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "frame/plugin_entry.h"
#include "vst2/reverb_plugin.h"

namespace {

struct HeardChange {
    std::int32_t index;
    float value;
    float storedAtTheTime;  // what the engine answered when the editor heard it
};

// Stands in for the editor: attaches itself as the toolkit's editor base does.
class ListeningEditor : public EditorInterface, public ParameterListener {
public:
    ListeningEditor(EditorConnection& connection, EffectBase* effect)
        : EditorInterface(effect), connection(connection) {
        effect->attachEditor(this);
        ++alive;
    }
    ~ListeningEditor() override { --alive; }
    void setParameter(std::int32_t index, float value) override {
        heard.push_back({index, value, connection.parameterValue(static_cast<ParameterId>(index))});
        postUpdate();
    }

    static inline int alive = 0;
    std::vector<HeardChange> heard;

private:
    EditorConnection& connection;
};

EditorInterface* makeListeningEditor(EditorConnection& connection, EffectBase* effect) {
    return new (std::nothrow) ListeningEditor(connection, effect);
}
EditorInterface* failToMakeEditor(EditorConnection&, EffectBase*) { return nullptr; }

std::vector<std::int32_t> automated;
VstIntPtr VSTCALLBACK recordingHost(AEffect*, std::int32_t opcode, std::int32_t index, VstIntPtr, void*, float) {
    if (opcode == audioMasterAutomate) automated.push_back(index);
    return opcode == audioMasterVersion ? 2400 : 0;
}

class ReverbPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        outOfMemory = false;
        automated.clear();
    }
    void TearDown() override { outOfMemory = false; }
};

TEST_F(ReverbPluginTest, WithoutAFactoryTheInstanceHasNoEditor) {
    ReverbPlugin plugin(nullptr, nullptr);
    const AEffect* record = plugin.getEffectRecord();
    EXPECT_EQ(record->flags, 0x1C);
    EXPECT_EQ(record->uniqueID, 0x5175617A);
    EXPECT_EQ(plugin.getEditor(), nullptr);
    EXPECT_FALSE(outOfMemory);
    plugin.setParameter(3, 0.25f);
    EXPECT_EQ(plugin.getParameter(3), 0.25f);
}

TEST_F(ReverbPluginTest, TheEditorHearsEveryChangeAfterTheEngineStoredIt) {
    {
        ReverbPlugin plugin(recordingHost, makeListeningEditor);
        ASSERT_NE(plugin.getEditor(), nullptr);
        EXPECT_EQ(plugin.getEffectRecord()->flags, 0x1D);
        auto* editor = dynamic_cast<ListeningEditor*>(plugin.getEditor());
        ASSERT_NE(editor, nullptr);

        plugin.setParameter(11, 0.3f);
        plugin.setParameter(70, 0.9f);  // out of range: the editor still hears it
        ASSERT_EQ(editor->heard.size(), 2u);
        EXPECT_EQ(editor->heard[0].index, 11);
        EXPECT_EQ(editor->heard[0].value, 0.3f);
        EXPECT_EQ(editor->heard[0].storedAtTheTime, 0.3f);
        EXPECT_EQ(editor->heard[1].index, 70);
        EXPECT_TRUE(editor->isUpdatePending());

        editor->heard.clear();
        plugin.setProgram(1);
        EXPECT_EQ(editor->heard.size(), 58u) << "a program change reaches the editor parameter by parameter";

        editor->heard.clear();
        plugin.automateParameter(26, 0.6f);
        ASSERT_EQ(editor->heard.size(), 1u);
        EXPECT_EQ(editor->heard[0].storedAtTheTime, 0.6f);
        EXPECT_EQ(automated, (std::vector<std::int32_t>{26}));
        EXPECT_EQ(ListeningEditor::alive, 1);
    }
    EXPECT_EQ(ListeningEditor::alive, 0) << "the instance deletes its editor";
    EXPECT_FALSE(outOfMemory);
}

TEST_F(ReverbPluginTest, AnEditorThatCannotBeMadeSetsOutOfMemoryAndTheEntryRefuses) {
    {
        ReverbPlugin plugin(nullptr, failToMakeEditor);
        EXPECT_TRUE(outOfMemory);
        EXPECT_EQ(plugin.getEditor(), nullptr);
        EXPECT_EQ(plugin.getEffectRecord()->flags, 0x1C);
    }
    outOfMemory = false;
    auto create = [](HostCallback host) -> EffectBase* { return new ReverbPlugin(host, failToMakeEditor); };
    EXPECT_EQ(runPluginMain(recordingHost, create), nullptr);
}

}  // namespace
