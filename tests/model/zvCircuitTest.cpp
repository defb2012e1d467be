// Circuit document: parallel tracks from a start pose, the start pose properties, the
// definition text and the refusal of bad ones, the current piece and selection, the hit test.
#include "CircuitFixture.h"
#include "foundation/cError.h"

#include <string>

using modeltest::fx;

class zvCircuitTest : public modeltest::CircuitTest {};

TEST_F(zvCircuitTest, InitLaysParallelTracksToTheRightOfTheHeading)
{
    auto c = newCircuit(3);
    EXPECT_EQ(c->tracks().Count(), 1u);
    c = newCircuit(8, -180);
    ASSERT_EQ(c->tracks().Count(), 4u);
    for (std::size_t i = 1; i <= 4; ++i) {
        const zvTrack& t = track(*c, i);
        EXPECT_EQ(t.index(), static_cast<std::int16_t>(i));
        const zvItem& start = *t.items().First();
        EXPECT_EQ(start.Key(), "K0");
        EXPECT_EQ(start.TrackIndex(), t.index());
        EXPECT_EQ(start.xIniz(), fx(0));
        EXPECT_EQ(start.yIniz(), zvLib::SetStdWidth * cFixed(static_cast<int>(i) - 1));
        EXPECT_EQ(start.aIniz(), fx(-180));
    }
    EXPECT_EQ(c->CurTrack(), c->tracks().First());
    EXPECT_EQ(c->CurItem(), track(*c, 1).items().First());
    EXPECT_EQ(c->Angle(), fx(-180));

    // Outside one to four tracks nothing is built and the circuit stays as it was.
    for (int lanes : {1, 0, -2, 10}) {
        EXPECT_THROW(c->Init("T", static_cast<std::int16_t>(lanes), 0, 0, 0), cError) << lanes;
    }
    EXPECT_EQ(c->tracks().Count(), 4u);
    // Without the start record no track can begin.
    zvLib::PieceTable.pop_back();
    EXPECT_THROW(c->Init("T", 2, 0, 0, 0), cError);
    EXPECT_EQ(c->tracks().Count(), 4u);
}

TEST_F(zvCircuitTest, AngleWriteRoundsReducesAndReLaysOnlyOnChange)
{
    auto c = newCircuit();
    const struct {
        double in;
        double stored;
    } cases[] = {{365, 5}, {-365, -5}, {360, 0}, {2.5, 2}, {3.5, 4}, {-719.5, -0}};
    for (const auto& k : cases) {
        c->Angle(fx(k.in));
        EXPECT_EQ(c->Angle(), fx(k.stored)) << k.in;
    }
    track(*c, 1).append("T:S500;");
    auto straight = track(*c, 1).items().Item(2);
    c->Angle(360);
    EXPECT_EQ(track(*c, 1).items().Item(2), straight);

    c->Angle(90);
    auto turned = track(*c, 1).items().Item(2);
    EXPECT_NE(turned, straight);
    EXPECT_EQ(turned->xFine(), fx(0));
    EXPECT_EQ(turned->yFine(), fx(500));
    EXPECT_EQ(c->CurItem(), track(*c, 1).items().First());
}

TEST_F(zvCircuitTest, StartPointWriteMovesPiecesButNotObjectsOrNames)
{
    auto c = newCircuit(4);
    c->Name("Club");
    track(*c, 2).append("T:S200;");
    auto before = track(*c, 2).items().Item(2);
    c->StartY(0);
    EXPECT_EQ(track(*c, 2).items().Item(2), before);

    c->StartX(fx(12.5));
    c->StartY(-3);
    const zvItem& moved = *track(*c, 2).items().Item(2);
    EXPECT_EQ(moved.xIniz(), fx(12.5));
    EXPECT_EQ(moved.yIniz(), zvLib::SetStdWidth * cFixed(-1) + cFixed(-3));
    EXPECT_EQ(c->StartX(), fx(12.5));
    EXPECT_EQ(c->Name(), "Club");
}

