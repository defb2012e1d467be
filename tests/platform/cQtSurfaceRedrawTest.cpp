// Redrawing on the Qt surface: Cls clears only where the last drawing went, which must leave
// the image exactly as a fresh one, and rectangles on the pixel grid filled as rectangles must
// take the pixels a path fill takes.
#include "platform/cQtSurface.h"

#include "platform/QtReference.h"

#include <QPainterPath>
#include <QPolygonF>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The fixture of this file's tests, with and without smoothing.
class QtRedrawTest : public QtReferenceFixture {
protected:
    // A surface like the fixture's that has only been cleared.
    static QImage blank(bool smooth, std::int32_t back = 0xFFFFFF)
    {
        cQtSurface fresh(kWidth, kHeight);
        fresh.Antialiasing(smooth);
        fresh.BackColor(back);
        fresh.Cls();
        return fresh.Image();
    }
    // Everything the mixed drawing leaves on a surface like the fixture's drawn at once.
    static QImage drawnOnce(bool smooth)
    {
        cQtSurface fresh(kWidth, kHeight);
        fresh.Antialiasing(smooth);
        fresh.ScaleMode(3);
        fresh.Cls();
        for (const Step& step : mixedDrawing(smooth)) {
            step(fresh);
        }
        return fresh.Image();
    }
};

// The corners of a rectangle from its top-left corner and size, starting at a given corner
// and running either way round.
std::vector<cPixel> corners(int x, int y, int w, int h, int first, bool clockwise)
{
    std::vector<cPixel> ring = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
    std::vector<cPixel> out;
    for (int i = 0; i < 4; ++i) {
        const int k = clockwise ? first + i : first - i;
        out.push_back(ring[static_cast<std::size_t>((k % 4 + 4) % 4)]);
    }
    return out;
}

// The same corners as a closed Qt polygon.
QPolygonF qpolygon(const std::vector<cPixel>& points)
{
    QPolygonF poly;
    for (const cPixel& p : points) {
        poly << QPointF(p.x, p.y);
    }
    return poly;
}

}  // namespace

TEST_P(QtRedrawTest, ClsLeavesTheImageAsNewAndTheNextDrawingAsTheFirst)
{
    for (const Step& step : mixedDrawing(smooth())) {
        step(s);
    }
    EXPECT_GT(pixelsDiffering(s.Image(), blank(smooth())), 3000);
    s.Cls();
    EXPECT_EQ(pixelsDiffering(s.Image(), blank(smooth())), 0);
    for (const Step& step : mixedDrawing(smooth())) {
        step(s);
    }
    EXPECT_EQ(pixelsDiffering(s.Image(), drawnOnce(smooth())), 0);
    s.Cls();
    EXPECT_EQ(pixelsDiffering(s.Image(), blank(smooth())), 0);
}

TEST_P(QtRedrawTest, ClsInAnotherColourClearsTheWholeImage)
{
    s.DrawWidth(3);
    s.Line(10, 10, 30, 12, 0x0000FF);
    s.BackColor(0x00FFFF);
    s.Cls();
    EXPECT_EQ(pixelsDiffering(s.Image(), blank(smooth(), 0x00FFFF)), 0);
    s.Line(200, 100, 220, 110, 0x0000FF);
    s.Cls();
    EXPECT_EQ(pixelsDiffering(s.Image(), blank(smooth(), 0x00FFFF)), 0);
    s.BackColor(0xFFFFFF);
    s.Cls();
    EXPECT_EQ(pixelsDiffering(s.Image(), blank(smooth())), 0);
}

TEST_P(QtRedrawTest, ClsAfterAResizeClearsTheOldAndTheNewArea)
{
    s.Resize(kWidth / 2, kHeight / 2);
    s.ScaleMode(3);
    s.DrawWidth(5);
    s.Line(100, 50, 130, 70, 0x0000FF);  // the corner and beyond
    s.Resize(kWidth, kHeight);
    s.Line(200, 100, 230, 110, 0x0000FF);
    s.Cls();
    EXPECT_EQ(pixelsDiffering(s.Image(), blank(smooth())), 0);
}

TEST_P(QtRedrawTest, RectanglesOnThePixelGridFillAsTheirPaths)
{
    struct Case {
        std::vector<cPixel> points;
        int fillStyle;
        int width;
    };
    std::vector<Case> cases;
    for (int first = 0; first < 4; ++first) {
        for (bool clockwise : {true, false}) {
            cases.push_back({corners(8 + first * 56, clockwise ? 6 : 40, 40, 25, first, clockwise),
                             0, 1});
        }
    }
    cases.push_back({corners(10, 80, 30, 1, 0, true), 0, 1});   // one row high
    cases.push_back({corners(50, 80, 0, 20, 0, true), 0, 1});   // no width at all
    cases.push_back({corners(70, 80, 30, 30, 2, false), 0, 3});  // a wider pen
    cases.push_back({corners(110, 80, 30, 30, 0, true), 5, 1});  // hatched
    cases.push_back({{{150, 80}, {190, 82}, {188, 110}, {152, 108}}, 0, 1});  // no rectangle
    cases.push_back({corners(200, 80, 30, 30, 1, true), 0, 1});
    cases.back().points.push_back(cases.back().points.front());  // the first corner again

    QPainter p;
    begin(p);
    const QColor fill = cQtSurface::ToQColor(0xC0C0C0);
    const QColor edge = cQtSurface::ToQColor(0x000080);
    for (const Case& c : cases) {
        s.FillStyle(c.fillStyle);
        s.FillColor(0xC0C0C0);
        s.ForeColor(0x000080);
        s.DrawWidth(c.width);
        s.BeginPath();
        s.Polygon(c.points);
        s.EndPath();
        s.FlattenPath();
        s.StrokeAndFillPath();

        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.addPolygon(qpolygon(c.points));
        path.closeSubpath();
        QPen pen(edge);
        pen.setWidth(c.width);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(c.fillStyle == 0 ? QBrush(fill) : QBrush(fill, Qt::FDiagPattern));
        p.drawPath(path);
    }
    // A rectangle drawn as moves and lines.
    s.FillStyle(0);
    s.DrawWidth(1);
    s.BeginPath();
    s.MoveToEx(120, 112);
    s.LineToPx(120, 118);
    s.LineToPx(230, 118);
    s.LineToPx(230, 112);
    s.EndPath();
    s.StrokeAndFillPath();
    QPainterPath path(QPointF(120, 112));
    path.setFillRule(Qt::OddEvenFill);
    path.lineTo(120, 118);
    path.lineTo(230, 118);
    path.lineTo(230, 112);
    path.closeSubpath();
    QPen pen(edge);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(fill);
    p.drawPath(path);
    p.end();
    EXPECT_GT(ink(), 8000);
    EXPECT_EQ(differences(), 0);
}

INSTANTIATE_TEST_SUITE_P(Painting, QtRedrawTest, qtReferenceParams(), qtReferenceName);
