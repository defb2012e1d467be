// The developer's drawing canvas: the view rectangle from width, centre and picture size, the
// grid step by width, the mouse position text, what a redraw draws, and the measure tool with
// its clicks, Esc and the stored measures.
#include "app/core/cCanvas.h"

#include "foundation/cRecordSurface.h"
#include "model/zvLib_colors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// A canvas bound to a recording surface of the given size, its first view computed.
struct Bench {
    explicit Bench(int w = 1600, int h = 1000) : pic(cRecordSurface::Options{w, h, true, true, 96})
    {
        cnv.outdevice(&pic);
        cnv.ViewPort(2000);
    }
    int count(const std::string& start) const
    {
        const auto& l = pic.Lines();
        return static_cast<int>(std::count_if(l.begin(), l.end(), [&](const std::string& s) {
            return s.rfind(start, 0) == 0;
        }));
    }
    bool has(const std::string& start) const { return count(start) > 0; }
    cRecordSurface pic;
    cCanvas cnv;
};

TEST(cCanvasTest, ViewRectFollowsPictureProportions)
{
    Bench b;
    EXPECT_EQ(b.cnv.Aspect(), cFixed::fromDouble(1.6));
    EXPECT_EQ(b.cnv.ViewHeight(), 1250);
    EXPECT_EQ(b.cnv.Left(), cFixed(-1000));
    EXPECT_EQ(b.cnv.Right(), cFixed(1000));
    EXPECT_EQ(b.cnv.Top(), cFixed(625));
    EXPECT_EQ(b.cnv.Bottom(), cFixed(-625));
    EXPECT_FLOAT_EQ(b.pic.ScaleLeft(), -1000);
    EXPECT_FLOAT_EQ(b.pic.ScaleTop(), 625);
    EXPECT_FLOAT_EQ(b.pic.ScaleHeight(), -1250);
}

TEST(cCanvasTest, ViewPortMovesAndZoomsOnlyWhatIsGiven)
{
    Bench b;
    b.cnv.ViewPort(std::nullopt, 100);
    EXPECT_EQ(b.cnv.Width(), cFixed(2000));
    EXPECT_EQ(b.cnv.CenterX(), 100);
    EXPECT_EQ(b.cnv.CenterY(), 0);
    EXPECT_EQ(b.cnv.Left(), cFixed(-900));
    EXPECT_EQ(b.cnv.Right(), cFixed(1100));
    b.cnv.ViewPort(std::nullopt, std::nullopt, -50);
    EXPECT_EQ(b.cnv.Top(), cFixed(575));
    EXPECT_EQ(b.cnv.Bottom(), cFixed(-675));
    // Zoom: the width is a whole number, halves to even.
    b.cnv.ViewPort(b.cnv.Width().toDouble() * 1.2);
    EXPECT_EQ(b.cnv.Width(), cFixed(2400));
    EXPECT_EQ(b.cnv.ViewHeight(), 1500);
    b.cnv.ViewPort(b.cnv.Width().toDouble() / 1.2);
    EXPECT_EQ(b.cnv.Width(), cFixed(2000));
    b.cnv.ViewPort(2001.5);
    EXPECT_EQ(b.cnv.Width(), cFixed(2002));
    b.cnv.ViewPort(2002.5);
    EXPECT_EQ(b.cnv.Width(), cFixed(2002));
}

TEST(cCanvasTest, ResizeRecomputesTheView)
{
    cRecordSurface pic(cRecordSurface::Options{1000, 1000, true, true, 96});
    cCanvas cnv;
    cnv.outdevice(&pic);
    cnv.ViewPort(3000, 10, 20);
    EXPECT_EQ(cnv.ViewHeight(), 3000);
    EXPECT_EQ(cnv.Bottom(), cFixed(-1480));
    EXPECT_EQ(cnv.Left(), cFixed(-1490));
}

