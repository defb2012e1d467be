// zvLib, world to pixel: the two conversions from a surface's user units to the device pixels
// of its client area, for drawing that goes through the pixel path calls (filled pieces,
// kerbs, rooms) and for the grips of the annotation objects.
#pragma once

#include "foundation/cFixed.h"
#include "foundation/cSurface.h"

#include <cstdint>

namespace zvLib {

// The point (x, y) in user units as device pixels of the surface's client area: with k the
// pixels per unit of each axis, x × k − ScaleLeft × k and y × k − ScaleTop × k, rounded halves
// to even. Raises error 438 on a surface without a window, 11 on a zero scale and 6 when a
// result does not fit in 32 bits.
cPixel PointToPixel(cSurface& surface, cFixed x, cFixed y);
// A length in user units as device pixels: |length × client height / ScaleHeight|, rounded
// halves to even (only the vertical scale counts). Raises as PointToPixel does.
std::int32_t ScaleToPixels(cSurface& surface, cFixed length);

}  // namespace zvLib
