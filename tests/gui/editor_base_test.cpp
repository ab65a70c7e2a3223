// The editor base: registration with the effect, the rectangle, the update
// flag around open and idle, the frame's idle pass and the throttled doIdle.
#include <gtest/gtest.h>

#include "gui/editor_base.h"
#include "gui_test_support.h"
#include "recording_view.h"
#include "silent_effect.h"

namespace {

// Builds its frame in open and deletes it in close, as a plug-in's editor does.
class TestEditor : public EditorBase {
public:
    TestEditor(EffectBase* effect, EventLog& log) : EditorBase(effect), log(log) {
        rect.top = 0;
        rect.left = 0;
        rect.bottom = 80;
        rect.right = 120;
    }
    ~TestEditor() override { delete frame; }
    std::int32_t open(void* parentWindow) override {
        EditorBase::open(parentWindow);
        frame = new GuiFrame(GuiRect(0, 0, rect.right, rect.bottom), parentWindow, this);
        frame->addView(new RecordingView(GuiRect(0, 0, 10, 10), "knob", log));
        return 1;
    }
    void close() override {
        delete frame;
        frame = nullptr;
    }
    void idle() override {
        log.add("editor idle");
        EditorBase::idle();
    }
    void update() override { log.add("editor update"); }

    EventLog& log;
};

class EditorBaseTest : public ::testing::Test {
protected:
    void SetUp() override { IdleCountingHost::opcodes.clear(); }

    EventLog log;
    SilentEffect effect;  // owns the editor made in each test
};

TEST_F(EditorBaseTest, RegistersWithItsEffectWhileBeingConstructed) {
    EXPECT_EQ(effect.getEffectRecord()->flags & effFlagsHasEditor, 0);
    TestEditor* editor = new TestEditor(&effect, log);
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_NE(effect.getEffectRecord()->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(editor->getEffect(), &effect);
    EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(EditorBaseTest, GetRectHandsOutItsRectangleWhereThePlainInterfaceHasNone) {
    TestEditor* editor = new TestEditor(&effect, log);
    ERect* rect = nullptr;
    EXPECT_EQ(editor->getRect(&rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->bottom, 80);
    EXPECT_EQ(rect->right, 120);

    EditorInterface plain(nullptr);
    rect = reinterpret_cast<ERect*>(&plain);
    EXPECT_EQ(plain.getRect(&rect), 0);
    EXPECT_EQ(rect, nullptr);
}

TEST_F(EditorBaseTest, OpenAsksForOneUpdateAndSetParameterForAnother) {
    HostWindow host;
    TestEditor* editor = new TestEditor(&effect, log);
    EXPECT_FALSE(editor->isUpdatePending());
    editor->open(host.handle());
    EXPECT_EQ(editor->getSystemWindow(), host.handle());
    EXPECT_TRUE(editor->isUpdatePending());
    editor->EditorBase::idle();
    editor->EditorBase::idle();
    EXPECT_EQ(log.count("editor update"), 1);
    editor->setParameter(3, 0.25f);
    editor->EditorBase::idle();
    EXPECT_EQ(log.count("editor update"), 2);
    editor->close();
}

TEST_F(EditorBaseTest, IdleUpdatesTheFrameOnceItHasBeenPainted) {
    HostWindow host;
    TestEditor* editor = new TestEditor(&effect, log);
    editor->open(host.handle());
    editor->idle();
    EXPECT_EQ(log.count("update knob"), 0);  // not painted yet

    editor->redrawFrame(nullptr);  // draws the whole frame at once
    EXPECT_EQ(log.count("draw knob"), 1);
    editor->idle();
    EXPECT_EQ(log.count("update knob"), 1);
    editor->close();
    EXPECT_EQ(log.count("delete knob"), 1);
    editor->idle();
    editor->redrawFrame(nullptr);
    EXPECT_EQ(log.count("update knob"), 1);
}

TEST_F(EditorBaseTest, DoIdleRunsAPassAndCallsTheHostOnce50msHavePassed) {
    TestEditor* editor = new TestEditor(&effect, log);
    const std::uint32_t start = GetTickCount();
    // Wait on the real clock until the first pass is due.
    while (GetTickCount() - start < 60) {
    }
    GuiFrame frame(GuiRect(0, 0, 10, 10), nullptr, editor);
    frame.doIdle();
    EXPECT_EQ(log.count("editor idle"), 1);
    EXPECT_EQ(IdleCountingHost::idleCalls(), 1);
}

TEST_F(EditorBaseTest, DoIdleWithoutAnEffectRunsThePassOnly) {
    EventLog ownLog;
    TestEditor editor(nullptr, ownLog);
    const std::uint32_t start = GetTickCount();
    while (GetTickCount() - start < 60) {
    }
    editor.doIdle();
    EXPECT_EQ(ownLog.count("editor idle"), 1);
    EXPECT_EQ(IdleCountingHost::idleCalls(), 0);
}

}  // namespace
