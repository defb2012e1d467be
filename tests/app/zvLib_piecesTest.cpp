// The piece and snippet commands driven through the main window: pieces appended from the
// item bar at the end and in the middle of a track with the piece selected afterwards, a
// three-piece snippet, the preview while the pointer rests on a tool, and the follow-ups
// (redraw, undo state, status panels) of an insertion.
#include "DispatchFixture.h"

#include "app/core/zvLib_sets.h"
#include "app/zvLib_commands.h"
#include "model/cUndo.h"
#include "model/zvLib_globals.h"
#include "view/zvLib_info.h"

#include <algorithm>

using apptest::DispatchFixture;

namespace {

using Codes = std::vector<std::string>;

class PiecesTest : public DispatchFixture {
  protected:
    // True when every piece of the track starts where the one before it ends.
    bool chained(int index = 1)
    {
        const auto& items = track(index).items();
        for (std::size_t i = 2; i <= items.Count(); ++i) {
            const auto& a = items.Item(i - 1);
            const auto& b = items.Item(i);
            if (a->xFine() != b->xIniz() || a->yFine() != b->yIniz() ||
                a->aFine() != b->aIniz()) {
                return false;
            }
        }
        return true;
    }
    // The keys of the track's pieces in chain order.
    std::vector<std::string> keys(int index = 1)
    {
        std::vector<std::string> k;
        for (const auto& p : track(index).items()) {
            k.push_back(p->Key());
        }
        return k;
    }
    std::size_t recorded(const std::string& text)
    {
        const auto& lines = canvas_.Lines();
        return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
            return l.find(text) != std::string::npos;
        }));
    }
};

TEST_F(PiecesTest, ItemToolsAppendAtTheEndAndSelectTheNewPiece)
{
    const std::size_t states = zvLib::Undo().count();
    click(pieceTool("CL32:AS1"));
    EXPECT_EQ(pieces(), Codes{"AS1"});
    EXPECT_EQ(selected(), Codes{"K1"});
    canvas_.Clear();
    click(pieceTool("CL32:AC1-90(R)"));
    EXPECT_EQ(pieces(), (Codes{"AS1", "AC1-90(R)"}));
    EXPECT_EQ(selected(), Codes{"K2"}) << "only the new piece stays selected";
    EXPECT_EQ(circuit().CurItem()->Key(), "K2");
    EXPECT_TRUE(chained());
    EXPECT_EQ(zvLib::Undo().count(), states + 2) << "one undo state per insertion";
    EXPECT_EQ(canvas_.Lines().front().rfind("Cls", 0), 0u) << "the circuit was drawn anew";
    EXPECT_EQ(tool("sbr", "pnlinfo_2").Caption(),
              zvLib::LengthText(circuit().GetLength(), zvLib::SetScale));
    EXPECT_NE(tool("sbr", "pnlinfo_2").Caption(), zvLib::LengthText(0, zvLib::SetScale));
}

TEST_F(PiecesTest, InsertingInTheMiddleMovesTheRestAndSelectsTheFirstNewPiece)
{
    for (const char* def : {"CL32:AS1", "CL32:AS2", "CL32:AC1-90(R)"}) {
        click(pieceTool(def));
    }
    // The first straight made current again: the next pieces go after it.
    track().items().Item(2)->Selected(true);
    ASSERT_EQ(circuit().CurItem()->Key(), "K1");
    const cFixed endBefore = track().items().Last()->xFine();
    click(pieceTool("CL32:AS4"));
    EXPECT_EQ(pieces(), (Codes{"AS1", "AS4", "AS2", "AC1-90(R)"}));
    EXPECT_EQ(keys(), (Codes{"K0", "K1", "K2", "K3", "K4"})) << "keys follow the chain again";
    EXPECT_EQ(selected(), Codes{"K2"});
    EXPECT_EQ(circuit().CurItem()->Item(), "AS4");
    EXPECT_TRUE(chained()) << "the pieces after the insertion follow the new one";
    EXPECT_NE(track().items().Last()->xFine(), endBefore);

    // Keys that no longer match the chain (a piece removed without a new layout) still
    // select the first new piece.
    track().Remove("K2");
    track().items().Item(2)->Selected(true);
    run("item.append.CL32:AS2");
    EXPECT_EQ(pieces(), (Codes{"AS1", "AS2", "AS2", "AC1-90(R)"}));
    EXPECT_EQ(circuit().CurItem(), track().items().Item(3));
    EXPECT_EQ(selected().size(), 1u);
}

TEST_F(PiecesTest, SnippetToolsAppendTheirPiecesAndSelectTheLastOne)
{
    testsupport::writeAll(zvLib::UserFile, "[CL32.SNIPPETS]\nhairpin=;AS1;AC1-90(L);AC1-90(L)\n");
    ASSERT_EQ(zvLib::LoadSet(kSet), 0);
    cBarTool& snippet = main().abr.Band("ibr").ChildBand("snippets").Tool("K1");
    click(snippet);
    EXPECT_EQ(pieces(), (Codes{"AS1", "AC1-90(L)", "AC1-90(L)"}));
    EXPECT_EQ(selected(), Codes{"K3"});
    EXPECT_TRUE(chained());
    // A definition holding a dot reaches the model with its dot; an entry naming no piece
    // adds nothing and records nothing.
    const std::size_t states = zvLib::Undo().count();
    EXPECT_TRUE(run("snippet.append.CL32:NO\x01SUCH;").empty());
    EXPECT_EQ(pieces().size(), 3u);
    EXPECT_EQ(zvLib::Undo().count(), states);
}

TEST_F(PiecesTest, HoverShowsAPreviewThatLeavingTakesAway)
{
    click(pieceTool("CL32:AS1"));
    const std::string before = circuit().DefString();
    const std::size_t states = zvLib::Undo().count();
    canvas_.Clear();
    main().abr.EnterTool(pieceTool("CL32:AC1-90(R)"));
    EXPECT_FALSE(canvas_.Lines().empty()) << "the preview was drawn";
    EXPECT_EQ(recorded("Cls"), 0u) << "over the picture, without a redraw";
    EXPECT_EQ(circuit().DefString(), before);
    EXPECT_EQ(zvLib::Undo().count(), states);
    EXPECT_EQ(selected(), Codes{"K1"});

    canvas_.Clear();
    main().abr.LeaveTool(pieceTool("CL32:AC1-90(R)"));
    ASSERT_FALSE(canvas_.Lines().empty());
    EXPECT_EQ(canvas_.Lines().front().rfind("Cls", 0), 0u) << "leaving redraws the circuit";
    EXPECT_EQ(zvLib::Undo().count(), states);

    // Undo right after a preview undoes the last real change.
    zvLib::Undo().Pop(-1);
    EXPECT_TRUE(pieces().empty());
}

TEST_F(PiecesTest, PieceCommandsNeedACircuitAndAKnownVerb)
{
    const std::string before = circuit().DefString();
    EXPECT_TRUE(run("ITEM.FOO.CL32:AS1").empty());
    EXPECT_TRUE(run("SNIPPET.FOO").empty());
    EXPECT_EQ(circuit().DefString(), before);
    // An entry without a set code is refused by the model; the dispatcher shows why.
    EXPECT_EQ(run("ITEM.APPEND.AS1").size(), 1u);
    EXPECT_EQ(user_->styles.back(), 16);
    EXPECT_EQ(circuit().DefString(), before);
}

} // namespace
