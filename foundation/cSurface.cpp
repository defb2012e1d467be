// The drawing state and position bookkeeping shared by every drawing surface.
#include "foundation/cSurface.h"

void cSurface::DrawWidth(int w)
{
    drawWidth_ = w < 1 ? 1 : (w > 1000 ? 1000 : w);
}

void cSurface::Scale(double x1, double y1, double x2, double y2)
{
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
