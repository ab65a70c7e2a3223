// Which pixels lines and rectangles touch: GDI leaves out the end pixel of a
// line and the right column and bottom row of a filled rectangle.
#include <gtest/gtest.h>

#include "tests/support/pixel_canvas.h"

namespace {

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kPaper = RGB(255, 255, 255);

class PenScope {
public:
    PenScope(HDC dc, UINT style, int width, COLORREF color) : dc(dc) {
        LOGPEN description{style, {width, 0}, color};
        pen = CreatePenIndirect(&description);
        previous = SelectObject(dc, pen);
    }
    ~PenScope() {
        SelectObject(dc, previous);
        DeleteObject(pen);
    }

private:
    HDC dc;
    HPEN pen;
    HGDIOBJ previous;
};

TEST(GdiLines, LineToLeavesOutTheEndPixelAndBreaksTiesByOctant) {
    PixelCanvas canvas(13, 10);
    PenScope pen(canvas.dc(), PS_SOLID, 1, kInk);
    struct Segment {
        POINT from, to;
    };
    // Exact ties halfway between two rows or columns: towards the start in
    // octants 1 and 2, towards the end in octants 5 and 6.
    const Segment segments[] = {
        {{0, 0}, {4, 2}},   {{4, 4}, {0, 2}}, {{6, 0}, {8, 4}},
        {{12, 4}, {10, 0}}, {{0, 6}, {5, 6}}, {{7, 6}, {7, 9}},  // horizontal and vertical
        {{10, 7}, {10, 7}},                                      // no length, no pixel
    };
    for (const Segment& s : segments) {
        MoveToEx(canvas.dc(), s.from.x, s.from.y, nullptr);
        LineTo(canvas.dc(), s.to.x, s.to.y);
    }
    const std::vector<std::string> expected = {
        "##....#......",  //
        "..##..#...#..",  //
        ".#.....#...#.",  //
        "..##...#...#.",  //
        "....#.......#",  //
        ".............",  //
        "#####..#.....",  //
        ".......#.....",  //
        ".......#.....",  //
        ".............",  //
    };
    const std::vector<std::string> actual = canvas.picture(kInk, kPaper);
    EXPECT_EQ(expected, actual) << describeDifference(expected, actual);
}

TEST(GdiLines, LineToMovesTheCurrentPositionAndPolylineDoesNot) {
    PixelCanvas canvas(10, 8);
    PenScope pen(canvas.dc(), PS_SOLID, 1, kInk);
    const POINT corners[] = {{1, 1}, {8, 1}, {8, 6}, {1, 6}};
    MoveToEx(canvas.dc(), 3, 3, nullptr);
    ASSERT_TRUE(Polyline(canvas.dc(), corners, 4));
    POINT position;
    MoveToEx(canvas.dc(), 0, 0, &position);
    EXPECT_EQ(3, position.x);
    EXPECT_EQ(3, position.y);
    const std::vector<std::string> expected = {
        "..........",  //
        ".########.",  // the first corner's pixel starts the second segment
        "........#.",  //
        "........#.",  //
        "........#.",  //
        "........#.",  //
        "..#######.",  // the last point (1, 6) is left out
        "..........",  //
    };
    const std::vector<std::string> actual = canvas.picture(kInk, kPaper);
    EXPECT_EQ(expected, actual) << describeDifference(expected, actual);

    LineTo(canvas.dc(), 4, 0);
    MoveToEx(canvas.dc(), 0, 0, &position);
    EXPECT_EQ(4, position.x);
    EXPECT_FALSE(Polyline(canvas.dc(), corners, 1));
}

TEST(GdiLines, DottedPenRunsThreeOnThreeOffAcrossAPolylineAndRestartsPerCall) {
    PixelCanvas canvas(21, 5);
    PenScope pen(canvas.dc(), PS_DOT, 1, kInk);
    SetBkMode(canvas.dc(), TRANSPARENT);
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    LineTo(canvas.dc(), 20, 0);
    const POINT bend[] = {{0, 2}, {7, 2}, {7, 4}};
    Polyline(canvas.dc(), bend, 3);
    MoveToEx(canvas.dc(), 10, 2, nullptr);
    LineTo(canvas.dc(), 14, 2);
    LineTo(canvas.dc(), 20, 2);
    const std::vector<std::string> expected = {
        "###...###...###...##.",  //
        ".....................",  //
        "###...##..###.###....",  //
        ".......#.............",  //
        ".....................",  //
    };
    const std::vector<std::string> actual = canvas.picture(kInk, kPaper);
    EXPECT_EQ(expected, actual) << describeDifference(expected, actual);
}

TEST(GdiLines, DottedPenFillsItsGapsWithTheBackgroundWhenOpaque) {
    PixelCanvas canvas(10, 1);
    PenScope pen(canvas.dc(), PS_DOT, 1, kInk);
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), RGB(255, 0, 0));
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    LineTo(canvas.dc(), 9, 0);
    EXPECT_EQ("###???###.", canvas.picture(kInk, kPaper)[0]);
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(4, 0));
}

