// Pieces drawn on the Qt surface, probed pixel by pixel with antialiasing off: the filled
// body, the lanes, the curve's ring and what lies outside a piece.
#include "foundation/zvLib_canvas.h"
#include "model/zvItem.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"
#include "platform/cQtSurface.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

// A 400 by 300 canvas over 800 by 600 mm with y up: world (x, y) is pixel (100 + x / 2,
// 250 - y / 2).
class QtPieceTest : public ::testing::Test {
  protected:
    QtPieceTest() : s(400, 300)
    {
        s.Antialiasing(false);
        s.Scale(-200, 500, 600, -100);
        s.BackColor(0xFFFFFF);
        s.Cls();
    }
    void SetUp() override
    {
        zvLib::ResetModelGlobals();
        zvLib::MainPic = &s;
        zvLib::ShowCodes = false;
        zvPieceRecord straight;
        straight.setID = "Q";
        straight.itemID = "S400";
        straight.classe = 1;
        straight.stdWidth = 100;
        straight.lanesGap = 25;
        straight.sng1 = 400;
        straight.Orientation = 2;
        zvPieceRecord curve = straight;
        curve.itemID = "C90(L)";
        curve.classe = 2;
        curve.sng1 = 90;
        curve.sng2 = 300;
        curve.R1 = 275;
        curve.R2 = 325;
        curve.r = 5;
        curve.Orientation = 1;
        zvLib::PieceTable = {straight, curve};
    }
    void TearDown() override
    {
        zvLib::MainPic = nullptr;
        zvLib::ResetModelGlobals();
    }
    void draw(std::string item, double x = 0, double y = 0, double angle = 0)
    {
        auto p = zvLib::CreateItem("Q", item, cFixed::fromDouble(x), cFixed::fromDouble(y),
                                   cFixed::fromDouble(angle));
        ASSERT_NE(p, nullptr);
        p->TrackIndex(1);
        p->Draw();
    }
    // The colour of the pixel at a world point.
    QColor at(double x, double y) { return s.Image().pixelColor(100 + x / 2, 250 - y / 2); }
    static QColor rgb(std::int32_t c) { return cQtSurface::ToQColor(c); }
    cQtSurface s;
};

} // namespace

TEST_F(QtPieceTest, StraightBodyLanesAndOutside)
{
    draw("S400");
    EXPECT_EQ(at(200, 10), rgb(zvLib::tracknormal));
    EXPECT_EQ(at(200, 40), rgb(zvLib::tracknormal));
    EXPECT_EQ(at(200, 25), rgb(zvLib::LaneColors[0]));
    EXPECT_EQ(at(200, -25), rgb(zvLib::LaneColors[1]));
    EXPECT_EQ(at(200, 50), rgb(0));
    EXPECT_EQ(at(200, 70), rgb(0xFFFFFF));
    EXPECT_EQ(at(440, 0), rgb(0xFFFFFF));
}

TEST_F(QtPieceTest, CurveRingFilledInItsRadiusColour)
{
    draw("C90(L)");
    const double t = 315 * std::acos(-1.0) / 180;
    auto ring = [&](double r) { return at(r * std::cos(t), 300 + r * std::sin(t)); };
    EXPECT_EQ(ring(300), rgb(zvLib::RadiusColors[4]));
    EXPECT_EQ(ring(275), rgb(zvLib::LaneColors[0]));
    EXPECT_EQ(ring(325), rgb(zvLib::LaneColors[1]));
    EXPECT_EQ(ring(200), rgb(0xFFFFFF));
    EXPECT_EQ(ring(380), rgb(0xFFFFFF));
    // Outside the piece's sweep, beyond its start edge.
    EXPECT_EQ(at(-40, 0), rgb(0xFFFFFF));
}

TEST_F(QtPieceTest, LanesReachThePieceEndsAndJoinTheNextPiece)
{
    draw("S400");
    draw("S400", 400, 0);
    const QColor lane1 = rgb(zvLib::LaneColors[0]);
    const QColor lane2 = rgb(zvLib::LaneColors[1]);
    // Over the joint between the two pieces the lanes run on without a gap.
    for (double x : {396.0, 398.0, 400.0, 402.0, 404.0}) {
        EXPECT_EQ(at(x, 25), lane1) << x;
        EXPECT_EQ(at(x, -25), lane2) << x;
    }
    // At the free start each lane reaches one pixel, half its pen, beyond the piece.
    EXPECT_EQ(at(-2, 25), lane1);
    EXPECT_EQ(at(-2, -25), lane2);
    EXPECT_EQ(at(-4, 25), rgb(0xFFFFFF));
    EXPECT_EQ(at(-4, -25), rgb(0xFFFFFF));
}
