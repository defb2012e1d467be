// The Qt surface compared pixel for pixel with the plain QPainter calls it stands for: the
// caches and shortcuts that make it fast must leave every pixel as a direct drawing leaves it.
#include "platform/cQtSurface.h"

#include "platform/QtReference.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

// The fixture of this file's tests, with and without smoothing.
class QtReferenceTest : public QtReferenceFixture {};

struct Font {
    const char* name;
    double size;
    bool bold;
};

QFont qfont(const Font& f)
{
    QFont q(QString::fromUtf8(f.name));
    q.setPointSizeF(f.size);
    q.setBold(f.bold);
    return q;
}

}  // namespace

TEST_P(QtReferenceTest, PrintedTextMatchesDrawTextAtItsAscent)
{
    const std::vector<Font> fonts = {
        {"Sans Serif", 8, false}, {"Sans Serif", 8, true}, {"Sans Serif", 12.5, false}};
    // Piece codes, a text with spaces and one outside ASCII; each is printed twice, the second
    // time from what the first left in the caches.
    const std::vector<std::string> texts = {"S350", "C45(L)", "W 350", "\xC3\x84gj\xC3\xA9"};
    QPainter p;
    begin(p);
    double y = 3.3;
    for (const Font& f : fonts) {
        const QFont q = qfont(f);
        const QFontMetricsF fm(q, &ref);
        p.setFont(q);
        double x = 2.6;
        for (int pass = 0; pass < 2; ++pass) {
            for (const std::string& t : texts) {
                const std::int32_t color = pass == 0 ? 0x0000FF : 0x804000;
                p.setPen(cQtSurface::ToQColor(color));
                p.drawText(QPointF(x, y + fm.ascent()), QString::fromStdString(t));
                s.FontName(f.name);
                s.FontSize(f.size);
                s.FontBold(f.bold);
                s.ForeColor(color);
                s.CurrentX(x);
                s.CurrentY(y);
                s.Print(t, false);
                EXPECT_DOUBLE_EQ(s.CurrentX(), x + fm.horizontalAdvance(QString::fromStdString(t)));
                x += 28.37;
            }
            y += 0.45;  // a second pass a fraction of a pixel lower
        }
        y += fm.height() + 1.1;
    }
    p.end();
    EXPECT_GT(ink(), 300);
    EXPECT_EQ(differences(), 0);
}

TEST_P(QtReferenceTest, TextMeasuresFollowTheCurrentFont)
{
    const QFont plain = qfont({"Sans Serif", 8, false});
    const QFont bold = qfont({"Sans Serif", 8, true});
    const QFont large = qfont({"Sans Serif", 20, false});
    const QString code = QStringLiteral("W350(F)");
    s.FontSize(8);
    EXPECT_DOUBLE_EQ(s.TextWidth("W350(F)"), QFontMetricsF(plain, &ref).horizontalAdvance(code));
    EXPECT_DOUBLE_EQ(s.TextHeight("W350(F)"), QFontMetricsF(plain, &ref).height());
    s.FontBold(true);
    EXPECT_DOUBLE_EQ(s.TextWidth("W350(F)"), QFontMetricsF(bold, &ref).horizontalAdvance(code));
    s.FontBold(false);
    s.FontSize(20);
    EXPECT_DOUBLE_EQ(s.TextWidth("W350(F)"), QFontMetricsF(large, &ref).horizontalAdvance(code));
    EXPECT_DOUBLE_EQ(s.TextHeight("W350(F)"), QFontMetricsF(large, &ref).height());
    s.FontSize(8);
    EXPECT_DOUBLE_EQ(s.TextWidth("W350(F)"), QFontMetricsF(plain, &ref).horizontalAdvance(code));
    EXPECT_DOUBLE_EQ(s.TextWidth("S3"), QFontMetricsF(plain, &ref).horizontalAdvance("S3"));
    // Under a user scale the measures follow it.
    s.Scale(0, 0, kWidth * 10.0, kHeight * -10.0);
    EXPECT_NEAR(s.TextWidth("S3"), 10 * QFontMetricsF(plain, &ref).horizontalAdvance("S3"), 1e-4);
    EXPECT_NEAR(s.TextHeight("S3"), -10 * QFontMetricsF(plain, &ref).height(), 1e-4);
}

TEST_P(QtReferenceTest, DrawingAtOneGoMatchesDrawingStepByStep)
{
    // The second surface reads its image after every step, which ends its painter: each step
    // starts from Qt's default pen and brush and every line is drawn at once.
    cQtSurface stepwise(kWidth, kHeight);
    stepwise.Antialiasing(smooth());
    stepwise.ScaleMode(3);
    stepwise.Cls();
    for (const Step& step : mixedDrawing(smooth())) {
        step(s);
        step(stepwise);
        stepwise.Image();
    }
    ref = stepwise.Image();
    EXPECT_GT(ink(), 3000);
    EXPECT_EQ(differences(), 0);
}

