// The Qt drawing surface probed pixel by pixel on its own image, antialiasing off: where the
// scale puts lines, how circles, arcs, paths and text come out, and what a printer refuses.
#include "foundation/cError.h"
#include "foundation/zvLib_pixels.h"
#include "platform/cQtSurface.h"

#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPrinter>

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kBlue = 0xFF0000;
constexpr std::int32_t kWhite = 0xFFFFFF;

// A 200 by 100 pixel canvas over world units with y up, one pixel per unit, origin at the
// centre: world (x, y) is pixel (100 + x, 50 - y).
class QtSurfaceTest : public ::testing::Test {
protected:
    QtSurfaceTest() : s(200, 100)
    {
        s.Antialiasing(false);
        s.Scale(-100, 50, 100, -50);
        s.Cls();
    }
    // True when the pixel has the colour value.
    bool is(int x, int y, std::int32_t color)
    {
        return s.Image().pixelColor(x, y) == cQtSurface::ToQColor(color);
    }
    // Pixels of the colour inside a rectangle of the image.
    int count(int x0, int y0, int x1, int y1, std::int32_t color)
    {
        const QImage& img = s.Image();
        int n = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                n += img.pixelColor(x, y) == cQtSurface::ToQColor(color) ? 1 : 0;
            }
        }
        return n;
    }
    cQtSurface s;
};

}  // namespace

TEST_F(QtSurfaceTest, LinesLandWhereTheScaleSaysWithPenWidthAndStyle)
{
    s.Line(-50, 20, 50, 20, kRed);
    cPixel p = zvLib::PointToPixel(s, 0, 20);
    EXPECT_EQ(p.y, 30);
    EXPECT_TRUE(is(p.x, p.y, kRed));
    EXPECT_TRUE(is(60, 30, kRed));
    EXPECT_FALSE(is(100, 70, kRed));  // not mirrored: y grows upwards
    EXPECT_EQ(count(0, 0, 199, 99, kRed), count(0, 30, 199, 30, kRed));

    s.DrawWidth(5);
    s.Line(-50, -20, 50, -20, kBlue);  // row 70, five pixels thick
    EXPECT_TRUE(is(100, 68, kBlue));
    EXPECT_TRUE(is(100, 72, kBlue));
    EXPECT_FALSE(is(100, 74, kBlue));

    s.DrawWidth(1);
    s.DrawStyle(2);
    s.Line(-90, 0, 90, 0, kGreen);
    const int dots = count(10, 50, 190, 50, kGreen);
    EXPECT_GT(dots, 20);
    EXPECT_LT(dots, 120);
    s.DrawWidth(3);  // a wider pen is solid whatever the style
    s.Line(-90, 10, 90, 10, kGreen);
    EXPECT_EQ(count(10, 40, 190, 40, kGreen), 181);

    s.DrawWidth(4);
    s.PSet(-80, -40, kRed);  // a round dot about four pixels across
    const int dot = count(14, 84, 26, 96, kRed);
    EXPECT_GE(dot, 9);
    EXPECT_LE(dot, 20);
    EXPECT_TRUE(is(20, 90, kRed));
}

TEST_F(QtSurfaceTest, CirclesAreFilledUnderTheFillStyle)
{
    s.Circle(-50, 0, 20, 0);
    EXPECT_TRUE(is(50, 50, kWhite));  // transparent by default
    EXPECT_TRUE(is(70, 50, 0) || is(69, 50, 0));
    s.FillStyle(0);
    s.FillColor(kGreen);
    s.Circle(50, 0, 20, 0);
    EXPECT_TRUE(is(150, 50, kGreen));
    EXPECT_TRUE(is(150, 35, kGreen));
    EXPECT_TRUE(is(175, 50, kWhite));
    EXPECT_EQ(s.CurrentX(), 50);
}

TEST_F(QtSurfaceTest, ArcsTurnCounterClockwiseInTheWorld)
{
    const double pi = std::numbers::pi;
    const int d = 21;  // 30 / sqrt(2): the arc's point at 45 degrees in each quadrant
    s.Arc(0, 0, 30, kRed, 0, pi / 2);
    EXPECT_GT(count(100 + d - 2, 50 - d - 2, 100 + d + 2, 50 - d + 2, kRed), 0);  // world ++
    EXPECT_EQ(count(100 - d - 2, 50 - d - 2, 100 - d + 2, 50 - d + 2, kRed), 0);
    EXPECT_EQ(count(100 + d - 2, 50 + d - 2, 100 + d + 2, 50 + d + 2, kRed), 0);

    s.Cls();
    s.Arc(0, 0, 30, kBlue, pi / 2, 0);  // wraps through the other three quadrants
    EXPECT_EQ(count(100 + d - 2, 50 - d - 2, 100 + d + 2, 50 - d + 2, kBlue), 0);
    EXPECT_GT(count(100 - d - 2, 50 - d - 2, 100 - d + 2, 50 - d + 2, kBlue), 0);
    EXPECT_GT(count(100 - d - 2, 50 + d - 2, 100 - d + 2, 50 + d + 2, kBlue), 0);
    EXPECT_GT(count(100 + d - 2, 50 + d - 2, 100 + d + 2, 50 + d + 2, kBlue), 0);
}