TEST(cCanvasTest, PictureWithoutHeightKeepsTheLastProportions)
{
    Bench b;
    cRecordSurface flat(cRecordSurface::Options{1600, 0, true, true, 96});
    b.cnv.outdevice(&flat);
    b.cnv.pic_Resize();
    EXPECT_EQ(b.cnv.Aspect(), cFixed::fromDouble(1.6));
    EXPECT_EQ(b.cnv.ViewHeight(), 1250);
    EXPECT_EQ(b.cnv.Top(), cFixed(625));
}

TEST(cCanvasTest, GridStepByWidth)
{
    EXPECT_EQ(cCanvas::GridStep(999), 50);
    EXPECT_EQ(cCanvas::GridStep(1000), 100);
    EXPECT_EQ(cCanvas::GridStep(1999), 100);
    EXPECT_EQ(cCanvas::GridStep(2000), 250);
    EXPECT_EQ(cCanvas::GridStep(9999), 500);
    EXPECT_EQ(cCanvas::GridStep(10000), 1000);
    EXPECT_EQ(cCanvas::GridStep(49999), 2500);
    EXPECT_EQ(cCanvas::GridStep(99999), 5000);
    EXPECT_EQ(cCanvas::GridStep(199999), 10000);
    EXPECT_EQ(cCanvas::GridStep(200000), 50000);
}

TEST(cCanvasTest, PositionTextRoundsToWholeNumbers)
{
    EXPECT_EQ(cCanvas::PositionText(12.4, -7.6), "12 : -8");
    EXPECT_EQ(cCanvas::PositionText(0, 1000.49), "0 : 1000");
}

TEST(cCanvasTest, FirstPictureHasGridAxesAndTestCircles)
{
    Bench b;
    EXPECT_EQ(b.pic.Lines().front(), "Cls back=&H000000");
    // Nine vertical lines -1000 .. 1000 step 250, labelled along the top edge.
    EXPECT_TRUE(b.has("Line -1000.0000 625.0000 -1000.0000 -625.0000"));
    EXPECT_TRUE(b.has("Line 1000.0000 625.0000 1000.0000 -625.0000"));
    EXPECT_FALSE(b.has("Line 1250.0000 625.0000"));
    EXPECT_TRUE(b.has("Print -1000.0000 625.0000 \"-1000\""));
    EXPECT_TRUE(b.has("Print 1000.0000 625.0000 \"1000\""));
    // Horizontal lines: -625/250 and 625/250 round to -2 and 2 (halves to even).
    EXPECT_TRUE(b.has("Line -1000.0000 -500.0000 1000.0000 -500.0000"));
    EXPECT_FALSE(b.has("Line -1000.0000 -750.0000"));
    EXPECT_TRUE(b.has("Print -1000.0000 500.0000 \"500\""));
    EXPECT_EQ(b.count("Print"), 9 + 5);
    // The axes.
    char yAxis[64];
    std::snprintf(yAxis, sizeof yAxis, "Line 0.0000 625.0000 0.0000 -625.0000 color=&H%06X",
                  static_cast<unsigned>(zvLib::Colors.ToRGB("PaleGreen")));
    EXPECT_TRUE(b.has(yAxis));
    EXPECT_TRUE(b.has("Circle 0.0000 0.0000 r=100.0000 color=&HFF0000"));
    EXPECT_TRUE(b.has("Circle 0.0000 0.0000 r=300.0000 color=&H0000FF"));
    EXPECT_EQ(b.count("Circle"), 2);
}

TEST(cCanvasTest, GridFontIsUsedForLabels)
{
    Bench b;
    b.cnv.GridFont("Calibri", 7, 0x808080);
    b.cnv.BackColor(0xFFFFFF);
    b.pic.Clear();
    b.cnv.Redraw();
    EXPECT_EQ(b.pic.Lines().front(), "Cls back=&HFFFFFF");
    const std::string& label = b.pic.Lines()[2];
    EXPECT_NE(label.find("font=\"Calibri\" size=7.0000"), std::string::npos) << label;
    EXPECT_NE(label.find("color=&H808080"), std::string::npos) << label;
}

