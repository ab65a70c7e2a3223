// A knob of the opened editor turned with scripted mouse input: only our own
// Win32 subset can script it (platform/win32_testing.h).
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/win32_testing.h"
#include "tests/editor/editor_test_support.h"
#include "tests/gui/scripted_steps.h"

namespace {

using win32testing::InputStep;

class EditorDragTest : public EditorTest {
protected:
    void TearDown() override {
        win32testing::clearInputScript();
        win32testing::useRealClock();
        EditorTest::TearDown();
    }
    InputStep at(int h, int v, unsigned held, DWORD elapsedMs = 0) const {
        return stepAt(editor->getFrame()->getWindowHandle(), h, v, held, elapsedMs);
    }
};

TEST_F(EditorDragTest, TurnedKnobSetsItsParameterAndAutomatesEachNewValueOnce) {
    openInHost();
    pumpMessages();
    record->setParameter(record, 11, 0.3f);
    dispatch(effEditIdle);  // drawn at 0.3, so the click's 0.5 is news
    // "AllPass Gain" (parameter 11) at 154, 86: its angle is taken around 160, 92.
    using win32testing::heldLeft;
    win32testing::setTickCount(100000);
    win32testing::scriptInput({
        at(160, 86, heldLeft),
        at(150, 92, heldLeft, 60),  // 9 o'clock
        at(150, 92, heldLeft, 60),
        at(170, 92, heldLeft, 60),  // 3 o'clock
        at(170, 92, 0),
    });
    click(WM_LBUTTONDOWN, 160, 86);

    const std::vector<HostCall> automations = RecordingHost::automations();
    ASSERT_EQ(automations.size(), 3u);
    const float expected[] = {0.5f, 1.0f / 6.0f, 5.0f / 6.0f};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(automations[i].index, 11);
        EXPECT_NEAR(automations[i].opt, expected[i], 1e-6);
    }
    const float last = automations[2].opt;
    EXPECT_EQ(plugin->getParameter(11), last);
    EXPECT_EQ(editor->mainControlFor(11)->getLastDrawnValue(), last);  // the editor redrew the knob
    EXPECT_EQ(editor->displayFor(11)->getValue(), last);               // and moved its display along

    // During the drag the host got its idle calls; the display is drawn by the next idle pass.
    int hostIdles = 0;
    for (const HostCall& call : RecordingHost::calls) hostIdles += call.opcode == audioMasterIdle ? 1 : 0;
    EXPECT_GE(hostIdles, 2);
    dispatch(effEditIdle);
    EXPECT_EQ(editor->displayFor(11)->getLastDrawnValue(), last);
}

}  // namespace

// The editor as the other formats host it: no VST 2 effect, only a connection.
class RecordingConnection : public EditorConnection {
public:
    void beginGesture(ParameterId id) override { events.push_back("begin " + std::to_string(id)); }
    void setFromEditor(ParameterId id, float value) override {
        events.push_back("set " + std::to_string(id));
        values[id] = value;
    }
    void endGesture(ParameterId id) override { events.push_back("end " + std::to_string(id)); }
    float parameterValue(ParameterId id) const override { return values[id]; }
    float storedValue(ParameterId id) const override { return kParameterTable[id].dattorroValue; }

    std::vector<std::string> events;
    std::array<float, kParameterCount> values{};
};

