// The overlay button: showing its picture as the frame's modal view and hiding it again.
#include <gtest/gtest.h>

#include "gui/gui_frame.h"
#include "gui/overlay_button.h"
#include "gui_test_support.h"
#include "recording_listener.h"
#include "recording_view.h"

namespace {

// Frame 100 x 80 on a green background; the button at the top right shows a
// yellow picture over 20, 20, 60, 50; a view elsewhere logs what reaches it.
class OverlayButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        GuiBitmap* face = new GuiBitmap(makeColorBitmap(host, 100, 80, [](int, int) { return colorGreen; }));
        GuiBitmap* picture = new GuiBitmap(makeColorBitmap(host, 40, 30, [](int, int) { return colorYellow; }));
        frame.setBackground(face);
        face->release();
        button = new OverlayButton(kButton, &listener, 57, picture, kPicture, GuiPoint(0, 0));
        picture->release();
        frame.addView(new RecordingView(GuiRect(0, 60, 100, 80), "below", log));
        frame.addView(button);
    }
    void click(int h, int v) {
        DrawContext context(&frame, canvas.dc(), nullptr);
        GuiPoint where(h, v);
        frame.mouseDown(context, where);
    }
    void expectHidden() {
        EXPECT_EQ(button->getValue(), 0.0f);
        EXPECT_EQ(frame.getModalView(), nullptr);
        EXPECT_EQ(button->getSize().left, kButton.left);
        EXPECT_EQ(button->getSize().bottom, kButton.bottom);
    }

    const GuiRect kButton{70, 2, 96, 12};
    const GuiRect kPicture{20, 20, 60, 50};
    HostWindow host;
    GuiCanvas canvas{host, 100, 80, colorBlack};
    EventLog log;
    RecordingListener listener;
    GuiFrame frame{GuiRect(0, 0, 100, 80), nullptr, nullptr};  // its views outlive neither log nor listener
    OverlayButton* button = nullptr;
};

TEST_F(OverlayButtonTest, FirstClickShowsThePictureModallySecondInsideItHidesIt) {
    click(80, 5);
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(frame.getModalView(), button);
    EXPECT_EQ(button->getSize().left, kPicture.left);
    EXPECT_EQ(button->getSize().bottom, kPicture.bottom);
    EXPECT_EQ(listener.values, std::vector<float>{1.0f});
    EXPECT_TRUE(pixelsMatch(
        canvas, [](int x, int y) { return x >= 20 && x < 60 && y >= 20 && y < 50 ? colorYellow : colorBlack; },
        "overlay_shown"));

    // Modal: clicks outside the picture reach nothing, the button's own area included.
    click(80, 5);
    click(50, 70);
    click(61, 35);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(listener.values.size(), 1u);

    // Hiding repaints the whole frame: the background and every view over the picture.
    click(60, 50);  // the picture's edge counts as inside
    expectHidden();
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
    EXPECT_TRUE(pixelsMatch(
        canvas, [](int, int) { return colorGreen; }, "overlay_hidden"));
    EXPECT_EQ(log.events, std::vector<std::string>{"draw below"});

    click(50, 70);
    EXPECT_EQ(log.count("click below"), 1);
}

TEST_F(OverlayButtonTest, RefusedWhileAnotherViewIsModal) {
    GuiView* other = frame.getView(0);
    frame.setModalView(other);
    DrawContext context(&frame, canvas.dc(), nullptr);
    GuiPoint where(80, 5);
    button->mouseDown(context, where);
    EXPECT_EQ(button->getValue(), 0.0f);
    EXPECT_EQ(frame.getModalView(), other);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(button->getSize().left, kButton.left);
}

// Values stored from outside (host automation of the parameter) must not leave
// the button stuck or lost.
TEST_F(OverlayButtonTest, ValueSetFromOutsideNeitherLocksTheFrameNorLosesTheButton) {
    // Shown by a click, then set to 0 from outside: the next click inside the picture still hides it.
    click(80, 5);
    button->setValue(0.0f);
    click(30, 30);
    expectHidden();
    EXPECT_EQ(listener.values.back(), 0.0f);

    // Set to 1 from outside while hidden: a click on the button hides it where it is.
    button->setValue(1.0f);
    listener.values.clear();
    click(80, 5);
    expectHidden();
    EXPECT_EQ(listener.values, std::vector<float>{0.0f});
    click(80, 5);
    EXPECT_EQ(frame.getModalView(), button);
}

TEST_F(OverlayButtonTest, DrawLeavesTheLastDrawnValueToUpdate) {
    DrawContext context(&frame, canvas.dc(), nullptr);
    button->setValue(1.0f);
    button->draw(context);
    EXPECT_EQ(button->getLastDrawnValue(), -1.0f);
    button->update(context);
    EXPECT_EQ(button->getLastDrawnValue(), 1.0f);
    EXPECT_PRED2(sameColor, canvas.pixel(30, 30), colorYellow);
}

}  // namespace
