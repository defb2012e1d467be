// zvLib, the figures shown beside the drawing: the lanes of the info window and the status
// panels with the circuit's length and size, refreshed after every change of the circuit.
#pragma once

#include <string>

namespace zvLib {

// Refreshes the info window's lanes grid (loading the window hidden when it is not loaded)
// and the status panels "pnlinfo_2" (length) and "pnlinfo_3" (size) from the current circuit;
// nothing without a circuit.
void UpdateInfo();

// The length panel's text: the length in metres, then at full scale in kilometres, e.g.
// "12.35m  (0.395 km)" for 12345.6 mm at scale 32, in the user's decimal sign.
std::string LengthText(double lengthMm, int scale);
// The size panel's text: width and height in metres, e.g. "3.20 X 1.75 m.", each value
// below 0.001 mm shown as 0.
std::string SizeText(double widthMm, double heightMm);

} // namespace zvLib
