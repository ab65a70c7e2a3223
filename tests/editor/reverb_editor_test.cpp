// The reverb's editor as a host drives it: its rectangle, opening and closing,
// the views it builds, and the two-way binding between controls and parameters.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "gui/frame_window_class.h"
#include "tests/editor/editor_test_support.h"

namespace {

// Every main control and display holds the effect's value of its parameter.
void expectControlsShowTheEffect(ReverbEditor& editor, EffectBase& effect) {
    for (std::int32_t index = 0; index < kParameterCount; ++index) {
        GuiControl* control = editor.mainControlFor(index);
        ASSERT_NE(control, nullptr) << "parameter " << index;
        EXPECT_EQ(control->getValue(), effect.getParameter(index)) << "parameter " << index;
        ValueDisplay* display = editor.displayFor(index);
        if (display == nullptr) continue;
        EXPECT_EQ(display->getValue(), effect.getParameter(index)) << "display of parameter " << index;
    }
}

TEST_F(EditorTest, JoinsThePluginWithTheFacesSizeBeforeItIsOpened) {
    EXPECT_EQ(record->flags, 0x1D);
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 512);
    EXPECT_EQ(rect->right, 512);
    EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(EditorTest, OpenBuildsTheFaceInTheHostsWindowInTableOrder) {
    EXPECT_EQ(openInHost(), 1);
    GuiFrame* frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getParentWindow(), host.handle());
    EXPECT_EQ(frame->getSize().right, 512);
    EXPECT_EQ(frame->getSize().bottom, 512);
    ASSERT_EQ(frame->getViewCount(), 111);
    ASSERT_NE(frame->getBackground(), nullptr);
    EXPECT_EQ(frame->getBackground()->getResourceId(), 193);

    // The About button first, each knob followed by its display, the four switches last.
    EXPECT_EQ(frame->getView(0), editor->getOverlayButton());
    for (std::int32_t slot = 0; slot < kKnobCount; ++slot) {
        EXPECT_EQ(frame->getView(1 + 2 * slot), editor->getKnob(slot)) << "knob " << slot;
        EXPECT_EQ(frame->getView(2 + 2 * slot), editor->getDisplay(slot)) << "display " << slot;
        EXPECT_EQ(editor->getKnob(slot)->getTag(), kKnobLayouts[static_cast<std::size_t>(slot)].parameter);
        EXPECT_EQ(editor->getKnob(slot)->getListener(), editor);
        EXPECT_EQ(editor->getDisplay(slot)->getListener(), nullptr);
        EXPECT_EQ(editor->getDisplay(slot)->getFont(), fontTiny);
    }
    for (std::int32_t slot = 0; slot < kToggleCount; ++slot)
        EXPECT_EQ(frame->getView(107 + slot), editor->getToggle(slot)) << "toggle " << slot;

    // A few rectangles from the face: a knob one pixel short, a switch, the button and its picture.
    const GuiRect& knob36 = editor->mainControlFor(36)->getSize();
    EXPECT_EQ(knob36.top, 66);
    EXPECT_EQ(knob36.bottom, 89);
    EXPECT_EQ(knob36.right, 426);
    const GuiRect& filterSwitch = editor->mainControlFor(53)->getSize();
    EXPECT_EQ(filterSwitch.left, 398);
    EXPECT_EQ(filterSwitch.top, 346);
    EXPECT_EQ(filterSwitch.right, 414);
    EXPECT_EQ(filterSwitch.bottom, 362);
    const OverlayButton* about = editor->getOverlayButton();
    EXPECT_EQ(about->getTag(), 57);
    EXPECT_EQ(about->getSize().left, 460);
    EXPECT_EQ(about->getSize().bottom, 24);
    EXPECT_EQ(about->getOverlayRect().left, 88);
    EXPECT_EQ(about->getOverlayRect().top, 150);
    EXPECT_EQ(about->getOverlayRect().right, 388);
    EXPECT_EQ(about->getOverlayRect().bottom, 300);
    EXPECT_EQ(editor->mainControlFor(20)->getSize().width(), 24);
    EXPECT_EQ(editor->getKnob(0)->getInset(), 6);  // half the 12-pixel handle
}

TEST_F(EditorTest, AfterOpenEveryDisplayShowsItsParameter) {
    openInHost();
    expectControlsShowTheEffect(*editor, *plugin);
}

