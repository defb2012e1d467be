// zvLib, the canvas view: centring, zooming and fitting work on the main canvas's user scale,
// every corner rounded to four decimals and the height always the width times the canvas's
// aspect ratio; the scroll bars follow the circuit's extent and the view's centre.
#include "view/zvLib_view.h"

#include "foundation/cError.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvCircuit.h"
#include "platform/cScrollBar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

namespace {

cSurface& Canvas()
{
    return zvLib::Need(zvLib::MainPic, "main canvas");
}

double Round4(double v)
{
    return cFixed::fromDouble(v).toDouble();
}

// The canvas's height over its width, or nothing for a canvas without area.
std::optional<double> Aspect(const cSurface& pic)
{
    if (pic.DeviceWidth() <= 0 || pic.DeviceHeight() <= 0) {
        return std::nullopt;
    }
    return static_cast<double>(pic.DeviceHeight()) / pic.DeviceWidth();
}

// The view of the given width centred on (x, y) with the aspect ratio a, corners rounded to
// four decimals.
void ShowCentred(cSurface& pic, double a, double width, double x, double y)
{
    pic.Scale(Round4(x - width / 2), Round4(y + a * width / 2), Round4(x + width / 2),
              Round4(y - a * width / 2));
}

// How far, in pixels from the canvas's corner, a drawn point may land: well inside the 32 bits
// of the pixel conversion, leaving room for outlines and rounding.
constexpr double kPixelReach = 1 << 30;

// The narrowest view centred on (x, y), with the aspect ratio a, on which every point the
// canvas draws (the circuit's extent and the origin cross) still lands within the pixel reach.
double NarrowestFitting(const cSurface& pic, double a, double x, double y)
{
    double xlo = 0, xhi = 0, ylo = 0, yhi = 0;
    if (const auto circuit = zvLib::Circuit()) {
        const std::array<cFixed, 6> e = circuit->GetExtent();
        xlo = std::min(xlo, e[0].toDouble());
        ylo = std::min(ylo, e[1].toDouble());
        xhi = std::max(xhi, e[2].toDouble());
        yhi = std::max(yhi, e[3].toDouble());
    }
    const double dx = std::max(std::fabs(xlo - x), std::fabs(xhi - x));
    const double dy = std::max(std::fabs(ylo - y), std::fabs(yhi - y));
    const double cw = std::max(pic.ClientWidth(), 1);
    const double ch = std::max(pic.ClientHeight(), 1);
    // A point dx from the centre lies at most dx + width / 2 from the left edge, which is
    // (dx + width / 2) * cw / width pixels: within the reach while the width is at least
    // dx * cw / (reach - cw / 2); likewise down, with the height a * width.
    const double across = dx * cw / (kPixelReach - cw / 2);
    const double down = dy * ch / (a * (kPixelReach - ch / 2));
    return std::max(across, down);
}

// The width, widened where the canvas could not draw the circuit at it.
double FittingWidth(const cSurface& pic, double a, double width, double x, double y)
{
    return std::max(width, NarrowestFitting(pic, a, x, y));
}

// Gives a 16-bit property the nearest whole number (halves to even); a value beyond 16 bits,
// or one the bar refuses, leaves the property as it was.
void Assign(double v, const std::function<void(std::int16_t)>& set)
{
    const std::int64_t r = RoundHalfEven(v);
    if (r < std::numeric_limits<std::int16_t>::min() ||
        r > std::numeric_limits<std::int16_t>::max()) {
        return;
    }
    try {
        set(static_cast<std::int16_t>(r));
    } catch (const cError&) {
        // A refused property keeps its value; the others are still set.
    }
}

} // namespace

