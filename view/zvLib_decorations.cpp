// zvLib, canvas decorations: the coordinate grid whose step follows the zoom, the axes and
// the origin cross under the circuit, and point lists drawn as a polyline or as dots. All
// draw in world units, so their sizes follow the view.
#include "view/zvLib_view.h"

#include "foundation/zvLib_canvas.h"
#include "model/zvLib_colors.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
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

// The visible window: its four edges, and its width, which chooses the grid step.
struct Window {
    cFixed L, T, R, B, W;
};

// The main canvas's visible window. The corners are summed in floating point: a view at the
// number type's edge still gets its grid.
Window VisibleWindow(const cSurface& pic)
{
    Window w;
    w.L = cFixed::fromDouble(pic.ScaleLeft());
    w.T = cFixed::fromDouble(pic.ScaleTop());
    w.W = cFixed::fromDouble(pic.ScaleWidth());
    w.R = cFixed::fromDouble(w.L.toDouble() + w.W.toDouble());
    w.B = cFixed::fromDouble(w.T.toDouble() + cFixed::fromDouble(pic.ScaleHeight()).toDouble());
    return w;
}

// The box a text printed at (x, y) covers, in world units: rightwards by its width and
// downwards by its height from its top-left corner.
struct Box {
    double left, top, right, bottom;
};

// The grid labels of one axis. A label is printed only where it lies whole inside the visible
// window (a label cut at an edge reads as another number) and clear of the label printed
// before it on the same axis (labels run together where the lines lie close).
class AxisLabels {
  public:
    AxisLabels(cSurface& pic, const Window& w) : pic_(pic), w_(w) {}

    // Prints the coordinate v with its top-left corner at (x, y) when it fits there.
    void Print(cFixed v, double x, double y)
    {
        const std::string text = Label(v);
        const Box b{x, y, x + std::abs(pic_.TextWidth(text)), y - std::abs(pic_.TextHeight(text))};
        if (!Inside(b) || (last_ && Overlap(b, *last_))) {
            return;
        }
        pic_.CurrentX(x);
        pic_.CurrentY(y);
        pic_.Print(text);
        last_ = b;
    }

  private:
    bool Inside(const Box& b) const
    {
        return w_.L.toDouble() <= b.left && b.right <= w_.R.toDouble() &&
               w_.B.toDouble() <= b.bottom && b.top <= w_.T.toDouble();
    }
    static bool Overlap(const Box& a, const Box& b)
    {
        return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
    }

    cSurface& pic_;
    Window w_;
    std::optional<Box> last_;
};

// The vertical lines, each with its x printed under the top edge where it fits. The first and
// last lines may lie up to half a step outside the window (the rounding of the edges).
void VerticalLines(cSurface& pic, const Window& w, cFixed s, std::int32_t color)
{
    const double step = s.toDouble();
    AxisLabels labels(pic, w);
    const std::int64_t last = RoundHalfEven(w.R.toDouble() / step);
    for (std::int64_t k = RoundHalfEven(w.L.toDouble() / step); k <= last; ++k) {
        const cFixed x = cFixed::fromWhole(k) * s;
        pic.Line(x.toDouble(), w.T.toDouble(), x.toDouble(), w.B.toDouble(), color);
        labels.Print(x, x.toDouble(), w.T.toDouble());
    }
}

// The horizontal lines, each with its y printed at the left edge where it fits; the x labels
// take the row under the top edge, so a y line within it goes unlabelled.
void HorizontalLines(cSurface& pic, const Window& w, cFixed s, std::int32_t color)
{
    const double step = s.toDouble();
    AxisLabels labels(pic, w);
    const double labelsRow = w.T.toDouble() - std::abs(pic.TextHeight("0"));
    const std::int64_t last = RoundHalfEven(w.T.toDouble() / step);
    for (std::int64_t k = RoundHalfEven(w.B.toDouble() / step); k <= last; ++k) {
        const cFixed y = cFixed::fromWhole(k) * s;
        pic.Line(w.L.toDouble(), y.toDouble(), w.R.toDouble(), y.toDouble(), color);
        if (y.toDouble() <= labelsRow) {
            labels.Print(y, w.L.toDouble(), y.toDouble());
        }
    }
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
    const Window w = VisibleWindow(pic);
    const cFixed s = GridStep(w.W);
    const std::int32_t line = Colors.ToRGB("gainsboro");

    pic.Cls();
    pic.DrawStyle(0);
    pic.DrawWidth(1);
    pic.ForeColor(Colors.ToRGB("gray"));
    pic.FontName(kLabelFont);
    pic.FontSize(kLabelSize);
    pic.FontBold(false);
    VerticalLines(pic, w, s, line);
    HorizontalLines(pic, w, s, line);
    pic.Line(w.L.toDouble(), 0, w.R.toDouble(), 0, Colors.ToRGB("Tomato"));
    pic.Line(0, w.T.toDouble(), 0, w.B.toDouble(), kGreen);
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
