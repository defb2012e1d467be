// Placing and drawing a drawing: scale factor and offsets, the extent on the canvas, the
// fitted scale, and every entity kind as the recording surface sees it.
#include "dxf/cDXF.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_canvas.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

using testsupport::dataPath;

namespace {

std::string Drawing(const std::string& body)
{
    return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

// The main canvas is a recording surface for the life of each test.
class cDXFDraw : public ::testing::Test {
  protected:
    void SetUp() override
    {
        pic.Scale(0, 100, 200, 0);
        zvLib::MainPic = &pic;
    }
    void TearDown() override { zvLib::MainPic = nullptr; }

    std::vector<std::string> DrawnBy(const std::string& body)
    {
        d.LoadBytes(Drawing(body));
        d.scaleFactor(cFixed::fromRaw(100)); // 0.01: hundredths become drawing units
        pic.Clear();
        d.Draw();
        return pic.Lines();
    }

    cRecordSurface pic;
    cDXF d;
};

} // namespace

TEST(cDXFPlacement, ScaleAndOffsetsPlaceTheExtent)
{
    cDXF d;
    EXPECT_EQ(d.scaleFactor(), cFixed(100)); // nothing loaded, nothing fitted
    d.scaleFactor(cFixed());
    EXPECT_EQ(d.scaleFactor(), cFixed::fromRaw(1));
    d.scaleFactor(cFixed::fromRaw(2500));
    EXPECT_EQ(d.scaleFactor().str(), "0.25");
    d.scaleFactor(cFixed(-2));
    EXPECT_EQ(d.scaleFactor(), cFixed(-2));

    d.LoadBytes(Drawing("0\nLINE\n10\n0\n20\n0\n11\n100\n21\n50\n"));
    EXPECT_EQ(d.scaleFactor().str(), "0.01"); // no canvas to fit to
    d.scaleFactor(cFixed::fromRaw(100));
    d.OffsetX(cFixed(200));
    d.OffsetY(cFixed(30));
    const auto e = d.GetExtent();
    EXPECT_EQ(e[0], cFixed(200));
    EXPECT_EQ(e[1], cFixed(-30));
    EXPECT_EQ(e[2], cFixed(300));
    EXPECT_EQ(e[3], cFixed(20));
    // Extreme placements saturate instead of wrapping.
    d.scaleFactor(cFixed::max());
    d.OffsetX(cFixed::max());
    EXPECT_EQ(d.GetExtent()[2], cFixed::max());
}

TEST_F(cDXFDraw, ScaleIsFittedToTwiceTheVisibleWidth)
{
    d.LoadBytes(Drawing("0\nLINE\n10\n-50\n20\n0\n11\n150\n21\n0\n"));
    EXPECT_EQ(d.scaleFactor().str(), "0.02"); // 2 x 200 / 20000 hundredths
    d.LoadBytes(Drawing("0\nLINE\n10\n5\n20\n0\n11\n5\n21\n9\n"));
    EXPECT_EQ(d.scaleFactor().str(), "0.01"); // no width: nothing to divide by
    EXPECT_EQ(d.OffsetX(), cFixed());
}

TEST_F(cDXFDraw, SettingTheVerticalOffsetDrawsAtOnce)
{
    d.LoadBytes(Drawing("0\nPOINT\n10\n1\n20\n1\n"));
    pic.Clear();
    d.OffsetX(cFixed(5));
    EXPECT_TRUE(pic.Lines().empty());
    d.OffsetY(cFixed(5));
    EXPECT_EQ(pic.Lines().size(), 1u);
    zvLib::MainPic = nullptr;
    d.OffsetY(cFixed(6)); // no canvas: stored, nothing drawn
    EXPECT_EQ(d.OffsetY(), cFixed(6));
    EXPECT_THROW(d.Draw(), std::exception);
}

TEST_F(cDXFDraw, CircleAndPointMapThroughScaleAndOffsets)
{
    d.LoadBytes(Drawing("0\nCIRCLE\n10\n10\n20\n10\n40\n5\n0\nPOINT\n10\n10\n20\n10\n"));
    d.scaleFactor(cFixed::fromRaw(100));
    d.OffsetX(cFixed(10));
    pic.Clear();
    d.OffsetY(cFixed(20));
    ASSERT_EQ(pic.Lines().size(), 2u);
    EXPECT_EQ(pic.Lines()[0], "PSet 20.0000 -10.0000 color=&H000000 width=1");
    EXPECT_EQ(pic.Lines()[1], "Circle 20.0000 -10.0000 r=5.0000 color=&H000000 width=1 style=0 "
                              "fill=&H000000 fillstyle=1");
}

TEST_F(cDXFDraw, CirclesAreOutlinesWhateverFillTheCanvasHolds)
{
    // A start marker drawn before leaves the canvas filling solid white.
    pic.FillStyle(0);
    pic.FillColor(0xFFFFFF);
    const auto calls = DrawnBy("0\nCIRCLE\n10\n10\n20\n20\n40\n5\n");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rfind("Circle 10.0000 20.0000 r=5.0000 ", 0), 0u) << calls[0];
    EXPECT_NE(calls[0].find(" fillstyle=1"), std::string::npos) << "not filled: " << calls[0];
    EXPECT_EQ(pic.FillStyle(), 0) << "the canvas's own fill is left as it was";
    EXPECT_EQ(pic.FillColor(), 0xFFFFFF);
}

