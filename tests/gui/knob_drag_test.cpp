// Dragging a knob with scripted mouse, keys and clock: only our own Win32
// subset can script them (platform/win32_testing.h).
#include <gtest/gtest.h>

#include <vector>

#include "gui/editor_base.h"
#include "gui/gui_frame.h"
#include "gui/rotary_knob.h"
#include "gui_test_support.h"
#include "knob_in_frame.h"
#include "platform/win32_testing.h"
#include "recording_listener.h"
#include "scripted_steps.h"
#include "silent_effect.h"

namespace {

using namespace win32testing;

constexpr int kLeft = KnobInFrame::kLeft;
constexpr int kTop = KnobInFrame::kTop;
constexpr int kCentreH = kLeft + 6;
constexpr int kCentreV = kTop + 6;

class KnobDragTest : public ::testing::Test, protected KnobInFrame {
protected:
    void SetUp() override { IdleCountingHost::opcodes.clear(); }
    void TearDown() override {
        clearInputScript();
        useRealClock();
    }

    // A step with the cursor at a frame point.
    InputStep at(int h, int v, unsigned held, DWORD elapsedMs = 0) const {
        return stepAt(frame->getWindowHandle(), h, v, held, elapsedMs);
    }
    // The button-down message at a frame point, with the script running.
    void press(UINT message, int h, int v, const std::vector<InputStep>& steps) {
        scriptInput(steps);
        const LPARAM position = static_cast<LPARAM>((static_cast<unsigned>(v) << 16) | static_cast<unsigned>(h));
        GuiFrame::windowProc(frame->getWindowHandle(), message, 0, position);
    }
};

TEST_F(KnobDragTest, DragFollowsTheCursorsAngleAndReportsEachNewValueOnce) {
    const int above = kTop, left = kCentreH - 10, right = kCentreH + 10;  // the click itself lands on the knob
    press(WM_LBUTTONDOWN, kCentreH, above,
          {
              at(kCentreH, above, heldLeft), at(left, kCentreV, heldLeft),  // 9 o'clock
              at(left, kCentreV, heldLeft),                                 // no change, no report
              at(right, kCentreV, heldLeft),                                // 3 o'clock
              at(right + 40, kCentreV + 1, 0),                              // released: this position is never taken
          });
    ASSERT_EQ(listener.values.size(), 3u);
    EXPECT_EQ(listener.values[0], 0.5f);
    EXPECT_NEAR(listener.values[1], 1.0f / 6.0f, 1e-6);
    EXPECT_NEAR(listener.values[2], 5.0f / 6.0f, 1e-6);
    EXPECT_EQ(listener.tags, std::vector<std::int32_t>(3, 11));
    EXPECT_EQ(knob->getValue(), listener.values[2]);
    EXPECT_EQ(cursorPollCount(), 4);
}

TEST_F(KnobDragTest, WithoutARedrawingListenerTheSameValueIsReportedOnEveryPass) {
    listener.redraws = false;
    press(WM_LBUTTONDOWN, kCentreH, kTop,
          {at(kCentreH, kTop, heldLeft), at(kCentreH, kTop, heldLeft), at(kCentreH, kTop, 0)});
    EXPECT_EQ(listener.values, std::vector<float>(2, 0.5f));
}

TEST_F(KnobDragTest, AltWithTheLeftButtonAloneSetsTheDefaultWithoutDragging) {
    knob->setValue(0.2f);
    knob->setLastDrawnValue(0.2f);
    press(WM_LBUTTONDOWN, kLeft + 1, kTop + 20, {at(kLeft + 1, kTop + 20, heldLeft | heldAlt)});
    EXPECT_EQ(listener.values, std::vector<float>{0.5f});
    EXPECT_EQ(cursorPollCount(), 0);

    // Already drawn at the default: nothing to report.
    listener.values.clear();
    press(WM_LBUTTONDOWN, kLeft + 1, kTop + 20, {at(kLeft + 1, kTop + 20, heldLeft | heldAlt)});
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(knob->getValue(), 0.5f);
}

TEST_F(KnobDragTest, AltWithAnotherButtonOrKeyStartsADrag) {
    struct Case {
        UINT message;
        unsigned held;
    } cases[] = {
        {WM_RBUTTONDOWN, heldRight | heldAlt},
        {WM_LBUTTONDOWN, heldLeft | heldAlt | heldShift},
        {WM_LBUTTONDOWN, heldLeft | heldAlt | heldControl},
    };
    for (const Case& c : cases) {
        knob->setValue(0.9f);
        knob->setLastDrawnValue(0.9f);
        listener.values.clear();
        // Clicked at 9 o'clock: the value comes from the angle, not the default.
        press(c.message, kCentreH - 6, kCentreV, {at(kCentreH - 6, kCentreV, c.held), at(kCentreH - 6, kCentreV, 0)});
        ASSERT_EQ(listener.values.size(), 1u) << "held " << c.held;
        EXPECT_NEAR(listener.values[0], 1.0f / 6.0f, 1e-6) << "held " << c.held;
        EXPECT_EQ(cursorPollCount(), 1) << "held " << c.held;
    }
}

TEST_F(KnobDragTest, HeldShiftKeepsTheKnobFollowingAfterTheButtonIsReleased) {
    press(WM_LBUTTONDOWN, kCentreH, kTop,
          {
              at(kCentreH, kTop, heldLeft), at(kCentreH - 6, kCentreV, heldShift),  // button up, Shift still down
              at(kCentreH + 6, kCentreV, heldShift),
              at(kCentreH + 6, kCentreV + 20, 0),  // Shift up: the loop ends before taking this
          });
    // Shift turns a tenth as fast from where it was pressed: 9 to 3 o'clock is 2/3 of the range.
    ASSERT_EQ(listener.values.size(), 2u);
    EXPECT_EQ(listener.values[0], 0.5f);
    EXPECT_NEAR(listener.values[1], 0.5f + (4.0f / 6.0f) / 10.0f, 1e-6);
    EXPECT_EQ(cursorPollCount(), 3);
}

TEST_F(KnobDragTest, ShiftTurnsTenTimesFinerFromWhereTheKnobStandsAndNeverMakesItJump) {
    const int left = kCentreH - 6, right = kCentreH + 6;
    press(WM_LBUTTONDOWN, kCentreH, kTop,
          {
              at(kCentreH, kTop, heldLeft),               // the click: 12 o'clock, 0.5
              at(right, kCentreV, heldLeft | heldShift),  // Shift pressed here: no change
              at(kCentreH, kTop, heldLeft | heldShift),   // back to 12 o'clock: -1/3 of the range, a tenth of it
              at(kCentreH, kTop, heldLeft),               // Shift released: no jump back to the angle
              at(left, kCentreV, heldLeft),               // to 9 o'clock at full speed: -1/3
              at(left, kCentreV, 0),
          });
    const float fine = 0.5f - (1.0f / 3.0f) / 10.0f;
    ASSERT_EQ(listener.values.size(), 3u);
    EXPECT_EQ(listener.values[0], 0.5f);
    EXPECT_NEAR(listener.values[1], fine, 1e-6);
    EXPECT_NEAR(listener.values[2], fine - 1.0f / 3.0f, 1e-6);

    // Shift held from the click: the click's own value, then fine; the range still limits it.
    listener.values.clear();
    press(WM_LBUTTONDOWN, right, kCentreV,
          {
              at(right, kCentreV, heldLeft | heldShift),  // 3 o'clock: 5/6
              at(left, kCentreV, heldLeft | heldShift),   // to 9 o'clock: -2/3, a tenth of it
              at(left, kCentreV, 0),
          });
    ASSERT_EQ(listener.values.size(), 2u);
    EXPECT_NEAR(listener.values[0], 5.0f / 6.0f, 1e-6);
    EXPECT_NEAR(listener.values[1], 5.0f / 6.0f - (2.0f / 3.0f) / 10.0f, 1e-6);
}

TEST_F(KnobDragTest, MouseDisabledKnobIgnoresTheClick) {
    knob->setMouseEnabled(false);
    press(WM_LBUTTONDOWN, kCentreH, kTop, {at(kCentreH, kTop, heldLeft), at(kCentreH - 6, kCentreV, heldLeft)});
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(knob->getValue(), 0.0f);
    EXPECT_EQ(cursorPollCount(), 0);
}

// An editor that counts its idle passes.
class IdleCountingEditor : public EditorBase {
public:
    using EditorBase::EditorBase;
    void idle() override {
        ++passes;
        EditorBase::idle();
    }
    int passes = 0;
};

TEST_F(KnobDragTest, DragGivesTheEditorAndTheHostAnIdlePassAtMostEvery50ms) {
    SilentEffect effect;
    setTickCount(5000);
    auto* editor = new IdleCountingEditor(&effect);  // owned by the effect
    GuiFrame* editorFrame = new GuiFrame(GuiRect(0, 0, 300, 200), host.handle(), editor);
    GuiBitmap* handle = new GuiBitmap(makeColorBitmap(host, 12, 12, [](int, int) { return colorRed; }));
    auto* dragged =
        new RotaryKnob(GuiRect(kLeft, kTop, kLeft + 24, kTop + 24), &listener, 3, nullptr, handle, GuiPoint(0, 0));
    handle->release();
    editorFrame->addView(dragged);

    // Passes at 5060 and 5120; 5090 and 5140 come too soon after one.
    scriptInput({at(kCentreH, kTop, heldLeft), at(kCentreH, kTop, heldLeft, 60), at(kCentreH, kTop, heldLeft, 30),
                 at(kCentreH, kTop, heldLeft, 30), at(kCentreH, kTop, heldLeft, 20), at(kCentreH, kTop, 0, 0)});
    const LPARAM position = static_cast<LPARAM>((static_cast<unsigned>(kTop) << 16) | kCentreH);
    GuiFrame::windowProc(editorFrame->getWindowHandle(), WM_LBUTTONDOWN, 0, position);
    EXPECT_EQ(editor->passes, 2);
    EXPECT_EQ(IdleCountingHost::idleCalls(), 2);
    delete editorFrame;
}

}  // namespace
