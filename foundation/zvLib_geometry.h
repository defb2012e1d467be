// zvLib, plane geometry: the degree-to-radian conversion behind every piece's sines and
// cosines, the direction of a vector for hit tests, distance and midpoint of two points, and
// the exchange of two values.
#pragma once

#include "foundation/cFixed.h"

#include <array>
#include <utility>

namespace zvLib {

// Degrees to radians with the program's own constant 3.14159265358979 (piece coordinates are
// reproduced to four decimals from it).
double DegToRad(double degrees);
// The angle of the vector (a, b) measured clockwise from +x, in -pi..pi. A b of 0 is replaced
// by 1E-9 in the caller's variable first.
float VectorAngle(double a, double& b);
// Distance between two points, rounded to 0.0001.
cFixed Distance(cFixed x1, cFixed y1, cFixed x2, cFixed y2);
// Midpoint of two points as two doubles (x, y).
std::array<double, 2> MidPoint(cFixed x1, cFixed y1, cFixed x2, cFixed y2);
// Exchanges two values.
template <typename T>
void Swap(T& a, T& b)
{
    std::swap(a, b);
}

}  // namespace zvLib