TEST_F(EditorDragTest, WithoutAnEffectADragAndAClickReachTheConnectionAsGestures) {
    RecordingConnection connection;
    connection.values[kTankSwitch] = 1.0f;
    ReverbEditor standalone(connection, nullptr);
    ASSERT_EQ(standalone.open(host.handle()), 1);
    pumpMessages();
    using win32testing::heldLeft;
    win32testing::setTickCount(100000);
    win32testing::scriptInput({
        stepAt(standalone.getFrame()->getWindowHandle(), 160, 86, heldLeft),
        stepAt(standalone.getFrame()->getWindowHandle(), 150, 92, heldLeft, 60),
        stepAt(standalone.getFrame()->getWindowHandle(), 170, 92, 0, 60),
    });
    const LPARAM knob = static_cast<LPARAM>((86u << 16) | 160u);
    GuiFrame::windowProc(standalone.getFrame()->getWindowHandle(), WM_LBUTTONDOWN, 0, knob);
    // The click's value, then 9 o'clock; the button is up at the last position.
    const std::vector<std::string> drag = {"begin 11", "set 11", "set 11", "end 11"};
    EXPECT_EQ(connection.events, drag);
    EXPECT_NEAR(connection.values[kDiffusionGain12], 1.0f / 6.0f, 1e-6);

    connection.events.clear();
    const LPARAM tankToggle = static_cast<LPARAM>((420u << 16) | 400u);
    GuiFrame::windowProc(standalone.getFrame()->getWindowHandle(), WM_LBUTTONDOWN, 0, tankToggle);
    const std::vector<std::string> click = {"begin 55", "set 55", "end 55"};
    EXPECT_EQ(connection.events, click);
    EXPECT_EQ(connection.values[kTankSwitch], 0.0f);
    standalone.close();
}

// At twice the size every gesture lands where it does at 1x: the window is
// 1024 pixels wide and each position maps back to the face's layout.
TEST_F(EditorDragTest, AtTwiceTheSizeClicksWheelAndDragsMapBackToTheFace) {
    RecordingConnection connection;
    connection.values[kTankSwitch] = 1.0f;
    connection.values[kDiffusionGain12] = 0.3f;
    ReverbEditor standalone(connection, nullptr);
    ASSERT_EQ(standalone.open(host.handle()), 1);
    standalone.setScale(2.0f);  // while open: built anew at the new size
    ERect* rect = nullptr;
    standalone.getRect(&rect);
    EXPECT_EQ(rect->right, 1024);
    EXPECT_EQ(rect->bottom, 1024);
    HWND window = standalone.getFrame()->getWindowHandle();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 1024);
    EXPECT_EQ(client.bottom, 1024);
    EXPECT_EQ(standalone.getFrame()->getSize().right, 512);  // the views keep the 1x layout
    pumpMessages();

    // The Tank switch lies at 398, 418 … 414, 434 on the face.
    GuiFrame::windowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2 * 405, 2 * 425));
    EXPECT_EQ(connection.events, (std::vector<std::string>{"begin 55", "set 55", "end 55"}));
    EXPECT_EQ(connection.values[kTankSwitch], 0.0f);

    connection.events.clear();
    wheel(window, 1, 0, 2 * 166, 2 * 98);
    EXPECT_EQ(connection.events, (std::vector<std::string>{"begin 11", "set 11", "end 11"}));
    EXPECT_NEAR(connection.values[kDiffusionGain12], 0.31f, 1e-6);

    connection.events.clear();
    GuiFrame::windowProc(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2 * 166, 2 * 98));
    EXPECT_EQ(connection.values[kDiffusionGain12], kParameterTable[kDiffusionGain12].dattorroValue);

    // A drag: the angle is taken around 160, 92 of the face, as at 1x.
    using win32testing::heldLeft;
    win32testing::setTickCount(100000);
    win32testing::scriptInput({
        stepAt(window, 2 * 160, 2 * 86, heldLeft),
        stepAt(window, 2 * 150, 2 * 92, heldLeft, 60),
        stepAt(window, 2 * 150, 2 * 92, 0, 60),
    });
    GuiFrame::windowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2 * 160, 2 * 86));
    EXPECT_NEAR(connection.values[kDiffusionGain12], 1.0f / 6.0f, 1e-6);

    // Back to 1x, and a factor between the supported ones goes to the nearest.
    standalone.setScale(1.2f);
    standalone.getRect(&rect);
    EXPECT_EQ(rect->right, 512);
    standalone.setScale(1.6f);
    EXPECT_EQ(standalone.getScale(), 1.5f);
    standalone.getRect(&rect);
    EXPECT_EQ(rect->right, 768);
    standalone.close();
}