TEST_F(QtSurfaceTest, PathsAreFilledWithTheBrushAndStrokedWithThePen)
{
    s.FillStyle(0);
    s.FillColor(kBlue);
    s.ForeColor(kRed);
    s.BeginPath();
    s.Polygon({{20, 20}, {60, 20}, {60, 60}, {20, 60}});
    s.EndPath();
    s.FlattenPath();
    EXPECT_TRUE(is(40, 40, kWhite));  // nothing is drawn before the path is filled
    s.StrokeAndFillPath();
    EXPECT_TRUE(is(40, 40, kBlue));
    EXPECT_TRUE(is(20, 40, kRed));
    EXPECT_TRUE(is(70, 40, kWhite));
    s.StrokeAndFillPath();  // the path is gone: nothing more happens
    s.FillStyle(1);
    s.StrokeAndFillPath();
    EXPECT_TRUE(is(40, 40, kBlue));

    // An open figure is closed when filled; outside a path a line is drawn at once.
    s.FillStyle(0);
    s.BeginPath();
    s.MoveToEx(120, 20);
    s.LineToPx(180, 20);
    s.LineToPx(180, 80);
    s.EndPath();
    s.StrokeAndFillPath();
    EXPECT_TRUE(is(170, 25, kBlue));
    EXPECT_FALSE(is(130, 70, kBlue));
    s.MoveToEx(10, 90);
    s.LineToPx(90, 90);
    EXPECT_TRUE(is(50, 90, kRed));
}

TEST_F(QtSurfaceTest, AngleArcSweepsCounterClockwiseOnTheScreen)
{
    s.FillStyle(0);
    s.FillColor(kGreen);
    s.ForeColor(kGreen);
    s.BeginPath();
    s.MoveToEx(60, 50);
    s.AngleArc(60, 50, 30, 0, 90);  // from the right to the top: a quarter pie
    s.EndPath();
    s.StrokeAndFillPath();
    EXPECT_TRUE(is(70, 40, kGreen));
    EXPECT_FALSE(is(70, 60, kGreen));
    EXPECT_FALSE(is(50, 40, kGreen));

    s.BeginPath();
    s.MoveToEx(140, 50);
    s.AngleArc(140, 50, 30, 0, -90);  // a negative sweep turns clockwise: the lower quarter
    s.EndPath();
    s.StrokeAndFillPath();
    EXPECT_TRUE(is(150, 60, kGreen));
    EXPECT_FALSE(is(150, 40, kGreen));
}

