// Track: chains of pieces with their keys and running lane lengths, lane crossovers, inserts
// and re-layouts, the definition string, removal, the selection helpers and the snippet text.
#include "CircuitFixture.h"
#include "foundation/cError.h"

#include <string>
#include <vector>

using modeltest::fx;

class zvTrackTest : public modeltest::CircuitTest {
  protected:
    // A stand-alone track 1 with its start marker at the origin, heading 0.
    static std::shared_ptr<zvTrack> newTrack()
    {
        auto t = std::make_shared<zvTrack>();
        t->index(1);
        t->Init(0, 0, 0);
        return t;
    }
    // The keys of a track in order.
    static std::vector<std::string> keys(const zvTrack& t)
    {
        std::vector<std::string> out;
        for (const auto& p : t.items()) {
            out.push_back(p->Key());
        }
        return out;
    }
};

TEST_F(zvTrackTest, AppendChainsPiecesWithKeysAndRunningSums)
{
    auto t = newTrack();
    EXPECT_EQ(keys(*t), (std::vector<std::string>{"K0"}));
    EXPECT_EQ(t->GetDefinitionString(), "");
    EXPECT_EQ(t->GetLength(0), 0);

    // The unknown middle entry is skipped and the curve starts where the straight ends.
    t->append("T:S500;T:NOPE;;T:C90(L);");
    EXPECT_EQ(keys(*t), (std::vector<std::string>{"K0", "K1", "K2"}));
    auto curve = t->items().Item(3);
    EXPECT_EQ(curve->xIniz(), fx(500));
    EXPECT_EQ(curve->yIniz(), fx(0));
    EXPECT_EQ(curve->TrackIndex(), 1);
    EXPECT_EQ(curve->Len0(), fx(971.2389));
    EXPECT_EQ(curve->Len1(), fx(931.9690));
    EXPECT_EQ(curve->Len2(), fx(1010.5088));
    EXPECT_DOUBLE_EQ(t->GetLength(2), 1010.5088);
    EXPECT_EQ(t->GetLength(3), 0);

    // A definition with an entry lacking its set code adds nothing at all.
    EXPECT_THROW(t->append("T:S200;S200;"), cError);
    EXPECT_THROW(t->append("T:S200;  ;"), cError);
    EXPECT_EQ(t->items().Count(), 3u);

    // ItemsCreate leaves the track alone and hands back keyless pieces chained from its start.
    auto made = t->ItemsCreate("T:S200;T:S200;", t->items().Item(2));
    EXPECT_EQ(t->items().Count(), 3u);
    ASSERT_EQ(made->items().Count(), 2u);
    EXPECT_EQ(made->index(), 0);
    EXPECT_EQ(made->items().Item(1)->Key(), "");
    EXPECT_EQ(made->items().Item(2)->xIniz(), fx(700));
}

TEST_F(zvTrackTest, CrossoverExchangesTheLaneSumsBeforeTheNextPieceAdds)
{
    auto t = newTrack();
    t->append("T:S200;T:C90(L);T:X200;T:C90(L);T:X200;T:S200;");
    const auto& it = t->items();
    // Before the crossover lane 1 runs inside the curve and is shorter.
    EXPECT_EQ(it.Item(4)->Len1(), fx(831.9690));
    EXPECT_EQ(it.Item(4)->Len2(), fx(910.5088));
    EXPECT_FALSE(it.Item(4)->Swapped());
    // After it, the lanes have changed places: the same curve evens them out.
    EXPECT_TRUE(it.Item(5)->Swapped());
    EXPECT_EQ(it.Item(5)->Len1(), fx(910.5088) + fx(431.9690));
    EXPECT_EQ(it.Item(5)->Len2(), fx(831.9690) + fx(510.5088));
    EXPECT_EQ(it.Item(5)->Len1(), it.Item(5)->Len2());
    // A second crossover turns the swap back.
    EXPECT_TRUE(it.Item(6)->Swapped());
    EXPECT_FALSE(it.Item(7)->Swapped());
    EXPECT_EQ(it.Item(7)->Len0(), fx(200 + 471.2389 + 200 + 471.2389 + 200 + 200));
}

