// Drawing-surface behaviour checked pixel by pixel against hand-derived scenes.
#include <gtest/gtest.h>

#include <cstring>

#include "gui/draw_context.h"
#include "gui/gui_frame.h"
#include "gui/offscreen_context.h"
#include "gui_test_support.h"

namespace {

class DrawContextTest : public ::testing::Test {
protected:
    HostWindow host;
    GuiCanvas canvas{host, 40, 40, colorBlue};
};

TEST(GeometryTest, PointsOnEveryEdgeAreInside) {
    const GuiRect rect(10, 20, 30, 40);
    struct Case {
        GuiPoint point;
        bool inside;
    } cases[] = {
        {{10, 20}, true},  {{30, 40}, true},  {{30, 20}, true}, {{10, 40}, true},  {{20, 30}, true},
        {{31, 20}, false}, {{10, 41}, false}, {{9, 20}, false}, {{10, 19}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.point.isInside(rect), c.inside) << "point (" << c.point.h << "," << c.point.v << ")";
}

TEST(GeometryTest, SetNormalisesCornersAndConstructorKeepsThem) {
    GuiRect rect;
    rect.set(30, 40, 10, 20);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 30);
    EXPECT_EQ(rect.bottom, 40);
    rect.set(10, 40, 30, 20);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.bottom, 40);
    EXPECT_EQ(rect.width(), 20);
    EXPECT_EQ(rect.height(), 20);

    const GuiRect unchanged(30, 40, 10, 20);  // taken as given
    EXPECT_EQ(unchanged.left, 30);
    EXPECT_EQ(unchanged.width(), -20);
}

TEST(ColorTest, ConstantsAndWindowsValue) {
    EXPECT_EQ(colorTransparent.toColorRef(), 0xFFFFFFu);
    EXPECT_EQ(colorMedium.toColorRef(), 0x7F7F7Fu);
    EXPECT_EQ(colorRed.toColorRef(), 0x0000FFu);
    EXPECT_EQ(colorBlue.toColorRef(), 0xFF0000u);
    EXPECT_EQ(colorYellow.toColorRef(), 0x00FFFFu);
    EXPECT_EQ(colorCyan.toColorRef(), 0xFFFF00u);
    EXPECT_EQ((GuiColor{1, 2, 3, 4}).toColorRef(), 0x030201u);  // the fourth byte is never read
    EXPECT_TRUE((GuiColor{1, 2, 3, 4}).sameRgb(GuiColor{1, 2, 3, 0}));
    EXPECT_FALSE(colorMagenta.sameRgb(colorRed));
}

TEST_F(DrawContextTest, RectOutlineAndFillCoverTheRectangleBetweenThem) {
    const GuiRect rect(5, 5, 20, 15);
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        context.setLineColor(colorRed);
        context.setFillColor(colorGreen);
        context.drawRect(rect);
        context.fillRect(rect);
    }
    EXPECT_TRUE(pixelsMatch(
        canvas,
        [&](int x, int y) {
            bool onColumns = x >= 5 && x <= 20;
            bool onRows = y >= 5 && y <= 15;
            if (!onColumns || !onRows) return colorBlue;
            bool outline = x == 5 || x == 20 || y == 5 || y == 15;
            return outline ? colorRed : colorGreen;
        },
        "rect_outline_and_fill"));
}

TEST_F(DrawContextTest, LinesLeaveOutTheirEndPixel) {
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        context.setLineColor(colorYellow);
        context.moveTo(GuiPoint(2, 30));
        context.lineTo(GuiPoint(10, 30));
        context.moveTo(GuiPoint(30, 2));
        context.lineTo(GuiPoint(30, 6));
    }
    EXPECT_TRUE(pixelsMatch(
        canvas,
        [](int x, int y) {
            bool horizontal = y == 30 && x >= 2 && x <= 9;
            bool vertical = x == 30 && y >= 2 && y <= 5;
            return horizontal || vertical ? colorYellow : colorBlue;
        },
        "line_end_pixel"));
}

