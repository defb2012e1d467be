// zvLib, the canvas's drag tools: the zoom window, which zooms the view to a dragged rectangle
// and leaves a click without a drag to the selection, and the ruler, which measures with a
// rubber-band line and a live distance label and leaves a "measure" object in the circuit.
#pragma once

#include "foundation/cFixed.h"

#include <cstdint>

namespace zvLib {

// What the drag tools remember between the mouse events of one drag.
struct zvToolState {
    // Start and end point of the ruler's drag (world mm).
    cFixed rulerStartX, rulerStartY, rulerEndX, rulerEndY;
    // The canvas pointer shape the ruler replaced while it drags (a Qt::CursorShape).
    std::int16_t savedPointer = 0;
    // Start and end point of the zoom window's drag (world mm).
    cFixed zoomStartX, zoomStartY, zoomEndX, zoomEndY;
};

// The drag tools' state, one for the program's life.
inline zvToolState ToolState;

// How far the pointer must leave the start, in x or in y, before the zoom window counts as a
// drag, and before the ruler shows its line (strictly more than these).
inline constexpr int kZoomWindowSlack = 50;
inline constexpr int kRulerSlack = 10;

// The zoom window: phase 0 press, 1 move with the left button, 2 release, at world (x, y).
// True only on a release that zoomed the view to the dragged width (then an undo state is
// pushed and the circuit redrawn); a release within the slack is a click and gives False.
bool ZoomWindowMouse(std::int16_t phase, cFixed x, cFixed y);
// The ruler: phase 0 press, 1 move with the left button, 2 release, at world (x, y). The
// release adds a "measure" object from the start to the last move's point and redraws.
// Always False.
bool RulerMouse(std::int16_t phase, cFixed x, cFixed y);

} // namespace zvLib
