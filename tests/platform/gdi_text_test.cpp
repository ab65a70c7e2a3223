// DrawTextA as the toolkit calls it: one line, vertically centred, left,
// centred or right in its rectangle, clipped to it. Fonts differ between
// implementations, so the checks are about where the ink lies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "tests/platform/toolkit_font.h"
#include "tests/support/pixel_canvas.h"

namespace {

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kPaper = RGB(255, 255, 255);

class TextCanvas : public PixelCanvas {
public:
    TextCanvas(int width, int height, const char* face, int fontHeight) : PixelCanvas(width, height) {
        font = createToolkitFont(face, fontHeight);
        previous = SelectObject(dc(), font);
        SetBkMode(dc(), TRANSPARENT);
        SetTextColor(dc(), kInk);
    }
    ~TextCanvas() {
        SelectObject(dc(), previous);
        DeleteObject(font);
    }

private:
    HFONT font;
    HGDIOBJ previous;
};

TEST(GdiText, AlignmentPlacesTheInkInsideTheRectangle) {
    const RECT box{4, 2, 76, 16};
    struct Case {
        UINT format;
        const char* name;
    };
    const Case cases[] = {
        {DT_LEFT | DT_VCENTER | DT_SINGLELINE, "left"},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, "centre"},
        {DT_RIGHT | DT_VCENTER | DT_SINGLELINE, "right"},
    };
    for (const Case& c : cases) {
        TextCanvas canvas(80, 18, "Arial", 12);
        RECT copy = box;
        EXPECT_GT(DrawTextA(canvas.dc(), "Hz 50", -1, &copy, c.format), 0) << c.name;
        const RECT ink = canvas.inkBounds(kPaper);
        ASSERT_GT(ink.right, ink.left) << c.name;
        EXPECT_GE(ink.left, box.left) << c.name;
        EXPECT_LE(ink.right, box.right) << c.name;
        EXPECT_GE(ink.top, box.top) << c.name;
        EXPECT_LE(ink.bottom, box.bottom) << c.name;
        const int leftMargin = ink.left - box.left;
        const int rightMargin = box.right - ink.right;
        if (c.format & DT_CENTER) {
            EXPECT_LE(std::abs(leftMargin - rightMargin), 3) << c.name;
        } else if (c.format & DT_RIGHT) {
            EXPECT_LE(rightMargin, 3) << c.name;
            EXPECT_GT(leftMargin, 20) << c.name;
        } else {
            EXPECT_LE(leftMargin, 3) << c.name;
            EXPECT_GT(rightMargin, 20) << c.name;
        }
        // Centred vertically: capitals and digits leave about as much above as below.
        EXPECT_LE(std::abs((ink.top - box.top) - (box.bottom - ink.bottom)), 3) << c.name;
    }
}

TEST(GdiText, TextIsClippedToItsRectangle) {
    TextCanvas canvas(40, 20, "Arial", 12);
    RECT box{10, 4, 20, 16};
    DrawTextA(canvas.dc(), "WWWWWWWW", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = canvas.inkBounds(kPaper);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 20);
    EXPECT_GT(ink.right, ink.left);
}

TEST(GdiText, OpaqueTextUnderlaysTheBackgroundColour) {
    TextCanvas canvas(40, 20, "Arial", 12);
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), RGB(255, 0, 0));
    RECT box{0, 0, 40, 20};
    DrawTextA(canvas.dc(), "i", 1, &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    const RECT cell = canvas.inkBounds(kPaper);
    EXPECT_EQ(0, cell.left);
    EXPECT_LT(cell.right, 20);  // the text's own cell, not the rectangle
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(cell.right - 1, cell.top));
}

// Nine-pixel "Small Fonts" text in the editor's eight-pixel boxes: centred,
// its digits and capitals must still be whole.
TEST(GdiText, NinePixelTextKeepsItsDigitsWholeInAnEightPixelBox) {
    TextCanvas tight(60, 8, "Small Fonts", 9);
    RECT small{0, 0, 60, 8};
    DrawTextA(tight.dc(), "50.0 %", -1, &small, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    TextCanvas roomy(60, 30, "Small Fonts", 9);
    RECT large{0, 0, 60, 30};
    DrawTextA(roomy.dc(), "50.0 %", -1, &large, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    const RECT tightInk = tight.inkBounds(kPaper);
    const RECT roomyInk = roomy.inkBounds(kPaper);
    ASSERT_GT(tightInk.bottom - tightInk.top, 4);
    EXPECT_EQ(roomyInk.bottom - roomyInk.top, tightInk.bottom - tightInk.top);
    EXPECT_EQ(roomyInk.right - roomyInk.left, tightInk.right - tightInk.left);
    for (int y = 0; y < tightInk.bottom - tightInk.top; ++y) {
        for (int x = 0; x < tightInk.right - tightInk.left; ++x) {
            ASSERT_EQ(roomy.at(roomyInk.left + x, roomyInk.top + y), tight.at(tightInk.left + x, tightInk.top + y))
                << x << ", " << y;
        }
    }
}

TEST(GdiText, DrawTextAnswersTheOffsetToTheBottomOfCentredText) {
    TextCanvas canvas(40, 40, "Arial", 12);
    RECT box{0, 10, 40, 30};
    const int centred = DrawTextA(canvas.dc(), "x", 1, &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    const int top = DrawTextA(canvas.dc(), "x", 1, &box, DT_LEFT | DT_SINGLELINE);
    // top answers the line height h; centred answers (20 - h) / 2 + h.
    EXPECT_GT(top, 0);
    EXPECT_EQ((20 - top) / 2 + top, centred);
    EXPECT_EQ(0, DrawTextA(canvas.dc(), "", 0, &box, DT_LEFT | DT_SINGLELINE));
}

}  // namespace
