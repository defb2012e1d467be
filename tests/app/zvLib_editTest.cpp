// The edit commands driven through the dispatcher on circuits of the shipped 1:32 set: copy,
// cut and paste through the clipboard, delete and remove, the inverted selection, kerbs and
// drawing order, mirrored curves and width transitions, snippets, undo and redo, and the
// follow-ups (redraw, undo states, info panels) each command asks for.
#include "DispatchFixture.h"

#include "app/zvLib_commands.h"
#include "model/cUndo.h"
#include "model/zvLib_globals.h"
#include "model/zvUI.h"
#include "view/zvLib_info.h"

#include <QInputDialog>

#include <algorithm>

using apptest::DispatchFixture;

namespace {

using Codes = std::vector<std::string>;

class EditTest : public DispatchFixture {
  protected:
    // Appends pieces at the end of the first track and leaves none selected.
    void lay(const std::string& definition)
    {
        run("item.append." + definition);
        track().clearSelection();
        canvas_.Clear();
    }
    // Selects the pieces of a track under these keys, in this order.
    void choose(const Codes& keys, int index = 1)
    {
        for (const auto& k : keys) {
            track(index).items().Find(k)->Selected(true);
        }
    }
    // True when every piece of the track starts where the one before it ends.
    bool chained(int index = 1)
    {
        const auto& items = track(index).items();
        for (std::size_t i = 2; i <= items.Count(); ++i) {
            const auto& a = items.Item(i - 1);
            const auto& b = items.Item(i);
            if (a->xFine() != b->xIniz() || a->yFine() != b->yIniz() || a->aFine() != b->aIniz()) {
                return false;
            }
        }
        return true;
    }
    // The keys of the track's pieces in chain order.
    Codes keys(int index = 1)
    {
        Codes k;
        for (const auto& p : track(index).items()) {
            k.push_back(p->Key());
        }
        return k;
    }
    // True when the circuit was drawn anew (the canvas cleared first) since the recording
    // was last cleared.
    bool redrawn() const
    {
        const auto& lines = canvas_.Lines();
        return std::any_of(lines.begin(), lines.end(),
                           [](const std::string& l) { return l.rfind("Cls", 0) == 0; });
    }
    static std::size_t states() { return zvLib::Undo().count(); }
    static std::string clipboard() { return zvLib::UI->ClipboardGetText(); }
    static void clipboard(const std::string& text) { zvLib::UI->ClipboardSetText(text); }
    // The length panel as the circuit now stands.
    std::string lengthPanel() { return tool("sbr", "pnlinfo_2").Caption(); }
    std::string expectedLength()
    {
        return zvLib::LengthText(circuit().GetLength(), zvLib::SetScale);
    }
};

TEST_F(EditTest, CopyPutsTheSelectionOnTheClipboardAndPasteInsertsItAfterTheCurrentPiece)
{
    lay("CL32:AS1;CL32:AC1-90(R);CL32:AS2;");
    clipboard("untouched");
    const std::size_t before = states();
    run("EDIT.COPY");
    EXPECT_EQ(clipboard(), "untouched") << "nothing selected: the clipboard stays";

    choose({"K2", "K1"});
    run("edit.copy");
    EXPECT_EQ(clipboard(), "<zorv snippet>CL32:AC1-90(R);CL32:AS1;</zorv snippet>")
        << "in selection order";
    EXPECT_EQ(states(), before) << "a copy records no state";
    EXPECT_FALSE(redrawn());

    // The current piece is the first straight: the copy goes after it (the Edit menu's tool).
    click(tool("mnuEdit", "paste"));
    EXPECT_EQ(pieces(), (Codes{"AS1", "AC1-90(R)", "AS1", "AC1-90(R)", "AS2"}));
    EXPECT_EQ(selected(), Codes{"K2"}) << "the first inserted piece";
    EXPECT_TRUE(chained());
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(states(), before + 1) << "one state, recorded by the insertion";
    EXPECT_EQ(lengthPanel(), expectedLength());
    EXPECT_EQ(clipboard(), "<zorv snippet>CL32:AC1-90(R);CL32:AS1;</zorv snippet>");
}

TEST_F(EditTest, PasteTakesOnlyTheTextBetweenTheTags)
{
    lay("CL32:AS1;");
    clipboard("before<zorv snippet>CL32:AS4;</zorv snippet>after");
    run("EDIT.PASTE");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AS4"}));
    EXPECT_EQ(clipboard(), "before<zorv snippet>CL32:AS4;</zorv snippet>after");

    const std::size_t before = states();
    for (const char* text :
         {"<zorv snippet>CL32:AS2;", "CL32:AS2;", "<zorv snippet></zorv snippet>", ""}) {
        clipboard(text);
        EXPECT_TRUE(run("EDIT.PASTE").empty()) << text;
        EXPECT_EQ(pieces(), (Codes{"AS1", "AS4"})) << text;
    }
    EXPECT_EQ(states(), before) << "nothing pasted, nothing recorded";
}

TEST_F(EditTest, CutLeavesTheRestInPlaceAndThePasteGoesToTheEnd)
{
    lay("CL32:AS1;CL32:AS2;CL32:AC1-90(R);CL32:AS4;");
    const cFixed curveStart = track().items().Find("K3")->xIniz();
    choose({"K2"});
    const std::size_t before = states();
    run("EDIT.CUT");
    EXPECT_EQ(clipboard(), "<zorv snippet>CL32:AS2;</zorv snippet>");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AC1-90(R)", "AS4"}));
    EXPECT_EQ(keys(), (Codes{"K0", "K1", "K3", "K4"})) << "no new layout";
    EXPECT_EQ(track().items().Find("K3")->xIniz(), curveStart);
    EXPECT_EQ(selected(), Codes{"K4"}) << "the last piece";
    EXPECT_EQ(circuit().CurItem()->Key(), "K4");
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(states(), before + 1);
    EXPECT_EQ(lengthPanel(), expectedLength());

    run("EDIT.PASTE");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AC1-90(R)", "AS4", "AS2"}));
    EXPECT_EQ(circuit().CurItem(), track().items().Last());

    // With nothing selected the cut still selects the last piece and records a state.
    track().clearSelection();
    const std::size_t now = states();
    run("EDIT.CUT");
    EXPECT_EQ(pieces().size(), 4u);
    EXPECT_EQ(states(), now + 1);
    EXPECT_EQ(circuit().CurItem(), track().items().Last());
}

TEST_F(EditTest, DeleteClosesTheChainAndRemoveLeavesAGap)
{
    lay("CL32:AS1;CL32:AS2;CL32:AS4;CL32:AC1-45(L);");
    const cFixed lastStart = track().items().Find("K4")->xIniz();
    choose({"K2"});
    std::size_t before = states();
    run("EDIT.REMOVE");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AS4", "AC1-45(L)"}));
    EXPECT_EQ(keys(), (Codes{"K0", "K1", "K3", "K4"}));
    EXPECT_EQ(track().items().Find("K4")->xIniz(), lastStart) << "a gap is left";
    EXPECT_FALSE(chained());
    EXPECT_TRUE(selected().empty());
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(states(), before + 1);

    // Undo brings the straight back; redo removes it again and the gap closes.
    run("EDIT.UNDO");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AS2", "AS4", "AC1-45(L)"}));
    run("EDIT.REDO");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AS4", "AC1-45(L)"}));
    EXPECT_TRUE(chained());

    choose({"K2"});
    before = states();
    canvas_.Clear();
    run("EDIT.DELETE");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AC1-45(L)"}));
    EXPECT_EQ(keys(), (Codes{"K0", "K1", "K2"})) << "keys follow the chain";
    EXPECT_TRUE(chained());
    EXPECT_EQ(selected(), Codes{"K2"});
    EXPECT_EQ(circuit().CurItem(), track().items().Last());
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(states(), before + 1);
    EXPECT_EQ(lengthPanel(), expectedLength());
}

TEST_F(EditTest, AfterRemoveTheNextPieceFillsTheGap)
{
    lay("CL32:AS1;CL32:AS2;CL32:AS4;CL32:AC1-45(L);");
    const cFixed curveStart = track().items().Find("K4")->xIniz();
    choose({"K3", "K2"});
    run("EDIT.REMOVE");
    EXPECT_EQ(circuit().CurItem()->Key(), "K1") << "the piece before the gap";
    EXPECT_TRUE(selected().empty());
    EXPECT_FALSE(circuit().CurItem()->Selected());

    // The straights the user lays next go into the gap, where the removed ones were.
    click(pieceTool("CL32:AS2"));
    click(pieceTool("CL32:AS4"));
    EXPECT_EQ(pieces(), (Codes{"AS1", "AS2", "AS4", "AC1-45(L)"}));
    EXPECT_EQ(track().items().Last()->xIniz(), curveStart);
    EXPECT_TRUE(chained());

    // With the first piece removed the start marker is current.
    track().clearSelection();
    choose({"K1"});
    run("EDIT.REMOVE");
    EXPECT_EQ(circuit().CurItem(), track().items().First());
    EXPECT_TRUE(selected().empty());
}

TEST_F(EditTest, SelectAllInvertsTheSelectionOfEveryTrack)
{
    newCircuit(4);
    lay("CL32:AS1;CL32:AS2;CL32:AS4;CL32:AS1;");
    track(2).append("CL32:AS1;CL32:AS1;");
    choose({"K3", "K1"});
    const std::size_t before = states();
    run("EDIT.SELECTALL");
    EXPECT_EQ(selected(1), (Codes{"K2", "K4"}));
    EXPECT_EQ(selected(2), (Codes{"K1", "K2"}));
    EXPECT_TRUE(track(1).items().First()->Selected()) << "the start marker too";
    EXPECT_EQ(circuit().CurItem(), track(2).items().Last());
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(states(), before + 1);

    run("EDIT.SELECTALL");
    EXPECT_EQ(selected(1), (Codes{"K1", "K3"}));
    EXPECT_TRUE(selected(2).empty());
    EXPECT_FALSE(track(1).items().First()->Selected());
    EXPECT_EQ(states(), before + 2);
}

TEST_F(EditTest, KerbsToggleEachPieceAndTheFrontFlagIsSet)
{
    lay("CL32:AS1;CL32:AS2;CL32:AS4;");
    track().items().Find("K1")->extAB(true);
    choose({"K1", "K2"});
    const std::size_t before = states();
    click(tool("mnuItem", "kerbLeft"));
    EXPECT_FALSE(track().items().Find("K1")->extAB());
    EXPECT_TRUE(track().items().Find("K2")->extAB());
    EXPECT_FALSE(track().items().Find("K3")->extAB()) << "not selected";
    run("EDIT.KERBRIGHT");
    EXPECT_TRUE(track().items().Find("K1")->extCD());
    EXPECT_TRUE(track().items().Find("K2")->extCD());
    run("EDIT.TOFRONT");
    EXPECT_TRUE(track().items().Find("K2")->toFront());
    EXPECT_FALSE(track().items().Find("K3")->toFront());
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(states(), before + 3);
    // The markers travel in the definition, so an undo step carries them.
    EXPECT_NE(track().GetDefinitionString().find("[#]"), std::string::npos);
    run("EDIT.TOBACK");
    EXPECT_FALSE(track().items().Find("K2")->toFront());
    run("EDIT.UNDO");
    EXPECT_TRUE(track().items().Find("K2")->toFront());
    EXPECT_TRUE(track().items().Find("K2")->extAB());
    EXPECT_TRUE(track().items().Find("K2")->extCD());
}

TEST_F(EditTest, MirrorSwapsTheHandOfCurvesAndTransitionsInPlace)
{
    newCircuit(4);
    lay("CL32:AS1;CL32:AC1-90(R);CL32:AT43(F);CL32:AC2-45(L);CL32:AS2;");
    track(2).append("CL32:AT43(B);CL32:AS1;");
    const auto oldCurve = track().items().Find("K2");
    oldCurve->extAB(true);
    oldCurve->toFront(true);
    const cFixed endBefore = track().items().Last()->yFine();
    choose({"K2", "K1", "K3", "K4"});
    choose({"K1"}, 2);
    const std::size_t before = states();
    run("EDIT.MIRROR");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AC1-90(L)", "AT43(B)", "AC2-45(R)", "AS2"}));
    EXPECT_EQ(pieces(2), (Codes{"AT43(F)", "AS1"}));
    EXPECT_EQ(keys(), (Codes{"K0", "K1", "K2", "K3", "K4", "K5"}));
    EXPECT_TRUE(chained()) << "the rest of the track follows the new geometry";
    EXPECT_TRUE(chained(2));
    EXPECT_NE(track().items().Last()->yFine(), endBefore);
    const auto newCurve = track().items().Find("K2");
    EXPECT_NE(newCurve, oldCurve);
    EXPECT_FALSE(newCurve->extAB()) << "the replacement carries no kerb";
    EXPECT_FALSE(newCurve->toFront());
    EXPECT_EQ(newCurve->setID(), "CL32");
    EXPECT_TRUE(selected(1).empty());
    EXPECT_TRUE(selected(2).empty());
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(states(), before + 1);
    EXPECT_EQ(lengthPanel(), expectedLength());

    // Mirrored twice, the track is as it was.
    choose({"K2", "K3", "K4"});
    run("EDIT.MIRROR");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AC1-90(R)", "AT43(F)", "AC2-45(L)", "AS2"}));
    EXPECT_EQ(track().items().Last()->yFine(), endBefore);
}

TEST_F(EditTest, MirrorKeepsAPieceWhoseOtherHandIsMissingAndStillRecordsAState)
{
    lay("CL32:AC1-45(R);CL32:AS1;");
    for (auto& rec : zvLib::PieceTable) {
        if (rec.setID == "CL32" && rec.itemID == "AC1-45(L)") {
            rec.itemID = "AC1-45(GONE)";
        }
    }
    choose({"K1"});
    std::size_t before = states();
    run("EDIT.MIRROR");
    EXPECT_EQ(pieces(), (Codes{"AC1-45(R)", "AS1"})) << "not lost for want of its mirror";
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(states(), before + 1);

    // Nothing selected: nothing changes, yet each command redraws and records a state.
    for (const char* verb : {"MIRROR", "DELETE", "REMOVE", "KERBLEFT", "TOFRONT"}) {
        track().clearSelection(); // delete leaves the last piece selected
        canvas_.Clear();
        before = states();
        run(std::string("EDIT.") + verb);
        EXPECT_EQ(pieces(), (Codes{"AC1-45(R)", "AS1"})) << verb;
        EXPECT_TRUE(redrawn()) << verb;
        EXPECT_EQ(states(), before + 1) << verb;
    }
}

TEST_F(EditTest, UndoAndRedoStepThroughTheStatesTheCommandsRecorded)
{
    const std::size_t first = states();
    canvas_.Clear();
    run("EDIT.UNDO");
    EXPECT_EQ(tool("sbr", "pnlstatus").Caption(), "Nothing left to undo");
    EXPECT_TRUE(redrawn()) << "the unchanged circuit is drawn";
    EXPECT_EQ(states(), first);

    lay("CL32:AS1;CL32:AS2;");
    choose({"K1"});
    run("EDIT.DELETE");
    ASSERT_EQ(pieces(), Codes{"AS2"});
    const std::size_t recorded = states();
    canvas_.Clear();
    run("EDIT.UNDO");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AS2"}));
    EXPECT_TRUE(redrawn());
    EXPECT_EQ(lengthPanel(), expectedLength());
    run("EDIT.UNDO");
    EXPECT_TRUE(pieces().empty());
    run("EDIT.REDO");
    run("EDIT.REDO");
    EXPECT_EQ(pieces(), Codes{"AS2"});
    EXPECT_EQ(states(), recorded) << "stepping records nothing";
    run("EDIT.REDO");
    EXPECT_EQ(tool("sbr", "pnlstatus").Caption(), "Nothing left to redo");
}

TEST_F(EditTest, SaveSnippetStoresTheSelectionAsAToolOfTheSet)
{
    lay("CL32:AS1;CL32:AC1-90(L);");
    choose({"K1", "K2"});
    user_->steps.push_back([](QDialog& d) {
        static_cast<QInputDialog&>(d).setTextValue("pair");
        static_cast<QInputDialog&>(d).accept();
    });
    const std::size_t before = states();
    run("EDIT.SAVESNIPPET");
    cBarBand& snippets = main().abr.Band("ibr").ChildBand("snippets");
    ASSERT_EQ(snippets.ToolCount(), 1);
    EXPECT_EQ(snippets.Tool(0).Caption(), "pair");
    EXPECT_EQ(states(), before);
    EXPECT_FALSE(redrawn());
}

TEST_F(EditTest, VerbsAreTakenFromTheLastPartAndOthersOnlyRefreshThePanels)
{
    lay("CL32:AS1;");
    choose({"K1"});
    run("edit.anything.copy");
    EXPECT_EQ(clipboard(), "<zorv snippet>CL32:AS1;</zorv snippet>");

    tool("sbr", "pnlinfo_2").Caption("stale");
    const std::size_t before = states();
    EXPECT_TRUE(run("EDIT.FOO").empty());
    EXPECT_EQ(lengthPanel(), expectedLength()) << "the closing step ran";
    EXPECT_EQ(states(), before);
    EXPECT_FALSE(redrawn());
}

TEST_F(EditTest, WithoutACircuitEveryVerbDoesNothing)
{
    lay("CL32:AS1;");
    clipboard("<zorv snippet>CL32:AS1;</zorv snippet>");
    zvLib::Circuit(nullptr);
    const std::size_t before = states();
    for (const char* verb :
         {"COPY", "CUT", "PASTE", "SELECTALL", "KERBLEFT", "KERBRIGHT", "TOFRONT", "TOBACK",
          "DELETE", "REMOVE", "MIRROR", "SAVESNIPPET", "REDO", "UNDO", "FOO"}) {
        EXPECT_TRUE(run(std::string("EDIT.") + verb).empty()) << verb;
    }
    EXPECT_EQ(states(), before);
    EXPECT_FALSE(redrawn());
    EXPECT_TRUE(user_->dialogs.empty());
}

} // namespace
