// NUX_STD_library, windows on the desktop: the work area (the screen without the panels and
// task bars) and centring a window in it. Lengths are in twips, as the window layouts are.
#pragma once

#include <array>

class QWidget;

namespace NUX_STD_library {

// The desktop work area of the primary screen in twips: left, top, width, height. The whole
// screen where the platform reports no panels; all zero without a screen.
std::array<int, 4> GetWorkArea();
// Moves the window (its frame) to the middle of the work area; its size is unchanged.
void CenterForm(QWidget& form);

} // namespace NUX_STD_library