TEST_F(EditorTest, HostParameterChangeReachesTheKnobAndItsDisplayAtTheNextIdle) {
    openInHost();
    pumpMessages();  // the first paint
    record->setParameter(record, 11, 0.25f);
    EXPECT_EQ(editor->mainControlFor(11)->getValue(), 0.25f);
    EXPECT_EQ(editor->displayFor(11)->getValue(), 0.25f);
    EXPECT_TRUE(editor->isUpdatePending());
    // Stored only; the idle pass draws.
    EXPECT_NE(editor->displayFor(11)->getLastDrawnValue(), 0.25f);
    dispatch(effEditIdle);
    EXPECT_EQ(editor->mainControlFor(11)->getLastDrawnValue(), 0.25f);
    EXPECT_EQ(editor->displayFor(11)->getLastDrawnValue(), 0.25f);
    EXPECT_FALSE(editor->isUpdatePending());
}

// "AllPass Gain" (parameter 11) at 154, 86: a wheel notch turns it by 0.01
// and a double-click returns it to the current program's stored value.
TEST_F(EditorTest, WheelAndDoubleClickOnAKnobReachTheHostAsAutomation) {
    dispatch(effSetProgram, 0, 1);  // "Dattorro": 0.8
    record->setParameter(record, 11, 0.5f);
    openInHost();
    pumpMessages();
    HWND window = editor->getFrame()->getWindowHandle();
    RecordingHost::calls.clear();

    wheel(window, 1, 0, 166, 98);
    wheel(window, -1, MK_SHIFT, 166, 98);
    click(WM_LBUTTONDBLCLK, 166, 98);
    const std::vector<HostCall> automations = RecordingHost::automations();
    ASSERT_EQ(automations.size(), 3u);
    const float expected[] = {0.51f, 0.509f, 0.8f};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(automations[i].index, 11);
        EXPECT_NEAR(automations[i].opt, expected[i], 1e-6);
    }
    EXPECT_EQ(plugin->getParameter(11), 0.8f);
    EXPECT_EQ(editor->displayFor(11)->getValue(), 0.8f);

    // The "Init" program stores another value; the wheel over a switch or the face changes nothing.
    dispatch(effSetProgram, 0, 0);
    record->setParameter(record, 11, 0.9f);
    click(WM_LBUTTONDBLCLK, 166, 98);
    EXPECT_EQ(plugin->getParameter(11), 0.5f);
    RecordingHost::calls.clear();
    wheel(window, 1, 0, 405, 425);
    wheel(window, 1, 0, 250, 30);
    EXPECT_TRUE(RecordingHost::automations().empty());
}

TEST_F(EditorTest, ProgramChangeRefreshesEveryControl) {
    openInHost();
    const float before = plugin->getParameter(0);
    dispatch(effSetProgram, 0, 1);
    ASSERT_NE(plugin->getParameter(0), before) << "the programs should differ";
    expectControlsShowTheEffect(*editor, *plugin);
}

TEST_F(EditorTest, CloseThenOpenRebuildsEveryViewWithTheCurrentValues) {
    openInHost();
    dispatch(effEditClose);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->getKnob(0), nullptr);
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
    record->setParameter(record, 30, 0.9f);
    record->setParameter(record, 55, 0.0f);
    EXPECT_EQ(openInHost(), 1);
    ASSERT_EQ(editor->getFrame()->getViewCount(), 111);
    EXPECT_EQ(editor->mainControlFor(30)->getValue(), 0.9f);
    EXPECT_EQ(editor->displayFor(30)->getValue(), 0.9f);
    EXPECT_EQ(editor->mainControlFor(55)->getValue(), 0.0f);
    expectControlsShowTheEffect(*editor, *plugin);
}

TEST_F(EditorTest, OpeningAnOpenEditorAgainReplacesTheFaceInsteadOfDoublingIt) {
    openInHost();
    EXPECT_EQ(openInHost(), 1);
    EXPECT_EQ(editor->getFrame()->getViewCount(), 111);
    EXPECT_EQ(FrameWindowClass::useCount(), 1);
    // The editor and each of the 53 knobs hold the handle; a leaked first face would hold more.
    EXPECT_EQ(editor->getKnob(0)->getHandle()->getReferenceCount(), 1 + kKnobCount);
    EXPECT_EQ(editor->getFrame()->getBackground()->getReferenceCount(), 2);
}

TEST_F(EditorTest, IndicesOutsideTheParametersOnlyRaiseTheUpdateFlagAndOnlyWhenOpen) {
    ParameterListener& listener = *editor;
    for (std::int32_t index : {58, -1, 1000}) {
        dispatch(effEditIdle);
        listener.setParameter(index, 0.7f);
        EXPECT_FALSE(editor->isUpdatePending()) << "closed, index " << index;
    }
    listener.setParameter(11, 0.7f);  // closed: not even a known index does anything
    EXPECT_FALSE(editor->isUpdatePending());

    openInHost();
    for (std::int32_t index : {58, -1, 1000}) {
        dispatch(effEditIdle);
        listener.setParameter(index, 0.7f);
        EXPECT_TRUE(editor->isUpdatePending()) << "open, index " << index;
    }
    expectControlsShowTheEffect(*editor, *plugin);
}