TEST(GdiLines, WidePenCoversItsWidthAndBothEnds) {
    PixelCanvas canvas(16, 5);
    PenScope pen(canvas.dc(), PS_SOLID, 3, kInk);
    MoveToEx(canvas.dc(), 2, 2, nullptr);
    LineTo(canvas.dc(), 12, 2);
    for (int x : {2, 7, 12}) {
        EXPECT_EQ(kInk, canvas.at(x, 1)) << x;
        EXPECT_EQ(kInk, canvas.at(x, 3)) << x;
        EXPECT_EQ(kPaper, canvas.at(x, 0)) << x;
        EXPECT_EQ(kPaper, canvas.at(x, 4)) << x;
    }
    EXPECT_EQ(kInk, canvas.at(13, 2));  // a round end beyond the end point
    EXPECT_EQ(kPaper, canvas.at(15, 2));
}

TEST(GdiLines, FillRectLeavesOutTheRightColumnAndTheBottomRow) {
    PixelCanvas canvas(6, 5);
    LOGBRUSH style{BS_SOLID, kInk, 0};
    HBRUSH brush = CreateBrushIndirect(&style);
    const RECT area{1, 1, 4, 3};
    EXPECT_NE(0, FillRect(canvas.dc(), &area, brush));
    const RECT inverted{5, 5, 4, 4};  // right of left: nothing
    FillRect(canvas.dc(), &inverted, brush);
    DeleteObject(brush);
    const std::vector<std::string> expected = {"......", ".###..", ".###..", "......", "......"};
    const std::vector<std::string> actual = canvas.picture(kInk, kPaper);
    EXPECT_EQ(expected, actual) << describeDifference(expected, actual);
}

TEST(GdiLines, FillRectTakesASystemColourIndexForABrush) {
    PixelCanvas canvas(4, 4);
    LOGBRUSH buttonFace;
    ASSERT_EQ(static_cast<int>(sizeof(buttonFace)),
              GetObjectA(GetSysColorBrush(COLOR_BTNFACE), sizeof(buttonFace), &buttonFace));
    const RECT area{0, 0, 2, 2};
    FillRect(canvas.dc(), &area, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(buttonFace.lbColor, canvas.at(1, 1));
    EXPECT_EQ(kPaper, canvas.at(2, 2));
}

TEST(GdiLines, SetPixelAndGetPixelMeetAtTheSamePixel) {
    PixelCanvas canvas(4, 4);
    EXPECT_EQ(RGB(10, 20, 30), SetPixel(canvas.dc(), 2, 1, RGB(10, 20, 30)));
    EXPECT_EQ(RGB(10, 20, 30), canvas.at(2, 1));
    EXPECT_EQ(kPaper, canvas.at(1, 2));
    EXPECT_EQ(CLR_INVALID, GetPixel(canvas.dc(), 4, 0));  // outside the bitmap
    EXPECT_EQ(CLR_INVALID, GetPixel(canvas.dc(), 0, -1));
}

}  // namespace
