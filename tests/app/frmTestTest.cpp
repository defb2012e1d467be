// The canvas test window: loaded with its canvas bound and drawn, the buttons that move and
// zoom, the options that pick the tool, the position box, and how the main window reaches it
// (corner button and wheel) in development mode only.
#include "DispatchFixture.h"

#include "platform/cPictureBox.h"
#include "view/frmMain.h"
#include "view/frmTest.h"
#include "view/zvLang_forms.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdint>
#include <cstdlib>

using apptest::DispatchFixture;

namespace {

class TestWindowTest : public DispatchFixture {
  protected:
    frmTest* loaded() { return qobject_cast<frmTest*>(zvLib::Form(zvForm::frmTest)); }
    void TearDown() override
    {
        zvLib::Unload(zvForm::frmTest);
        unsetenv("ZORV_DEVMODE");
        DispatchFixture::TearDown();
    }
};

TEST_F(TestWindowTest, LoadsWithTheCanvasBoundAndDrawn)
{
    frmTest& t = zvLib::TestWindow();
    EXPECT_EQ(loaded(), &t);
    EXPECT_FALSE(t.isVisible());
    EXPECT_EQ(t.cnv.Picture(), &t.pic->Surface());
    EXPECT_EQ(t.cnv.Width(), cFixed(2000));
    EXPECT_EQ(t.cnv.CenterX(), 0);
    EXPECT_EQ(t.cnv.BackColor(), 0xFFFFFF);
    EXPECT_EQ(t.cnv.LabelFont(), "Calibri");
    EXPECT_FLOAT_EQ(t.cnv.LabelSize(), 7);
    EXPECT_EQ(t.pic->Surface().ScaleLeft(), -1000);
}

TEST_F(TestWindowTest, ButtonsMoveAndZoom)
{
    frmTest& t = zvLib::TestWindow();
    t.cmd[4]->click();
    EXPECT_EQ(t.cnv.Width(), cFixed(2400));
    t.cmd[5]->click();
    EXPECT_EQ(t.cnv.Width(), cFixed(2000));
    t.cmd[0]->click();
    t.cmd[0]->click();
    EXPECT_EQ(t.cnv.CenterX(), 200);
    t.cmd[1]->click();
    EXPECT_EQ(t.cnv.CenterX(), 100);
    t.cmd[2]->click();
    EXPECT_EQ(t.cnv.CenterY(), -100);
    t.cmd[3]->click();
    t.cmd[3]->click();
    EXPECT_EQ(t.cnv.CenterY(), 100);
    EXPECT_EQ(t.cnv.Left(), cFixed(-900));
}

TEST_F(TestWindowTest, ZoomStaysWithinTheMainCanvasBounds)
{
    frmTest& t = zvLib::TestWindow();
    for (int i = 0; i < 200; ++i) {
        t.cmd[4]->click();
    }
    EXPECT_EQ(t.cnv.Width(), cFixed(100000)) << "no wider than the main canvas shows";
    EXPECT_EQ(t.cnv.Right(), cFixed(50000));
    t.cnv.ViewPort(1e12); // beyond 32 bits: held, not wrapped
    EXPECT_EQ(t.cnv.Width(), cFixed(100000));
    for (int i = 0; i < 200; ++i) {
        t.cmd[5]->click();
    }
    EXPECT_EQ(t.cnv.Width(), cFixed(25)) << "no narrower than the main canvas shows";
    t.cnv.ViewPort(std::nullopt, 1e12, -1e12);
    EXPECT_EQ(t.cnv.CenterX(), INT32_MAX);
    EXPECT_EQ(t.cnv.CenterY(), INT32_MIN);
}

TEST_F(TestWindowTest, OptionsPickTheMeasureToolOnlyForMeas)
{
    frmTest& t = zvLib::TestWindow();
    t.opt[3]->click();
    EXPECT_EQ(t.cnv.Action(), "measure");
    t.cnv.pic_MouseDown(0, 0);
    t.cnv.pic_MouseDown(300, 400);
    EXPECT_EQ(t.cnv.Shapes().size(), 4u);
    t.opt[0]->click();
    EXPECT_EQ(t.cnv.Action(), "");
    EXPECT_EQ(t.cnv.Shapes().size(), 4u) << "the stored measure stays";
    t.opt[1]->click();
    EXPECT_EQ(t.cnv.Action(), "");
}

TEST_F(TestWindowTest, MouseMoveShowsThePosition)
{
    frmTest& t = zvLib::TestWindow();
    t.cnv.pic_MouseMove(12.4, -7.6);
    EXPECT_EQ(t.txtXY->text().toStdString(), "12 : -8");
}

TEST_F(TestWindowTest, PictureEventsReachTheCanvas)
{
    frmTest& t = zvLib::TestWindow();
    t.opt[3]->click();
    // The picture's centre is the view's centre, world (0, 0).
    const QPoint centre(t.pic->width() / 2, t.pic->height() / 2);
    QTest::mouseMove(t.pic, centre);
    QTest::mousePress(t.pic, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(t.pic, Qt::LeftButton, {}, centre);
    EXPECT_EQ(t.cnv.MeasureClicks(), 1);
    EXPECT_NEAR(t.cnv.MouseX().toDouble(), 0, 5);
    EXPECT_EQ(t.pic->cursor().shape(), Qt::CrossCursor);
    QTest::keyRelease(t.pic, Qt::Key_Escape);
    EXPECT_EQ(t.cnv.MeasureClicks(), 0);
    EXPECT_EQ(t.cnv.Shapes().size(), 3u);
    t.opt[0]->click();
    EXPECT_NE(t.pic->cursor().shape(), Qt::CrossCursor);
}

TEST_F(TestWindowTest, ResizePlacesPictureAndInput)
{
    frmTest& t = zvLib::TestWindow();
    t.resize(600, 500); // 9000 by 7500 twips
    t.Form_Resize();
    EXPECT_EQ(t.pic->geometry(), QRect(0, 64, 600, 500 - 64 - 40));
    EXPECT_EQ(t.txtInput->y(), 64 + 396 + 4);
    const QRect before = t.pic->geometry();
    t.resize(200, 500); // narrower than 4000 twips: nothing moves
    t.Form_Resize();
    EXPECT_EQ(t.pic->geometry(), before);
}

TEST_F(TestWindowTest, CornerButtonShowsItInDevelopmentModeOnly)
{
    main().cmd_Click();
    EXPECT_EQ(loaded(), nullptr);
    setenv("ZORV_DEVMODE", "1", 1);
    main().cmd_Click();
    ASSERT_NE(loaded(), nullptr);
    EXPECT_TRUE(loaded()->isVisible());
}

TEST_F(TestWindowTest, WheelZoomsItsCanvasOnlyWhileVisible)
{
    main().mwh_MouseWheel(1);
    ASSERT_NE(loaded(), nullptr) << "loaded hidden by the wheel";
    EXPECT_FALSE(loaded()->isVisible());
    EXPECT_EQ(loaded()->cnv.Width(), cFixed(2000));
    loaded()->show();
    main().mwh_MouseWheel(1);
    EXPECT_EQ(loaded()->cnv.Width(), cFixed(1667));
    main().mwh_MouseWheel(-1);
    EXPECT_EQ(loaded()->cnv.Width(), cFixed(2000));
}

} // namespace