TEST_F(cDXFDraw, ClosedPolylinesCloseStraightOrWithTheirLastBulge)
{
    const std::string square = "0\nPOLYLINE\n70\n1\n0\nVERTEX\n10\n0\n20\n0\n"
                               "0\nVERTEX\n10\n10\n20\n0\n0\nVERTEX\n10\n10\n20\n10\n";
    auto calls = DrawnBy(square + "0\nSEQEND\n");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], "Line 0.0000 0.0000 10.0000 10.0000 color=&H000000 width=1 style=0");
    calls = DrawnBy(square + "42\n1\n0\nSEQEND\n");
    ASSERT_EQ(calls.size(), 3u);
    // The half circle from (10, 10) back to (0, 0), counter-clockwise about (5, 5); the radius
    // is held in whole hundredths.
    EXPECT_EQ(calls[2], "Arc 5.0000 5.0000 r=7.0700 from=0.7854 to=3.9270 color=&H000000 width=1 "
                        "style=0");
    // A polyline of one vertex has nothing to draw.
    EXPECT_TRUE(DrawnBy("0\nPOLYLINE\n70\n1\n0\nVERTEX\n10\n3\n20\n3\n42\n1\n0\nSEQEND\n").empty());
}

TEST_F(cDXFDraw, NearlyStraightBulgeKeepsThePolylineAndDrawsTheSegmentStraight)
{
    // A bulge of 0.00001 on a chord of 1000 units: its circle's radius lies beyond every
    // coordinate, the arc itself half a hundredth off the chord.
    const auto calls = DrawnBy("0\nPOLYLINE\n8\nTrack\n0\nVERTEX\n10\n0\n20\n0\n42\n0.00001\n"
                               "0\nVERTEX\n10\n1000\n20\n0\n0\nVERTEX\n10\n1000\n20\n500\n"
                               "0\nSEQEND\n");
    EXPECT_TRUE(d.Diagnostics().empty());
    ASSERT_EQ(d.Polylines().size(), 1u);
    EXPECT_EQ(d.Polylines()[0].firstVertex, 0);
    EXPECT_EQ(d.Polylines()[0].lastVertex, 2);
    ASSERT_EQ(d.Vertices().size(), 3u);
    EXPECT_FLOAT_EQ(d.Vertices()[0].bulge, 0.00001f);
    EXPECT_EQ(d.Extent().xmax, 100000);
    EXPECT_EQ(d.Extent().ymax, 50000);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "Line 0.0000 0.0000 1000.0000 0.0000 color=&H000000 width=1 style=0");
}

