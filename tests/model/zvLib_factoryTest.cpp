// Piece factory: geometry of every class and hand against hand-computed figures, markers and
// lookup, colours, kerbs, point sets from the record, and chains of pieces that must close.
#include "ModelFixture.h"
#include "foundation/cError.h"

#include <vector>

using modeltest::fx;

namespace {

// Expected geometry of one piece, to four decimals.
struct Expected {
    const char* item;
    double x, y, angle;      // start pose
    double xEnd, yEnd, aEnd; // end pose
    double corners[8];       // a, b, c, d
    double lanes[8];         // e, f, g, h
    double len[3];           // Len0, Len1, Len2
};

const Expected kPieces[] = {
    {"S500",
     0,
     0,
     0,
     500,
     0,
     0,
     {0, 50, 500, 50, 500, -50, 0, -50},
     {0, 25, 500, 25, 500, -25, 0, -25},
     {500, 500, 500}},
    {"S200",
     10,
     20,
     30,
     183.2051,
     120,
     30,
     {-15, 63.3013, 158.2051, 163.3013, 208.2051, 76.6987, 35, -23.3013},
     {-2.5, 41.6506, 170.7051, 141.6506, 195.7051, 98.3494, 22.5, -1.6506},
     {200, 200, 200}},
    {"C90(L)",
     0,
     0,
     0,
     300,
     300,
     90,
     {0, 50, 250, 300, 350, 300, 0, -50},
     {0, 25, 275, 300, 325, 300, 0, -25},
     {471.2389, 431.9690, 510.5088}},
    {"C90(R)",
     0,
     0,
     0,
     300,
     -300,
     -90,
     {0, 50, 350, -300, 250, -300, 0, -50},
     {0, 25, 325, -300, 275, -300, 0, -25},
     {471.2389, 510.5088, 431.9690}},
    {"C45(L)",
     0,
     0,
     0,
     212.1320,
     87.8680,
     45,
     {0, 50, 176.7767, 123.2233, 247.4873, 52.5127, 0, -50},
     {0, 25, 194.4543, 105.5457, 229.8097, 70.1903, 0, -25},
     {235.6194, 215.9845, 255.2544}},
    {"C45(R)",
     0,
     0,
     0,
     212.1320,
     -87.8680,
     -45,
     {0, 50, 247.4873, -52.5127, 176.7767, -123.2233, 0, -50},
     {0, 25, 229.8097, -70.1903, 194.4543, -105.5457, 0, -25},
     {235.6194, 255.2544, 215.9845}},
    {"W300(F)",
     0,
     0,
     0,
     300,
     0,
     0,
     {0, 40, 300, 50, 300, -50, 0, -40},
     {0, 20, 300, 25, 300, -25, 0, -20},
     {300, 300, 300}},
    {"W300(B)",
     0,
     0,
     0,
     300,
     0,
     0,
     {0, 50, 300, 40, 300, -40, 0, -50},
     {0, 25, 300, 20, 300, -20, 0, -25},
     {300, 300, 300}},
    {"X200",
     0,
     0,
     90,
     0,
     200,
     90,
     {-50, 0, -50, 200, 50, 200, 50, 0},
     {-25, 0, -25, 200, 25, 200, 25, 0},
     {200, 200, 200}},
};

} // namespace

class zvLibFactory : public modeltest::ModelTest {};