TEST_P(QtReferenceTest, ShapesReachingInFromOutsideTheImageAreDrawn)
{
    QPainter p;
    begin(p);
    const QColor red = cQtSurface::ToQColor(0x0000FF);
    // A wide line above the top edge whose pen reaches into the first row.
    s.DrawWidth(9);
    s.Line(-50, -3, 300, -2, 0x0000FF);
    QPen wide(red);
    wide.setWidth(9);
    wide.setJoinStyle(Qt::RoundJoin);
    wide.setCapStyle(Qt::RoundCap);
    p.setPen(wide);
    p.drawLine(QLineF(-50, -3, 300, -2));
    // A filled circle whose centre lies left of the image.
    s.DrawWidth(1);
    s.FillStyle(0);
    s.FillColor(0x00C000);
    s.Circle(-10, 60, 15, 0x0000FF);
    QPen thin(red);
    thin.setJoinStyle(Qt::RoundJoin);
    thin.setCapStyle(Qt::RoundCap);
    p.setPen(thin);
    p.setBrush(cQtSurface::ToQColor(0x00C000));
    p.drawEllipse(QPointF(-10, 60), 15, 15);
    // An arc round a centre below the image, turning from 0 to 180 degrees in user units
    // (y down here), which is clockwise on the screen.
    s.Arc(120, 130, 20, 0x0000FF, 0, std::numbers::pi);
    QPainterPath arc;
    arc.arcMoveTo(QRectF(100, 110, 40, 40), 0);
    arc.arcTo(QRectF(100, 110, 40, 40), 0, -180);
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    // A text starting left of the image.
    s.FontSize(12);
    s.ForeColor(0x0000FF);
    s.CurrentX(-9.5);
    s.CurrentY(30);
    s.Print("W350");
    QFont f(QStringLiteral("Sans Serif"));
    f.setPointSizeF(12);
    p.setFont(f);
    p.drawText(QPointF(-9.5, 30 + QFontMetricsF(f, &ref).ascent()), QStringLiteral("W350"));
    // Shapes wholly outside draw nothing.
    s.Line(-40, -40, 300, -40, 0x0000FF);
    s.Circle(400, 60, 15, 0x0000FF);
    p.end();
    EXPECT_GT(ink(), 300);
    EXPECT_EQ(differences(), 0);
}

namespace {

// Segments of a lane-like polyline and a few single ones, at angles from flat to steep.
std::vector<QLineF> laneSegments()
{
    std::vector<QLineF> lines;
    QPointF at(8.3, 20.6);
    for (int i = 0; i < 12; ++i) {
        const QPointF next = at + QPointF(17.1, (i % 4 - 1.5) * 3.7);
        lines.emplace_back(at, next);
        at = next;
    }
    for (int i = 0; i < 8; ++i) {
        const double a = i * 0.41;
        const QPointF c(30.5 + i * 26.2, 75.25);
        lines.emplace_back(c, c + 19.0 * QPointF(std::cos(a), std::sin(a)));
    }
    return lines;
}

// The pen of a segment as Qt is asked for it: width, solid, round joins, the given cap.
QPen segmentPen(std::int32_t color, int width, Qt::PenCapStyle cap)
{
    QPen pen(cQtSurface::ToQColor(color));
    pen.setWidth(width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(cap);
    return pen;
}

}  // namespace

TEST_P(QtReferenceTest, TwoPixelSegmentsOnAnImageEndInSquareCaps)
{
    QPainter p;
    begin(p);
    const auto lines = laneSegments();
    s.DrawWidth(2);
    p.setPen(segmentPen(0x0000FF, 2, Qt::SquareCap));
    for (const QLineF& l : lines) {
        s.Line(l.x1(), l.y1(), l.x2(), l.y2(), 0x0000FF);
        p.drawLine(l);
    }
    // Dashes of a wider pen are drawn solid, so they end alike.
    s.DrawStyle(1);
    s.Line(10.5, 110.5, 200.5, 104.2, 0xFF0000);
    p.setPen(segmentPen(0xFF0000, 2, Qt::SquareCap));
    p.drawLine(QLineF(10.5, 110.5, 200.5, 104.2));
    // Wider pens keep their round caps.
    s.DrawStyle(0);
    s.DrawWidth(3);
    s.Line(10.5, 95.5, 200.5, 90.2, 0x008000);
    p.setPen(segmentPen(0x008000, 3, Qt::RoundCap));
    p.drawLine(QLineF(10.5, 95.5, 200.5, 90.2));
    p.end();
    EXPECT_GT(ink(), 1000);
    EXPECT_EQ(differences(), 0);
}

TEST_P(QtReferenceTest, APrinterPageKeepsRoundCapsOnTwoPixelSegments)
{
    // An image standing in for a printer page: the surface draws on it as on any printer.
    ref.fill(Qt::white);
    QImage page(kWidth, kHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        cQtSurface printer(&page, true);
        printer.Antialiasing(smooth());
        printer.ScaleMode(3);
        printer.DrawWidth(2);
        for (const QLineF& l : laneSegments()) {
            printer.Line(l.x1(), l.y1(), l.x2(), l.y2(), 0x0000FF);
        }
        printer.EndDoc();
    }
    QPainter p;
    begin(p);
    p.setPen(segmentPen(0x0000FF, 2, Qt::RoundCap));
    for (const QLineF& l : laneSegments()) {
        p.drawLine(l);
    }
    p.end();
    EXPECT_GT(ink(), 500);
    EXPECT_EQ(pixelsDiffering(page, ref), 0);
}

INSTANTIATE_TEST_SUITE_P(Painting, QtReferenceTest, qtReferenceParams(), qtReferenceName);
