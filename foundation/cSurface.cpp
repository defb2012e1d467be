// The drawing state, scale units and position bookkeeping shared by every drawing surface,
// and the guard that keeps the pixel path calls off surfaces without a device context.
#include "foundation/cSurface.h"

#include "foundation/cError.h"

#include <string>

void cSurface::DrawWidth(int w)
{
    drawWidth_ = w < 1 ? 1 : (w > 1000 ? 1000 : w);
}

void cSurface::ScaleLeft(float v)
{
    scaleLeft_ = v;
    scaleMode_ = 0;
}

void cSurface::ScaleTop(float v)
{
    scaleTop_ = v;
    scaleMode_ = 0;
}

void cSurface::ScaleWidth(float v)
{
    scaleWidth_ = v;
    scaleMode_ = 0;
}

void cSurface::ScaleHeight(float v)
{
    scaleHeight_ = v;
    scaleMode_ = 0;
}

void cSurface::ScaleMode(int mode)
{
    // Twips (1/1440 inch) in one unit of each mode, across and down.
    const double dpi = DeviceDpi() > 0 ? DeviceDpi() : 96;
    double twipsX = 0;
    double twipsY = 0;
    switch (mode) {
    case 0:
        scaleMode_ = 0;
        return;
    case 1: twipsX = twipsY = 1; break;
    case 2: twipsX = twipsY = 20; break;
    case 3: twipsX = twipsY = 1440.0 / dpi; break;
    case 4: twipsX = 120; twipsY = 240; break;
    case 5: twipsX = twipsY = 1440; break;
    case 6: twipsX = twipsY = 1440.0 / 25.4; break;
    case 7: twipsX = twipsY = 1440.0 / 2.54; break;
    default:
        throw cError(380, "cSurface", "Invalid property value");
    }
    const double inchesPerPixel = 1.0 / dpi;
    scaleLeft_ = 0;
    scaleTop_ = 0;
    if (mode == 3) {
        scaleWidth_ = static_cast<float>(DeviceWidth());
        scaleHeight_ = static_cast<float>(DeviceHeight());
    } else {
        scaleWidth_ = static_cast<float>(DeviceWidth() * inchesPerPixel * 1440.0 / twipsX);
        scaleHeight_ = static_cast<float>(DeviceHeight() * inchesPerPixel * 1440.0 / twipsY);
    }
    scaleMode_ = mode;
}

void cSurface::Scale(double x1, double y1, double x2, double y2)
{
    scaleMode_ = 0;
    scaleLeft_ = static_cast<float>(x1);
    scaleTop_ = static_cast<float>(y1);
    scaleWidth_ = static_cast<float>(x2 - x1);
    scaleHeight_ = static_cast<float>(y2 - y1);
}

void cSurface::Cls()
{
    doCls();
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
}

void cSurface::Line(double x1, double y1, double x2, double y2, std::int32_t color)
{
    doLine(x1, y1, x2, y2, color);
    currentX_ = x2;
    currentY_ = y2;
}

void cSurface::LineTo(double x2, double y2, std::int32_t color)
{
    Line(currentX_, currentY_, x2, y2, color);
}

void cSurface::Box(double x1, double y1, double x2, double y2, std::int32_t color, bool filled)
{
    doBox(x1, y1, x2, y2, color, filled);
    currentX_ = x2;
    currentY_ = y2;
}

void cSurface::Circle(double x, double y, double radius, std::int32_t color)
{
    doCircle(x, y, radius, color);
    currentX_ = x;
    currentY_ = y;
}

void cSurface::Arc(double x, double y, double radius, std::int32_t color, double start,
                   double end)
{
    doArc(x, y, radius, color, start, end);
    currentX_ = x;
    currentY_ = y;
}

void cSurface::PSet(double x, double y, std::int32_t color)
{
    doPSet(x, y, color);
    currentX_ = x;
    currentY_ = y;
}

void cSurface::Print(const std::string& text, bool newLine)
{
    doPrint(currentX_, currentY_, text);
    if (newLine) {
        currentX_ = scaleLeft_;
        currentY_ += TextHeight(text);
    } else {
        currentX_ += TextWidth(text);
    }
}

void cSurface::needDC(const char* call) const
{
    if (!HasDC()) {
        throw cError(438, "cSurface",
                     std::string("Object doesn't support this property or method: ") + call);
    }
}

void cSurface::BeginPath()
{
    needDC("BeginPath");
    doBeginPath();
}

void cSurface::MoveToEx(int x, int y)
{
    needDC("MoveToEx");
    doMoveToEx(x, y);
}

void cSurface::LineToPx(int x, int y)
{
    needDC("LineTo");
    doLineToPx(x, y);
}

void cSurface::AngleArc(int x, int y, int radius, float start, float sweep)
{
    needDC("AngleArc");
    doAngleArc(x, y, radius, start, sweep);
}

void cSurface::Polygon(const std::vector<cPixel>& points)
{
    needDC("Polygon");
    doPolygon(points);
}

void cSurface::EndPath()
{
    needDC("EndPath");
    doEndPath();
}

void cSurface::FlattenPath()
{
    needDC("FlattenPath");
    doFlattenPath();
}

void cSurface::StrokeAndFillPath()
{
    needDC("StrokeAndFillPath");
    doStrokeAndFillPath();
}
