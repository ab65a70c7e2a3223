// Ellipses, arcs, pies and polygons: exact pictures where GDI's rule is
// simple (polygons), and clearly inside or outside pixels for the curves,
// whose edge pixels real GDI implementations place differently.
#include <gtest/gtest.h>

#include "tests/support/pixel_canvas.h"

namespace {

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kPaper = RGB(255, 255, 255);

// Selects a black brush and either the stock null pen or a black pen.
class FigureStyle {
public:
    FigureStyle(HDC dc, bool withPen, bool withBrush) : dc(dc) {
        LOGBRUSH brushStyle{BS_SOLID, kInk, 0};
        brush = CreateBrushIndirect(&brushStyle);
        LOGPEN penStyle{PS_SOLID, {1, 0}, kInk};
        pen = CreatePenIndirect(&penStyle);
        previousBrush = SelectObject(dc, withBrush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
        previousPen = SelectObject(dc, withPen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN));
    }
    ~FigureStyle() {
        SelectObject(dc, previousBrush);
        SelectObject(dc, previousPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }

private:
    HDC dc;
    HBRUSH brush;
    HPEN pen;
    HGDIOBJ previousBrush;
    HGDIOBJ previousPen;
};

struct PixelCase {
    int x, y;
    bool ink;
};

void expectPixels(const PixelCanvas& canvas, std::initializer_list<PixelCase> cases) {
    for (const PixelCase& c : cases) {
        EXPECT_EQ(c.ink ? kInk : kPaper, canvas.at(c.x, c.y)) << "pixel " << c.x << ", " << c.y;
    }
}

TEST(GdiFigures, EllipseWithTheNullPenFillsItsBoxRoundedOff) {
    PixelCanvas canvas(14, 12);
    FigureStyle style(canvas.dc(), false, true);
    ASSERT_TRUE(Ellipse(canvas.dc(), 1, 1, 11, 9));
    expectPixels(canvas, {
                             {6, 5, true},
                             {1, 4, true},
                             {10, 4, true},  // centre and the widest row
                             {5, 1, true},
                             {5, 8, true},  // top and bottom rows
                             {1, 1, false},
                             {10, 1, false},
                             {1, 8, false},
                             {10, 8, false},  // corners
                             {11, 4, false},
                             {5, 0, false},
                             {5, 9, false},  // outside the box
                         });
}

TEST(GdiFigures, EllipseOutlineWithoutBrushLeavesTheInsideAlone) {
    PixelCanvas canvas(14, 12);
    FigureStyle style(canvas.dc(), true, false);
    ASSERT_TRUE(Ellipse(canvas.dc(), 1, 1, 11, 9));
    expectPixels(canvas, {{1, 4, true}, {10, 4, true}, {5, 1, true}, {5, 8, true}, {6, 5, false}, {3, 4, false}});
}

TEST(GdiFigures, ArcRunsCounterClockwiseFromStartToEnd) {
    PixelCanvas canvas(14, 14);
    FigureStyle style(canvas.dc(), true, false);
    // From 3 o'clock to 12 o'clock around the circle in (1, 1)-(13, 13).
    ASSERT_TRUE(Arc(canvas.dc(), 1, 1, 13, 13, 13, 7, 7, 1));
    expectPixels(canvas, {
                             {11, 3, true},
                             {12, 5, true},  // on the upper right quarter
                             {3, 3, false},
                             {1, 7, false},
                             {7, 12, false},  // the rest of the circle
                             {7, 7, false},
                             {9, 5, false},  // no fill
                         });
}

TEST(GdiFigures, PieWithTheNullPenFillsItsSector) {
    PixelCanvas canvas(14, 14);
    FigureStyle style(canvas.dc(), false, true);
    ASSERT_TRUE(Pie(canvas.dc(), 1, 1, 13, 13, 13, 7, 7, 1));  // the upper right quarter
    expectPixels(canvas, {{9, 4, true}, {10, 5, true}, {4, 4, false}, {4, 10, false}, {10, 10, false}});

    canvas.clear(kPaper);
    ASSERT_TRUE(Pie(canvas.dc(), 1, 1, 13, 13, 7, 1, 13, 7));  // everything but that quarter
    expectPixels(canvas, {{4, 4, true}, {4, 10, true}, {10, 10, true}, {10, 4, false}});
}

TEST(GdiFigures, PolygonFillsPixelsWhoseCornerIsInsideRightAndBottomEdgesExcluded) {
    PixelCanvas canvas(14, 12);
    FigureStyle style(canvas.dc(), false, true);
    const POINT square[] = {{1, 1}, {8, 1}, {8, 6}, {1, 6}};
    ASSERT_TRUE(Polygon(canvas.dc(), square, 4));
    const POINT triangle[] = {{9, 3}, {13, 7}, {9, 11}};
    ASSERT_TRUE(Polygon(canvas.dc(), triangle, 3));
    // Row y of the triangle runs from x = 9 to its right edge, which crosses
    // the row at 9 + (y - 3) above the tip at (13, 7) and at 13 - (y - 7) below.
    const std::vector<std::string> expected = {
        "..............",  //
        ".#######......",  //
        ".#######......",  //
        ".#######......",  // the triangle's top vertex row is empty: [9, 9)
        ".#######.#....",  //
        ".#######.##...",  //
        ".........###..",  // the square's bottom edge y = 6 is left out
        ".........####.",  //
        ".........###..",  //
        ".........##...",  //
        ".........#....",  //
        "..............",  // the bottom vertex row
    };
    const std::vector<std::string> actual = canvas.picture(kInk, kPaper);
    EXPECT_EQ(expected, actual) << describeDifference(expected, actual);
    EXPECT_FALSE(Polygon(canvas.dc(), square, 1));
}

}  // namespace
