// The picture box: what is drawn on its surface stays and is what the widget shows; a change
// of size keeps a user scale and follows a device scale; wheel notches and mouse positions
// arrive as the program counts them.
#include "platform/cPictureBox.h"

#include "ControlsTestApp.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

namespace {

class cPictureBoxTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        testsupport::ControlsApp();
        box_.resize(200, 100);
        box_.show(); // offscreen: the pending resize reaches the box
        QApplication::processEvents();
    }
    void wheel(int delta)
    {
        QWheelEvent e(QPointF(10, 10), box_.mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&box_, &e);
    }

    cPictureBox box_;
};

TEST_F(cPictureBoxTest, DrawingStaysAndIsWhatTheWidgetShows)
{
    cQtSurface& s = box_.Surface();
    EXPECT_EQ(s.Image().size(), QSize(200, 100));
    s.Antialiasing(false);
    s.Scale(0, 100, 200, 0); // y up
    s.DrawWidth(3);
    s.Line(0, 50, 200, 50, 0x0000FF);
    QApplication::processEvents();
    const QImage shown = box_.grab().toImage();
    EXPECT_EQ(shown.pixelColor(100, 50), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(100, 10), QColor(255, 255, 255));
    // Painting again (covered and uncovered) shows the same picture: nothing is redrawn.
    box_.repaint();
    EXPECT_EQ(box_.grab().toImage().pixelColor(100, 50), QColor(255, 0, 0));
    s.Cls();
    EXPECT_EQ(box_.grab().toImage().pixelColor(100, 50), QColor(255, 255, 255));
}

TEST_F(cPictureBoxTest, ResizeKeepsAUserScaleAndRaisesOnceForARealChange)
{
    cQtSurface& s = box_.Surface();
    s.Scale(-500, 250, 500, -250);
    int resized = 0;
    box_.Resize = [&] { ++resized; };
    box_.resize(400, 100);
    QApplication::processEvents();
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(s.Image().size(), QSize(400, 100));
    EXPECT_FLOAT_EQ(s.ScaleLeft(), -500);
    EXPECT_FLOAT_EQ(s.ScaleTop(), 250);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 1000);
    EXPECT_FLOAT_EQ(s.ScaleHeight(), -500);
    box_.resize(400, 100);
    QApplication::processEvents();
    EXPECT_EQ(resized, 1) << "the same size is no change";
    // A scale in pixels follows the new size.
    s.ScaleMode(3);
    box_.resize(300, 120);
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 300);
    EXPECT_FLOAT_EQ(s.ScaleHeight(), 120);
}

TEST_F(cPictureBoxTest, WheelNotchesAndMousePositionsInUserUnits)
{
    std::vector<int> turns;
    box_.MouseWheel = [&](int d) { turns.push_back(d); };
    wheel(120);
    wheel(-240);
    wheel(60); // half a notch waits for the other half
    EXPECT_EQ(turns, (std::vector<int>{1, -1, -1}));
    wheel(60);
    EXPECT_EQ(turns.size(), 4u);
    EXPECT_EQ(turns.back(), 1);

    box_.Surface().Scale(-100, 50, 100, -50); // one unit a pixel, y up
    int button = -1;
    int shift = -1;
    double x = 0;
    double y = 0;
    box_.MouseDown = [&](int b, int s, double px, double py) {
        button = b;
        shift = s;
        x = px;
        y = py;
    };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(150, 25), box_.mapToGlobal(QPointF(150, 25)),
                      Qt::RightButton, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
    QApplication::sendEvent(&box_, &press);
    EXPECT_EQ(button, 2);
    EXPECT_EQ(shift, 3);
    EXPECT_DOUBLE_EQ(x, 50);
    EXPECT_DOUBLE_EQ(y, 25);
}

} // namespace
