// The opened editor's pixels: the face, knobs, displays and switches as the
// first paint leaves them in the window, and the About picture over them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "frame/plugin_entry.h"
#include "tests/editor/editor_test_support.h"

namespace {

constexpr GuiColor kField{5, 23, 132};  // the face's dark blue

// Dispatches messages until the frame's window has had its first WM_PAINT.
bool pumpUntilPainted(HWND frameWindow) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (message.hwnd == frameWindow && message.message == WM_PAINT) return true;
    }
    return false;
}

int brightness(const GuiColor& c) { return c.red + c.green + c.blue; }

// Probes of the whole face in frame coordinates (the canvas holds the frame's pixels).
void expectPaintedFace(const GuiCanvas& face, const ReverbEditor& editor) {
    EXPECT_PRED2(sameColor, face.pixel(1, 1), kField);
    for (std::int32_t parameter : {29, 11, 21, 15, 2, 26, 36, 47}) {
        const GuiRect knob = editor.mainControlFor(parameter)->getSize();
        // Body: dark at the centre of rotation, which the handle's dot never covers.
        const GuiColor centre = face.pixel(knob.left + 12, knob.top + 12);
        EXPECT_LT(brightness(centre), 300) << "knob " << parameter << " centre " << describe(centre);
        // Handle: a light dot somewhere on the body, its white surround left out.
        bool lightDot = false, pureWhite = false;
        for (int y = knob.top; y < knob.bottom; ++y)
            for (int x = knob.left; x < knob.right; ++x) {
                lightDot = lightDot || brightness(face.pixel(x, y)) > 660;  // above the lavender around
                pureWhite = pureWhite || sameColor(face.pixel(x, y), colorWhite);
            }
        EXPECT_TRUE(lightDot) << "knob " << parameter << " has no handle";
        EXPECT_FALSE(pureWhite) << "knob " << parameter << " shows its handle's white surround";

        // Display: a black box whose outline includes its right column and bottom row (the text,
        // clipped to left..right - 1 and top..bottom - 1, never reaches those), with light text inside.
        const GuiRect box = editor.displayFor(parameter)->getSize();
        for (int x = box.left; x <= box.right; ++x)
            EXPECT_PRED2(sameColor, face.pixel(x, box.bottom), colorBlack) << "display " << parameter << " x " << x;
        for (int y = box.top; y <= box.bottom; ++y)
            EXPECT_PRED2(sameColor, face.pixel(box.right, y), colorBlack) << "display " << parameter << " y " << y;
        int text = 0, black = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) {
                const GuiColor c = face.pixel(x, y);
                text += brightness(c) > 300 ? 1 : 0;
                black += sameColor(c, colorBlack) ? 1 : 0;
            }
        EXPECT_GT(text, 0) << "display " << parameter << " shows no text";
        EXPECT_GT(black, box.width() * box.height() / 3) << "display " << parameter << " is not a black box";
    }
    for (std::int32_t parameter = 53; parameter <= 56; ++parameter) {
        const GuiRect toggle = editor.mainControlFor(parameter)->getSize();
        const GuiColor centre = face.pixel(toggle.left + 8, toggle.top + 8);
        EXPECT_TRUE(centre.green > centre.red + 40 && centre.green > centre.blue + 40)
            << "switch " << parameter << " is " << describe(centre);
    }
}

class EditorFaceTest : public EditorTest {};

TEST_F(EditorFaceTest, FirstPaintInTheHostsWindowDrawsTheWholeFace) {
    ASSERT_EQ(openInHost(), 1);
    HWND window = editor->getFrame()->getWindowHandle();
    ASSERT_TRUE(pumpUntilPainted(window));
    EXPECT_FALSE(editor->getFrame()->isFirstDrawPending());
    GuiCanvas face(host, 512, 512, colorMagenta);
    face.copyWindow(window);
    expectPaintedFace(face, *editor);
}

