// zvObject drawing: each class on the main canvas or the printer page, the measure's length
// label in the user's number grouping, and the grips that the canvas hit test uses.
#include "foundation/cSurface.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_geometry.h"
#include "foundation/zvLib_pixels.h"
#include "model/zvLib_globals.h"
#include "model/zvObject.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/cVariant.h"

#include <string>
#include <vector>

namespace {

// The selection highlight: the colour of the grips.
constexpr std::int32_t kHighlight = static_cast<std::int32_t>(0x8000000DU);
// Half the side of a grip in device pixels.
constexpr int kGripHalf = 3;

// A device pixel of the canvas's client area back in user units, across and down.
double pixelToUserX(cSurface& canvas, std::int64_t px)
{
    return canvas.ScaleLeft() + static_cast<double>(px) * canvas.ScaleWidth() /
                                    static_cast<double>(canvas.ClientWidth());
}
double pixelToUserY(cSurface& canvas, std::int64_t py)
{
    return canvas.ScaleTop() + static_cast<double>(py) * canvas.ScaleHeight() /
                                   static_cast<double>(canvas.ClientHeight());
}

} // namespace

void zvObject::Draw()
{
    DrawOn(zvLib::Need(zvLib::MainPic, "main canvas"), true);
}

void zvObject::Printout()
{
    DrawOn(zvLib::Need(zvLib::PrinterPage, "printer page"), false);
}

void zvObject::DrawOn(cSurface& device, bool onCanvas)
{
    if (Class_ == "line") {
        drawLine(device);
    } else if (Class_ == "room") {
        drawRoom(device, onCanvas);
    } else if (Class_ == "measure") {
        drawMeasure(device);
    } else if (Class_ == "text") {
        drawText(device);
    }
    if (onCanvas) {
        BuildGrips(device);
    }
}

void zvObject::drawSegments(cSurface& device, std::int32_t color, bool closed) const
{
    for (std::size_t i = 1; i < points_.size(); ++i) {
        device.Line(points_[i - 1].x.toDouble(), points_[i - 1].y.toDouble(),
                    points_[i].x.toDouble(), points_[i].y.toDouble(), color);
    }
    if (closed && !points_.empty()) {
        device.Line(points_.back().x.toDouble(), points_.back().y.toDouble(),
                    points_.front().x.toDouble(), points_.front().y.toDouble(), color);
    }
}

void zvObject::drawLine(cSurface& device)
{
    device.DrawWidth(Size_);
    device.FillColor(fillColor_);
    device.FillStyle(0);
    drawSegments(device, Color_, filled_);
}

void zvObject::drawRoom(cSurface& device, bool onCanvas)
{
    device.DrawWidth(Size_);
    device.FillColor(fillColor_);
    device.FillStyle(5);
    device.ForeColor(Color_);
    if (!onCanvas) {
        drawSegments(device, Color_, true);
        return;
    }
    // The outline takes the canvas's pen and the inside its hatch brush.
    std::vector<cPixel> polygon;
    polygon.reserve(points_.size());
    for (const zvPoint& p : points_) {
        polygon.push_back(zvLib::PointToPixel(device, p.x, p.y));
    }
    device.BeginPath();
    device.Polygon(polygon);
    device.EndPath();
    device.FlattenPath();
    device.StrokeAndFillPath();
}

void zvObject::drawMeasure(cSurface& device)
{
    fillColor_ = zvLib::measure;
    device.DrawWidth(1);
    device.FillColor(fillColor_);
    device.DrawStyle(Style_);
    drawSegments(device, fillColor_, false);
    if (points_.size() >= 2) {
        drawMeasureLabel(device);
    }
}

void zvObject::drawMeasureLabel(cSurface& device)
{
    const zvPoint& a = points_[0];
    const zvPoint& b = points_[1];
    const cFixed length = zvLib::Distance(a.x, a.y, b.x, b.y);
    const std::string label = NUX_STD_library::FormatEx(cVariant(length), "#,0", 0);
    const auto mid = zvLib::MidPoint(a.x, a.y, b.x, b.y);
    // The label is measured in the font it is printed in, so that it sits centred.
    device.FontSize(8);
    device.CurrentX(mid[0] - device.TextWidth(label) / 2);
    device.CurrentY(mid[1] - device.TextHeight(label) / 2);
    device.ForeColor(fillColor_);
    device.Print(label);
}

void zvObject::drawText(cSurface& device)
{
    device.FillStyle(1);
    device.DrawWidth(1);
    device.ForeColor(Color_);
    device.FontSize(Size_);
    if (points_.empty()) {
        return; // nowhere to put it
    }
    const zvPoint origin = points_[0];
    // The second point marks the far corner of the text as this device measures it.
    points_.resize(2);
    points_[1] = {origin.x + cFixed::fromDouble(device.TextWidth(Text_)),
                  origin.y + cFixed::fromDouble(device.TextHeight(Text_))};
    device.CurrentX(origin.x.toDouble());
    device.CurrentY(origin.y.toDouble());
    device.Print(Text_);
}

void zvObject::BuildGrips(cSurface& canvas)
{
    grips_.clear();
    grips_.reserve(points_.size());
    for (const zvPoint& p : points_) {
        const cPixel px = zvLib::PointToPixel(canvas, p.x, p.y);
        Grip g;
        g.left = static_cast<std::int64_t>(px.x) - kGripHalf;
        g.top = static_cast<std::int64_t>(px.y) - kGripHalf;
        g.right = static_cast<std::int64_t>(px.x) + kGripHalf;
        g.bottom = static_cast<std::int64_t>(px.y) + kGripHalf;
        grips_.push_back(g);
        DrawGrip(canvas, g);
    }
}

void zvObject::DrawGrip(cSurface& canvas, const Grip& grip)
{
    // The square covers the grip's pixels whatever the zoom.
    canvas.DrawWidth(1);
    canvas.FillStyle(1);
    canvas.FillColor(kHighlight);
    canvas.Box(pixelToUserX(canvas, grip.left), pixelToUserY(canvas, grip.top),
               pixelToUserX(canvas, grip.right), pixelToUserY(canvas, grip.bottom), kHighlight,
               false);
}
