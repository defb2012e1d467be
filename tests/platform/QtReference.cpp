// The reference tests' shared pieces: pixel counts and the mixed drawing.
#include "platform/QtReference.h"

int pixelsDiffering(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return n;
}

int QtReferenceFixture::ink() const
{
    int n = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            n += ref.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    return n;
}

std::vector<Step> mixedDrawing(bool smooth)
{
    return {
        [](cQtSurface& s) { s.Line(10, 10, 100, 12, 0x0000FF); },
        [](cQtSurface& s) { s.LineTo(120, 60, 0x0000FF); },
        [](cQtSurface& s) { s.LineTo(20, 90, 0xFF0000); },  // same pen, other colour
        [](cQtSurface& s) { s.LineTo(70, 20, 0x000000); },
        [](cQtSurface& s) {
            s.FillStyle(0);
            s.FillColor(0x00C000);
            s.Box(30, 5, 80, 70, 0x000000, false);  // the same pen; it covers the lines
        },
        [](cQtSurface& s) { s.Line(5, 40, 200, 45, 0x00FFFF); },
        [](cQtSurface& s) { s.DrawWidth(3); },
        [](cQtSurface& s) { s.Line(5, 50, 200, 52, 0x00FFFF); },  // same colour, wider
        [](cQtSurface& s) { s.LineTo(150, 100, 0x00FFFF); },
        [](cQtSurface& s) {
            s.DrawWidth(1);
            s.DrawStyle(2);
        },
        [](cQtSurface& s) { s.Line(10, 100, 230, 95, 0x800080); },
        [](cQtSurface& s) { s.DrawStyle(0); },
        [](cQtSurface& s) { s.Line(10, 102, 230, 97, 0x800080); },  // the same, solid
        [](cQtSurface& s) {
            s.FillStyle(5);  // the box's fill colour, hatched
            s.Circle(160, 40, 30, 0x000000);
        },
        [](cQtSurface& s) { s.Line(130, 10, 200, 80, 0x000000); },
        [](cQtSurface& s) {
            s.ForeColor(0x0000C0);
            s.CurrentX(100);
            s.CurrentY(30);
            s.Print("S350");
        },
        [](cQtSurface& s) { s.Line(100, 36, 140, 36, 0x000000); },  // across the text
        [](cQtSurface& s) {
            s.DrawWidth(4);
            s.PSet(60, 100, 0x00FF00);
        },
        [](cQtSurface& s) { s.Line(60, 95, 60, 110, 0x00FF00); },
        [](cQtSurface& s) { s.DrawWidth(1); },
        [](cQtSurface& s) { s.Line(58, 95, 58, 110, 0x00FF00); },
        [](cQtSurface& s) { s.Arc(200, 60, 25, 0xFF00FF, 0.5, 4.0); },
        [](cQtSurface& s) { s.Line(170, 60, 235, 60, 0xFF00FF); },
        [](cQtSurface& s) {
            s.FillStyle(0);
            s.FillColor(0xC0C0C0);
            s.ForeColor(0x404040);
            s.BeginPath();
            s.Polygon({{90, 60}, {140, 70}, {120, 110}, {85, 100}});
            s.EndPath();
            s.FlattenPath();
            s.StrokeAndFillPath();
        },
        [](cQtSurface& s) { s.Line(80, 80, 150, 85, static_cast<std::int32_t>(0x80000008)); },
        [](cQtSurface& s) {
            s.MoveToEx(5, 5);
            s.LineToPx(230, 20);
        },
        [](cQtSurface& s) { s.Line(5, 8, 230, 23, 0x404040); },
        [](cQtSurface& s) {
            QImage picture(12, 9, QImage::Format_RGB32);
            picture.fill(Qt::darkCyan);
            s.PaintPicture(picture, 228, 0);  // into the top right corner
        },
        [smooth](cQtSurface& s) { s.Antialiasing(!smooth); },
        [](cQtSurface& s) { s.Line(5, 115, 230, 105, 0x0000FF); },
        [smooth](cQtSurface& s) { s.Antialiasing(smooth); },
        [](cQtSurface& s) { s.Line(5, 118, 230, 108, 0x0000FF); },
    };
}

