// The main window's canvas: it is the main surface and keeps its picture through size
// changes, the scroll bars pan one axis keeping the other's centre, the wheel reaches the
// dispatcher only while the canvas is shown (and stops zooming in where the pixels no longer
// hold the circuit), an undone view keeps its centre and width at the canvas's proportions,
// and a piece appended at the origin lands on the pixels the scale gives.
#include "CanvasFixture.h"
#include "app/zvLib_commands.h"
#include "app/zvLib_documents.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_pixels.h"
#include "model/cUndo.h"
#include "platform/cBarWidget.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using apptest::CentreX;
using apptest::CentreY;
using apptest::kStraight;

namespace {

class CanvasTest : public apptest::CanvasFixture {
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
    }
    // What the canvas widget shows.
    QImage shown()
    {
        QApplication::processEvents();
        return main_->pic->grab().toImage();
    }
    // The colour shown at a world point.
    QColor at(const QImage& image, double x, double y)
    {
        const cPixel p = zvLib::PointToPixel(*zvLib::MainPic, cFixed::fromDouble(x),
                                             cFixed::fromDouble(y));
        return image.pixelColor(p.x, p.y);
    }
    // True when the colour is shown on the pixel of a world point or one of its eight
    // neighbours (a one-pixel line may fall on either side of a pixel's centre).
    bool around(const QImage& image, double x, double y, const QColor& color)
    {
        const cPixel p = zvLib::PointToPixel(*zvLib::MainPic, cFixed::fromDouble(x),
                                             cFixed::fromDouble(y));
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (image.pixelColor(p.x + dx, p.y + dy) == color) {
                    return true;
                }
            }
        }
        return false;
    }
    void wheel(int delta)
    {
        QWheelEvent e(QPointF(20, 20), main_->pic->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(main_->pic, &e);
    }

    static void Send(const char* command)
    {
        std::string c = command;
        zvLib::ExecCommand(c);
        QApplication::processEvents();
    }

    frmMain* main_ = nullptr;
};

TEST_F(CanvasTest, CanvasIsTheMainSurfaceAndFollowsTheWindowsSize)
{
    cPictureBox& pic = *main_->pic;
    EXPECT_EQ(zvLib::MainPic, &pic.Surface());
    EXPECT_EQ(zvLib::HScroll, main_->hsc);
    EXPECT_EQ(zvLib::VScroll, main_->vsc);
    EXPECT_EQ(pic.Surface().Image().size(), pic.size());
    EXPECT_GT(pic.width(), 500);
    EXPECT_FALSE(pic.Surface().Antialiasing()) << "edges unsmoothed, as on a picture box";

    zvLib::SetZoom(1000, 0, 0);
    const zvViewRect before = zvLib::ViewRect();
    main_->resize(1200, 800);
    QApplication::processEvents();
    EXPECT_EQ(pic.Surface().Image().size(), pic.size()) << "the picture has the new size";
    EXPECT_GT(pic.width(), 700);
    const zvViewRect after = zvLib::ViewRect();
    EXPECT_FLOAT_EQ(after.ScaleWidth, before.ScaleWidth) << "no circuit: nothing to fit";
    EXPECT_FLOAT_EQ(after.ScaleHeight, before.ScaleHeight);
    // A redraw after the change keeps the height at the width times the new aspect.
    zvLib::ZoomBy(cFixed(0));
    EXPECT_NEAR(-zvLib::ViewRect().ScaleHeight / zvLib::ViewRect().ScaleWidth,
                static_cast<double>(pic.height()) / pic.width(), 1e-4);

    delete main_;
    EXPECT_EQ(zvLib::MainPic, nullptr) << "the canvas leaves with its window";
    EXPECT_EQ(zvLib::HScroll, nullptr);
    EXPECT_EQ(zvLib::UI, nullptr);
}

