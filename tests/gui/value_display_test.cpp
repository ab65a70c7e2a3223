// The value display: its default text, when its settings force a redraw, and
// the pixels of its box, bevel and shadowed text.
#include <gtest/gtest.h>

#include <cstring>

#include "gui/value_display.h"
#include "gui_test_support.h"

namespace {

class ValueDisplayTest : public ::testing::Test {
protected:
    void draw(ValueDisplay& display) {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        display.draw(context);
    }

    HostWindow host;
    GuiCanvas canvas{host, 80, 30, colorBlue};
};

// A converter that writes a fixed text, to draw a known text through the same path.
const char* fixedText = "";
void writeFixedText(float, char* text) { std::strcpy(text, fixedText); }

TEST_F(ValueDisplayTest, WithoutConverterShowsTheValueWithTwoDecimals) {
    struct Case {
        float value;
        const char* text;
    } cases[] = {{0.5f, "0.50"}, {12.345f, "12.35"}, {-1.0f, "-1.00"}, {0.0f, "0.00"}};
    GuiCanvas expected(host, 80, 30, colorBlue);
    for (const Case& c : cases) {
        ValueDisplay plain(GuiRect(5, 5, 75, 25), nullptr, 0);
        plain.setValue(c.value);
        canvas.clear(colorBlue);
        draw(plain);

        ValueDisplay known(GuiRect(5, 5, 75, 25), nullptr, 0);
        fixedText = c.text;
        known.setConverter(writeFixedText);
        {
            DrawContext context(nullptr, expected.dc(), nullptr);
            known.draw(context);
        }
        EXPECT_TRUE(pixelsMatch(
            canvas, [&expected](int x, int y) { return expected.pixel(x, y); }, std::string("display_text_") + c.text))
            << "value " << c.value << " should read " << c.text;
        EXPECT_EQ(plain.getLastDrawnValue(), c.value);
    }
    // The comparison means something: the text leaves white pixels in the box.
    bool anyWhite = false;
    for (int y = 6; y < 25; ++y)
        for (int x = 6; x < 75; ++x) anyWhite = anyWhite || sameColor(canvas.pixel(x, y), colorWhite);
    EXPECT_TRUE(anyWhite);
}

TEST_F(ValueDisplayTest, PlainStyleIsABlackBoxWithABlackOutlineAndAConverterThatWritesNothingLeavesItEmpty) {
    ValueDisplay display(GuiRect(10, 5, 42, 13), nullptr, 1);  // style 1: no bit that is read
    fixedText = "";
    display.setConverter(writeFixedText);
    display.setBorderColor(colorRed);
    draw(display);
    EXPECT_TRUE(pixelsMatch(
        canvas,
        [](int x, int y) {
            if (x < 10 || x > 42 || y < 5 || y > 13) return colorBlue;
            return x == 10 || x == 42 || y == 5 || y == 13 ? colorRed : colorBlack;  // edges inclusive
        },
        "display_box"));
}

// Colours that differ from white and red only in the byte nothing reads, and one that differs in blue.
constexpr GuiColor kWhiteMarked{255, 255, 255, 9};
constexpr GuiColor kRedMarked{255, 0, 0, 1};
constexpr GuiColor kAlmostWhite{255, 255, 254, 0};

TEST_F(ValueDisplayTest, SettingsForceARedrawOnlyWhenTheyChangeWhatIsDrawn) {
    ValueDisplay display(GuiRect(0, 0, 10, 10), nullptr, 0);
    display.setValue(0.25f);
    display.setLastDrawnValue(0.25f);
    const float forced = 0.25f + 0.1f;
    struct Case {
        const char* what;
        void (*change)(ValueDisplay&);
        bool forces;
    } cases[] = {
        {"same font", [](ValueDisplay& d) { d.setFont(fontNormal); }, false},
        {"other font", [](ValueDisplay& d) { d.setFont(fontTiny); }, true},
        {"text colour, 4th byte", [](ValueDisplay& d) { d.setTextColor(kWhiteMarked); }, false},
        {"text colour, blue", [](ValueDisplay& d) { d.setTextColor(kAlmostWhite); }, true},
        {"back colour, same", [](ValueDisplay& d) { d.setBackColor(colorBlack); }, false},
        {"back colour, other", [](ValueDisplay& d) { d.setBackColor(colorMedium); }, true},
        {"border colour, other", [](ValueDisplay& d) { d.setBorderColor(colorCyan); }, true},
        {"shadow colour, 4th byte", [](ValueDisplay& d) { d.setShadowColor(kRedMarked); }, false},
        {"shadow colour, other", [](ValueDisplay& d) { d.setShadowColor(colorMagenta); }, true},
        {"same alignment", [](ValueDisplay& d) { d.setAlignment(alignCenter); }, false},
        {"other alignment", [](ValueDisplay& d) { d.setAlignment(alignRight); }, true},
        {"back offset", [](ValueDisplay& d) { d.setBackOffset(GuiPoint(3, 4)); }, false},
        {"converter", [](ValueDisplay& d) { d.setConverter(writeFixedText); }, false},
    };
    for (const Case& c : cases) {
        display.setLastDrawnValue(0.25f);
        c.change(display);
        EXPECT_EQ(display.getLastDrawnValue(), c.forces ? forced : 0.25f) << c.what;
    }
    EXPECT_EQ(display.getTextColor().unused, 0);  // the last colour set was stored whole
    display.setTextColor(kWhiteMarked);
    EXPECT_EQ(display.getTextColor().unused, 9);

    // A forced redraw is picked up by the next update although the value is unchanged.
    display.setLastDrawnValue(0.25f);
    display.setFont(fontBold);
    fixedText = "";
    DrawContext context(nullptr, canvas.dc(), nullptr);
    display.update(context);
    EXPECT_EQ(display.getLastDrawnValue(), 0.25f);
    EXPECT_PRED2(sameColor, canvas.pixel(5, 5), colorMedium);  // the box was drawn
}

TEST_F(ValueDisplayTest, SunkenBevelWithShadowedText) {
    // Back colour blue-grey fills; the bevel's left and top edges take it, right and bottom the border colour.
    const GuiColor back{0, 0, 128, 0};
    const GuiColor border = colorYellow;
    canvas.clear(colorGreen);
    ValueDisplay display(GuiRect(4, 4, 76, 26), nullptr, style3DIn | styleShadowText);
    display.setBackColor(back);
    display.setBorderColor(border);
    fixedText = "0.50";
    display.setConverter(writeFixedText);
    draw(display);

    for (int y = 4; y <= 26; ++y)
        for (int x = 4; x <= 76; ++x) {
            const bool leftOrTop = (x == 4 && y <= 26) || (y == 4 && x <= 76);
            const bool rightOrBottom = !leftOrTop && (x == 76 || y == 26);
            if (leftOrTop) {
                EXPECT_PRED2(sameColor, canvas.pixel(x, y), back) << x << "," << y;
            } else if (rightOrBottom) {
                EXPECT_PRED2(sameColor, canvas.pixel(x, y), border) << x << "," << y;
            }
        }
    EXPECT_PRED2(sameColor, canvas.pixel(3, 3), colorGreen);
    EXPECT_PRED2(sameColor, canvas.pixel(77, 27), colorGreen);

    // Inside: white text, red shadow one pixel right and below it, back colour elsewhere.
    int white = 0, red = 0;
    for (int y = 5; y < 26; ++y)
        for (int x = 5; x < 76; ++x) {
            const GuiColor c = canvas.pixel(x, y);
            if (sameColor(c, colorWhite)) {
                ++white;
                const GuiColor below = canvas.pixel(x + 1, y + 1);
                EXPECT_TRUE(sameColor(below, colorWhite) || sameColor(below, colorRed)) << x + 1 << "," << y + 1;
            } else if (sameColor(c, colorRed)) {
                ++red;
                EXPECT_PRED2(sameColor, canvas.pixel(x - 1, y - 1), colorWhite) << x - 1 << "," << y - 1;
            } else {
                EXPECT_PRED2(sameColor, c, back) << x << "," << y;
            }
        }
    EXPECT_GT(white, 0);
    EXPECT_GT(red, 0);
}

TEST_F(ValueDisplayTest, BackgroundBitmapReplacesFillAndOutlineButNotTheBevel) {
    GuiBitmap* image =
        new GuiBitmap(makeColorBitmap(host, 80, 30, [](int x, int) { return x < 40 ? colorCyan : colorMagenta; }));
    fixedText = "";
    ValueDisplay flat(GuiRect(10, 5, 30, 15), image, 0);
    flat.setConverter(writeFixedText);
    flat.setBackOffset(GuiPoint(30, 0));  // the box shows columns 30 to 49 of the image
    draw(flat);
    EXPECT_PRED2(sameColor, canvas.pixel(10, 5), colorCyan);
    EXPECT_PRED2(sameColor, canvas.pixel(19, 10), colorCyan);
    EXPECT_PRED2(sameColor, canvas.pixel(20, 10), colorMagenta);
    EXPECT_PRED2(sameColor, canvas.pixel(30, 10), colorBlue);  // the block is the box's size

    ValueDisplay raised(GuiRect(40, 5, 60, 15), image, style3DOut);
    raised.setConverter(writeFixedText);
    raised.setBorderColor(colorRed);
    draw(raised);
    EXPECT_PRED2(sameColor, canvas.pixel(40, 10), colorRed);    // raised: left edge in the border colour
    EXPECT_PRED2(sameColor, canvas.pixel(60, 10), colorBlack);  // right edge in the back colour
    EXPECT_PRED2(sameColor, canvas.pixel(50, 10), colorCyan);   // no fill inside
    image->release();

    GuiPoint where(45, 10);
    DrawContext context(nullptr, canvas.dc(), nullptr);
    raised.mouseDown(context, where);  // displays take no input
    EXPECT_EQ(raised.getValue(), 0.0f);
}

}  // namespace
