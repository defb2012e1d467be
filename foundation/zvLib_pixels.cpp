// zvLib, world to pixel: the conversions in 64-bit floating point from user units to whole
// device pixels, with the checks that keep a bad scale or a windowless surface from giving a
// wrong pixel.
#include "foundation/zvLib_pixels.h"

#include "foundation/cError.h"

#include <cmath>
#include <limits>

namespace zvLib {

namespace {

// Raises error 438 unless the surface has a client area of the given extent.
void needWindow(int clientExtent)
{
    if (clientExtent <= 0) {
        throw cError(438, "zvLib", "Object doesn't support this property or method: hWnd");
    }
}

// Pixels per user unit of one axis; raises error 11 on a zero scale.
double pixelsPerUnit(int clientExtent, float scaleExtent)
{
    if (scaleExtent == 0) {
        throw cError(11, "zvLib", "Division by zero");
    }
    return static_cast<double>(clientExtent) / static_cast<double>(scaleExtent);
}

// The nearest whole number, halves to even; raises error 6 when it leaves the 32-bit range.
std::int32_t toPixel(double v)
{
    if (!std::isfinite(v)) {
        throw cError(6, "zvLib", "Overflow");
    }
    const double r = std::nearbyint(v);  // the default rounding mode rounds halves to even
    if (r < std::numeric_limits<std::int32_t>::min() ||
        r > std::numeric_limits<std::int32_t>::max()) {
        throw cError(6, "zvLib", "Overflow");
    }
    return static_cast<std::int32_t>(r);
}

}  // namespace

cPixel PointToPixel(cSurface& surface, cFixed x, cFixed y)
{
    const int cw = surface.ClientWidth();
    const int ch = surface.ClientHeight();
    needWindow(cw);
    needWindow(ch);
    const double sx = pixelsPerUnit(cw, surface.ScaleWidth());
    const double sy = pixelsPerUnit(ch, surface.ScaleHeight());
    const double left = surface.ScaleLeft();
    const double top = surface.ScaleTop();
    cPixel p;
    p.x = toPixel(x.toDouble() * sx - left * sx);
    p.y = toPixel(y.toDouble() * sy - top * sy);
    return p;
}

std::int32_t ScaleToPixels(cSurface& surface, cFixed length)
{
    const int ch = surface.ClientHeight();
    needWindow(ch);
    if (surface.ScaleHeight() == 0) {
        throw cError(11, "zvLib", "Division by zero");
    }
    return toPixel(std::fabs(length.toDouble() * ch / static_cast<double>(surface.ScaleHeight())));
}

}  // namespace zvLib
