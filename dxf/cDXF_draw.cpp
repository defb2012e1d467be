// cDXF, drawing: every visible entity on the main canvas, kind after kind, each in its
// layer's colour and line width. A drawing point (x, y) in hundredths lands on the canvas at
// (x * scale + OffsetX, y * scale - OffsetY), taken in four-decimal fixed point.
#include "dxf/cDXF.h"
#include "foundation/zvLib_canvas.h"

#include <algorithm>

namespace {

// The sum and the difference of two fixed-point numbers, held at the type's limits instead
// of wrapping.
cFixed SaturatingAdd(cFixed a, cFixed b)
{
    std::int64_t r = 0;
    if (__builtin_add_overflow(a.raw(), b.raw(), &r)) {
        return b.raw() > 0 ? cFixed::max() : cFixed::min();
    }
    return cFixed::fromRaw(r);
}

cFixed SaturatingSub(cFixed a, cFixed b)
{
    std::int64_t r = 0;
    if (__builtin_sub_overflow(a.raw(), b.raw(), &r)) {
        return b.raw() < 0 ? cFixed::max() : cFixed::min();
    }
    return cFixed::fromRaw(r);
}

double D(cFixed v)
{
    return v.toDouble();
}

// The canvas's fill style that leaves the inside of a circle as it is.
constexpr int kTransparentFill = 1;

} // namespace

cFixed cDXF::MapX(std::int32_t x) const
{
    return SaturatingAdd(cFixed::fromWhole(x) * scale_, offsetX_);
}

cFixed cDXF::MapY(std::int32_t y) const
{
    return SaturatingSub(cFixed::fromWhole(y) * scale_, offsetY_);
}

cFixed cDXF::MapLength(std::int32_t r) const
{
    return cFixed::fromWhole(r) * scale_;
}

std::int32_t cDXF::LayerColor(std::int32_t layer) const
{
    if (layer < 0 || static_cast<std::size_t>(layer) >= layers_.size()) {
        return 0;
    }
    return layers_[layer].color;
}

bool cDXF::UseLayer(cSurface& pic, std::int32_t layer)
{
    if (layer < 0 || static_cast<std::size_t>(layer) >= layers_.size() || !layers_[layer].visible) {
        return false;
    }
    pic.DrawWidth(layers_[layer].lineWidth);
    return true;
}

void cDXF::Draw()
{
    cSurface& pic = zvLib::Need(zvLib::MainPic, "main canvas");
    for (const auto& r : points_) {
        if (UseLayer(pic, r.layer)) {
            DrawPoint(pic, r.x, r.y, LayerColor(r.layer));
        }
    }
    for (const auto& r : lines_) {
        if (UseLayer(pic, r.layer)) {
            DrawLine(pic, r.x1, r.y1, r.x2, r.y2, LayerColor(r.layer));
        }
    }
    for (const auto& r : arcs_) {
        if (UseLayer(pic, r.layer)) {
            DrawArc(pic, r.x, r.y, r.radius, r.startAngle, r.sweep, LayerColor(r.layer));
        }
    }
    for (const auto& r : circles_) {
        if (UseLayer(pic, r.layer)) {
            DrawCircle(pic, r.x, r.y, r.radius, LayerColor(r.layer));
        }
    }
    for (const auto& r : texts_) {
        if (UseLayer(pic, r.layer)) {
            // The dot takes the layer's colour; the text the canvas's own.
            DrawPoint(pic, r.x, r.y, LayerColor(r.layer));
            pic.Print(std::string(TextOf(r)));
        }
    }
    for (std::size_t i = 0; i < polylines_.size(); ++i) {
        const auto& r = polylines_[i];
        if (UseLayer(pic, r.layer)) {
            DrawPolyLine2D(r.firstVertex, r.lastVertex, static_cast<std::int32_t>(i));
        }
    }
    for (const auto& r : faces_) {
        if (UseLayer(pic, r.layer)) {
            DrawFace(pic, r, LayerColor(r.layer));
        }
    }
}

