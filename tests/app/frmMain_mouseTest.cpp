// The canvas's mouse on the real main window: the selection rules of plain, Shift, Ctrl and
// right clicks, the status panels on moves and clicks, the zoom window (a drag zooms, a click
// selects) and the development-mode ruler that leaves a measure object.
#include "CanvasFixture.h"
#include "app/zvLib_commands.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/cVariant.h"
#include "foundation/zvLang.h"
#include "foundation/zvLib_pixels.h"
#include "model/cUndo.h"
#include "model/zvTrack.h"
#include "platform/cBarWidget.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <cstdlib>

using apptest::kStraight;

namespace {

constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;

class MouseTest : public apptest::CanvasFixture {
  protected:
    void SetUp() override
    {
        CanvasFixture::SetUp();
        useLanguage("EN");
        main_ = new frmMain;
        zvLib::LoadForm(zvForm::frmMain, main_);
        main_->resize(1000, 700);
        main_->show(); // offscreen
        QApplication::processEvents();
        circuit_ = makeCircuit(times(kStraight, 8)); // K1..K8 along +x, 350 each
        zvLib::SetZoom(3200, 1400, 0);
        circuit_->Draw();
    }
    void TearDown() override
    {
        zvLib::CurrentTool.clear();
        CanvasFixture::TearDown();
    }
    zvTrack& track() { return *circuit_->tracks().First(); }
    std::shared_ptr<zvItem> piece(int n) { return track().items().Find("K" + std::to_string(n)); }
    // The middle of the nth straight.
    std::pair<double, double> middle(int n)
    {
        const auto p = piece(n);
        return {(p->xIniz() + p->xFine()).toDouble() / 2, (p->yIniz() + p->yFine()).toDouble() / 2};
    }
    // A press and release of a button at one point, as the canvas raises them.
    void clickAt(double x, double y, int shift = 0, int button = kLeft)
    {
        main_->pic_MouseDown(button, shift, x, y);
        main_->pic_MouseUp(button, shift, x, y);
    }
    void click(int n, int shift = 0, int button = kLeft)
    {
        const auto [x, y] = middle(n);
        clickAt(x, y, shift, button);
    }
    // The key numbers of the selected pieces, in track order.
    std::vector<int> selected()
    {
        std::vector<int> keys;
        for (const auto& p : track().items()) {
            if (p->Selected()) {
                keys.push_back(std::atoi(p->Key().c_str() + 1));
            }
        }
        return keys;
    }
    std::string panel(const char* name) { return main_->abr.Band("sbr").Tool(name).Caption(); }
    // How the status bar names a piece.
    std::string pieceText(int n)
    {
        const auto p = piece(n);
        return p->setID() + " " + p->code() + " " + p->Desc() + " - track " +
               std::to_string(p->TrackIndex());
    }
    QMenu* contextMenu()
    {
        return qobject_cast<QMenu*>(main_->abrView().BandWidget(main_->abr.Band("mnuItem")));
    }
    // A drag of the left button from one point over another to a third.
    void drag(double x0, double y0, double x1, double y1, double x2, double y2)
    {
        main_->pic_MouseDown(kLeft, 0, x0, y0);
        main_->pic_MouseMove(kLeft, 0, x1, y1);
        main_->pic_MouseUp(kLeft, 0, x2, y2);
    }