TEST_F(CanvasTest, FitIsMadeOnFirstShowAndTheWindowsOwnResizeButNeverOnPaint)
{
    delete main_;
    main_ = new frmMain;
    zvLib::LoadForm(zvForm::frmMain, main_);
    main_->resize(900, 600);
    makeCircuit(times(kStraight, 4)); // x 0..1400
    const std::size_t states = zvLib::Undo().count();
    const auto away = [] { zvLib::SetZoom(300, -5000, 0); };
    const auto fitted = [] { return std::abs(CentreX(zvLib::ViewRect()) - 700) < 1; };
    away();
    main_->show();
    QApplication::processEvents();
    EXPECT_TRUE(fitted()) << "the first show fits";

    away();
    main_->pic->repaint();
    main_->update();
    QApplication::processEvents();
    main_->hide();
    main_->show();
    QApplication::processEvents();
    main_->resize(900, 600);
    QApplication::processEvents();
    EXPECT_FALSE(fitted()) << "paint, a later show, the same size";

    main_->resize(1000, 650);
    QApplication::processEvents();
    EXPECT_TRUE(fitted()) << "a real change of the window's size fits";
    const zvViewRect v = zvLib::ViewRect();
    EXPECT_NEAR(-v.ScaleHeight / v.ScaleWidth,
                static_cast<double>(main_->pic->height()) / main_->pic->width(), 1e-3)
        << "fitted to the canvas's new size";
    EXPECT_EQ(zvLib::Undo().count(), states) << "the program's own fits record nothing";

    away();
    zvLib::CurrentTool = "OBJECT.RULER";
    main_->cmd->click();
    EXPECT_TRUE(fitted()) << "the corner button fits";
    EXPECT_EQ(zvLib::CurrentTool, "") << "as the user's command";
    EXPECT_EQ(zvLib::Undo().count(), states + 1);
}

TEST_F(CanvasTest, ViewSwitchesAndTheItemBarsEdgeKeepTheViewAndTheCircuitUnchanged)
{
    makeCircuit(""); // the piece table
    main_->setUI();
    zvLib::StartPageChosen("NEW", "CL32", 2, 0, "");
    QApplication::processEvents();
    ASSERT_FALSE(zvLib::Undo().isdirty());
    zvLib::SetZoom(1500, 500, 20);
    const auto same = [](const char* what) {
        const zvViewRect v = zvLib::ViewRect();
        EXPECT_NEAR(v.ScaleWidth, 1500, 1e-3) << what;
        EXPECT_NEAR(CentreX(v), 500, 1e-3) << what;
        EXPECT_NEAR(CentreY(v), 20, 1e-3) << what;
    };
    for (const char* mode : {"VIEW.REPORT", "VIEW.DESIGN", "VIEW.EDITOR", "VIEW.DESIGN"}) {
        std::string command = mode;
        zvLib::ExecCommand(command);
        QApplication::processEvents();
    }
    same("back in the design view");
    const int before = main_->pic->width();
    // Wider than its tabs, which the bar never is narrower than.
    main_->abr.Band("ibr").Width(main_->abr.Band("ibr").Width() + 4500);
    QApplication::processEvents();
    ASSERT_NE(main_->pic->width(), before) << "the item bar's edge moved";
    same("the canvas resized by the item bar");
    main_->resize(1100, 760);
    QApplication::processEvents();
    EXPECT_FALSE(zvLib::Undo().isdirty()) << "nothing the program did changed the circuit";
}

TEST_F(CanvasTest, ScrollingOneAxisKeepsTheCentreOfTheOther)
{
    makeCircuit(times(kStraight, 4)); // x 0..1400, y -78..78
    zvLib::SetZoom(500, 700, 0);
    zvLib::CenterView(700, 12.5); // a centre between whole units, as a zoom leaves it
    const std::size_t states = zvLib::Undo().count();

    main_->hsc->triggerAction(QAbstractSlider::SliderPageStepAdd); // 140 to the right
    EXPECT_NEAR(CentreX(zvLib::ViewRect()), 840, 1e-3);
    EXPECT_NEAR(CentreY(zvLib::ViewRect()), 12.5, 1e-3) << "the vertical centre stays";
    EXPECT_FLOAT_EQ(zvLib::ViewRect().ScaleWidth, 500);

    main_->vsc->triggerAction(QAbstractSlider::SliderSingleStepAdd); // 2 downwards
    EXPECT_EQ(main_->vsc->Value(), -2);
    EXPECT_NEAR(CentreY(zvLib::ViewRect()), -2, 1e-3);
    EXPECT_NEAR(CentreX(zvLib::ViewRect()), 840, 1e-3) << "the horizontal centre stays";
    EXPECT_EQ(zvLib::Undo().count(), states) << "scrolling pushes no undo state";

    // The pan redraws: the first straight's red lane is where the new view puts it.
    const QImage image = shown();
    EXPECT_EQ(at(image, 700, 39), QColor(255, 0, 0));

    zvLib::Circuit(nullptr);
    const zvViewRect still = zvLib::ViewRect();
    main_->hsc->triggerAction(QAbstractSlider::SliderPageStepAdd);
    main_->vsc->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_FLOAT_EQ(zvLib::ViewRect().ScaleLeft, still.ScaleLeft) << "no circuit, no pan";
    EXPECT_FLOAT_EQ(zvLib::ViewRect().ScaleTop, still.ScaleTop);
}