TEST_F(zvCircuitTest, DefinitionTextRoundTripsAndKeepsCodeNameAndDescription)
{
    auto c = newCircuit(4, -180);
    EXPECT_EQ(c->DefString(), "T;2;-180;0;0;;;\r\n\r\n\r\n");

    c->Name("A;B\r\nC");
    c->Description("tab\there");
    c->StartX(fx(-12.25));
    track(*c, 1).append("T:S500;T:C90(L)[CD];");
    track(*c, 2).append("T:X200[#];");
    const std::string text = c->DefString();
    EXPECT_EQ(text, "T;2;-180;-12.25;0;A\\cB\\nC;tab\\there;\r\n"
                    "T:S500;T:C90(L)[CD];\r\nT:X200[#];\r\n");

    auto copy = std::make_shared<zvCircuit>();
    copy->Init("OTHER", 2, 0, 0, 0);
    copy->Name("mine");
    copy->DefString(text);
    EXPECT_EQ(copy->DefCode(), "OTHER");
    EXPECT_EQ(copy->Name(), "mine");
    EXPECT_EQ(copy->tracks().Count(), 2u);
    EXPECT_EQ(copy->StartX(), fx(-12.25));
    EXPECT_EQ(track(*copy, 2).GetDefinitionString(), "T:X200[#];");
    EXPECT_EQ(track(*copy, 1).items().Last()->xFine(), track(*c, 1).items().Last()->xFine());

    // Missing or unreadable start coordinates keep the ones the circuit has.
    copy->DefString("X;1;0;;abc;\r\nT:S200;\r\n");
    EXPECT_EQ(copy->StartX(), fx(-12.25));
    EXPECT_EQ(copy->tracks().Count(), 1u);
    // A last track line without its line end is still read.
    copy->DefString("X;2;0;0;0;;;\r\nT:S200;\r\nT:S500;");
    EXPECT_EQ(track(*copy, 2).GetDefinitionString(), "T:S500;");
}

TEST_F(zvCircuitTest, BadDefinitionTextsAreRefusedWithTheCircuitUntouched)
{
    auto c = newCircuit(4);
    track(*c, 1).append("T:S500;");
    const std::string good = c->DefString();
    auto first = track(*c, 1).items().Item(2);
    for (const char* bad :
         {"T;x;0;0;0;;;\r\n", "T;2;;0;0;;;\r\n", "T\r\n", "T;5;0;0;0;;;\r\n", "T;0;0;0;0;;;\r\n",
          "T;1;0;0;0;;;\r\nT:S200;\r\nT:S200;\r\n", "T;2;0;0;0;;;\r\nT:S200;S500;\r\n\r\n"}) {
        EXPECT_THROW(c->DefString(bad), cError) << bad;
        EXPECT_EQ(c->DefString(), good) << bad;
        EXPECT_EQ(track(*c, 1).items().Item(2), first) << bad;
    }
    // An empty line beyond the tracks is harmless.
    EXPECT_NO_THROW(c->DefString("T;1;0;0;0;;;\r\nT:S200;\r\n\r\n"));
}

TEST_F(zvCircuitTest, EscapeTextDoublesBackslashesAndReplacesTheThreeSeparators)
{
    const std::string in = "a;b\r\n\tc\nd\re\\f";
    EXPECT_EQ(zvLib::EscapeText(in), "a\\cb\\n\\tc\nd\re\\\\f");
    EXPECT_EQ(in, "a;b\r\n\tc\nd\re\\f");
    EXPECT_EQ(zvLib::EscapeText("\r\r\n"), "\r\\n");
}

TEST_F(zvCircuitTest, SelectingAPieceMakesItAndItsTrackCurrent)
{
    auto c = newCircuit(4);
    EXPECT_EQ(zvLib::Circuit(), c);
    track(*c, 2).append("T:S500;T:S200;");
    auto p = track(*c, 2).items().Item(3);
    p->Selected(true);
    EXPECT_EQ(c->CurItem(), p);
    EXPECT_EQ(c->CurTrack(), c->tracks().Item(2));
    EXPECT_EQ(track(*c, 2).itemsSelected().Find("K2"), p);
    EXPECT_EQ(track(*c, 1).itemsSelected().Count(), 0u);

    // A piece that has left its track, or a preview piece, cannot become current.
    track(*c, 2).ReCalcLayout();
    EXPECT_THROW(c->CurItem(p), cError);
    EXPECT_THROW(c->CurItem(make("S200")), cError);
    EXPECT_THROW(c->CurItem(nullptr), cError);
    EXPECT_EQ(c->CurItem(), track(*c, 2).items().Item(3));
}

TEST_F(zvCircuitTest, LocateItemFindsPiecesOfEveryTrackAndStartMarkers)
{
    auto c = newCircuit(4);
    track(*c, 1).append("T:S500;");
    track(*c, 2).append("T:S500;T:S500;");
    auto hit = c->LocateItem(700, -156);
    EXPECT_EQ(hit.item, track(*c, 2).items().Item(3));
    EXPECT_EQ(hit.object, nullptr);
    EXPECT_EQ(c->LocateItem(10, 10).item, track(*c, 1).items().First());
    EXPECT_EQ(c->LocateItem(700, 0).item, nullptr);
    // The hit test follows a change of the chain.
    track(*c, 1).append("T:S500;");
    EXPECT_EQ(c->LocateItem(700, 0).item, track(*c, 1).items().Last());
    track(*c, 1).Remove("K2");
    EXPECT_EQ(c->LocateItem(700, 0).item, nullptr);
}