TEST_F(DrawContextTest, FillPolygonAndFillEllipseDrawNoOutline) {
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        context.setLineColor(colorRed);
        context.setFillColor(colorGreen);
        const GuiPoint square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
        context.fillPolygon(square, 4);
        context.fillEllipse(GuiRect(20, 20, 36, 36));
        // The context's own pen is back in place afterwards.
        context.moveTo(GuiPoint(0, 39));
        context.lineTo(GuiPoint(5, 39));
    }
    int red = 0, green = 0;
    for (int y = 0; y < 38; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (sameColor(canvas.pixel(x, y), colorRed)) ++red;
            if (sameColor(canvas.pixel(x, y), colorGreen)) ++green;
        }
    }
    EXPECT_EQ(red, 0);
    EXPECT_GT(green, 100);
    EXPECT_TRUE(sameColor(canvas.pixel(7, 7), colorGreen));
    EXPECT_TRUE(sameColor(canvas.pixel(28, 28), colorGreen));
    EXPECT_TRUE(sameColor(canvas.pixel(20, 20), colorBlue));  // the ellipse's bounding corner
    EXPECT_TRUE(sameColor(canvas.pixel(0, 39), colorRed));
    EXPECT_TRUE(sameColor(canvas.pixel(5, 39), colorBlue));
}

TEST_F(DrawContextTest, PixelsAndLineWidth) {
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        context.drawPixel(GuiPoint(3, 4), colorMagenta);
        context.setLineWidth(3);
        context.setLineColor(colorCyan);
        EXPECT_EQ(context.getLineWidth(), 3);
        context.moveTo(GuiPoint(10, 20));
        context.lineTo(GuiPoint(30, 20));
    }
    EXPECT_TRUE(sameColor(canvas.pixel(3, 4), colorMagenta));
    EXPECT_TRUE(sameColor(canvas.pixel(4, 4), colorBlue));
    // A three-pixel pen covers the row above and below the line.
    EXPECT_TRUE(sameColor(canvas.pixel(20, 19), colorCyan));
    EXPECT_TRUE(sameColor(canvas.pixel(20, 20), colorCyan));
    EXPECT_TRUE(sameColor(canvas.pixel(20, 21), colorCyan));
    EXPECT_TRUE(sameColor(canvas.pixel(20, 23), colorBlue));
}

TEST_F(DrawContextTest, StartsWithWhiteLinesBlackFillWhiteTextAndRestoresTheDeviceContext) {
    HGDIOBJ pen = GetCurrentObject(canvas.dc(), OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    HGDIOBJ font = GetCurrentObject(canvas.dc(), OBJ_FONT);
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        EXPECT_TRUE(sameColor(context.getLineColor(), colorWhite));
        EXPECT_TRUE(sameColor(context.getFillColor(), colorBlack));
        EXPECT_TRUE(sameColor(context.getTextColor(), colorWhite));
        EXPECT_EQ(context.getLineWidth(), 1);
        EXPECT_EQ(context.getLineStyle(), lineSolid);
        context.setFont(fontNormal);
        context.drawRect(GuiRect(1, 1, 3, 3));
        context.fillRect(GuiRect(1, 1, 3, 3));
        EXPECT_NE(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
        EXPECT_NE(GetCurrentObject(canvas.dc(), OBJ_FONT), font);
    }
    EXPECT_TRUE(sameColor(canvas.pixel(1, 1), colorWhite));
    EXPECT_TRUE(sameColor(canvas.pixel(2, 2), colorBlack));
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), font);
}