TEST_F(zvLibFactory, EveryClassAndHandAgainstHandComputedGeometry)
{
    for (const auto& e : kPieces) {
        SCOPED_TRACE(e.item);
        auto p = make(e.item, e.x, e.y, e.angle);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->xIniz(), fx(e.x));
        EXPECT_EQ(p->yIniz(), fx(e.y));
        EXPECT_EQ(p->aIniz(), fx(e.angle));
        EXPECT_EQ(p->xFine(), fx(e.xEnd));
        EXPECT_EQ(p->yFine(), fx(e.yEnd));
        EXPECT_EQ(p->aFine(), fx(e.aEnd));
        const cFixed corners[8] = {p->xa(), p->ya(), p->xb(), p->yb(),
                                   p->xc(), p->yc(), p->xd(), p->yd()};
        const cFixed lanes[8] = {p->xe(), p->ye(), p->xf(), p->yf(),
                                 p->xg(), p->yg(), p->xh(), p->yh()};
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(corners[i], fx(e.corners[i])) << "corner value " << i;
            EXPECT_EQ(lanes[i], fx(e.lanes[i])) << "lane value " << i;
        }
        EXPECT_EQ(p->Len0(), fx(e.len[0]));
        EXPECT_EQ(p->Len1(), fx(e.len[1]));
        EXPECT_EQ(p->Len2(), fx(e.len[2]));
        EXPECT_EQ(p->TrackIndex(), 0);
        EXPECT_TRUE(p->Key().empty());
    }
}

TEST_F(zvLibFactory, CurveCentreLabelPointAndColour)
{
    auto left = make("C90(L)");
    EXPECT_EQ(left->yCC(), fx(300));
    EXPECT_EQ(left->X0(), fx(175));
    EXPECT_EQ(left->Y0(), fx(125));
    EXPECT_EQ(left->ExtraColor(), zvLib::RadiusColors[1]);
    EXPECT_EQ(make("C90(R)")->yCC(), fx(-300));
    EXPECT_EQ(make("S500")->ExtraColor(), zvLib::tracknormal);
}

TEST_F(zvLibFactory, StartMarkerSquareArrowAndFixedLabelPoint)
{
    auto p = make("<START>", 100, 50, 0, "zorv");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->setID(), "Zorv");
    EXPECT_EQ(p->Class(), 0);
    EXPECT_EQ(p->Par1(), fx(80));
    EXPECT_TRUE(p->toFront());
    EXPECT_EQ(p->xIniz(), fx(100));
    EXPECT_EQ(p->xFine(), fx(100));
    EXPECT_EQ(p->yFine(), fx(50));
    EXPECT_EQ(p->aFine(), fx(0));
    EXPECT_EQ(p->xCC(), fx(100));
    const cFixed corners[8] = {p->xa(), p->ya(), p->xb(), p->yb(),
                               p->xc(), p->yc(), p->xd(), p->yd()};
    const double want[8] = {20, 130, 180, 130, 180, -30, 20, -30};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(corners[i], fx(want[i])) << i;
    }
    // Arrow: tail on the point, tip SetStdWidth ahead, barbs 30 back and 15 to each side.
    const std::vector<double> arrow = {100, 50, 256, 50, 226, 35, 226, 65};
    ASSERT_EQ(p->PExtra().size(), arrow.size());
    for (std::size_t i = 0; i < arrow.size(); ++i) {
        EXPECT_NEAR(p->PExtra()[i], arrow[i], 1e-9) << i;
    }
    EXPECT_EQ(p->X0(), fx(0));
    EXPECT_EQ(p->xe(), fx(0));
    EXPECT_EQ(p->Len0(), fx(0));
}

