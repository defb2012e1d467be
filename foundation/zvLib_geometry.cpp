// zvLib, plane geometry helpers.
#include "foundation/zvLib_geometry.h"

#include <cmath>

namespace zvLib {

double DegToRad(double degrees)
{
    return degrees * 3.14159265358979 / 180.0;
}

namespace {
int Sgn(double v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}
}  // namespace

float VectorAngle(double a, double& b)
{
    if (b == 0) {
        b = 1E-9;
    }
    double q = std::fabs(a) / std::fabs(b);
    return static_cast<float>(Sgn(b) * (Sgn(a) * std::atan(q) - 3.141592 / 2));
}

cFixed Distance(cFixed x1, cFixed y1, cFixed x2, cFixed y2)
{
    double dx = (x1 - x2).toDouble();
    double dy = (y1 - y2).toDouble();
    return cFixed::fromDouble(std::sqrt(std::pow(dx, 2.0) + std::pow(dy, 2.0)));
}

std::array<double, 2> MidPoint(cFixed x1, cFixed y1, cFixed x2, cFixed y2)
{
    return {(x1 + x2).toDouble() / 2.0, (y1 + y2).toDouble() / 2.0};
}

}  // namespace zvLib