TEST_F(QtSurfaceTest, HatchedFillsRunDownwardsForStyleFive)
{
    s.FillStyle(5);
    s.FillColor(kBlue);
    s.Box(-90, 40, -10, -40, kWhite, false);
    int down = 0;
    int up = 0;
    for (int y = 20; y < 80; ++y) {
        for (int x = 20; x < 80; ++x) {
            if (is(x, y, kBlue)) {
                down += is(x + 1, y + 1, kBlue) ? 1 : 0;
                up += is(x + 1, y - 1, kBlue) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(down, 100);
    EXPECT_EQ(up, 0);
}

TEST_F(QtSurfaceTest, ClsPersistenceAndResize)
{
    s.Line(-90, 40, 90, 40, kRed);
    EXPECT_TRUE(is(100, 10, kRed));
    s.Line(-90, -40, 90, -40, kBlue);  // the first line stays after the image was read
    EXPECT_TRUE(is(100, 10, kRed));
    EXPECT_TRUE(is(100, 90, kBlue));
    s.Resize(300, 120);
    EXPECT_EQ(s.Image().width(), 300);
    EXPECT_EQ(s.ClientHeight(), 120);
    EXPECT_TRUE(is(100, 10, kRed));
    EXPECT_TRUE(is(250, 110, kWhite));
    s.BackColor(0x00FFFF);
    s.Cls();
    EXPECT_EQ(count(0, 0, 299, 119, 0x00FFFF), 300 * 120);
}

TEST_F(QtSurfaceTest, TextIsPrintedInTheForeColourBelowAndRightOfThePosition)
{
    s.FontSize(20);
    s.ForeColor(kRed);
    EXPECT_GT(s.TextWidth("HHHH"), s.TextWidth("HH"));
    EXPECT_GT(s.TextWidth("HH"), 0);
    EXPECT_LT(s.TextHeight("HH"), 0);  // y up: the text extends downwards
    const int w = static_cast<int>(s.TextWidth("HHH")) + 1;
    const int h = static_cast<int>(-s.TextHeight("HHH")) + 1;
    s.CurrentX(-90);
    s.CurrentY(40);
    s.Print("HHH", false);
    EXPECT_GT(count(10, 10, 10 + w, 10 + h, kRed), 50);
    EXPECT_EQ(count(0, 0, 199, 99, kRed), count(10, 10, 10 + w, 10 + h, kRed));
    EXPECT_NEAR(s.CurrentX(), -90 + s.TextWidth("HHH"), 1e-9);
}

TEST(QtSurface, ColourValuesAndSystemColours)
{
    EXPECT_EQ(cQtSurface::ToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(cQtSurface::ToQColor(0x123456), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(cQtSurface::ToQColor(static_cast<std::int32_t>(0x80000018)),
              QGuiApplication::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(cQtSurface::ToQColor(static_cast<std::int32_t>(0x8000000D)),
              QGuiApplication::palette().color(QPalette::Highlight));
}

TEST(QtSurface, APrinterPageDrawsButRefusesPixelsPathsAndCls)
{
    QImage page(400, 200, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        cQtSurface printer(&page, true);
        printer.Antialiasing(false);
        EXPECT_FALSE(printer.HasDC());
        EXPECT_EQ(printer.ClientHeight(), 0);
        EXPECT_EQ(printer.DeviceWidth(), 400);
        printer.Scale(0, 100, 200, 0);
        printer.DrawWidth(2);
        printer.Line(10, 50, 190, 50, kRed);
        for (auto call : {+[](cQtSurface& p) { zvLib::PointToPixel(p, 1, 1); },
                          +[](cQtSurface& p) { p.BeginPath(); }, +[](cQtSurface& p) { p.Cls(); }}) {
            try {
                call(printer);
                ADD_FAILURE() << "accepted on a printer";
            } catch (const cError& e) {
                EXPECT_EQ(e.Number(), 438);
            }
        }
        printer.EndDoc();
    }
    EXPECT_EQ(page.pixelColor(200, 100), QColor(255, 0, 0));
}

TEST(QtSurface, PrintsAPdfPageInMillimetres)
{
    testsupport::TempDir dir;
    QPrinter qp(QPrinter::HighResolution);
    qp.setOutputFormat(QPrinter::PdfFormat);
    qp.setOutputFileName(QString::fromStdString(dir.file("page.pdf")));
    qp.setPageSize(QPageSize(QPageSize::A4));
    {
        cQtSurface printer(&qp, true);
        printer.ScaleMode(6);
        EXPECT_NEAR(printer.ScaleWidth(), qp.pageRect(QPrinter::Millimeter).width(), 0.5);
        EXPECT_GT(printer.ScaleHeight(), 250);
        printer.Line(0, 10, printer.ScaleWidth(), 10, 0);
        printer.FontName("Tahoma");
        printer.FontSize(12);
        EXPECT_GT(printer.TextHeight("Circuit map"), 3);  // about 5 mm at 12 points
        EXPECT_LT(printer.TextHeight("Circuit map"), 8);
        printer.Print("Circuit map");
        printer.EndDoc();
    }
    EXPECT_EQ(testsupport::readAll(dir.file("page.pdf")).substr(0, 5), "%PDF-");
}

TEST_F(QtSurfaceTest, InvertedFiguresComeOffWhenDrawnAgainAndWithCls)
{
    s.BackColor(kWhite);
    s.Cls();
    const QImage blank = s.Image().copy();
    s.Line(0, -40, 0, 40, kRed);  // column 100
    const QImage before = s.Image().copy();

    s.InvertLine(-90, 10, 90, 10);  // row 40, solid pen
    EXPECT_EQ(s.Image().pixelColor(100, 40), QColor(0, 255, 255)) << "red turns cyan";
    EXPECT_EQ(s.Image().pixelColor(50, 40), QColor(0, 0, 0)) << "white turns black";
    EXPECT_EQ(s.Image().pixelColor(50, 41), QColor(255, 255, 255));
    s.InvertLine(-90, 10, 90, 10);
    EXPECT_EQ(s.Image(), before) << "the second pass gives the picture back";

    s.DrawStyle(2);
    s.InvertBox(-80, 30, 80, -30);  // rows 20 and 80, columns 20 and 180
    const int dots = count(20, 20, 180, 20, 0x000000);
    EXPECT_GT(dots, 20) << "dotted";
    EXPECT_LT(dots, 150) << "not solid";
    EXPECT_GT(count(20, 80, 180, 80, 0x000000), 20) << "the whole outline";
    EXPECT_EQ(count(30, 30, 170, 70, 0x000000), 0) << "nothing inside";
    s.InvertBox(-80, 30, 80, -30);
    EXPECT_EQ(s.Image(), before);

    // Cls takes away what was inverted where nothing else was drawn.
    s.InvertBox(-80, 30, 80, -30);
    s.Cls();
    EXPECT_EQ(s.Image(), blank);
}