void cDXF::DrawPolyLine2D(std::int32_t first, std::int32_t last, std::int32_t index)
{
    cSurface& pic = zvLib::Need(zvLib::MainPic, "main canvas");
    const auto count = static_cast<std::int64_t>(vertices_.size());
    if (first < 0 || last >= count || index < 0 ||
        static_cast<std::size_t>(index) >= polylines_.size()) {
        return;
    }
    for (std::int32_t i = first; i < last; ++i) {
        DrawSegment(pic, vertices_[i], vertices_[i + 1], LayerColor(vertices_[i].layer));
    }
    // The closing segment, in the colour of the vertex before the last; a polyline of one
    // vertex has nothing to close.
    if (polylines_[index].closed == 0 || last <= first) {
        return;
    }
    const auto color = LayerColor(vertices_[last - 1].layer);
    if (vertices_[last].bulge != 0) {
        DrawSegment(pic, vertices_[last], vertices_[first], color);
    } else {
        const auto& a = vertices_[first];
        const auto& b = vertices_[last];
        DrawLine(pic, a.x, a.y, b.x, b.y, color);
    }
}

void cDXF::DrawSegment(cSurface& pic, const DXFVertexRecord& a, const DXFVertexRecord& b,
                       std::int32_t color)
{
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::int32_t r = 0;
    float start = 0;
    float end = 0;
    if (a.bulge != 0 && BulgeToArc(a.x, a.y, b.x, b.y, a.bulge, dx, dy, r, start, end)) {
        DrawArc(pic, a.x + dx, a.y + dy, r, start, BulgeSweep(a.bulge), color);
    } else {
        DrawLine(pic, a.x, a.y, b.x, b.y, color);
    }
}

void cDXF::DrawFace(cSurface& pic, const DXFFaceRecord& f, std::int32_t color)
{
    DrawLine(pic, f.x[0], f.y[0], f.x[1], f.y[1], color);
    DrawLine(pic, f.x[1], f.y[1], f.x[2], f.y[2], color);
    if (f.lastCorner == 3) {
        DrawLine(pic, f.x[2], f.y[2], f.x[3], f.y[3], color);
        DrawLine(pic, f.x[3], f.y[3], f.x[0], f.y[0], color);
    } else {
        DrawLine(pic, f.x[2], f.y[2], f.x[0], f.y[0], color);
    }
}

void cDXF::DrawArc(cSurface& pic, std::int32_t x, std::int32_t y, std::int32_t r, float start,
                   double sweep, std::int32_t color)
{
    // The canvas is handed the end the sweep reaches, so that it turns as far as the extent
    // holds, and never more than one turn (a whole turn held in single precision is a hair
    // more).
    pic.Arc(D(MapX(x)), D(MapY(y)), D(MapLength(r)), color, start, start + std::min(sweep, k2Pi));
}

void cDXF::DrawCircle(cSurface& pic, std::int32_t x, std::int32_t y, std::int32_t r,
                      std::int32_t color)
{
    // A drawing's circle is an outline: the canvas's fill, left by whatever was drawn before
    // (the start marker fills white), is put aside for it and given back afterwards.
    const int fillStyle = pic.FillStyle();
    pic.FillStyle(kTransparentFill);
    pic.Circle(D(MapX(x)), D(MapY(y)), D(MapLength(r)), color);
    pic.FillStyle(fillStyle);
}

void cDXF::DrawLine(cSurface& pic, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                    std::int32_t y2, std::int32_t color)
{
    pic.Line(D(MapX(x1)), D(MapY(y1)), D(MapX(x2)), D(MapY(y2)), color);
}

void cDXF::DrawPoint(cSurface& pic, std::int32_t x, std::int32_t y, std::int32_t color)
{
    pic.PSet(D(MapX(x)), D(MapY(y)), color);
}
