// The dispatcher driven through the main window: moves and turns of the whole circuit with and
// without Shift, the view option toggles and their tools, the ruler, the info refresh of
// unknown verbs, the recent-file verbs, the toolbar's help tool, dots inside tool names, and
// commands that need a circuit when there is none.
#include "DispatchFixture.h"

#include "app/core/zvLib_sets.h"
#include "app/zvLib_commands.h"
#include "model/cUndo.h"
#include "model/zvLib_globals.h"
#include "view/frmInfo.h"
#include "view/zvLang_forms.h"

#include <QTest>

#include <algorithm>

using apptest::DispatchFixture;

namespace {

using Messages = std::vector<std::string>;

class DispatchTest : public DispatchFixture {
  protected:
    // Runs the command while a Shift key is held down.
    void runShifted(const std::string& command)
    {
        QTest::keyPress(&main(), Qt::Key_Shift, Qt::ShiftModifier);
        run(command);
        QTest::keyRelease(&main(), Qt::Key_Shift, Qt::NoModifier);
    }
    // Marks the status panels so that a refresh shows.
    void markPanels() { tool("sbr", "pnlinfo_2").Caption("stale"); }
    bool panelsRefreshed() { return tool("sbr", "pnlinfo_2").Caption() != "stale"; }
};

TEST_F(DispatchTest, MovesShiftTheWholeCircuitByFiftyOrFiveMillimetres)
{
    click(pieceTool("CL32:AS1"));
    const auto piece = [this] { return track().items().Last(); };
    const cFixed x = piece()->xIniz();
    const cFixed y = piece()->yIniz();
    const std::size_t states = zvLib::Undo().count();
    markPanels();
    run("VIEW.MOVERIGHT");
    EXPECT_EQ(circuit().StartX(), cFixed(50));
    EXPECT_EQ(piece()->xIniz(), x + cFixed(50)) << "the pieces follow the start point";
    EXPECT_TRUE(panelsRefreshed());
    runShifted("view.moveright");
    EXPECT_EQ(circuit().StartX(), cFixed(55));
    run("VIEW.MOVELEFT");
    EXPECT_EQ(circuit().StartX(), cFixed(5));
    run("VIEW.MOVEDOWN");
    EXPECT_EQ(circuit().StartY(), cFixed(-50));
    EXPECT_EQ(piece()->yIniz(), y - cFixed(50));
    runShifted("VIEW.MOVEUP");
    EXPECT_EQ(circuit().StartY(), cFixed(-45));
    EXPECT_EQ(zvLib::Undo().count(), states + 5) << "each move leaves an undo state";
    zvLib::Undo().Pop(-1);
    EXPECT_EQ(circuit().StartY(), cFixed(-50));
}

TEST_F(DispatchTest, TurnsChangeTheStartHeadingByFiveOrOneDegrees)
{
    click(pieceTool("CL32:AS1"));
    run("VIEW.ROTATE-");
    EXPECT_EQ(circuit().Angle(), cFixed(-5));
    EXPECT_EQ(track().items().Last()->aIniz(), circuit().Angle()) << "the pieces turn along";
    runShifted("VIEW.ROTATE-");
    EXPECT_EQ(circuit().Angle(), cFixed(-6));
    runShifted("view.rotate+");
    run("VIEW.ROTATE+");
    EXPECT_EQ(circuit().Angle(), cFixed(0));
    for (int i = 0; i < 72; ++i) {
        run("VIEW.ROTATE+");
    }
    EXPECT_EQ(circuit().Angle(), cFixed(0)) << "a full turn comes back to 0";
}

TEST_F(DispatchTest, ParallelTracksKeepTheSpacingOfTheCircuitsOwnSetWhateverTheItemBarShows)
{
    newCircuit(4);
    click(pieceTool("CL32:AS1"));
    const cFixed width = zvLib::SetStdWidth;
    const auto secondStart = [this] { return track(2).items().First()->yIniz(); };
    ASSERT_EQ(secondStart(), -width);

    // The user chooses the 1:24 set, whose track is wider, and lays one of its pieces.
    ASSERT_EQ(zvLib::LoadSet("GT24"), zvLib::kSetLoaded);
    ASSERT_NE(zvLib::SetStdWidth, width);
    click(pieceTool("GT24:BS1"));
    run("VIEW.ROTATE+");
    run("VIEW.ROTATE-");
    EXPECT_EQ(circuit().Angle(), cFixed(0));
    EXPECT_EQ(track(2).items().First()->xIniz(), cFixed(0));
    EXPECT_EQ(secondStart(), -width);
    run("EDIT.UNDO");
    run("EDIT.UNDO");
    EXPECT_EQ(circuit().Angle(), cFixed(0));
    EXPECT_EQ(secondStart(), -width) << "an undo state is laid out the same way";
}

TEST_F(DispatchTest, ZoomsAndFitChangeTheViewAndLeaveUndoStates)
{
    for (const char* def : {"CL32:AS1", "CL32:AS1", "CL32:AC1-90(R)", "CL32:AC1-90(R)"}) {
        click(pieceTool(def));
    }
    canvas_.Scale(-1000, 1000, 1000, -500);
    const std::size_t states = zvLib::Undo().count();
    run("VIEW.ZOOM+");
    EXPECT_FLOAT_EQ(canvas_.ScaleWidth(), 2000 * 0.8333f);
    EXPECT_NEAR(canvas_.ScaleLeft() + canvas_.ScaleWidth() / 2, 0, 1e-3) << "the centre stays";
    run("view.zoom-");
    EXPECT_NEAR(canvas_.ScaleWidth(), 2000 * 0.8333 * 1.2, 1e-2);
    EXPECT_EQ(zvLib::Undo().count(), states + 2);
    zvLib::Undo().Pop(-1);
    EXPECT_FLOAT_EQ(canvas_.ScaleWidth(), 2000 * 0.8333f) << "undo steps back through zooms";

    canvas_.Clear();
    run("VIEW.FIT");
    const auto e = circuit().GetExtent();
    const double aspect = 600.0 / 800.0;
    const double fit = std::max(e[4].toDouble(), e[5].toDouble() / aspect) * 1.1;
    EXPECT_NEAR(canvas_.ScaleWidth(), fit, 0.01);
    EXPECT_NEAR(canvas_.ScaleLeft() + canvas_.ScaleWidth() / 2,
                (e[0].toDouble() + e[2].toDouble()) / 2, 0.01);
    ASSERT_FALSE(canvas_.Lines().empty());
    EXPECT_EQ(canvas_.Lines().front().rfind("Cls", 0), 0u) << "the fit redraws";
    EXPECT_EQ(zvLib::Undo().count(), states + 3);
}

TEST_F(DispatchTest, ScrollBarsFollowAnInsertionThatLeavesTheView)
{
    canvas_.Scale(-500, 500, 500, -250);
    main().hsc->setEnabled(false);
    for (int i = 0; i < 4; ++i) {
        click(pieceTool("CL32:AS1"));
    }
    const auto e = circuit().GetExtent();
    EXPECT_TRUE(main().hsc->isEnabled()) << "part of the circuit lies outside the view";
    EXPECT_EQ(main().hsc->Max(), static_cast<int>(RoundHalfEven(e[2].toDouble())));
    run("VIEW.FIT");
    EXPECT_FALSE(main().hsc->isEnabled()) << "the whole circuit is in view";
}

TEST_F(DispatchTest, ViewOptionsFollowTheirToolsAndRedrawWithoutUndo)
{
    struct Option {
        const char* verb;
        const char* tool;
        bool* value;
    };
    const Option options[] = {{"LANES", "lanes", &zvLib::ShowLanes},
                              {"GRID", "grid", &zvLib::ShowGrid},
                              {"LINES", "lines", &zvLib::ShowLines},
                              {"FILL", "fill", &zvLib::ShowFill},
                              {"FILLEX", "fillex", &zvLib::ShowFillEx},
                              {"REFS", "refs", &zvLib::ShowCodes},
                              {"KERBS", "kerbs", &zvLib::ShowKerbs}};
    const std::size_t states = zvLib::Undo().count();
    for (const Option& o : options) {
        const bool was = tool("tbr", o.tool).Checked();
        canvas_.Clear();
        run(std::string("view.") + o.verb);
        EXPECT_EQ(tool("tbr", o.tool).Checked(), !was) << o.verb;
        EXPECT_EQ(*o.value, !was) << o.verb;
        ASSERT_FALSE(canvas_.Lines().empty()) << o.verb;
        EXPECT_EQ(canvas_.Lines().front().rfind("Cls", 0), 0u) << o.verb << " redraws";
        click(tool("tbr", o.tool));
        EXPECT_EQ(*o.value, was) << o.verb << " from its toolbar tool";
    }
    EXPECT_EQ(zvLib::Undo().count(), states);
}

TEST_F(DispatchTest, KerbsSwitchedOnLieAlongThePiecesAsTheyAreNow)
{
    tool("tbr", "kerbs").Checked(false);
    zvLib::ShowKerbs = false;
    run("VIEW.MOVERIGHT");
    for (int i = 0; i < 3; ++i) {
        run("VIEW.MOVEUP");
    }
    click(pieceTool("CL32:AS1"));
    run("EDIT.KERBLEFT");
    run("EDIT.KERBRIGHT");
    run("VIEW.KERBS");
    ASSERT_TRUE(zvLib::ShowKerbs);
    const zvItem& piece = *track().items().Last();
    EXPECT_EQ(piece.extAB_xd(), piece.xa()) << "the left kerb starts at the piece's corner";
    EXPECT_EQ(piece.extAB_yd(), piece.ya());
    EXPECT_EQ(piece.extCD_xb(), piece.xc()) << "the right kerb ends at the piece's corner";
    EXPECT_EQ(piece.extCD_yb(), piece.yc());
    const auto extent = circuit().GetExtent();
    EXPECT_GT(extent[0], cFixed(0)) << "the extent does not reach back to the origin";
    EXPECT_GT(extent[1], cFixed(0));
}

TEST_F(DispatchTest, TheRulerIsToggledAndAnyCommandEndsIt)
{
    run("object.ruler");
    EXPECT_TRUE(tool("tbr", "ruler").Checked());
    EXPECT_EQ(zvLib::CurrentTool, "OBJECT.RULER");
    EXPECT_EQ(main().pic->cursor().shape(), Qt::CrossCursor);
    run("VIEW.GRID");
    EXPECT_EQ(zvLib::CurrentTool, "") << "the ruler mode ends";
    EXPECT_TRUE(tool("tbr", "ruler").Checked()) << "while the tool still looks pressed";
    run("OBJECT.RULER");
    EXPECT_FALSE(tool("tbr", "ruler").Checked());
    EXPECT_EQ(zvLib::CurrentTool, "");
    EXPECT_EQ(main().pic->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(run("OBJECT.POLYLINE").empty());
    EXPECT_FALSE(tool("tbr", "ruler").Checked());
}

TEST_F(DispatchTest, UnknownViewAndEditVerbsOnlyRefreshTheInfo)
{
    const std::string before = circuit().DefString();
    for (const char* command : {"VIEW.FOO", "EDIT.FOO", "VIEW.DESIGN", "EDIT.ANY.THING"}) {
        markPanels();
        EXPECT_EQ(run(command), Messages{}) << command;
        EXPECT_TRUE(panelsRefreshed()) << command;
    }
    EXPECT_EQ(circuit().DefString(), before);
    // Without a circuit there is nothing to refresh and nothing happens.
    zvLib::Circuit(nullptr);
    markPanels();
    for (const char* command : {"VIEW.MOVERIGHT", "VIEW.INFO", "VIEW.GRID", "EDIT.FOO",
                                "ITEM.APPEND.CL32:AS1", "ITEM.SKETCH.CL32:AS1"}) {
        EXPECT_EQ(run(command), Messages{}) << command;
    }
    EXPECT_FALSE(panelsRefreshed());
    EXPECT_FALSE(tool("tbr", "info").Checked());
    const QWidget* info = zvLib::Form(zvForm::frmInfo);
    EXPECT_TRUE(info == nullptr || !info->isVisible());
}

TEST_F(DispatchTest, RecentFileVerbsAreExactlyMRU1ToMRU4)
{
    for (const char* verb : {"MRU10", "MRU0", "MRU1X", "MRU5", "MRUSEP", "MRU"}) {
        EXPECT_EQ(run(std::string("file.") + verb),
                  Messages{"currently under development \"" + std::string(verb) + "\""})
            << verb;
    }
    // An entry without a file does nothing; one with a file opens it after the prompt.
    for (const char* verb : {"file.mru1", "FILE.MRU4"}) {
        EXPECT_EQ(run(verb), Messages{}) << verb;
    }
    tool("mnuFile", "mru2").Tag(documentsDir() + "track.zv6");
    markPanels();
    EXPECT_EQ(run("file.mru2"),
              Messages{"The file " + documentsDir() + "track.zv6 cannot be found."});
    EXPECT_TRUE(panelsRefreshed()) << "the info follows the file opened";
}

TEST_F(DispatchTest, BothHelpToolsShowTheHelpMessage)
{
    click(tool("tbr", "miHContents"));
    EXPECT_EQ(user_->messages, Messages{"Under construction"});
    user_->messages.clear();
    click(tool("mnuHelp", "help"));
    EXPECT_EQ(user_->messages, Messages{"Under construction"});
    user_->messages.clear();
    EXPECT_EQ(run("HELP.CONTENTS"), Messages{}) << "other help verbs do nothing";
}

TEST_F(DispatchTest, ADotInAPieceCodeTravelsAsCharacterOneAndIsRestored)
{
    zvPieceRecord dotted = zvLib::PieceTable[static_cast<std::size_t>(
        std::find_if(zvLib::PieceTable.begin(), zvLib::PieceTable.end(),
                     [](const zvPieceRecord& r) { return r.itemID == "AS1"; }) -
        zvLib::PieceTable.begin())];
    dotted.itemID = "AS.1";
    dotted.code = "AS.1";
    zvLib::PieceTable.insert(zvLib::PieceTable.begin(), dotted);
    cBarTool& piece = main().abr.Band("ibr").ChildBand("items").AddTool(9999, "CL32:AS.1");
    piece.Category("item.append");
    canvas_.Clear();
    main().abr.EnterTool(piece);
    EXPECT_FALSE(canvas_.Lines().empty()) << "the preview of the dotted piece";
    main().abr.LeaveTool(piece);
    click(piece);
    EXPECT_EQ(pieces(), std::vector<std::string>{"AS.1"});
    EXPECT_EQ(user_->messages, Messages{});
    // The caller's variable holds the command as dispatched: upper case, dots still coded.
    std::string command = std::string("item.append.cl32:as") + '\x01' + "1";
    zvLib::ExecCommand(command);
    EXPECT_EQ(command, std::string("ITEM.APPEND.CL32:AS") + '\x01' + "1");
    EXPECT_EQ(pieces(), (std::vector<std::string>{"AS.1", "AS.1"}));
}

} // namespace
