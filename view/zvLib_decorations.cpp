// zvLib, canvas decorations: the coordinate grid whose step follows the zoom, the axes and
// the origin cross under the circuit, and point lists drawn as a polyline or as dots. All
// draw in world units, so their sizes follow the view.
#include "view/zvLib_view.h"

#include "foundation/zvLib_canvas.h"
#include "model/zvLib_colors.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

// Pure green and pure red, the colours of the y axis and of the origin cross.
constexpr std::int32_t kGreen = 0xFF00;
constexpr std::int32_t kRed = 0xFF;

// The grid labels' font: the canvas's own (that of a new picture box), whatever font a text
// drawn before has left on it.
constexpr const char* kLabelFont = "Sans Serif";
constexpr double kLabelSize = 8.25;

// A grid coordinate as the canvas prints a number: a blank in place of the sign when it is
// not negative.
std::string Label(cFixed v)
{
    return v < cFixed(0) ? v.str() : " " + v.str();
}

// True when a grid line lies within the visible window along its axis. The first and last
// lines may lie up to half a step outside; their labels would show cut by the window's edge
// and read as another number, so they go unlabelled.
bool Within(cFixed v, cFixed low, cFixed high)
{
    return low <= v && v <= high;
}

} // namespace

namespace zvLib {

cFixed GridStep(cFixed visibleWidth)
{
    struct Band {
        int below;
        int step;
    };
    static constexpr std::array<Band, 8> kBands = {{{1000, 50},
                                                    {2000, 100},
                                                    {5000, 250},
                                                    {10000, 500},
                                                    {20000, 1000},
                                                    {50000, 2500},
                                                    {100000, 5000},
                                                    {200000, 10000}}};
    for (const Band& b : kBands) {
        if (visibleWidth < cFixed(b.below)) {
            return cFixed(b.step);
        }
    }
    return cFixed(50000);
}

void DrawGrid()
{
    cSurface& pic = Need(MainPic, "main canvas");
    // The corners are summed in floating point: a view at the number type's edge still gets
    // its grid.
    const cFixed L = cFixed::fromDouble(pic.ScaleLeft());
    const cFixed T = cFixed::fromDouble(pic.ScaleTop());
    const cFixed W = cFixed::fromDouble(pic.ScaleWidth());
    const cFixed R = cFixed::fromDouble(L.toDouble() + W.toDouble());
    const cFixed B =
        cFixed::fromDouble(T.toDouble() + cFixed::fromDouble(pic.ScaleHeight()).toDouble());
    const cFixed s = GridStep(W);
    const double step = s.toDouble();
    const std::int32_t line = Colors.ToRGB("gainsboro");

    pic.Cls();
    pic.DrawStyle(0);
    pic.DrawWidth(1);
    pic.ForeColor(Colors.ToRGB("gray"));
    pic.FontName(kLabelFont);
    pic.FontSize(kLabelSize);
    pic.FontBold(false);
    const std::int64_t lastX = RoundHalfEven(R.toDouble() / step);
    for (std::int64_t k = RoundHalfEven(L.toDouble() / step); k <= lastX; ++k) {
        const cFixed x = cFixed::fromWhole(k) * s;
        pic.Line(x.toDouble(), T.toDouble(), x.toDouble(), B.toDouble(), line);
        if (Within(x, L, R)) {
            pic.CurrentX(x.toDouble());
            pic.CurrentY(T.toDouble());
            pic.Print(Label(x));
        }
    }
    // The x labels take the row under the top edge; a y line within it goes unlabelled.
    const double labelsRow = T.toDouble() - std::abs(pic.TextHeight("0"));
    const std::int64_t lastY = RoundHalfEven(T.toDouble() / step);
    for (std::int64_t k = RoundHalfEven(B.toDouble() / step); k <= lastY; ++k) {
        const cFixed y = cFixed::fromWhole(k) * s;
        pic.Line(L.toDouble(), y.toDouble(), R.toDouble(), y.toDouble(), line);
        if (Within(y, B, T) && y.toDouble() <= labelsRow) {
            pic.CurrentX(L.toDouble());
            pic.CurrentY(y.toDouble());
            pic.Print(Label(y));
        }
    }
    pic.Line(L.toDouble(), 0, R.toDouble(), 0, Colors.ToRGB("Tomato"));
    pic.Line(0, T.toDouble(), 0, B.toDouble(), kGreen);
}

void DrawCross()
{
    cSurface& pic = Need(MainPic, "main canvas");
    const double a = static_cast<double>(RoundHalfEven(pic.ScaleHeight() / 120.0));
    pic.DrawWidth(1);
    pic.Line(-a, 0, a, 0, kRed);
    pic.Line(0, -a, 0, a, kRed);
}

void DrawPolyline(cSurface& surface, const std::vector<zvPoint>& points, std::int32_t color,
                  std::int16_t width)
{
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        surface.DrawWidth(width);
        surface.Line(points[i].x.toDouble(), points[i].y.toDouble(), points[i + 1].x.toDouble(),
                     points[i + 1].y.toDouble(), color);
    }
}

void DrawPoints(cSurface& surface, const std::vector<zvPoint>& points, std::int32_t color,
                std::int16_t width)
{
    for (const zvPoint& p : points) {
        surface.DrawWidth(width);
        surface.PSet(p.x.toDouble(), p.y.toDouble(), color);
    }
}

} // namespace zvLib