    frmMain* main_ = nullptr;
    std::shared_ptr<zvCircuit> circuit_;
};

using Keys = std::vector<int>;

TEST_F(MouseTest, PlainAndCtrlClicksSelectAndTheStatusNamesTheSelection)
{
    click(3);
    EXPECT_EQ(selected(), Keys{3});
    EXPECT_EQ(circuit_->CurItem(), piece(3)) << "the clicked piece becomes current";
    EXPECT_EQ(panel("pnlinfo_1"), pieceText(3));

    click(5, kCtrl);
    EXPECT_EQ(selected(), (Keys{3, 5}));
    EXPECT_EQ(panel("pnlinfo_1"), "2 pieces selected");
    click(6, kCtrl);
    EXPECT_EQ(panel("pnlinfo_1"), "3 pieces selected");

    click(5);
    EXPECT_EQ(selected(), Keys{5}) << "a plain click clears the rest first";
    click(5);
    EXPECT_EQ(selected(), Keys{5}) << "a plain click on the one selected piece keeps it";

    click(5, kCtrl);
    EXPECT_EQ(selected(), Keys{}) << "Ctrl inverts";
    EXPECT_EQ(panel("pnlinfo_1"), "");

    click(2);
    click(4, kCtrl);
    click(4, kCtrl); // one of two deselected: the one left is named
    EXPECT_EQ(panel("pnlinfo_1"), pieceText(2));

    for (const int keys : {kAlt, kShift | kCtrl, kCtrl | kAlt}) {
        click(7, keys);
        EXPECT_EQ(selected(), Keys{2}) << "keys " << keys;
    }

    clickAt(175, 2000);
    EXPECT_EQ(selected(), Keys{}) << "empty canvas clears the selection";
    EXPECT_EQ(panel("pnlinfo_1"), "");
}

TEST_F(MouseTest, ShiftSelectsTheKeyRangeFromTheAnchorWhichStays)
{
    click(7, kShift);
    EXPECT_EQ(selected(), Keys{}) << "no anchor yet: nothing changes";

    click(7);
    click(3, kShift);
    EXPECT_EQ(selected(), (Keys{3, 4, 5, 6, 7}));
    EXPECT_EQ(circuit_->CurItem(), piece(7)) << "the range's last piece in track order";
    EXPECT_EQ(panel("pnlinfo_1"), "5 pieces selected");

    click(8, kShift);
    EXPECT_EQ(selected(), (Keys{7, 8})) << "the anchor did not move to the range";

    // A Ctrl click that deselects leaves the anchor where it was.
    click(2);
    click(6, kCtrl);
    click(6, kCtrl);
    click(4, kShift);
    EXPECT_EQ(selected(), (Keys{4, 5, 6})) << "anchor still on K6";
    click(6, kCtrl); // selects: the anchor moves
    click(8, kShift);
    EXPECT_EQ(selected(), (Keys{6, 7, 8}));

    // The anchor survives a cleared selection.
    clickAt(175, 2000);
    click(4, kShift);
    EXPECT_EQ(selected(), (Keys{4, 5, 6}));
}

TEST_F(MouseTest, ShiftRangeRunsOnTheTrackOfThePieceHit)
{
    auto two = std::make_shared<zvCircuit>();
    two->Init("CL32", 4, cFixed(0), cFixed(0), cFixed(0)); // track 2 lies 156 below track 1
    zvLib::Circuit(two);
    for (const auto& t : two->tracks()) {
        t->append(times(kStraight, 4), t->items().First());
    }
    two->Draw();
    clickAt(175, 0);                      // K1 of track 1: the anchor
    clickAt(3 * 350 - 175, -156, kShift); // K3 of track 2
    std::vector<std::string> picked;
    for (const auto& t : two->tracks()) {
        for (const auto& p : t->items()) {
            if (p->Selected()) {
                picked.push_back(std::to_string(t->index()) + p->Key());
            }
        }
    }
    EXPECT_EQ(picked, (std::vector<std::string>{"2K1", "2K2", "2K3"}));
    EXPECT_EQ(two->CurTrack()->index(), 2);
}

TEST_F(MouseTest, TheCanvasWidgetsOwnClicksReachTheHandlers)
{
    const auto [x, y] = middle(3);
    const cPixel at =
        zvLib::PointToPixel(main_->pic->Surface(), cFixed::fromDouble(x), cFixed::fromDouble(y));
    QTest::mouseClick(main_->pic, Qt::LeftButton, Qt::NoModifier, QPoint(at.x, at.y));
    EXPECT_EQ(selected(), Keys{3});
    QTest::mouseClick(main_->pic, Qt::LeftButton, Qt::ControlModifier, QPoint(at.x + 2, at.y));
    EXPECT_EQ(selected(), Keys{});
}

TEST_F(MouseTest, RightClickAddsToTheSelectionAndOpensThePieceMenu)
{
    click(2);
    click(4, 0, kRight);
    EXPECT_EQ(selected(), (Keys{2, 4})) << "added, the others kept";
    EXPECT_EQ(circuit_->CurItem(), piece(4));
    ASSERT_NE(contextMenu(), nullptr);
    EXPECT_TRUE(contextMenu()->isVisible());
    contextMenu()->hide();

    click(2, 0, kRight);
    EXPECT_EQ(selected(), (Keys{2, 4})) << "an already selected piece stays";
    EXPECT_EQ(circuit_->CurItem(), piece(4)) << "and the current piece does not move";
    contextMenu()->hide();

    click(6, kShift); // a right click on a selected piece makes it the anchor too
    EXPECT_EQ(selected(), (Keys{2, 3, 4, 5, 6}));

    clickAt(175, 2000, 0, kRight);
    EXPECT_EQ(selected(), Keys{});
    EXPECT_FALSE(contextMenu()->isVisible()) << "no selection, no menu";

    // The middle button neither selects nor opens anything.
    click(3, 0, 4);
    EXPECT_EQ(selected(), Keys{});
}

TEST_F(MouseTest, TheDrawTabAndAMissingCircuitIgnoreClicks)
{
    click(3);
    main_->CurrentLayer = true;
    click(5);
    clickAt(175, 2000);
    EXPECT_EQ(selected(), Keys{3});
    EXPECT_EQ(panel("pnlinfo_1"), pieceText(3)) << "the status keeps its text";
    main_->CurrentLayer = false;

    const zvViewRect view = zvLib::ViewRect();
    const std::string position = panel("pnlinfo_0");
    zvLib::Circuit(nullptr);
    drag(0, 0, 500, 500, 500, 500);
    main_->pic_MouseMove(0, 0, 123, 456);
    main_->utlClick(kLeft, 0, 175, 0, false);
    EXPECT_EQ(panel("pnlinfo_0"), position);
    EXPECT_FLOAT_EQ(zvLib::ViewRect().ScaleWidth, view.ScaleWidth) << "no zoom";
}

TEST_F(MouseTest, MovesShowThePositionAndThePieceUnderThePointer)
{
    const auto [x, y] = middle(4);
    main_->pic_MouseMove(0, 0, x + 0.4, y - 30.6);
    EXPECT_EQ(panel("pnlinfo_0"), NUX_STD_library::FormatEx(cVariant(x + 0.4), "#,0", 0) + " : " +
                                      NUX_STD_library::FormatEx(cVariant(y - 30.6), "#,0", 0));
    EXPECT_EQ(panel("pnlinfo_0").find('.'), std::string::npos) << "whole millimetres";
    EXPECT_EQ(panel("pnlinfo_1"), pieceText(4));
    EXPECT_EQ(selected(), Keys{}) << "a move selects nothing";

    main_->pic_MouseMove(0, 0, 175, 2000);
    EXPECT_EQ(panel("pnlinfo_1"), pieceText(4)) << "off the pieces the last name stays";
    EXPECT_NE(panel("pnlinfo_0"), NUX_STD_library::FormatEx(cVariant(x), "#,0", 0) + " : 0");
}

TEST_F(MouseTest, OnlyAClickNamesTheAnnotationObjectUnderThePointer)
{
    addLine(*circuit_, 500, 1000, 1500, 1000);
    circuit_->Draw(); // the grips are where the object was drawn
    click(2);
    main_->pic_MouseMove(0, 0, 500, 1000);
    EXPECT_TRUE(user_->messages.empty()) << "a move shows no message";
    EXPECT_EQ(panel("pnlinfo_1"), pieceText(2));

    clickAt(500, 1000);
    EXPECT_EQ(user_->messages, std::vector<std::string>{"line"});
    EXPECT_EQ(selected(), Keys{}) << "an object is no piece: the click clears";
}

TEST_F(MouseTest, AZoomWindowDragZoomsToItsWidthAndNeverSelects)
{
    click(2);
    zvLib::Undo().Push(); // the state a command left before the zoom
    const std::size_t states = zvLib::Undo().count();
    const zvViewRect before = zvLib::ViewRect();

    drag(1000, 200, 1030, 195, 1060, 190); // 60 right, 10 down
    EXPECT_NEAR(zvLib::ViewRect().ScaleWidth, 60, 1e-3);
    EXPECT_NEAR(apptest::CentreX(zvLib::ViewRect()), 1030, 1e-3);
    EXPECT_NEAR(apptest::CentreY(zvLib::ViewRect()), 195, 1e-3);
    EXPECT_EQ(zvLib::Undo().count(), states + 1) << "one undo state per zoom";
    EXPECT_EQ(selected(), Keys{2}) << "a drag is no click";

    zvLib::Undo().Pop(-1);
    EXPECT_NEAR(zvLib::ViewRect().ScaleWidth, before.ScaleWidth, 1e-2) << "undo: view before";

    drag(1000, 200, 1010, 100, 1010, 0); // 10 right, 200 down
    EXPECT_NEAR(zvLib::ViewRect().ScaleWidth, zvLib::kMinViewWidth, 1e-3);

    zvLib::SetZoom(3200, 1400, 0);
    const auto [x, y] = middle(5);
    drag(x, y, x + 50, y + 50, x + 50, y + 50); // exactly 50 is a click
    EXPECT_EQ(selected(), Keys{5});
    EXPECT_NEAR(zvLib::ViewRect().ScaleWidth, 3200, 1e-3);

    // Beyond the slack and back within it before the release: a click.
    const auto [x6, y6] = middle(6);
    drag(x6, y6, x6 + 300, y6, x6 + 20, y6);
    EXPECT_EQ(selected(), Keys{6});
    EXPECT_NEAR(zvLib::ViewRect().ScaleWidth, 3200, 1e-3);
}

TEST_F(MouseTest, TheZoomWindowShowsItsRubberBandWhileDragging)
{
    const QImage drawn = main_->pic->Surface().Image().copy();
    main_->pic_MouseDown(kLeft, 0, 200, 300);
    main_->pic_MouseMove(kLeft, 0, 230, 320);
    EXPECT_EQ(main_->pic->Surface().Image(), drawn) << "within the slack nothing is drawn";
    main_->pic_MouseMove(kLeft, 0, 900, 700);
    const QImage band = main_->pic->Surface().Image().copy();
    EXPECT_NE(band, drawn);
    main_->pic_MouseMove(kLeft, 0, 900, 700); // the same rectangle: off and on again
    EXPECT_EQ(main_->pic->Surface().Image(), band);
    main_->pic_MouseMove(kLeft, 0, 220, 310); // back within: the last one stays
    EXPECT_EQ(main_->pic->Surface().Image(), band);
    main_->pic_MouseUp(kLeft, 0, 220, 310);
}

TEST_F(MouseTest, TheRulerLeavesAMeasureInDevelopmentModeOnly)
{
    setenv("ZORV_DEVMODE", "1", 1);
    zvLib::CurrentTool = "OBJECT.RULER";
    const std::size_t states = zvLib::Undo().count();
    const std::size_t objects = circuit_->objects().Count();
    const zvViewRect view = zvLib::ViewRect();

    main_->pic_MouseDown(kLeft, 0, 100, 500);
    EXPECT_TRUE(main_->lblMeasure->isVisible());
    EXPECT_EQ(main_->pic->cursor().shape(), Qt::CrossCursor);
    main_->pic_MouseMove(kLeft, 0, 400, 900);
    EXPECT_EQ(main_->lblMeasure->text().toStdString(),
              NUX_STD_library::FormatEx(cVariant(500.0), "#,0", 0));
    main_->pic_MouseMove(kLeft, 0, 700, 1300);
    main_->pic_MouseUp(kLeft, 0, 2000, 2000);
    ASSERT_EQ(circuit_->objects().Count(), objects + 1);
    const auto& measure = *circuit_->objects().Last();
    EXPECT_EQ(measure.Class(), "measure");
    EXPECT_EQ(measure.Points(), "100:500;700:1300") << "the end is the last move's point";
    EXPECT_FALSE(main_->lblMeasure->isVisible());
    EXPECT_EQ(zvLib::Undo().count(), states + 1) << "a measure marks the circuit changed";
    EXPECT_FLOAT_EQ(zvLib::ViewRect().ScaleWidth, view.ScaleWidth) << "and zooms nothing";
    EXPECT_EQ(selected(), Keys{}) << "nor selects";

    clickAt(300, 300); // a click without a move: two equal points
    EXPECT_EQ(circuit_->objects().Last()->Points(), "300:300;300:300");
    drag(300, 300, 305, 303, 900, 900); // last move within the slack: measured all the same
    EXPECT_EQ(circuit_->objects().Last()->Points(), "300:300;305:303");
    EXPECT_EQ(circuit_->objects().Count(), objects + 3);

    // The delivered program: the same gestures drag the zoom window.
    unsetenv("ZORV_DEVMODE");
    drag(100, 500, 400, 900, 700, 1300);
    EXPECT_EQ(circuit_->objects().Count(), objects + 3);
    EXPECT_NEAR(zvLib::ViewRect().ScaleWidth, 600, 1e-3);
}

TEST_F(MouseTest, TheRulerToolIsOfferedInDevelopmentModeOnly)
{
    main_->setUI();
    EXPECT_FALSE(main_->abr.Band("tbr").Tool("ruler").Visible());
    setenv("ZORV_DEVMODE", "1", 1);
    main_->setUI();
    EXPECT_TRUE(main_->abr.Band("tbr").Tool("ruler").Visible());
}

} // namespace