TEST_F(CanvasTest, WheelReachesTheDispatcherOnlyWhileTheCanvasIsShown)
{
    makeCircuit(kStraight);
    zvLib::CurrentTool = "OBJECT.RULER";
    main_->pag->show(); // the report or editor page covers the canvas
    wheel(120);
    main_->mwh_MouseWheel(-1);
    EXPECT_EQ(zvLib::CurrentTool, "OBJECT.RULER") << "no command was sent";

    main_->pag->hide();
    wheel(-120);
    EXPECT_EQ(zvLib::CurrentTool, "") << "a zoom command reached the dispatcher";
    zvLib::CurrentTool = "OBJECT.RULER";
    main_->mwh_MouseWheel(3);
    EXPECT_EQ(zvLib::CurrentTool, "");
}

TEST_F(CanvasTest, DeepZoomFarOutStopsWhereThePixelsFitAndResizesGoOn)
{
    // Pieces at the origin and a line near the edge of the drawing range: the fit is centred
    // half a thousand kilometres from both.
    auto c = makeCircuit(kStraight);
    addLine(*c, 999990000, 0, 999991000, 500);
    main_->resize(1024, 768);
    QApplication::processEvents();
    zvLib::ZoomExtents();
    user_->messages.clear();
    double narrowest = zvLib::ViewRect().ScaleWidth;
    for (int step = 0; step < 45; ++step) {
        wheel(120);
        narrowest = std::min<double>(narrowest, zvLib::ViewRect().ScaleWidth);
    }
    EXPECT_EQ(user_->messages, std::vector<std::string>{}) << "no box per wheel step";
    EXPECT_GT(narrowest, zvLib::kMinViewWidth) << "zooming in stopped before the pixels overflow";
    const zvViewRect deep = zvLib::ViewRect();
    for (const QSize size : {QSize(700, 900), QSize(1100, 500), QSize(640, 480)}) {
        main_->resize(size);
        QApplication::processEvents();
    }
    EXPECT_EQ(user_->messages, std::vector<std::string>{}) << "the resizes went through";
    // The resizes fitted the circuit again; at the deep zoom, every point still had its pixel.
    EXPECT_NO_THROW(zvLib::PointToPixel(*zvLib::MainPic, cFixed(0), cFixed(0)));
    zvLib::ViewRect(deep);
    EXPECT_NO_THROW(zvLib::PointToPixel(*zvLib::MainPic, cFixed(0), cFixed(0)));
    EXPECT_NO_THROW(zvLib::PointToPixel(*zvLib::MainPic, cFixed(999991000), cFixed(500)));
}

TEST_F(CanvasTest, UndoAfterAResizeKeepsTheCentreAndWidthAtTheCanvasProportions)
{
    makeCircuit(""); // the piece table
    main_->setUI();
    main_->resize(1024, 768);
    QApplication::processEvents();
    zvLib::StartPageChosen("NEW", "CL32", 2, 0, "");
    QApplication::processEvents();
    Send("ITEM.APPEND.CL32:AS1");
    const zvViewRect recorded = zvLib::ViewRect();
    main_->resize(700, 900);
    QApplication::processEvents();
    Send("ITEM.APPEND.CL32:AS1");
    Send("EDIT.UNDO");
    const zvViewRect v = zvLib::ViewRect();
    EXPECT_NEAR(CentreX(v), CentreX(recorded), 1e-2);
    EXPECT_NEAR(CentreY(v), CentreY(recorded), 1e-2);
    EXPECT_FLOAT_EQ(v.ScaleWidth, recorded.ScaleWidth);
    // As many pixels per millimetre across as down.
    const double across = main_->pic->width() / static_cast<double>(v.ScaleWidth);
    const double down = main_->pic->height() / static_cast<double>(-v.ScaleHeight);
    EXPECT_NEAR(down / across, 1.0, 1e-3);
}

