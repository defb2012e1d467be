// Circuit measures and lists: extent, mean length, the lanes table with its end gaps on
// closed and open tracks, the piece count, the bill of materials and the list of sets.
#include "CircuitFixture.h"

#include <string>

using modeltest::fx;

class zvCircuitMeasuresTest : public modeltest::CircuitTest {
  protected:
    // An oval: two straights and two half circles of four 45-degree left curves each.
    static constexpr const char* kOval =
        "T:S500;T:C45(L);T:C45(L);T:C45(L);T:C45(L);T:S500;T:C45(L);T:C45(L);T:C45(L);T:C45(L);";
};

TEST_F(zvCircuitMeasuresTest, ExtentCoversPiecesButNotStartMarkers)
{
    auto c = newCircuit(4);
    EXPECT_EQ(c->GetExtent(), (std::array<cFixed, 6>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(c->GetTotalItems(), 2);

    track(*c, 1).append("T:S500;");
    track(*c, 2).append("T:S200;");
    // Track 2 lies 156 mm to the right: its straight reaches down to -206.
    EXPECT_EQ(c->GetExtent(), (std::array<cFixed, 6>{0, -206, 500, 50, 500, 256}));
    EXPECT_EQ(c->GetTotalItems(), 4);
    EXPECT_DOUBLE_EQ(c->GetLength(), 350);
}

TEST_F(zvCircuitMeasuresTest, ClosedOvalHasNoEndGapAndItsLanesDifferByTheCurves)
{
    auto c = newCircuit(4, 90, 1000, -2000);
    track(*c, 1).append(kOval);
    track(*c, 2).append("T:S500;T:C90(R);");
    zvTextTable lanes;
    lanes.assign(7, zvTableRow{"stale"});
    c->GetLanes(lanes);
    ASSERT_EQ(lanes.size(), 4u);

    // 1000 mm of straights and a full circle at 275 mm (lane 1, inside) or 325 mm (lane 2).
    EXPECT_EQ(lanes[0], (zvTableRow{"1", "2.73", "0.087", "0.00 mm", "0.00 mm", "0.00\xC2\xB0"}));
    EXPECT_EQ(lanes[1], (zvTableRow{"2", "3.04", "0.097", "0.00 mm", "0.00 mm", "0.00\xC2\xB0"}));
    // The open track (heading 90, a straight and a right curve) ends 800 mm on and 300 mm
    // to the right of its start, turned by -90 degrees.
    EXPECT_EQ(lanes[2][3], "-300.00 mm");
    EXPECT_EQ(lanes[2][4], "-800.00 mm");
    EXPECT_EQ(lanes[2][5], "90.00\xC2\xB0");
    EXPECT_EQ(lanes[3][3], lanes[2][3]);
    EXPECT_EQ(lanes[2][0], "3");
    // Lane 1 of a right curve runs outside.
    EXPECT_EQ(lanes[2][1], "1.01");
    EXPECT_EQ(lanes[3][1], "0.93");

    // The figures are shown with the user's decimal sign.
    modeltest::ScopedEnv italian("LC_ALL", "it_IT.UTF-8");
    c->GetLanes(lanes);
    EXPECT_EQ(lanes[0][1], "2,73");
    EXPECT_EQ(lanes[0][2], "0,087");
    EXPECT_EQ(lanes[2][4], "-800,00 mm");
}

TEST_F(zvCircuitMeasuresTest, BillOfMaterialsGroupsHandsAndKeepsItsColumns)
{
    auto c = newCircuit(4);
    zvTextTable bom;
    c->GetBOM(bom);
    EXPECT_EQ(bom, (zvTextTable{zvTableRow{}}));
    EXPECT_EQ(c->GetBOMCSV(), "|||||\r\n");

    track(*c, 1).append("T:C90(R);T:S500;T:C90(L);");
    track(*c, 2).append("T:C90(R);T:S500[#];");
    c->GetBOM(bom);
    ASSERT_EQ(bom.size(), 2u);
    EXPECT_EQ(bom[0], (zvTableRow{"T", "C90", "Test piece C90", "3", "0", "0"}));
    EXPECT_EQ(bom[1], (zvTableRow{"T", "S500", "Test piece S500", "2", "0", "0"}));
    EXPECT_EQ(c->GetBOMCSV(), "T|C90|Test piece C90|3|0|0\r\nT|S500|Test piece S500|2|0|0\r\n");

    // Separators inside a description do not open columns or rows.
    zvLib::PieceTable[1].description = "Short | straight\r\nfor\nboxes";
    track(*c, 1).append("T:S200;");
    EXPECT_EQ(c->GetBOMCSV().substr(c->GetBOMCSV().rfind("T|S200")),
              "T|S200|Short \xC2\xA6 straight for boxes|1|0|0\r\n");
}

TEST_F(zvCircuitMeasuresTest, SetListComparesWholeSetCodes)
{
    auto c = newCircuit(4);
    EXPECT_EQ(c->getSet(), "");
    for (const char* set : {"AB2", "B2"}) {
        zvPieceRecord rec = modeltest::record("S1", 1, 100);
        rec.setID = set;
        zvLib::PieceTable.push_back(rec);
    }
    track(*c, 1).append("AB2:S1;T:S500;b2:S1;");
    track(*c, 2).append("B2:S1;ab2:S1;");
    EXPECT_EQ(c->getSet(), "AB2;T;B2;");
}
