// The small face our own GDI draws for "Small Fonts" and every request of 10
// pixels or less, as the editor's value boxes use it: 32 x 8 (a few 36 wide
// or 10 high) boxes with a one-pixel outline, white text centred on black.
// Real GDI brings its own fonts, so these checks run on our subset only.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/platform/toolkit_font.h"
#include "tests/support/pixel_canvas.h"

namespace {

constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kBox = RGB(0, 0, 0);
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// A black canvas with white text in one face.
class BoxCanvas : public PixelCanvas {
public:
    BoxCanvas(int width, int height, const char* face, int fontHeight) : PixelCanvas(width, height) {
        font = createToolkitFont(face, fontHeight);
        previous = SelectObject(dc(), font);
        SetBkMode(dc(), TRANSPARENT);
        SetTextColor(dc(), kText);
        clear(kBox);
    }
    ~BoxCanvas() {
        SelectObject(dc(), previous);
        DeleteObject(font);
    }
    void draw(const std::string& text, RECT box, UINT format = kCentred) {
        clear(kBox);
        DrawTextA(dc(), text.c_str(), static_cast<int>(text.size()), &box, format);
    }
    RECT ink() const { return inkBounds(kBox); }
    std::vector<std::string> lit() const { return picture(kText, kBox); }

private:
    HFONT font;
    HGDIOBJ previous;
};

std::string printed(const char* format, int number) {
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

// Every text the editor's converters give for values 0 to 1, worked out from
// their formats: each whole number their scales reach (decibels down to the
// smallest positive float, about -897 db, and the "-0 db" that %.0f prints
// just below 1), the lone " Hz" below 1 Hz, minus infinity and the default
// "%2.2f" text.
std::vector<std::string> valueTexts() {
    std::vector<std::string> texts{"  -oo   ", " Hz", "-0 db"};
    for (int n = 0; n <= 100; ++n) texts.push_back(printed("%d%%", n));
    for (int n = 0; n <= 60; ++n) texts.push_back(printed("%d m", n));
    for (int n = 0; n <= 200; ++n) texts.push_back(printed("%d ms", n));
    for (int n = -897; n <= 0; ++n) texts.push_back(printed("%d db", n));
    for (int n = 1; n <= 7350; ++n) texts.push_back(printed("%d Hz", n));
    for (int n = 0; n <= 100; ++n) texts.push_back(printed("%d.", n / 100) + printed("%02d", n % 100));
    return texts;
}

// The ink of a text centred in a box of the given size that lies in the
// middle of a canvas with a few pixels of room around it; the same text
// centred on the same point of the whole canvas shows what clipping to the box
// would have cut off.
// centringSlack: how far the room above and below may differ (a scaled
// face's rows come in steps of its scale).
void expectInsideOutline(const std::vector<std::string>& texts, int boxWidth, int boxHeight, int fontHeight = 9,
                         int centringSlack = 1) {
    constexpr int kRoom = 4;
    const int canvasWidth = boxWidth + 2 * kRoom;
    const int canvasHeight = boxHeight + 2 * kRoom;
    BoxCanvas tight(canvasWidth, canvasHeight, "Small Fonts", fontHeight);
    BoxCanvas free(canvasWidth, canvasHeight, "Small Fonts", fontHeight);
    const RECT box{kRoom, kRoom, kRoom + boxWidth, kRoom + boxHeight};
    const RECT whole{0, 0, canvasWidth, canvasHeight};
    for (const std::string& text : texts) {
        const std::string where = "'" + text + "' in " + std::to_string(boxWidth) + " x " + std::to_string(boxHeight) +
                                  " at " + std::to_string(fontHeight) + " pixels";
        tight.draw(text, box);
        const RECT ink = tight.ink();
        ASSERT_GT(ink.right, ink.left) << where;
        // Inside the outline: one pixel in from every edge of the box.
        ASSERT_GE(ink.left, box.left + 1) << where;
        ASSERT_LE(ink.right, box.right - 1) << where;
        ASSERT_GE(ink.top, box.top + 1) << where;
        ASSERT_LE(ink.bottom, box.bottom - 1) << where;
        // The outline's rows are the box's first and the one below its last,
        // so centred text leaves as much room above as below within a pixel.
        const int above = ink.top - box.top;
        const int below = box.bottom + 1 - ink.bottom;
        ASSERT_LE(std::abs(above - below), centringSlack) << where;
        free.draw(text, whole);
        const RECT unclipped = free.ink();
        ASSERT_EQ(unclipped.left, ink.left) << where;
        ASSERT_EQ(unclipped.right, ink.right) << where;
    }
}

// A 36-pixel-wide box only has more room: its 32-pixel width is what counts.
TEST(SmallFont, EveryValueTextFitsInsideTheOutlineOfItsBox) {
    expectInsideOutline(valueTexts(), 32, 8);
    expectInsideOutline({"100%", "200 ms", "-897 db", "  -oo   ", "7350 Hz", "0.50"}, 32, 10);
}

// The editor drawn one and a half and two times as large: its boxes and its
// 9-pixel text grow alike (13.5 pixels asked as 14), and every text still
// fits, centred within the steps of the face's rows.
TEST(SmallFont, EveryValueTextFitsItsBoxAtTheEditorsLargerScales) {
    expectInsideOutline(valueTexts(), 48, 12, 14, 3);
    expectInsideOutline({"100%", "200 ms", "-897 db", "  -oo   ", "7350 Hz", "0.50"}, 48, 15, 14, 3);
    expectInsideOutline(valueTexts(), 64, 16, 18, 3);
    expectInsideOutline({"100%", "200 ms", "-897 db", "  -oo   ", "7350 Hz", "0.50"}, 64, 20, 18, 3);
}

TEST(SmallFont, LettersAndDigitsAreNarrowAndEachHasItsOwnShape) {
    BoxCanvas canvas(12, 12, "Small Fonts", 9);
    const RECT box{1, 0, 12, 12};
    std::set<std::vector<std::string>> shapes;
    std::string characters = "0123456789";
    for (char c = 'A'; c <= 'Z'; ++c) characters += c;
    for (char c = 'a'; c <= 'z'; ++c) characters += c;
    for (const char c : characters) {
        const std::string text(1, c);
        canvas.draw(text, box, DT_LEFT | DT_TOP | DT_SINGLELINE);
        const RECT ink = canvas.ink();
        ASSERT_GT(ink.right, ink.left) << text;
        EXPECT_LE(ink.right - ink.left, 5) << text;
        if (std::isdigit(static_cast<unsigned char>(c)) || std::isupper(static_cast<unsigned char>(c))) {
            EXPECT_GE(ink.bottom - ink.top, 5) << text;
            EXPECT_LE(ink.bottom - ink.top, 6) << text;
        }
        EXPECT_TRUE(shapes.insert(canvas.lit()).second) << text << " looks like an earlier character";
    }
    // Digits share one advance, so a changing number keeps its place.
    BoxCanvas wide(40, 12, "Small Fonts", 9);
    wide.draw("1111", RECT{0, 0, 40, 12}, DT_LEFT | DT_TOP | DT_SINGLELINE);
    const RECT ones = wide.ink();
    wide.draw("8888", RECT{0, 0, 40, 12}, DT_LEFT | DT_TOP | DT_SINGLELINE);
    const RECT eights = wide.ink();
    EXPECT_EQ(eights.right - eights.left, ones.right - ones.left);
}

TEST(SmallFont, ServesSmallFontsAtEverySizeAndEverySmallRequest) {
    const RECT box{0, 0, 80, 30};
    BoxCanvas reference(80, 30, "Small Fonts", 9);
    reference.draw("7350 Hz", box);
    const std::vector<std::string> small = reference.lit();

    struct Same {
        const char* face;
        int height;
    };
    for (const Same& request : {Same{"SMALL FONTS", 9}, Same{"Arial", 10}, Same{"Arial", 9}}) {
        BoxCanvas canvas(80, 30, request.face, request.height);
        canvas.draw("7350 Hz", box);
        EXPECT_EQ(small, canvas.lit()) << request.face << " " << request.height;
    }

    // Twice the size is the same drawing with every pixel doubled: strokes
    // stay sharp instead of being resampled.
    BoxCanvas doubled(80, 30, "Small Fonts", 18);
    doubled.draw("7350 Hz", RECT{0, 0, 80, 30}, DT_LEFT | DT_TOP | DT_SINGLELINE);
    reference.draw("7350 Hz", RECT{0, 0, 80, 30}, DT_LEFT | DT_TOP | DT_SINGLELINE);
    const std::vector<std::string> single = reference.lit();
    const std::vector<std::string> twice = doubled.lit();
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(single[y][x], twice[2 * y][2 * x]) << x << ", " << y;
            ASSERT_EQ(single[y][x], twice[2 * y + 1][2 * x + 1]) << x << ", " << y;
        }
    }

    // Larger faces keep the large design: 12-pixel Arial is taller and wider.
    BoxCanvas arial(80, 30, "Arial", 12);
    arial.draw("7350 Hz", box);
    const RECT large = arial.ink();
    reference.draw("7350 Hz", box);
    const RECT narrow = reference.ink();
    EXPECT_GT(large.right - large.left, narrow.right - narrow.left);
    EXPECT_GT(large.bottom - large.top, narrow.bottom - narrow.top);
}

}  // namespace

#endif  // _WIN32