TEST_F(zvLibFactory, MarkersAreTakenOutAndLookupIgnoresCase)
{
    std::string item = "c90(r)[#][CD]";
    auto p = zvLib::CreateItem("t", item, 0, 0, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(item, "c90(r)");
    EXPECT_EQ(p->Item(), "C90(R)");
    EXPECT_EQ(p->setID(), "T");
    EXPECT_TRUE(p->toFront());
    EXPECT_TRUE(p->extCD());
    EXPECT_FALSE(p->extAB());

    std::string lower = "S500[#][ab]";
    EXPECT_EQ(zvLib::CreateItem("T", lower, 0, 0, 0), nullptr);
    EXPECT_EQ(lower, "S500[ab]");
    std::string missing = "NOPE[AB]";
    EXPECT_EQ(zvLib::CreateItem("T", missing, 0, 0, 0), nullptr);
    EXPECT_EQ(missing, "NOPE");

    zvPieceRecord twin = modeltest::record("S500", 1, 123);
    zvLib::PieceTable.push_back(twin);
    EXPECT_EQ(zvLib::FindPieceRecord("T", "s500"), 0);
    EXPECT_EQ(make("S500")->Par1(), fx(500));
    EXPECT_EQ(zvLib::FindPieceRecord("U", "S500"), -1);
    zvLib::PieceTable.clear();
    EXPECT_EQ(zvLib::FindPieceRecord("T", "S500"), -1);
}

TEST_F(zvLibFactory, KerbsFollowTheKerbOptionOnly)
{
    auto p = make("S500[AB]");
    EXPECT_EQ(p->extAB_xa(), fx(0));
    EXPECT_EQ(p->extAB_ya(), fx(60));
    EXPECT_EQ(p->extAB_xb(), fx(500));
    EXPECT_EQ(p->extAB_yb(), fx(60));
    EXPECT_EQ(p->extAB_yc(), fx(50));
    EXPECT_EQ(p->extAB_yd(), fx(50));
    EXPECT_EQ(p->extCD_ya(), fx(-50));
    EXPECT_EQ(p->extCD_xc(), fx(500));
    EXPECT_EQ(p->extCD_yc(), fx(-60));
    EXPECT_EQ(p->extCD_yd(), fx(-60));

    zvLib::ShowKerbs = false;
    auto off = make("S500[AB][CD]");
    EXPECT_TRUE(off->extAB());
    EXPECT_EQ(off->extAB_ya(), fx(0));
    EXPECT_EQ(off->extCD_yc(), fx(0));
}

TEST_F(zvLibFactory, CrossoverAndFeaturePointsAreKeptApart)
{
    auto cross = make("X200");
    const std::vector<double> crossing = {25, 25, 175, -25, 25, -25, 175, 25};
    ASSERT_EQ(cross->PCross().size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_DOUBLE_EQ(cross->PCross()[i], crossing[i]) << i;
    }
    EXPECT_TRUE(cross->PExtra().empty());

    // A crossover carrying a feature mark keeps both sets whole.
    zvPieceRecord marked = modeltest::record("XF1", 1, 200);
    marked.flgSwap = true;
    marked.flags = 1;
    zvLib::PieceTable.push_back(marked);
    auto both = make("XF1");
    EXPECT_EQ(both->PCross().size(), 8u);
    EXPECT_EQ(both->PExtra().size(), 4u);
    EXPECT_DOUBLE_EQ(both->PCross()[6], 175);
}

TEST_F(zvLibFactory, FeatureShapes)
{
    for (int flag : {1, 16}) {
        zvPieceRecord rec = modeltest::record("F" + std::to_string(flag), 1, 200);
        rec.flags = flag;
        zvLib::PieceTable.push_back(rec);
        auto p = make(rec.itemID);
        // Segment of 2 x 25 through the label point (100, 0), shifted (25 + 100 - 50) / 2 left.
        const std::vector<double> want = {75, 37.5, 125, 37.5};
        EXPECT_EQ(p->PExtra(), want) << flag;
        EXPECT_FALSE(p->toFront());
    }
    zvPieceRecord ticks = modeltest::record("F2", 1, 400);
    ticks.flags = 2;
    zvLib::PieceTable.push_back(ticks);
    const std::vector<double> want = {25, 25,  46.2132, 3.7868,  353.7868, 3.7868,  375, 25,
                                      25, -25, 46.2132, -3.7868, 353.7868, -3.7868, 375, -25};
    auto p = make("F2");
    ASSERT_EQ(p->PExtra().size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(p->PExtra()[i], want[i], 1e-4) << i;
    }
    zvPieceRecord front = modeltest::record("F8", 1, 100);
    front.flags = 8;
    zvPieceRecord notFront = front;
    notFront.itemID = "F24";
    notFront.flags = 24;
    zvLib::PieceTable.push_back(front);
    zvLib::PieceTable.push_back(notFront);
    EXPECT_TRUE(make("F8")->toFront());
    EXPECT_FALSE(make("F24")->toFront());
    EXPECT_TRUE(make("F24")->PExtra().empty());
}

TEST_F(zvLibFactory, RecordPointSetsKeepLanesAndSkipBadLines)
{
    zvPieceRecord rec = modeltest::record("P500", 1, 500);
    rec.extra = "L1=0:25;500:25;\r\nBAD=1:2;Q\r\nNO EQUALS\r\nL2=0:-25;500:-25";
    zvLib::PieceTable.push_back(rec);
    auto p = make("P500", 0, 0, 90);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Points("L1"), "-25:0;-25:500;");
    EXPECT_EQ(p->Points("l2"), "25:0;25:500;");
    EXPECT_EQ(p->FindPointSet("BAD"), -1);
    EXPECT_EQ(p->FindPointSet("NO EQUALS"), -1);
    EXPECT_EQ(p->xe(), fx(-25));
    EXPECT_EQ(p->yf(), fx(500));
    EXPECT_EQ(p->xg(), fx(25));
}