TEST_F(CanvasTest, PieceAtTheOriginIsDrawnWhereTheScaleSays)
{
    auto c = makeCircuit(kStraight); // 350 long, lanes 39 either side of y = 0
    zvLib::SetZoom(1000, 175, 0);
    c->Draw();
    QImage image = shown();
    const QColor red(255, 0, 0);
    const QColor blue(0x1E, 0x90, 0xFF);
    const QColor white(255, 255, 255);
    EXPECT_EQ(at(image, 110, 39), red) << "lane 1 on the left of the heading";
    EXPECT_EQ(at(image, 310, -39), blue);
    EXPECT_EQ(at(image, 175, 140), white) << "beyond the piece's edge at 78";
    // Where the scale puts it in pixels: (x - left) x pixels per mm.
    const double perMm = main_->pic->width() / 1000.0;
    const int laneX = static_cast<int>((110 - (175 - 500)) * perMm);
    const int laneY = static_cast<int>((zvLib::ViewRect().ScaleTop - 39) * perMm);
    EXPECT_EQ(image.pixelColor(laneX, laneY), red);

    // Half a view to the left, the piece moves to the canvas's right half.
    zvLib::CenterView(-325, 0);
    c->Draw();
    image = shown();
    EXPECT_EQ(at(image, 110, 39), red);
    EXPECT_GT(zvLib::PointToPixel(*zvLib::MainPic, cFixed(110), cFixed(39)).x,
              main_->pic->width() / 2);
    EXPECT_EQ(image.pixelColor(laneX, laneY), white) << "the old place is empty now";
    // The axes cross the whole view under the pieces (the start marker covers the origin).
    EXPECT_TRUE(around(image, 0, -120, QColor(0, 255, 0))) << "the y axis";
    EXPECT_TRUE(around(image, -200, 0, QColor(255, 99, 71))) << "the x axis";
}

TEST_F(CanvasTest, EditingKeysReachTheCircuitAfterTheStartPagesNew)
{
    makeCircuit(""); // the piece table
    main_->setUI();
    main_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_));
    zvLib::StartPageChosen("NEW", "CL32", 2, 0, "");
    for (int i = 0; i < 3; ++i) {
        std::string append = "item.append.CL32:AS1";
        zvLib::ExecCommand(append);
    }
    const auto pieces = [] { return zvLib::Circuit()->CurTrack()->items().Count(); };
    ASSERT_EQ(pieces(), 4u) << "the start marker and three straights";
    QApplication::processEvents();
    QWidget* focus = QApplication::focusWidget();
    EXPECT_EQ(focus, main_->pic) << "the canvas has the keys after a new circuit";
    QWidget* keys = focus != nullptr ? focus : main_;
    QTest::keyClick(keys, Qt::Key_Delete);
    EXPECT_EQ(pieces(), 3u) << "Delete removed the selected straight";
    QTest::keyClick(keys, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pieces(), 4u) << "Ctrl+Z brought it back";
    EXPECT_EQ(main_->abr.Band("tbr").Tool("cboSet").Text(), "CL32");

    // The set chooser is a list to pick from: keys given to it leave the circuit's keys alone.
    QWidget* sets = main_->abrView().ToolWidget(main_->abr.Band("tbr").Tool("cboSet"));
    ASSERT_NE(sets, nullptr);
    sets->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_LT(pieces(), 4u) << "Ctrl+A and Delete acted on the circuit";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(main_->abr.Band("tbr").Tool("cboSet").Text(), "CL32");

    // A click on the canvas takes the keys back.
    QTest::mouseClick(main_->pic, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(QApplication::focusWidget(), main_->pic);
}

} // namespace