TEST_F(zvTrackTest, InsertInTheMiddleThenReCalcLayoutRenumbersAndResums)
{
    const std::string before = "T:S500;T:C90(L);T:S200;T:C90(L);";
    auto t = newTrack();
    t->append(before);
    auto start = t->items().Item(1);
    auto k3 = t->items().Find("K3");
    const cFixed oldX = k3->xIniz();

    t->append("T:C45(L);T:S200;", t->items().Find("K2"));
    EXPECT_EQ(keys(*t), (std::vector<std::string>{"K0", "K1", "K2", "K5", "K6", "K3", "K4"}));
    EXPECT_EQ(t->items().Find("K5")->xIniz(), t->items().Find("K2")->xFine());
    EXPECT_EQ(t->items().Find("K6")->xIniz(), t->items().Find("K5")->xFine());
    // Inserted pieces already carry the sums of the pieces they follow.
    EXPECT_EQ(t->items().Find("K6")->Len0(), fx(500 + 471.2389 + 235.6194 + 200));
    EXPECT_EQ(k3->xIniz(), oldX);
    EXPECT_THROW(t->append("T:S200;", make("S200")), cError);

    t->ReCalcLayout();
    EXPECT_EQ(keys(*t), (std::vector<std::string>{"K0", "K1", "K2", "K3", "K4", "K5", "K6"}));
    EXPECT_EQ(t->items().Item(1), start);
    // The same chain appended in order gives the same poses and sums.
    auto ref = newTrack();
    ref->append("T:S500;T:C90(L);T:C45(L);T:S200;T:S200;T:C90(L);");
    EXPECT_EQ(t->GetDefinitionString(), ref->GetDefinitionString());
    for (std::size_t i = 1; i <= ref->items().Count(); ++i) {
        const zvItem& a = *t->items().Item(i);
        const zvItem& b = *ref->items().Item(i);
        EXPECT_EQ(a.xFine(), b.xFine()) << i;
        EXPECT_EQ(a.yFine(), b.yFine()) << i;
        EXPECT_EQ(a.aFine(), b.aFine()) << i;
        EXPECT_EQ(a.Len1(), b.Len1()) << i;
        EXPECT_EQ(a.Len2(), b.Len2()) << i;
    }
}

TEST_F(zvTrackTest, DefinitionStringWritesMarkersInOrderAndSurvivesReLayout)
{
    auto t = newTrack();
    t->append("T:S500[CD][#][AB];T:c90(r)[AB];T:W300(F);");
    const std::string def = "T:S500[#][AB][CD];T:C90(R)[AB];T:W300(F);";
    EXPECT_EQ(t->GetDefinitionString(), def);
    t->ReCalcLayout();
    EXPECT_EQ(t->GetDefinitionString(), def);
    const auto& first = *t->items().Item(2);
    EXPECT_TRUE(first.toFront() && first.extAB() && first.extCD());
    // A piece whose record has gone is dropped by the rebuild.
    zvLib::PieceTable.erase(zvLib::PieceTable.begin() + 6);
    t->ReCalcLayout();
    EXPECT_EQ(t->GetDefinitionString(), "T:S500[#][AB][CD];T:C90(R)[AB];");
}

TEST_F(zvTrackTest, RemoveTakesOnePieceAndRefusesUnknownKeysAndTheStartMarker)
{
    auto t = newTrack();
    t->append("T:S500;T:S200;T:S500;");
    const cFixed x3 = t->items().Find("K3")->xIniz();
    t->Remove("k2");
    EXPECT_EQ(keys(*t), (std::vector<std::string>{"K0", "K1", "K3"}));
    EXPECT_EQ(t->items().Find("K3")->xIniz(), x3);
    EXPECT_THROW(t->Remove("K2"), cError);
    EXPECT_THROW(t->Remove("K0"), cError);
    EXPECT_EQ(t->items().Count(), 3u);
}