TEST_F(EditorTest, ControlsWithTagsOutsideTheParametersAreIgnored) {
    openInHost();
    for (std::int32_t tag : {58, -1}) {
        ToggleButton stray(GuiRect(0, 0, 4, 4), editor, tag, nullptr);
        DrawContext context(editor->getFrame(), nullptr, nullptr);
        GuiPoint where(1, 1);
        stray.mouseDown(context, where);
        EXPECT_EQ(stray.getValue(), 1.0f);
    }
    EXPECT_TRUE(RecordingHost::automations().empty());
}

TEST_F(EditorTest, ClickedSwitchSetsItsParameterAndTellsTheHost) {
    openInHost();
    pumpMessages();
    ASSERT_EQ(plugin->getParameter(54), 1.0f);
    click(WM_LBUTTONDOWN, 405, 390);  // the "Early Reflections" switch
    EXPECT_EQ(plugin->getParameter(54), 0.0f);
    EXPECT_FALSE(plugin->getEngine().isStageOn(54));
    const std::vector<HostCall> automations = RecordingHost::automations();
    ASSERT_EQ(automations.size(), 1u);
    EXPECT_EQ(automations[0].index, 54);
    EXPECT_EQ(automations[0].opt, 0.0f);
    EXPECT_EQ(editor->mainControlFor(54)->getLastDrawnValue(), 0.0f);
    click(WM_RBUTTONDOWN, 414, 382);  // any button, the edges included
    EXPECT_EQ(plugin->getParameter(54), 1.0f);
}

TEST_F(EditorTest, AboutButtonShowsThePictureModallyAndAClickOnItHidesIt) {
    openInHost();
    pumpMessages();
    click(WM_LBUTTONDOWN, 470, 10);
    EXPECT_EQ(plugin->getParameter(57), 1.0f);
    EXPECT_EQ(editor->getFrame()->getModalView(), editor->getOverlayButton());
    click(WM_LBUTTONDOWN, 405, 390);  // a switch outside the picture: nothing
    EXPECT_EQ(plugin->getParameter(54), 1.0f);
    click(WM_LBUTTONDOWN, 200, 200);
    EXPECT_EQ(plugin->getParameter(57), 0.0f);
    EXPECT_EQ(editor->getFrame()->getModalView(), nullptr);
    const std::vector<HostCall> automations = RecordingHost::automations();
    ASSERT_EQ(automations.size(), 2u);
    EXPECT_EQ(automations[0].index, 57);
    EXPECT_EQ(automations[0].opt, 1.0f);
    EXPECT_EQ(automations[1].opt, 0.0f);
}

// Automation keeps arriving on its own thread while the host opens and closes
// the editor: the stores never reach deleted controls (the asan and tsan
// builds make a mistake here visible).
TEST_F(EditorTest, ParametersSetOnAnotherThreadWhileTheEditorOpensAndCloses) {
    std::atomic<bool> stop{false};
    std::atomic<long> changes{0};
    std::thread automation([&] {
        for (long i = 0; !stop.load(); ++i, ++changes)
            record->setParameter(record, static_cast<std::int32_t>(i % 60), 0.25f);
    });
    for (int cycle = 0; cycle < 50; ++cycle) {
        ASSERT_EQ(openInHost(), 1);
        dispatch(effEditIdle);
        dispatch(effEditClose);
    }
    openInHost();
    while (changes.load() < 1000) std::this_thread::yield();
    stop = true;
    automation.join();
    EXPECT_EQ(editor->mainControlFor(11)->getValue(), 0.25f);
    EXPECT_EQ(editor->displayFor(47)->getValue(), 0.25f);
}

TEST_F(EditorTest, HostMayCloseWithoutOpenAndDestroyTheInstanceWhileTheEditorIsOpen) {
    EXPECT_EQ(dispatch(effEditClose), 0);
    dispatch(effEditIdle);
    EXPECT_EQ(editor->getFrame(), nullptr);
    openInHost();
    pumpMessages();
    EXPECT_EQ(FrameWindowClass::useCount(), 1);
    EXPECT_EQ(dispatch(effClose), 1);  // deletes the instance with its open editor
    record = nullptr;
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
    pumpMessages();  // nothing is left that a message could reach
}

}  // namespace
