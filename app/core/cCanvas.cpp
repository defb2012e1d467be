// cCanvas: the view arithmetic (rectangle from width, centre and picture proportions, grid
// step), the drawing of grid, axes and shapes on the bound surface, and the measure tool
// driven by the picture's mouse and key events.
#include "app/core/cCanvas.h"

#include "foundation/NUX_STD_locale.h"
#include "foundation/cSurface.h"
#include "model/zvLib_colors.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The nearest whole number (halves to even), held within 32 bits.
std::int32_t Whole(double v)
{
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(RoundHalfEven(std::clamp(v, kLow, kHigh)));
}

cCanvasShape Circle(double x, double y, double radius, std::int32_t color)
{
    return {"circle", {x, y, radius, static_cast<double>(color)}};
}

} // namespace

cCanvas::cCanvas()
    : gridColor_(zvLib::Colors.ToRGB("gainsboro")),
      labelColor_(zvLib::Colors.ToRGB("gray")),
      xAxisColor_(zvLib::Colors.ToRGB("Tomato")),
      yAxisColor_(zvLib::Colors.ToRGB("PaleGreen"))
{
    shapes_.push_back({});
    shapes_.push_back(Circle(0, 0, 100, 0xFF0000));
    shapes_.push_back(Circle(0, 0, 300, 0xFF));
}

void cCanvas::outdevice(cSurface* device)
{
    m_picture = device;
}

void cCanvas::ViewPort(std::optional<double> width, std::optional<double> centerX,
                       std::optional<double> centerY)
{
    if (width) {
        viewWidth_ = Whole(std::clamp(*width, kMinWidth, kMaxWidth));
    }
    if (centerX) {
        centerX_ = Whole(*centerX);
    }
    if (centerY) {
        centerY_ = Whole(*centerY);
    }
    CalcViewRect();
    Redraw();
}

void cCanvas::GridFont(const std::string& name, std::int16_t size, std::int32_t color)
{
    labelFont_ = name;
    labelSize_ = size;
    labelColor_ = color;
}

void cCanvas::Action(const std::string& name)
{
    const std::string previous = action_;
    if (ActionChange) {
        ActionChange(previous, name);
    }
    action_ = name;
    Pointer(action_ == "measure" ? kCrosshair : kDefaultPointer);
}

std::int32_t cCanvas::GridStep(double viewWidth)
{
    if (viewWidth < 1000) return 50;
    if (viewWidth < 2000) return 100;
    if (viewWidth < 5000) return 250;
    if (viewWidth < 10000) return 500;
    if (viewWidth < 20000) return 1000;
    if (viewWidth < 50000) return 2500;
    if (viewWidth < 100000) return 5000;
    if (viewWidth < 200000) return 10000;
    return 50000;
}

std::string cCanvas::PositionText(double x, double y)
{
    return NUX_STD_library::FormatEx(cVariant(x), "0", 0) + " : " +
           NUX_STD_library::FormatEx(cVariant(y), "0", 0);
}

void cCanvas::CalcViewRect()
{
    const int w = m_picture->ClientWidth();
    const int h = m_picture->ClientHeight();
    // A picture without height has no proportions: the last ones are kept.
    if (h > 0 && w > 0) {
        aspect_ = cFixed::fromDouble(static_cast<double>(w) / h);
    }
    if (aspect_ > cFixed(0)) {
        viewHeight_ = Whole(viewWidth_ / aspect_.toDouble());
    }
    const cFixed halfW = cFixed::fromDouble(viewWidth_ / 2.0);
    const cFixed halfH = cFixed::fromDouble(viewHeight_ / 2.0);
    left_ = cFixed(centerX_) - halfW;
    right_ = halfW + cFixed(centerX_);
    top_ = halfH + cFixed(centerY_);
    bottom_ = cFixed(centerY_) - halfH;
}

void cCanvas::Redraw()
{
    cSurface& p = *m_picture;
    p.BackColor(backColor_);
    p.Cls();
    p.Scale(left_.toDouble(), top_.toDouble(), right_.toDouble(), bottom_.toDouble());
    if (gridOn_) {
        DrawGrid();
    }
    if (axesOn_) {
        p.DrawStyle(0);
        p.DrawWidth(1);
        p.Line(0, top_.toDouble(), 0, bottom_.toDouble(), yAxisColor_);
        p.Line(left_.toDouble(), 0, right_.toDouble(), 0, xAxisColor_);
    }
    for (std::size_t i = 1; i < shapes_.size(); ++i) {
        DrawShape(shapes_[i]);
    }
}

