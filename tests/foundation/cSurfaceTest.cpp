// The drawing surface's shared state and the recording surface: position bookkeeping, scale
// units, text measures, the device-context guard and the recorded form of every call.
#include "foundation/cError.h"
#include "foundation/cRecordSurface.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A recording window of 1000 by 500 pixels over world millimetres with y up, 2 pixels per mm.
class RecordSurfaceTest : public ::testing::Test {
protected:
    RecordSurfaceTest() : s({.width = 1000, .height = 500}) { s.Scale(-250, 125, 250, -125); }
    cRecordSurface s;
};

}  // namespace

TEST_F(RecordSurfaceTest, CallsAndTheirDrawingStateMatchTheGolden)
{
    s.BackColor(0xEEEEEE);
    s.Cls();
    s.Line(0, 0, 10.12345, -5, 0xFF);
    s.DrawWidth(3);
    s.DrawStyle(2);
    s.LineTo(20, 0, 0x00FF00);
    s.FillColor(0xDCDCDC);
    s.FillStyle(0);
    s.Circle(1.5, 2.5, 7.25, 0);
    s.Box(-1, -1, 1, 1, 0x8000000D, false);
    s.Box(-2, -2, 2, 2, 0xFF0000, true);
    s.DrawStyle(0);
    s.Arc(0, 0, 100, 0x123456, 4.71238898038469, 0.785398163397448);
    s.PSet(3, 4, 0xFF);
    s.FontSize(8);
    s.FontBold(true);
    s.CurrentX(-10);
    s.CurrentY(20);
    s.Print("K\"1\"", false);
    s.Print("two");
    s.FillStyle(5);
    s.FillColor(static_cast<std::int32_t>(0x80000018));
    s.BeginPath();
    s.MoveToEx(10, 20);
    s.AngleArc(500, 250, 40, 90, -45.5f);
    s.LineToPx(30, 40);
    s.Polygon({{1, 2}, {3, 4}, {5, 6}});
    s.EndPath();
    s.FlattenPath();
    s.StrokeAndFillPath();
    EXPECT_TRUE(testsupport::matchesGolden("surface/expected.draw.txt", s.Text()));
    EXPECT_EQ(s.Lines().size(), 18u);
    s.Clear();
    EXPECT_TRUE(s.Lines().empty());
}

TEST_F(RecordSurfaceTest, CurrentPositionFollowsEveryCall)
{
    s.Line(1, 2, 3, 4, 0);
    EXPECT_EQ(s.CurrentX(), 3);
    EXPECT_EQ(s.CurrentY(), 4);
    s.LineTo(7, 8, 0);
    EXPECT_EQ(s.Lines().back(), "Line 3.0000 4.0000 7.0000 8.0000 color=&H000000 width=1 style=0");
    s.Circle(-5, -6, 1, 0);
    EXPECT_EQ(s.CurrentX(), -5);
    EXPECT_EQ(s.CurrentY(), -6);
    s.Box(0, 0, 9, -9, 0, true);
    EXPECT_EQ(s.CurrentX(), 9);
    EXPECT_EQ(s.CurrentY(), -9);
    s.PSet(11, 12, 0);
    EXPECT_EQ(s.CurrentX(), 11);
    s.Cls();
    EXPECT_EQ(s.CurrentX(), -250);
    EXPECT_EQ(s.CurrentY(), 125);
}

TEST_F(RecordSurfaceTest, TextMeasuresAreSignedByTheScaleAndMovePrint)
{
    s.FontSize(9);  // 6 pixels a character, 15 pixels a line at 96 dpi
    EXPECT_DOUBLE_EQ(s.TextWidth("abcd"), 12);  // 24 pixels, 2 per mm
    EXPECT_DOUBLE_EQ(s.TextWidth("\xC3\xA9t\xC3\xA9"), 9);  // three characters in five bytes
    EXPECT_DOUBLE_EQ(s.TextHeight("abcd"), -7.5);          // y up: downwards is negative
    s.CurrentX(10);
    s.CurrentY(50);
    s.Print("ab", false);
    EXPECT_DOUBLE_EQ(s.CurrentX(), 16);
    EXPECT_DOUBLE_EQ(s.CurrentY(), 50);
    s.Print("cd");
    EXPECT_DOUBLE_EQ(s.CurrentX(), -250);
    EXPECT_DOUBLE_EQ(s.CurrentY(), 42.5);
    EXPECT_EQ(s.Lines().back(),
              "Print 16.0000 50.0000 \"cd\" color=&H000000 font=\"Sans Serif\" size=9.0000 bold=0");
}

TEST(cSurface, ScaleModesDescribeTheDrawableArea)
{
    cRecordSurface s({.width = 960, .height = 480, .window = false, .hasDC = false});
    EXPECT_EQ(s.ScaleMode(), 1);  // a fresh surface measures in twips
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 14400);
    EXPECT_FLOAT_EQ(s.ScaleHeight(), 7200);
    s.ScaleMode(6);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 254);
    EXPECT_FLOAT_EQ(s.ScaleHeight(), 127);
    EXPECT_EQ(s.ScaleLeft(), 0);
    EXPECT_EQ(s.ScaleTop(), 0);
    s.ScaleMode(3);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 960);
    s.ScaleMode(4);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 120);
    EXPECT_FLOAT_EQ(s.ScaleHeight(), 30);
    s.ScaleLeft(5);
    EXPECT_EQ(s.ScaleMode(), 0);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 120);
    s.ScaleMode(0);  // keeps the scale
    EXPECT_FLOAT_EQ(s.ScaleLeft(), 5);
    try {
        s.ScaleMode(8);
        ADD_FAILURE() << "mode 8 accepted";
    } catch (const cError& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    EXPECT_FLOAT_EQ(s.ScaleLeft(), 5);
}

TEST(cSurface, PenWidthIsClampedAndPathCallsNeedADeviceContext)
{
    cRecordSurface printer({.width = 100, .height = 100, .window = false, .hasDC = false});
    printer.DrawWidth(0);
    EXPECT_EQ(printer.DrawWidth(), 1);
    printer.DrawWidth(-7);
    EXPECT_EQ(printer.DrawWidth(), 1);
    printer.DrawWidth(1000000);
    EXPECT_EQ(printer.DrawWidth(), 1000);
    printer.Line(0, 0, 1, 1, 0);  // ordinary drawing works without one
    int refused = 0;
    for (auto call : {+[](cSurface& p) { p.BeginPath(); }, +[](cSurface& p) { p.MoveToEx(1, 1); },
                      +[](cSurface& p) { p.LineToPx(1, 1); },
                      +[](cSurface& p) { p.AngleArc(1, 1, 1, 0, 90); },
                      +[](cSurface& p) { p.Polygon({{0, 0}, {1, 1}}); },
                      +[](cSurface& p) { p.EndPath(); }, +[](cSurface& p) { p.FlattenPath(); },
                      +[](cSurface& p) { p.StrokeAndFillPath(); }}) {
        try {
            call(printer);
        } catch (const cError& e) {
            refused += e.Number() == 438 ? 1 : 0;
        }
    }
    EXPECT_EQ(refused, 8);
    EXPECT_EQ(printer.Lines().size(), 1u);
}
