// zvLib, the canvas view: the main canvas's user scale is the visible part of the world
// (millimetres, y up), so the view is nothing but its four scale values. Centring, zooming,
// fitting the circuit, the scroll bars that follow the view, and the decorations drawn under
// the circuit (grid, origin cross) or on any surface (point lists).
#pragma once

#include "foundation/cFixed.h"
#include "foundation/cSurface.h"
#include "model/zvItem.h"
#include "model/zvUI.h"

#include <cstdint>
#include <optional>
#include <vector>

class cScrollBar;

namespace zvLib {

// The horizontal and vertical scroll bars of the main canvas, or null before the main window
// exists; the view operations leave them alone while they are missing.
inline cScrollBar* HScroll = nullptr;
inline cScrollBar* VScroll = nullptr;

// The narrowest and the widest view SetZoom gives the canvas, in millimetres.
inline constexpr double kMinViewWidth = 25;
inline constexpr double kMaxViewWidth = 100000;
// The width a new circuit is shown at, and a circuit with nothing to fit.
inline constexpr double kNewCircuitWidth = 3000;

// Centres the view on (x, y): the width stays (widened only where the canvas's pixels could
// not hold the circuit from there), the height follows the canvas's aspect ratio; no redraw,
// the scroll bars are not touched. Nothing happens on a canvas without area.
void CenterView(float x, float y);
// Shows the given width (clamped to 25..100000; missing: the current width) centred on (x, y)
// (missing: the current centre), the height following the aspect ratio; then the scroll bars
// are updated. No redraw. The width is never so narrow that a point of the circuit or the
// origin would leave the 32 bits of the canvas's pixels: zooming in stops there.
void SetZoom(std::optional<double> width = std::nullopt, std::optional<double> x = std::nullopt,
             std::optional<double> y = std::nullopt);
// Multiplies the visible width by the factor about the current centre: a negative factor -f
// stands for 1/f (four decimals), 0 for 1; then the current circuit, if any, is redrawn.
void ZoomBy(cFixed factor);
// Fits the whole circuit into the view with a margin of a tenth of its width, then redraws;
// nothing without a circuit. A circuit whose extent has neither width nor height (start
// markers alone) is shown as a new circuit is, kNewCircuitWidth wide about the extent's
// centre. A fit that fails puts the view back as it was and raises.
void ZoomExtents();
// Sets the scroll bars' ranges, values, steps and enabled states from the circuit's extent and
// the view; nothing without a circuit, or while the circuit has no length.
void UpdateScrollBars();

// The main canvas's visible window.
zvViewRect ViewRect();
// Moves the main canvas's visible window without redrawing: the window's centre and width,
// the height following the canvas's proportions as they are now (as SetZoom narrows no more
// than the pixels allow); a canvas without area takes the four values as they are.
void ViewRect(const zvViewRect& rect);

// The grid step for a visible width: 50 below 1000, then 100, 250, 500, 1000, 2500, 5000,
// 10000, and 50000 from 200000 on.
cFixed GridStep(cFixed visibleWidth);
// Clears the main canvas and draws the grid with its coordinates and the two axes over the
// visible window, the step following the visible width.
void DrawGrid();
// Draws the red cross on the world origin of the main canvas; each arm reaches a hundred and
// twentieth of the visible height, in whole millimetres.
void DrawCross();
// Draws a line from each point to the next (not closed) in the colour and pen width; fewer
// than two points draw nothing.
void DrawPolyline(cSurface& surface, const std::vector<zvPoint>& points, std::int32_t color,
                  std::int16_t width);
// Draws a dot of the pen width at each point in the colour.
void DrawPoints(cSurface& surface, const std::vector<zvPoint>& points, std::int32_t color,
                std::int16_t width);

} // namespace zvLib