TEST_F(zvTrackTest, CurrentPieceAndSelectionNeverOutliveTheirPieces)
{
    auto c = newCircuit();
    zvTrack& t = track(*c, 1);
    t.append("T:S500;T:S200;T:C90(L);T:S500;");
    piece(t, "K2")->Selected(true);
    piece(t, "K3")->Selected(true);
    EXPECT_EQ(c->CurItem(), piece(t, "K3"));

    // The current piece removed: the piece now at its place takes over.
    t.Remove("K3");
    EXPECT_EQ(c->CurItem(), piece(t, "K4"));
    EXPECT_EQ(t.itemsSelected().Count(), 1u);

    // Re-layout: new pieces, the one at the same place is current, nothing stays selected.
    t.ReCalcLayout();
    EXPECT_EQ(c->CurItem(), t.items().Item(4));
    EXPECT_EQ(t.itemsSelected().Count(), 0u);

    // Removing the selection at the end of the chain falls back to the last piece.
    t.items().Item(3)->Selected(true);
    t.items().Item(4)->Selected(true);
    t.RemoveSelected();
    EXPECT_EQ(t.items().Count(), 2u);
    EXPECT_EQ(c->CurItem(), t.items().Last());
    EXPECT_EQ(t.itemsSelected().Count(), 0u);

    // The start marker never leaves, even when flagged as selected.
    t.items().Item(1)->Selected(true);
    t.RemoveSelected();
    EXPECT_EQ(t.items().Item(1)->Class(), 0);
}

TEST_F(zvTrackTest, AppendAfterTheCurrentPieceAsTheAppendCommandDoes)
{
    auto c = newCircuit();
    zvTrack& t = track(*c, 1);
    t.append("T:S500;T:C90(L);T:S500;");
    piece(t, "K1")->Selected(true);
    const std::string lastKey = t.items().Last()->Key();
    t.append("T:S200;T:X200;", c->CurItem());
    ASSERT_NE(c->CurItem()->Key(), lastKey);
    t.ReCalcLayout();
    // The current piece is the rebuilt first straight, so the next key is the first new piece.
    const std::string next = "K" + std::to_string(std::stoi(c->CurItem()->Key().substr(1)) + 1);
    t.clearSelection();
    piece(t, next)->Selected(true);
    EXPECT_EQ(c->CurItem()->Item(), "S200");
    EXPECT_EQ(c->CurItem()->xIniz(), fx(500));
    EXPECT_EQ(t.GetDefinitionString(), "T:S500;T:S200;T:X200;T:C90(L);T:S500;");
    EXPECT_EQ(t.itemsSelected().Count(), 1u);
}

TEST_F(zvTrackTest, ClearSelectionLeavesTheLastSelectedPieceInTrackOrderCurrent)
{
    auto c = newCircuit();
    zvTrack& t = track(*c, 1);
    t.append("T:S500;T:S200;T:S500;T:S200;");
    piece(t, "K3")->Selected(true);
    piece(t, "K1")->Selected(true);
    piece(t, "K4")->Selected(false);
    EXPECT_EQ(c->CurItem(), piece(t, "K4"));
    t.clearSelection();
    EXPECT_EQ(c->CurItem(), piece(t, "K3"));
    EXPECT_FALSE(piece(t, "K1")->Selected());
    EXPECT_EQ(t.itemsSelected().Count(), 0u);
    // Nothing selected: the current piece stays.
    piece(t, "K2")->Selected(false);
    t.clearSelection();
    EXPECT_EQ(c->CurItem(), piece(t, "K2"));
}

TEST_F(zvTrackTest, CopySelectedPutsTheSnippetInSelectionOrderOnTheClipboard)
{
    auto c = newCircuit(4);
    zvTrack& t = track(*c, 1);
    t.append("T:S500[#];T:C90(R)[AB];T:S200;");
    ui->clipboard = "before";
    t.CopySelected();
    EXPECT_EQ(ui->clipboard, "before");
    EXPECT_EQ(ui->clears, 0);

    piece(t, "K3")->Selected(true);
    piece(t, "K1")->Selected(true);
    t.CopySelected();
    EXPECT_EQ(ui->clipboard, "<zorv snippet>T:S200;T:S500;</zorv snippet>");
    EXPECT_EQ(ui->clears, 1);

    // Whichever track is asked, the current track's selection is copied.
    zvTrack& other = track(*c, 2);
    other.append("T:S200;");
    piece(other, "K1")->Selected(true);
    t.CopySelected();
    EXPECT_EQ(ui->clipboard, "<zorv snippet>T:S200;</zorv snippet>");
}