TEST_F(cDXFDraw, AnArcWhoseAnglesMeetIsAWholeCircleInTheExtentAndOnTheCanvas)
{
    // 90 and 450 degrees, and 270 and 269.99999427 degrees, are one angle once held in single
    // precision: the first arc is a whole circle, the second all but a hair of one, each drawn
    // so and wholly inside the extent.
    const struct {
        const char* start;
        const char* end;
        const char* drawn;
    } cases[] = {
        {"90", "450", "Arc 0.0000 0.0000 r=10.0000 from=1.5708 to=7.8540 "},
        {"270", "269.99999427", "Arc 0.0000 0.0000 r=10.0000 from=4.7124 to=10.9956 "},
    };
    for (const auto& c : cases) {
        const auto calls = DrawnBy(std::string("0\nARC\n10\n0\n20\n0\n40\n10\n50\n") + c.start +
                                   "\n51\n" + c.end + "\n");
        ASSERT_EQ(d.Arcs().size(), 1u) << c.end;
        EXPECT_EQ(d.Arcs()[0].startAngle, d.Arcs()[0].endAngle) << c.end;
        EXPECT_EQ(d.Extent().xmin, -1000) << c.end;
        EXPECT_EQ(d.Extent().ymin, -1000) << c.end;
        EXPECT_EQ(d.Extent().xmax, 1000) << c.end;
        EXPECT_EQ(d.Extent().ymax, 1000) << c.end;
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].rfind(c.drawn, 0), 0u) << calls[0];
    }
}

TEST_F(cDXFDraw, FacesDrawThreeOrFourEdgesInOutlineOrder)
{
    auto calls = DrawnBy("0\n3DFACE\n10\n0\n20\n0\n11\n1\n21\n0\n12\n0\n22\n1\n");
    EXPECT_EQ(calls.size(), 3u);
    calls = DrawnBy("0\nSOLID\n10\n0\n20\n0\n11\n1\n21\n0\n12\n0\n22\n1\n13\n1\n23\n1\n");
    ASSERT_EQ(calls.size(), 4u);
    // No edge of the outline crosses the square's inside: each runs along a side.
    for (const auto& c : calls) {
        const bool diagonal = c.find("Line 0.0000 0.0000 1.0000 1.0000") == 0 ||
                              c.find("Line 1.0000 0.0000 0.0000 1.0000") == 0 ||
                              c.find("Line 0.0000 1.0000 1.0000 0.0000") == 0 ||
                              c.find("Line 1.0000 1.0000 0.0000 0.0000") == 0;
        EXPECT_FALSE(diagonal) << c;
    }
}

TEST_F(cDXFDraw, TextShowsALayerDotAndTheTextInTheCanvasColour)
{
    pic.ForeColor(0x123456);
    const auto calls = DrawnBy("0\nTEXT\n8\nA\n1\nx\n10\n0\n20\n0\n"
                               "0\nTEXT\n8\nB\n1\nPit, \"lane\"\n10\n2\n20\n3\n");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2], "PSet 2.0000 3.0000 color=&H0000FF width=1");
    EXPECT_EQ(calls[3].rfind("Print 2.0000 3.0000 \"Pit, \"\"lane\"\"\" color=&H123456 ", 0), 0u)
        << calls[3];
}

TEST_F(cDXFDraw, WholeDrawingMatchesItsRecording)
{
    d.fileLoad(dataPath("dxf/entities.dxf"));
    d.scaleFactor(cFixed::fromRaw(100));
    d.OffsetX(cFixed(1));
    pic.Clear();
    d.OffsetY(cFixed(2));
    EXPECT_TRUE(testsupport::matchesGolden("dxf/entities.draw.txt", pic.Text()));
}
