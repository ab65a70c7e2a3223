#include <gtest/gtest.h>

#include "tests/resources/resource_files.h"

namespace {

struct Rect {
    int left, top, right, bottom;
};

struct Panel {
    Rect area;
    enum { kNoBar, kTopBar, kBottomBar } bar;
};

const Panel kPanels[] = {
    {{6, 35, 77, 493}, Panel::kTopBar},       {{98, 43, 376, 125}, Panel::kTopBar},
    {{98, 128, 376, 338}, Panel::kTopBar},    {{393, 31, 474, 316}, Panel::kTopBar},
    {{392, 340, 486, 491}, Panel::kNoBar},    {{99, 359, 379, 434}, Panel::kTopBar},
    {{99, 436, 260, 506}, Panel::kBottomBar}, {{263, 434, 378, 506}, Panel::kBottomBar},
};

struct Knob {
    int left, top;
    Rect display;
};

// The Delay panel's knobs (x 402 and 442) have column heads instead of labels.
const Knob kKnobs[] = {
    {24, 353, {20, 377, 52, 387}},    {24, 72, {20, 98, 52, 106}},      {24, 119, {20, 144, 52, 152}},
    {24, 168, {20, 192, 52, 200}},    {24, 212, {20, 236, 52, 244}},    {24, 306, {20, 330, 52, 338}},
    {24, 260, {20, 284, 52, 292}},    {24, 402, {20, 426, 52, 434}},    {24, 449, {20, 473, 52, 481}},
    {106, 86, {100, 110, 136, 118}},  {154, 86, {150, 110, 182, 118}},  {202, 86, {198, 110, 230, 118}},
    {249, 86, {245, 110, 277, 118}},  {295, 86, {291, 110, 323, 118}},  {340, 86, {336, 110, 368, 118}},
    {106, 172, {102, 196, 134, 204}}, {154, 172, {150, 196, 182, 204}}, {202, 172, {198, 196, 230, 204}},
    {249, 172, {245, 196, 277, 204}}, {295, 172, {291, 196, 323, 204}}, {340, 172, {336, 196, 368, 204}},
    {106, 240, {102, 264, 134, 272}}, {166, 240, {162, 264, 194, 272}}, {226, 240, {222, 264, 254, 272}},
    {288, 240, {284, 264, 316, 272}}, {340, 240, {336, 264, 368, 272}}, {106, 300, {102, 324, 134, 332}},
    {166, 300, {162, 324, 194, 332}}, {226, 300, {222, 324, 254, 332}}, {288, 300, {284, 324, 316, 332}},
    {340, 300, {336, 324, 368, 332}}, {106, 396, {102, 420, 134, 428}}, {166, 396, {162, 420, 194, 428}},
    {226, 396, {222, 420, 254, 428}}, {288, 396, {284, 420, 316, 428}}, {340, 396, {336, 420, 368, 428}},
    {106, 450, {100, 474, 136, 482}}, {158, 450, {154, 474, 186, 482}}, {212, 450, {206, 474, 238, 482}},
    {288, 450, {284, 474, 316, 482}}, {340, 450, {336, 474, 368, 482}}, {402, 66, {396, 90, 428, 98}},
    {402, 110, {396, 134, 428, 142}}, {402, 154, {396, 178, 428, 186}}, {402, 198, {396, 222, 428, 230}},
    {402, 240, {396, 264, 428, 272}}, {402, 282, {396, 306, 428, 314}}, {442, 66, {438, 90, 470, 98}},
    {442, 110, {438, 134, 470, 142}}, {442, 154, {438, 178, 470, 186}}, {442, 198, {438, 222, 470, 230}},
    {442, 240, {438, 264, 470, 272}}, {442, 282, {438, 306, 470, 314}},
};

const int kToggleTops[] = {346, 382, 418, 454};
constexpr int kToggleLeft = 398;
constexpr int kKnobSize = 24;
constexpr int kToggleSize = 16;
constexpr int kTitleBarHeight = 12;  // the artwork's bars, inside the panels' white border

class Face : public ::testing::Test {
protected:
    static void SetUpTestSuite() { face = new BmpImage(loadBitmap("face.bmp")); }
    static void TearDownTestSuite() { delete face; }
    void SetUp() override { ASSERT_TRUE(face->isValid() && face->width() == 512 && face->storedHeight() == 512); }

    // Every pixel of the rectangle that is not the colour, at most a few of them.
    static std::string pixelsOtherThan(const Rect& r, Rgb colour) {
        std::string found;
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (!(face->pixel(x, y) == colour) && count++ < 4)
                    found += " " + std::to_string(x) + "," + std::to_string(y) + describe(face->pixel(x, y));
        return found;
    }
    static bool hasDarkInk(const Rect& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                Rgb c = face->pixel(x, y);
                if (c.red + c.green + c.blue < 300) return true;
            }
        return false;
    }

    static BmpImage* face;
};

BmpImage* Face::face = nullptr;