TEST(cCanvasTest, MeasureToolStoresAMeasureAfterTwoClicks)
{
    Bench b;
    std::string previous = "?", next = "?";
    b.cnv.ActionChange = [&](const std::string& p, const std::string& n) {
        previous = p;
        next = n;
    };
    b.cnv.Action("measure");
    EXPECT_EQ(previous, "");
    EXPECT_EQ(next, "measure");
    EXPECT_EQ(b.cnv.MousePointer(), cCanvas::kCrosshair);
    b.cnv.pic_MouseDown(100, 100);
    EXPECT_EQ(b.cnv.MeasureClicks(), 1);
    b.pic.Clear();
    b.cnv.pic_MouseMove(250, 300);
    EXPECT_TRUE(b.has("Cls")); // a measure that follows the mouse
    EXPECT_TRUE(b.has("Line 100.0000 100.0000 250.0000 300.0000 color=&H000000"));
    EXPECT_EQ(b.cnv.Shapes().size(), 3u);
    b.cnv.pic_MouseDown(400, 500);
    EXPECT_EQ(b.cnv.MeasureClicks(), 0);
    ASSERT_EQ(b.cnv.Shapes().size(), 4u);
    EXPECT_EQ(b.cnv.Shapes()[3].kind, "measure");
    EXPECT_DOUBLE_EQ(b.cnv.Shapes()[3].values[2], 400);
    b.pic.Clear();
    b.cnv.Redraw();
    bool labelled = false;
    for (const auto& l : b.pic.Lines()) {
        labelled = labelled || (l.rfind("Print ", 0) == 0 && l.find("\"500\"") != std::string::npos &&
                                l.find("size=9.0000") != std::string::npos);
    }
    EXPECT_TRUE(labelled);
    EXPECT_TRUE(b.has("BoxFilled"));
}

TEST(cCanvasTest, EscapeDropsAMeasureInProgress)
{
    Bench b;
    b.cnv.Action("measure");
    b.cnv.pic_MouseDown(0, 0);
    b.cnv.pic_KeyUp(cCanvas::kKeyEscape);
    EXPECT_EQ(b.cnv.MeasureClicks(), 0);
    b.cnv.pic_MouseDown(10, 10);
    EXPECT_EQ(b.cnv.MeasureClicks(), 1);
    EXPECT_EQ(b.cnv.Shapes().size(), 3u);
}

TEST(cCanvasTest, ToolNameIsCaseSensitive)
{
    Bench b;
    b.cnv.Action("Measure");
    EXPECT_EQ(b.cnv.MousePointer(), cCanvas::kDefaultPointer);
    b.cnv.pic_MouseDown(0, 0);
    b.cnv.pic_MouseDown(30, 40);
    EXPECT_EQ(b.cnv.MeasureClicks(), 0);
    EXPECT_EQ(b.cnv.Shapes().size(), 3u);
    EXPECT_EQ(b.cnv.MouseX(), cFixed(30));
}

TEST(cCanvasTest, StoredMeasureBringsBackTheCrosshair)
{
    Bench b;
    b.cnv.Action("measure");
    b.cnv.pic_MouseDown(0, 0);
    b.cnv.pic_MouseDown(300, 400);
    b.cnv.Action("");
    EXPECT_EQ(b.cnv.MousePointer(), cCanvas::kDefaultPointer);
    b.cnv.Redraw();
    EXPECT_EQ(b.cnv.MousePointer(), cCanvas::kCrosshair);
}

TEST(cCanvasTest, MouseMoveReportsPosition)
{
    Bench b;
    std::string text;
    b.cnv.MousePosition = [&](cFixed, cFixed, const std::string& t) { text = t; };
    b.cnv.pic_MouseMove(12.4, -7.6);
    EXPECT_EQ(text, "12 : -8");
    EXPECT_EQ(b.cnv.MouseY(), cFixed::fromDouble(-7.6));
}

} // namespace
