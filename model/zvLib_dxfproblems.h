// zvLib, the problems met while the background drawing was read, told to the user where the
// drawing is shown: once per drawing, in one message box, in development mode only (the
// delivered program never shows the drawing).
#pragma once

#include <cstddef>

namespace zvLib {

// Most problem lines one message box shows; a last line counts the rest.
inline constexpr std::size_t kMostDXFProblemLines = 12;

// Shows the problems of the background drawing (zvLib::DXF) through the user interface, when
// there are any, in development mode, and only the first time for that drawing.
void ShowDXFProblems();

} // namespace zvLib