TEST_F(Face, FieldIsDarkBlueAroundThePanels) {
    const std::pair<int, int> kFieldPoints[] = {{0, 0},     {511, 0},   {0, 511},   {511, 511}, {130, 15},  {88, 250},
                                                {385, 100}, {500, 200}, {256, 509}, {2, 300},   {490, 400}, {430, 328}};
    for (auto [x, y] : kFieldPoints) {
        EXPECT_EQ(face->pixel(x, y), kField) << x << "," << y;
    }
}

TEST_F(Face, PanelsAreLavenderWithWhiteBorders) {
    for (const Panel& panel : kPanels) {
        const Rect& a = panel.area;
        SCOPED_TRACE(::testing::Message() << a.left << "," << a.top);
        int middleX = (a.left + a.right) / 2, middleY = (a.top + a.bottom) / 2;
        EXPECT_EQ(face->pixel(a.left, middleY), kWhite);
        EXPECT_EQ(face->pixel(a.right - 1, middleY), kWhite);
        EXPECT_EQ(face->pixel(middleX, a.top), kWhite);
        EXPECT_EQ(face->pixel(middleX, a.bottom - 1), kWhite);
        // Inner corners on the side away from the title bar hold no label or control.
        std::vector<int> rows;
        if (panel.bar != Panel::kTopBar) rows.push_back(a.top + 2);
        if (panel.bar != Panel::kBottomBar) rows.push_back(a.bottom - 3);
        for (int y : rows) {
            EXPECT_EQ(face->pixel(a.left + 2, y), kLavender) << y;
            EXPECT_EQ(face->pixel(a.right - 3, y), kLavender) << y;
        }
    }
}

TEST_F(Face, TitleBarsAreCyanAtThePanelEdge) {
    for (const Panel& panel : kPanels) {
        if (panel.bar == Panel::kNoBar) continue;
        const Rect& a = panel.area;
        SCOPED_TRACE(::testing::Message() << a.left << "," << a.top);
        int firstRow = panel.bar == Panel::kTopBar ? a.top + 1 : a.bottom - 1 - kTitleBarHeight;
        EXPECT_EQ(pixelsOtherThan({a.left + 1, firstRow, a.right - 1, firstRow + 1}, kCyan), "");
        // Both ends of the bar, over its whole height.
        EXPECT_EQ(pixelsOtherThan({a.left + 1, firstRow, a.left + 4, firstRow + kTitleBarHeight}, kCyan), "");
        EXPECT_EQ(pixelsOtherThan({a.right - 4, firstRow, a.right - 1, firstRow + kTitleBarHeight}, kCyan), "");
        // White letters in the middle of the bar.
        int white = 0;
        for (int y = firstRow; y < firstRow + kTitleBarHeight; ++y)
            for (int x = a.left + 1; x < a.right - 1; ++x) white += face->pixel(x, y) == kWhite;
        EXPECT_GT(white, 20);
    }
}

TEST_F(Face, ControlRectanglesAreLeftFreeOfLabels) {
    for (const Knob& knob : kKnobs) {
        SCOPED_TRACE(::testing::Message() << "knob at " << knob.left << "," << knob.top);
        EXPECT_EQ(pixelsOtherThan({knob.left, knob.top, knob.left + kKnobSize, knob.top + kKnobSize}, kLavender), "");
        EXPECT_EQ(pixelsOtherThan(knob.display, kLavender), "");
    }
    for (int top : kToggleTops) {
        EXPECT_EQ(pixelsOtherThan({kToggleLeft, top, kToggleLeft + kToggleSize, top + kToggleSize}, kLavender), "")
            << "toggle at " << top;
    }
}

TEST_F(Face, LabelsSitAboveKnobsAndRightOfToggles) {
    for (const Knob& knob : kKnobs) {
        bool delayColumn = knob.left == 402 || knob.left == 442;
        if (delayColumn && knob.top != 66) continue;  // only the column heads above the first row
        // Up to 12 rows straight above the knob (less where a value display ends nearer).
        Rect above{knob.left, knob.top - 12, knob.left + kKnobSize, knob.top};
        for (const Knob& other : kKnobs) {
            const Rect& d = other.display;
            if (d.bottom <= knob.top && d.bottom > above.top && d.left < above.right && above.left < d.right)
                above.top = d.bottom;
        }
        EXPECT_TRUE(hasDarkInk(above)) << "no label above the knob at " << knob.left << "," << knob.top;
    }
    for (int top : kToggleTops) {
        EXPECT_TRUE(hasDarkInk({kToggleLeft + kToggleSize, top, 484, top + kToggleSize})) << "toggle at " << top;
    }
}

TEST_F(Face, AboutSitsOnTheOverlayButton) {
    int white = 0;
    for (int y = 4; y < 24; ++y)
        for (int x = 460; x < 506; ++x) white += face->pixel(x, y) == kWhite;
    EXPECT_GT(white, 30);
}

}  // namespace