namespace zvLib {

void CenterView(float x, float y)
{
    cSurface& pic = Canvas();
    const std::optional<double> aspect = Aspect(pic);
    if (!aspect) {
        return;
    }
    const double a = Round4(*aspect);
    ShowCentred(pic, a, FittingWidth(pic, a, pic.ScaleWidth(), x, y), x, y);
}

void SetZoom(std::optional<double> width, std::optional<double> x, std::optional<double> y)
{
    cSurface& pic = Canvas();
    const std::optional<double> aspect = Aspect(pic);
    if (!aspect) {
        return;
    }
    double w = width.value_or(pic.ScaleWidth());
    if (w < kMinViewWidth) {
        w = kMinViewWidth;
    } else if (w > kMaxViewWidth) {
        w = kMaxViewWidth;
    }
    const double cx = x.value_or(static_cast<double>(pic.ScaleLeft()) + pic.ScaleWidth() / 2.0);
    const double cy = y.value_or(static_cast<double>(pic.ScaleTop()) + pic.ScaleHeight() / 2.0);
    const double a = Round4(*aspect);
    ShowCentred(pic, a, FittingWidth(pic, a, w, cx, cy), cx, cy);
    UpdateScrollBars();
}

void ZoomBy(cFixed factor)
{
    if (factor.isZero()) {
        factor = cFixed(1);
    } else if (factor < cFixed(0)) {
        factor = cFixed(1) / factor.abs();
    }
    SetZoom(factor.toDouble() * Canvas().ScaleWidth());
    if (const auto circuit = Circuit()) {
        circuit->Draw();
    }
}

void ZoomExtents()
{
    const auto circuit = Circuit();
    if (!circuit) {
        return;
    }
    const std::optional<double> aspect = Aspect(Canvas());
    if (!aspect) {
        return;
    }
    const std::array<cFixed, 6> e = circuit->GetExtent();
    const double w = e[4].toDouble();
    const double h = e[5].toDouble();
    // Nothing to fit (no piece, no object, no drawing, or all of them on one point): the view
    // of a new circuit, without a margin, rather than the narrowest view on an empty spot.
    const bool empty = w == 0 && h == 0;
    const double width = empty ? kNewCircuitWidth : (h / *aspect > w ? h / *aspect : w);
    // A fit that cannot be drawn leaves the view it found.
    const zvViewRect before = ViewRect();
    try {
        SetZoom(width, (e[0].toDouble() + e[2].toDouble()) / 2,
                (e[1].toDouble() + e[3].toDouble()) / 2);
        ZoomBy(empty ? cFixed(1) : cFixed::fromRaw(11000));
    } catch (const cError&) {
        ViewRect(before);
        UpdateScrollBars();
        throw;
    }
}

void UpdateScrollBars()
{
    const auto circuit = Circuit();
    if (!circuit || MainPic == nullptr || HScroll == nullptr || VScroll == nullptr) {
        return;
    }
    const cSurface& pic = *MainPic;
    // Summed in floating point: a view at the number type's edge still gives its corners.
    const double left = pic.ScaleLeft();
    const double top = pic.ScaleTop();
    const cFixed L = cFixed::fromDouble(left);
    const cFixed R = cFixed::fromDouble(left + cFixed::fromDouble(pic.ScaleWidth()).toDouble());
    const cFixed T = cFixed::fromDouble(top);
    const cFixed B = cFixed::fromDouble(top + cFixed::fromDouble(pic.ScaleHeight()).toDouble());
    if (circuit->GetLength() == 0) {
        return;
    }
    const std::array<cFixed, 6> e = circuit->GetExtent();
    const cFixed xmin = e[0], ymin = e[1], xmax = e[2], ymax = e[3];
    cScrollBar& h = *HScroll;
    cScrollBar& v = *VScroll;
    if (!(xmin < L || ymax > T || xmax > R || ymin < B)) {
        h.Enabled(false);
        v.Enabled(false);
        return;
    }
    const double w = e[4].toDouble();
    const double hh = std::fabs(e[5].toDouble());
    Assign(xmin.toDouble(), [&](std::int16_t r) { h.Min(r); });
    Assign(xmax.toDouble(), [&](std::int16_t r) { h.Max(r); });
    Assign((L.toDouble() + R.toDouble()) / 2, [&](std::int16_t r) { h.Value(r); });
    Assign(w / 100, [&](std::int16_t r) { h.SmallChange(r); });
    Assign(w / 10, [&](std::int16_t r) { h.LargeChange(r); });
    Assign(ymax.toDouble(), [&](std::int16_t r) { v.Min(r); });
    Assign(ymin.toDouble(), [&](std::int16_t r) { v.Max(r); });
    Assign((T.toDouble() + B.toDouble()) / 2, [&](std::int16_t r) { v.Value(r); });
    Assign(hh / 100, [&](std::int16_t r) { v.SmallChange(r); });
    Assign(hh / 10, [&](std::int16_t r) { v.LargeChange(r); });
    h.Enabled(true);
    v.Enabled(true);
}

zvViewRect ViewRect()
{
    const cSurface& pic = Canvas();
    return {pic.ScaleLeft(), pic.ScaleTop(), pic.ScaleWidth(), pic.ScaleHeight()};
}

void ViewRect(const zvViewRect& rect)
{
    cSurface& pic = Canvas();
    const std::optional<double> aspect = Aspect(pic);
    if (!aspect || rect.ScaleWidth <= 0) {
        pic.ScaleLeft(rect.ScaleLeft);
        pic.ScaleTop(rect.ScaleTop);
        pic.ScaleHeight(rect.ScaleHeight);
        pic.ScaleWidth(rect.ScaleWidth);
        return;
    }
    // The window may have been recorded on a canvas of other proportions: its centre and
    // width are kept, its height follows the canvas as it is now.
    const double a = Round4(*aspect);
    const double cx = static_cast<double>(rect.ScaleLeft) + rect.ScaleWidth / 2.0;
    const double cy = static_cast<double>(rect.ScaleTop) + rect.ScaleHeight / 2.0;
    ShowCentred(pic, a, FittingWidth(pic, a, rect.ScaleWidth, cx, cy), cx, cy);
}

} // namespace zvLib