void cCanvas::DrawGrid()
{
    cSurface& p = *m_picture;
    const std::int32_t s = GridStep(viewWidth_);
    p.DrawStyle(0);
    p.DrawWidth(1);
    p.ForeColor(labelColor_);
    p.FontName(labelFont_);
    p.FontSize(labelSize_);
    const double l = left_.toDouble(), r = right_.toDouble();
    const double t = top_.toDouble(), b = bottom_.toDouble();
    const std::int64_t a = RoundHalfEven(l / s), bb = RoundHalfEven(r / s);
    for (std::int64_t i = a; i <= bb; ++i) {
        const double x = static_cast<double>(i * s);
        p.Line(x, t, x, b, gridColor_);
        p.CurrentX(x);
        p.CurrentY(t);
        p.Print(std::to_string(i * s));
    }
    const std::int64_t c = RoundHalfEven(b / s), d = RoundHalfEven(t / s);
    for (std::int64_t i = c; i <= d; ++i) {
        const double y = static_cast<double>(i * s);
        p.Line(l, y, r, y, gridColor_);
        p.CurrentX(l);
        p.CurrentY(y);
        p.Print(std::to_string(i * s));
    }
}

void cCanvas::DrawShape(const cCanvasShape& shape)
{
    const auto& v = shape.values;
    if (shape.kind == "measure") {
        DrawMeasure(cFixed::fromDouble(v[0]), cFixed::fromDouble(v[1]), cFixed::fromDouble(v[2]),
                    cFixed::fromDouble(v[3]), false);
    } else if (shape.kind == "circle") {
        m_picture->Circle(static_cast<float>(v[0]), static_cast<float>(v[1]),
                          static_cast<float>(v[2]), static_cast<std::int32_t>(v[3]));
    }
}

void cCanvas::DrawMeasure(cFixed x1, cFixed y1, cFixed x2, cFixed y2, bool final)
{
    cSurface& p = *m_picture;
    Pointer(kCrosshair);
    p.DrawStyle(0);
    p.DrawWidth(1);
    const double ax = x1.toDouble(), ay = y1.toDouble(), bx = x2.toDouble(), by = y2.toDouble();
    p.Line(ax, ay, bx, by, 0);
    p.FontSize(9);
    p.ForeColor(0);
    const double dist = std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by));
    const std::string text = NUX_STD_library::FormatEx(cVariant(dist), "#,0", 0);
    const double tw = p.TextWidth(text), th = p.TextHeight(text);
    const double mx = (ax + bx) / 2, my = (ay + by) / 2;
    p.Box(mx - tw, my - th, mx + tw, my + th, backColor_, true);
    p.CurrentX(mx - tw / 2);
    p.CurrentY(my - th / 2);
    p.Print(text);
    if (final) {
        shapes_.push_back({"measure", {ax, ay, bx, by}});
    }
}

void cCanvas::Pointer(int pointer)
{
    mousePointer_ = pointer;
    if (SetMousePointer) {
        SetMousePointer(pointer);
    }
}

void cCanvas::pic_MouseDown(double x, double y)
{
    mouseX_ = cFixed::fromDouble(x);
    mouseY_ = cFixed::fromDouble(y);
    if (action_ != "measure") {
        return;
    }
    ++measureClicks_;
    if (measureClicks_ == 1) {
        measureX_ = mouseX_;
        measureY_ = mouseY_;
    } else {
        DrawMeasure(measureX_, measureY_, mouseX_, mouseY_, true);
        measureClicks_ = 0;
    }
}

void cCanvas::pic_MouseMove(double x, double y)
{
    mouseX_ = cFixed::fromDouble(x);
    mouseY_ = cFixed::fromDouble(y);
    if (MousePosition) {
        MousePosition(mouseX_, mouseY_, PositionText(mouseX_.toDouble(), mouseY_.toDouble()));
    }
    if (action_ == "measure" && measureClicks_ == 1) {
        Redraw();
        DrawMeasure(measureX_, measureY_, mouseX_, mouseY_, false);
    }
}

void cCanvas::pic_KeyUp(int keyCode)
{
    if (keyCode == kKeyEscape) {
        measureClicks_ = 0;
        Redraw();
    }
}

void cCanvas::pic_Resize()
{
    CalcViewRect();
    Redraw();
}