// A fresh instance whose host has sent no values yet: the Tank Decay displays
// show the program's values from the first paint, as their knobs do.
TEST_F(EditorFaceTest, TankDecayDisplaysShowTheirValuesFromTheFirstPaint) {
    ASSERT_EQ(openInHost(), 1);
    HWND window = editor->getFrame()->getWindowHandle();
    ASSERT_TRUE(pumpUntilPainted(window));
    GuiCanvas face(host, 512, 512, colorMagenta);
    face.copyWindow(window);

    // Each display against a lone display drawn with the expected value, and not with 0.
    const auto drawnDisplay = [&](const GuiRect& box, float value) {
        auto canvas = std::make_unique<GuiCanvas>(host, 512, 512, colorMagenta);
        ValueDisplay display(box, nullptr, 1);
        display.setFont(fontTiny);
        display.setValue(value);
        DrawContext context(nullptr, canvas->dc(), nullptr);
        display.draw(context);
        return canvas;
    };
    for (std::int32_t parameter : {kTankDecay1, kTankDecay2, kTankFeed1Into2, kTankFeed2Into1}) {
        const float value = kParameterTable[parameter].initValue;
        ASSERT_NE(value, 0.0f);
        EXPECT_EQ(editor->displayFor(parameter)->getLastDrawnValue(), value) << "parameter " << parameter;
        const GuiRect box = editor->displayFor(parameter)->getSize();
        const auto expected = drawnDisplay(box, value);
        const auto zero = drawnDisplay(box, 0.0f);
        int differencesFromExpected = 0, differencesFromZero = 0;
        for (int y = box.top; y <= box.bottom; ++y)
            for (int x = box.left; x <= box.right; ++x) {
                differencesFromExpected += sameColor(face.pixel(x, y), expected->pixel(x, y)) ? 0 : 1;
                differencesFromZero += sameColor(face.pixel(x, y), zero->pixel(x, y)) ? 0 : 1;
            }
        EXPECT_EQ(differencesFromExpected, 0) << "display of parameter " << parameter;
        EXPECT_GT(differencesFromZero, 0) << "display of parameter " << parameter << " reads 0.00";
    }
}

TEST_F(EditorFaceTest, AboutPictureCoversItsAreaUntilItIsClickedAway) {
    openInHost();
    HWND window = editor->getFrame()->getWindowHandle();
    pumpUntilPainted(window);
    GuiCanvas before(host, 512, 512, colorMagenta);
    before.copyWindow(window);

    click(WM_LBUTTONDOWN, 480, 14);
    GuiCanvas shown(host, 512, 512, colorMagenta);
    shown.copyWindow(window);
    // The picture, pixel for pixel, over 88, 150, 388, 300; the rest of the face as it was.
    GuiCanvas picture(host, 300, 150, colorMagenta);
    {
        GuiBitmap* credits = new GuiBitmap(197);
        DrawContext context(nullptr, picture.dc(), nullptr);
        credits->draw(context, GuiRect(0, 0, 300, 150), GuiPoint(0, 0));
        credits->release();
    }
    EXPECT_TRUE(pixelsMatch(
        shown,
        [&](int x, int y) {
            return x >= 88 && x < 388 && y >= 150 && y < 300 ? picture.pixel(x - 88, y - 150) : before.pixel(x, y);
        },
        "editor_about_shown"));

    click(WM_LBUTTONDOWN, 300, 299);
    GuiCanvas hidden(host, 512, 512, colorMagenta);
    hidden.copyWindow(window);
    EXPECT_TRUE(pixelsMatch(
        hidden, [&](int x, int y) { return before.pixel(x, y); }, "editor_about_hidden"));
}

#if !defined(_WIN32)
// What a host program of our own does: a top-level window, the editor opened
// in it through the dispatcher, then its message loop.
TEST_F(EditorFaceTest, TopLevelHostWindowShowsTheFaceAfterItsFirstPaint) {
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = static_cast<HINSTANCE>(moduleHandle);
    windowClass.lpszClassName = "RoomplateSnapshotHost";
    RegisterClassA(&windowClass);
    HWND topLevel = CreateWindowExA(0, "RoomplateSnapshotHost", "Roomplate", WS_POPUP | WS_VISIBLE, 0, 0, 512, 512,
                                    nullptr, nullptr, static_cast<HINSTANCE>(moduleHandle), nullptr);
    ASSERT_NE(topLevel, nullptr);
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, topLevel), 1);
    ASSERT_TRUE(pumpUntilPainted(editor->getFrame()->getWindowHandle()));
    GuiCanvas face(host, 512, 512, colorMagenta);
    face.copyWindow(topLevel);
    expectPaintedFace(face, *editor);
    dispatch(effEditClose);
    DestroyWindow(topLevel);
    UnregisterClassA("RoomplateSnapshotHost", static_cast<HINSTANCE>(moduleHandle));
}
#endif

}  // namespace
