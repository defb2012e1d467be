// NUX_STD_library, windows on the desktop: the work area (the screen without the panels and
// task bars), centring a window in it and keeping a window inside it. Lengths are in twips,
// as the window layouts are.
#pragma once

#include <array>

class QWidget;

namespace NUX_STD_library {

// The desktop work area of the primary screen in twips: left, top, width, height. The whole
// screen where the platform reports no panels; all zero without a screen.
std::array<int, 4> GetWorkArea();
// Moves the window (its frame) to the middle of the work area; its size is unchanged.
void CenterForm(QWidget& form);
// Moves the window (its frame) the least way that puts it wholly inside the work area; a
// frame larger than the area lines up with its left or top edge. The size is unchanged.
void KeepOnWorkArea(QWidget& form);

} // namespace NUX_STD_library
