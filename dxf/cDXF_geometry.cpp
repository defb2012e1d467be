// cDXF, arc geometry: the arc that a bulged polyline segment stands for, the sweep of an arc
// from its two angles as the file gives them or from its bulge (one sweep for the extent and
// the drawing), and the points of an arc due north, west, south and east of its centre that
// widen the drawing's extent.
#include "dxf/cDXF.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Brings an angle into 0 to 2 pi, both included, comparing in single precision.
float NormalizeAngle(float a)
{
    const float twoPi = static_cast<float>(cDXF::k2Pi);
    while (a > twoPi) {
        a -= twoPi;
    }
    while (a < 0) {
        a += twoPi;
    }
    return a;
}

// A held angle as a direction in 0 to 2 pi, 2 pi excluded: an angle of a whole turn (as single
// precision holds 2 pi) is the direction 0.
double Direction(float a)
{
    const double turn = static_cast<float>(cDXF::k2Pi);
    double d = std::fmod(static_cast<double>(a), turn);
    if (d < 0) {
        d += turn;
    }
    return d;
}

std::int32_t Saturate(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

bool cDXF::BulgeToArc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                      float bulge, std::int32_t& centreDx, std::int32_t& centreDy,
                      std::int32_t& radius, float& startAngle, float& endAngle)
{
    if (bulge == 0 || !std::isfinite(bulge)) {
        return false;
    }
    const double b = bulge;
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    const double chord = std::hypot(dx, dy);
    // The centre lies on the chord's perpendicular bisector, (1 - b²) / 4b chord lengths to
    // the left of the chord (to the right when negative); the radius is c (1 + b²) / 4|b|.
    const double along = (1.0 / b - b) / 4.0;
    const double r = chord * std::fabs(1.0 / b + b) / 4.0;
    const double cx = dx / 2 - dy * along;
    const double cy = dy / 2 + dx * along;
    if (!(r <= kMaxCoord) || !(std::fabs(x1 + cx) <= kMaxCoord) ||
        !(std::fabs(y1 + cy) <= kMaxCoord)) {
        return false;
    }
    const auto ox = static_cast<std::int32_t>(RoundHalfEven(cx));
    const auto oy = static_cast<std::int32_t>(RoundHalfEven(cy));
    // The start angle points from the centre to the first point.
    float start = 0;
    if (ox != 0) {
        start = static_cast<float>(std::atan(static_cast<double>(oy) / ox) + (ox > 0 ? kPi : 0));
    } else {
        start = static_cast<float>(oy > 0 ? -kPi / 2 : kPi / 2);
    }
    float end = static_cast<float>(start + 4 * std::atan(b));
    end = NormalizeAngle(end);
    start = NormalizeAngle(start);
    if (b < 0) {
        std::swap(start, end);
    }
    centreDx = ox;
    centreDy = oy;
    radius = static_cast<std::int32_t>(RoundHalfEven(r));
    startAngle = start;
    endAngle = end;
    return true;
}

double cDXF::ArcSweep(double startDegrees, double endDegrees)
{
    double turn = std::fmod(endDegrees - startDegrees, 360.0);
    if (turn < 0) {
        turn += 360.0;
    }
    // A difference within the rounding of the values themselves of a whole number of turns
    // is one (90 to 450 degrees, or equal angles): a whole circle.
    const double slack = 4 * std::numeric_limits<double>::epsilon() *
                         std::max({std::fabs(startDegrees), std::fabs(endDegrees), 360.0});
    if (!(turn > slack && turn < 360.0 - slack)) {
        return k2Pi;
    }
    return turn / 180.0 * kPi;
}

double cDXF::BulgeSweep(float bulge)
{
    return 4 * std::atan(std::fabs(static_cast<double>(bulge)));
}

void cDXF::ArcExtent(std::int32_t x, std::int32_t y, std::int32_t radius, float startAngle,
                     double sweep)
{
    const double start = Direction(startAngle);
    const double end = start + std::min(sweep, k2Pi);
    const std::int64_t r = radius;
    for (int k = 1; k <= 8; ++k) {
        // The axis directions as single precision holds them, so that an arc ending at 90
        // degrees ends there and does not pass it.
        const double t = static_cast<float>(k * (kPi / 2));
        if (!(start < t && t < end)) {
            continue;
        }
        switch (k % 4) {
        case 1:
            ExtendExtent(x, Saturate(y + r));
            break;
        case 2:
            ExtendExtent(Saturate(x - r), y);
            break;
        case 3:
            ExtendExtent(x, Saturate(y - r));
            break;
        default:
            ExtendExtent(Saturate(x + r), y);
            break;
        }
    }
}