TEST_F(zvLibFactory, DegenerateRecordsStillMakePieces)
{
    // Unknown kind: stays on its start point and heading.
    auto q = make("Q5", 10, 20, 30);
    EXPECT_EQ(q->xFine(), fx(10));
    EXPECT_EQ(q->yFine(), fx(20));
    EXPECT_EQ(q->aFine(), fx(30));
    EXPECT_EQ(q->Len0(), fx(0));

    // A curve without sweep ends where it starts and has no length.
    zvLib::PieceTable.push_back(modeltest::curve("C0(L)", 0, 300, 1, 3));
    auto flat = make("C0(L)", 5, 6, 33.3);
    EXPECT_EQ(flat->xFine(), fx(5));
    EXPECT_EQ(flat->yFine(), fx(6));
    EXPECT_EQ(flat->aFine(), fx(33.3));
    EXPECT_EQ(flat->Len1(), fx(0));
    EXPECT_EQ(flat->GetOutline().size(), 3u);
    EXPECT_FALSE(flat->isThis(5, 6));

    // Radius numbers beyond the colour table take the track-normal colour.
    for (int r : {0, 13, -1}) {
        zvPieceRecord rec = modeltest::curve("CR" + std::to_string(r), 30, 400, 1, r);
        zvLib::PieceTable.push_back(rec);
        EXPECT_EQ(make(rec.itemID)->ExtraColor(), zvLib::tracknormal) << r;
    }
    zvLib::PieceTable.push_back(modeltest::curve("CR12", 30, 400, 1, 12));
    EXPECT_EQ(make("CR12")->ExtraColor(), zvLib::RadiusColors[11]);
}

TEST_F(zvLibFactory, EightEighthCurvesCloseOnTheStart)
{
    for (const char* hand : {"C45(L)", "C45(R)"}) {
        SCOPED_TRACE(hand);
        auto p = make(hand, 100, -40, 0);
        for (int i = 1; i < 8; ++i) {
            p = next(*p, hand);
        }
        EXPECT_NEAR(p->xFine().toDouble(), 100, 0.0005);
        EXPECT_NEAR(p->yFine().toDouble(), -40, 0.0005);
        EXPECT_EQ(p->aFine().abs(), fx(360));
    }
}

TEST_F(zvLibFactory, OvalOfFourQuarterCurvesAndTwoStraightsCloses)
{
    auto p = make("S500", 0, 0, 0);
    for (const char* item : {"C90(L)", "C90(L)", "S500", "C90(L)", "C90(L)"}) {
        p = next(*p, item);
    }
    EXPECT_NEAR(p->xFine().toDouble(), 0, 0.0005);
    EXPECT_NEAR(p->yFine().toDouble(), 0, 0.0005);
    EXPECT_EQ(p->aFine(), fx(360));
}