TEST_F(DrawContextTest, SetFontBuildsTheTablesLogicalFontAndFallsBackToBold) {
    struct Case {
        FontId id;
        std::int32_t size;
        std::int32_t height;
        std::int32_t weight;
        unsigned pitchAndFamily;
        const char* face;
    } cases[] = {
        {fontBold, 0, -12, 700, 0x22, "Arial"},    {9, 0, -12, 700, 0x22, "Arial"},
        {-1, 0, -12, 700, 0x22, "Arial"},          {fontHuge, 0, -18, 400, 0x22, "Arial"},
        {fontLarge, 0, -14, 400, 0x22, "Arial"},   {fontNormal, 0, -12, 400, 0x22, "Arial"},
        {fontSmall, 0, -11, 400, 0x22, "Arial"},   {fontTiny, 0, -9, 400, 0x22, "Small Fonts"},
        {fontSymbol, 0, -13, 400, 0x50, "Symbol"}, {fontNormal, 20, -20, 400, 0x22, "Arial"},
    };
    DrawContext context(nullptr, canvas.dc(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE("font id " + std::to_string(c.id) + " size " + std::to_string(c.size));
        context.setFont(c.id, c.size);
        EXPECT_EQ(context.getFontSize(), -c.height);
        LOGFONTA font;
        std::memset(&font, 0, sizeof(font));
        ASSERT_NE(GetObjectA(GetCurrentObject(canvas.dc(), OBJ_FONT), sizeof(font), &font), 0);
        EXPECT_EQ(font.lfHeight, c.height);
        EXPECT_EQ(font.lfWeight, c.weight);
        EXPECT_EQ(font.lfPitchAndFamily, c.pitchAndFamily);
        EXPECT_EQ(font.lfOutPrecision, 1);
        EXPECT_EQ(font.lfClipPrecision, 2);
        EXPECT_EQ(font.lfCharSet, 0);
        EXPECT_EQ(font.lfItalic, 0);
        EXPECT_STREQ(font.lfFaceName, c.face);
    }
}

// Left-aligned text starts one pixel further right than DrawTextA alone puts
// it; centred and right-aligned text uses the rectangle unchanged.
TEST_F(DrawContextTest, LeftAlignedTextIsShiftedOnePixelRight) {
    const GuiRect box(4, 4, 36, 36);
    struct Case {
        TextAlign align;
        UINT plainFlags;
        int shift;
    };
    constexpr UINT kLine = DT_VCENTER | DT_SINGLELINE;
    const Case cases[] = {{alignLeft, DT_LEFT | kLine, 1},
                          {alignCenter, DT_CENTER | kLine, 0},
                          {alignRight, DT_RIGHT | kLine, 0},
                          {TextAlign(7), DT_LEFT | kLine, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE("alignment " + std::to_string(c.align));
        DrawContext context(nullptr, canvas.dc(), nullptr);
        context.setFont(fontBold);
        context.setTextColor(colorBlack);

        canvas.clear(colorWhite);
        RECT plain;
        plain.left = box.left;
        plain.top = box.top;
        plain.right = box.right;
        plain.bottom = box.bottom;
        DrawTextA(canvas.dc(), "Hi", 2, &plain, c.plainFlags);
        const GuiRect plainBounds = canvas.boundsOfPixelsOtherThan(colorWhite);
        ASSERT_LE(plainBounds.left, plainBounds.right) << "the font drew nothing";

        canvas.clear(colorWhite);
        context.drawText("Hi", box, false, c.align);
        const GuiRect bounds = canvas.boundsOfPixelsOtherThan(colorWhite);
        EXPECT_EQ(bounds.left, plainBounds.left + c.shift);
        EXPECT_EQ(bounds.right, plainBounds.right + c.shift);
        EXPECT_EQ(bounds.top, plainBounds.top);
        EXPECT_EQ(bounds.bottom, plainBounds.bottom);
    }
}

TEST_F(DrawContextTest, OpaqueTextLiesOnTheFillColourAndTransparentTextDoesNot) {
    const GuiRect box(0, 10, 40, 30);
    DrawContext context(nullptr, canvas.dc(), nullptr);
    context.setFont(fontNormal);
    context.setFillColor(colorGreen);
    context.setTextColor(colorWhite);

    context.drawText("a", box, false, alignCenter);
    const GuiRect textBounds = canvas.boundsOfPixelsOtherThan(colorBlue);
    EXPECT_LE(textBounds.left, textBounds.right) << "the font drew nothing";
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_FALSE(sameColor(canvas.pixel(x, y), colorGreen));

    canvas.clear(colorBlue);
    context.drawText("a", box, true, alignCenter);
    int green = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) green += sameColor(canvas.pixel(x, y), colorGreen) ? 1 : 0;
    EXPECT_GT(green, 0);
    // Back to transparent afterwards: a later plain text adds no background.
    canvas.clear(colorBlue);
    context.drawText("a", box, false, alignCenter);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_FALSE(sameColor(canvas.pixel(x, y), colorGreen));
}

TEST_F(DrawContextTest, NothingHeldGivesMouseStateZero) {
    DrawContext context(nullptr, canvas.dc(), host.handle());
    EXPECT_EQ(context.getMouseState(), 0);
}

TEST_F(DrawContextTest, OffscreenSurfaceStartsInItsBackgroundAndCopiesBlocks) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), host.handle(), nullptr);
    {
        OffscreenContext offscreen(&frame, 20, 10, colorMagenta);
        EXPECT_EQ(offscreen.getWidth(), 20);
        EXPECT_EQ(offscreen.getHeight(), 10);
        offscreen.drawPixel(GuiPoint(5, 5), colorYellow);
        DrawContext target(nullptr, canvas.dc(), nullptr);
        // A 6 x 4 block from (3, 3) lands at (10, 12).
        offscreen.copyTo(target, GuiRect(10, 12, 16, 16), GuiPoint(3, 3));
    }
    EXPECT_TRUE(pixelsMatch(
        canvas,
        [](int x, int y) {
            if (x == 12 && y == 14) return colorYellow;
            return x >= 10 && x < 16 && y >= 12 && y < 16 ? colorMagenta : colorBlue;
        },
        "offscreen_copy"));
}

}  // namespace
