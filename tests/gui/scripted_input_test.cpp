// Behaviour that needs the mouse, the keys or the clock under the test's
// control: only our own Win32 subset can script them (platform/win32_testing.h).
#include <gtest/gtest.h>

#include "gui/draw_context.h"
#include "gui/editor_base.h"
#include "gui/gui_frame.h"
#include "gui_test_support.h"
#include "platform/win32_testing.h"
#include "recording_view.h"
#include "silent_effect.h"

namespace {

using win32testing::InputStep;

class CountingEditor : public EditorBase {
public:
    using EditorBase::EditorBase;
    void idle() override {
        ++idlePasses;
        EditorBase::idle();
    }
    int idlePasses = 0;
};

class ScriptedInputTest : public ::testing::Test {
protected:
    void SetUp() override { IdleCountingHost::opcodes.clear(); }
    void TearDown() override {
        win32testing::clearInputScript();
        win32testing::useRealClock();
    }
};

TEST_F(ScriptedInputTest, MouseStateSumsTheHeldButtonsAndKeys) {
    using namespace win32testing;
    struct Case {
        unsigned held;
        std::int32_t state;
    } cases[] = {
        {0, 0},
        {heldLeft | heldAlt, mouseLeft + keyAlt},
        {heldRight, mouseRight},
        {heldMiddle | heldShift | heldControl, mouseMiddle + keyShift + keyControl},
        {heldLeft | heldMiddle | heldRight | heldShift | heldControl | heldAlt, 63},
    };
    DrawContext context(nullptr, nullptr, nullptr);
    for (const Case& c : cases) {
        InputStep step;
        step.held = c.held;
        scriptInput({step});
        EXPECT_EQ(context.getMouseState(), c.state) << "held " << c.held;
    }
}

TEST_F(ScriptedInputTest, MouseLocationIsInTheContextWindowsClientCoordinates) {
    HostWindow host(400, 300);
    GuiFrame frame(GuiRect(0, 0, 200, 100), host.handle(), nullptr);
    POINT frameOrigin;
    frameOrigin.x = 0;
    frameOrigin.y = 0;
    MapWindowPoints(frame.getWindowHandle(), nullptr, &frameOrigin, 1);

    InputStep start, moved;
    moved.cursorX = frameOrigin.x + 37;
    moved.cursorY = frameOrigin.y + 21;
    win32testing::scriptInput({start, moved});
    DrawContext context(&frame, nullptr, frame.getWindowHandle());
    GuiPoint where;
    context.getMouseLocation(where);
    EXPECT_EQ(where.h, 37);
    EXPECT_EQ(where.v, 21);
}

// Of two calls 30 ms apart only the first runs a pass; calls 60 ms apart both do.
TEST_F(ScriptedInputTest, DoIdleRunsAtMostOncePer50ms) {
    SilentEffect effect;
    win32testing::setTickCount(1000);
    CountingEditor* editor = new CountingEditor(&effect);
    struct Step {
        DWORD tick;
        int passesAfter;
    } steps[] = {
        {1030, 0},                        // 30 ms after construction
        {1049, 0}, {1050, 1}, {1080, 1},  // 30 ms after the pass
        {1140, 2}, {1200, 3},             // 60 ms apart
        {1249, 3}, {1250, 4},
    };
    for (const Step& step : steps) {
        win32testing::setTickCount(step.tick);
        editor->doIdle();
        EXPECT_EQ(editor->idlePasses, step.passesAfter) << "at " << step.tick << " ms";
        EXPECT_EQ(IdleCountingHost::idleCalls(), step.passesAfter) << "at " << step.tick << " ms";
    }
}

// The tick count wraps after 49.7 days; the throttle counts elapsed time across the wrap.
TEST_F(ScriptedInputTest, DoIdleKeepsRunningWhenTheTickCountWraps) {
    SilentEffect effect;
    win32testing::setTickCount(0xFFFFFFC0u);
    CountingEditor* editor = new CountingEditor(&effect);
    win32testing::setTickCount(0x00000010u);  // 80 ms later
    editor->doIdle();
    EXPECT_EQ(editor->idlePasses, 1);
    win32testing::setTickCount(0x00000020u);
    editor->doIdle();
    EXPECT_EQ(editor->idlePasses, 1);
}

TEST_F(ScriptedInputTest, PostedClickReachesTheViewThroughTheMessageQueue) {
    HostWindow host(400, 300);
    EventLog log;
    GuiFrame frame(GuiRect(0, 0, 200, 100), host.handle(), nullptr);
    RecordingView* view = new RecordingView(GuiRect(100, 50, 120, 60), "a", log);
    frame.addView(view);
    ASSERT_TRUE(win32testing::postClick(frame.getWindowHandle(), WM_LBUTTONDOWN, 120, 60));
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    EXPECT_EQ(log.count("click a"), 1);
    EXPECT_EQ(view->lastClick.h, 120);
    EXPECT_EQ(view->lastClick.v, 60);
}

}  // namespace
