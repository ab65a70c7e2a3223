// The editor in a program that carries none of the face's bitmaps: every size
// taken from a bitmap is 0, and nothing a host does may crash.
#include <gtest/gtest.h>

#include "tests/editor/editor_test_support.h"

namespace {

TEST_F(EditorTest, WithoutBitmapsTheFaceShrinksAndStillWorks) {
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->bottom, 0);
    EXPECT_EQ(rect->right, 0);
    EXPECT_EQ(record->flags, 0x1D);

    EXPECT_EQ(openInHost(), 1);
    GuiFrame* frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getViewCount(), 111);
    EXPECT_EQ(frame->getSize().right, 0);
    const GuiRect knob = editor->mainControlFor(11)->getSize();
    EXPECT_EQ(knob.left, 154);
    EXPECT_EQ(knob.right, 154);
    EXPECT_EQ(knob.bottom, 86);
    const GuiRect toggle = editor->mainControlFor(53)->getSize();
    EXPECT_EQ(toggle.right, 398);
    EXPECT_EQ(toggle.bottom, 346);
    EXPECT_EQ(editor->getOverlayButton()->getOverlayRect().right, 88);
    EXPECT_EQ(editor->getOverlayButton()->getOverlayRect().bottom, 150);
    EXPECT_EQ(editor->displayFor(11)->getSize().right, 182);  // fixed numbers, no bitmap behind them

    // Paint, idle, host changes and clicks on what is left of the controls.
    pumpMessages();
    editor->redrawFrame(nullptr);
    record->setParameter(record, 11, 0.3f);
    dispatch(effEditIdle);
    click(WM_LBUTTONDOWN, 398, 346);  // the switch shrank to its corner
    EXPECT_EQ(plugin->getParameter(53), 0.0f);
    click(WM_LBUTTONDOWN, 154, 86);  // the knob too: with no handle its centre is that corner
    EXPECT_EQ(plugin->getParameter(11), 0.5f);
    click(WM_LBUTTONDOWN, 470, 10);  // About: shows an empty picture, modally
    EXPECT_EQ(plugin->getParameter(57), 1.0f);
    click(WM_LBUTTONDOWN, 88, 150);
    EXPECT_EQ(plugin->getParameter(57), 0.0f);
    dispatch(effEditIdle);
    dispatch(effEditClose);
    EXPECT_EQ(openInHost(), 1);
}

}  // namespace
