// zvItem drawing: a piece draws itself in layers (outline, kerb outlines, body fill, kerb fill,
// banked edges, lanes, construction marks, code label) on the main canvas, the piece editor or
// the printer page. World coordinates go to the surface; only the fills are built in pixels.
#include "foundation/cSurface.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_geometry.h"
#include "foundation/zvLib_pixels.h"
#include "model/zvItem.h"
#include "model/zvLib_globals.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

namespace {

constexpr std::int32_t kBlack = 0;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kRed = 0xFF;
constexpr std::int32_t kLightGrey = 0xC0C0C0;

using Quad = std::array<zvPoint, 4>;

double d(cFixed v)
{
    return v.toDouble();
}

// The surface of an output mode.
cSurface& surfaceFor(int mode)
{
    switch (mode) {
    case -1:
        return zvLib::Need(zvLib::EditPic, "piece editor");
    case 4:
        return zvLib::Need(zvLib::PrinterPage, "printer page");
    default:
        return zvLib::Need(zvLib::MainPic, "main canvas");
    }
}

Quad bodyCorners(const zvItem& p)
{
    return {{{p.xa(), p.ya()}, {p.xb(), p.yb()}, {p.xc(), p.yc()}, {p.xd(), p.yd()}}};
}
Quad kerbAB(const zvItem& p)
{
    return {{{p.extAB_xa(), p.extAB_ya()},
             {p.extAB_xb(), p.extAB_yb()},
             {p.extAB_xc(), p.extAB_yc()},
             {p.extAB_xd(), p.extAB_yd()}}};
}
Quad kerbCD(const zvItem& p)
{
    return {{{p.extCD_xa(), p.extCD_ya()},
             {p.extCD_xb(), p.extCD_yb()},
             {p.extCD_xc(), p.extCD_yc()},
             {p.extCD_xd(), p.extCD_yd()}}};
}

void segment(cSurface& s, zvPoint from, zvPoint to, std::int32_t color)
{
    s.Line(d(from.x), d(from.y), d(to.x), d(to.y), color);
}

// The closed quadrilateral a-b-c-d-a.
void closedQuad(cSurface& s, const Quad& q, std::int32_t color)
{
    segment(s, q[0], q[1], color);
    s.LineTo(d(q[2].x), d(q[2].y), color);
    s.LineTo(d(q[3].x), d(q[3].y), color);
    s.LineTo(d(q[0].x), d(q[0].y), color);
}

// An angle in degrees brought into 0 up to 360, exactly and without rounding to whole degrees.
double reducedDegrees(cFixed degrees)
{
    const std::int64_t full = 360 * cFixed::kScale;
    std::int64_t raw = degrees.raw() % full;
    if (raw < 0) {
        raw += full;
    }
    return cFixed::fromRaw(raw).toDouble();
}

// The arc of a curve: from the centre's direction to one end round counter-clockwise to the
// other, in radians. A curve without sweep has no arc (equal angles would give a full circle).
struct ArcSpan {
    double start = 0;
    double end = 0;
    bool drawn = false;
};

ArcSpan arcSpan(const zvItem& p)
{
    const bool left = p.Orientation() == 1;
    const cFixed s = left ? p.aIniz() + 270 : p.aFine() + 90;
    const cFixed e = left ? p.aFine() + 270 : p.aIniz() + 90;
    return {zvLib::DegToRad(reducedDegrees(s)), zvLib::DegToRad(reducedDegrees(e)),
            !p.Par1().isZero()};
}

void arc(cSurface& s, const zvItem& p, const ArcSpan& span, double radius, std::int32_t color)
{
    if (span.drawn) {
        s.Arc(d(p.xCC()), d(p.yCC()), radius, color, span.start, span.end);
    }
}

// Pen width and colours of an output mode; returns the mode colour.
std::int32_t setUp(cSurface& s, int mode)
{
    switch (mode) {
    case 1:
        s.DrawWidth(zvLib::ShowFill ? 1 : 2);
        return zvLib::trackhilite;
    case 2:
        s.DrawWidth(1);
        return zvLib::tracksketch;
    case 4:
        s.DrawWidth(2);
        return kBlack;
    default:
        s.DrawWidth(1);
        s.ForeColor(kBlack);
        return kBlack;
    }
}

// The start marker: a filled disc on the point and a black arrow along the heading.
void drawStartMarker(cSurface& s, const zvItem& p, std::int32_t modeColor)
{
    s.FillColor(modeColor);
    s.FillStyle(0);
    s.Circle(d(p.xIniz()), d(p.yIniz()), d(p.lanesGap()) / 2, s.ForeColor());
    const auto& pe = p.PExtra();
    if (pe.size() < 8) {
        return;
    }
    const int width = s.DrawWidth();
    s.DrawWidth(2);
    s.Line(pe[0], pe[1], pe[2], pe[3], kBlack);
    s.Line(pe[2], pe[3], pe[4], pe[5], kBlack);
    s.Line(pe[2], pe[3], pe[6], pe[7], kBlack);
    s.DrawWidth(width);
}

// Both track edges as arcs, the two end edges, and the kerb strips outside the edges.
void drawCurveOutline(cSurface& s, const zvItem& p, const ArcSpan& span, std::int32_t color)
{
    const double half = d(p.stdWidth()) / 2;
    const double rIn = d(p.Par2()) - half;
    const double rOut = d(p.Par2()) + half;
    arc(s, p, span, rOut, color);
    arc(s, p, span, rIn, color);
    segment(s, {p.xa(), p.ya()}, {p.xd(), p.yd()}, color);
    segment(s, {p.xc(), p.yc()}, {p.xb(), p.yb()}, color);
    if (!zvLib::ShowKerbs) {
        return;
    }
    const bool left = p.Orientation() == 1;
    const double rAB = left ? rIn : rOut;
    const double rCD = left ? rOut : rIn;
    const double k = left ? -d(p.kerbsWidth()) : d(p.kerbsWidth());
    if (p.extAB()) {
        const Quad q = kerbAB(p);
        arc(s, p, span, rAB, zvLib::trackkerbs);
        arc(s, p, span, rAB + k, zvLib::trackkerbs);
        segment(s, q[0], q[3], zvLib::trackkerbs);
        segment(s, q[1], q[2], zvLib::trackkerbs);
    }
    if (p.extCD()) {
        const Quad q = kerbCD(p);
        arc(s, p, span, rCD, zvLib::trackkerbs);
        arc(s, p, span, rCD - k, zvLib::trackkerbs);
        segment(s, q[0], q[3], zvLib::trackkerbs);
        segment(s, q[1], q[2], zvLib::trackkerbs);
    }
}

void drawOutline(cSurface& s, const zvItem& p, int mode, std::int32_t modeColor,
                 const ArcSpan& span)
{
    switch (p.Class()) {
    case 0:
        drawStartMarker(s, p, mode == 0 ? kWhite : modeColor);
        break;
    case 1:
    case 8:
        closedQuad(s, bodyCorners(p), modeColor);
        if (zvLib::ShowKerbs && p.extAB()) {
            closedQuad(s, kerbAB(p), zvLib::trackkerbs);
        }
        if (zvLib::ShowKerbs && p.extCD()) {
            closedQuad(s, kerbCD(p), zvLib::trackkerbs);
        }
        break;
    case 2:
        drawCurveOutline(s, p, span, modeColor);
        break;
    default:
        break;
    }
}

// Device points of four corners and a centre (index 4).
std::array<cPixel, 5> devicePoints(cSurface& s, const Quad& q, zvPoint centre)
{
    std::array<cPixel, 5> px;
    for (std::size_t i = 0; i < 4; ++i) {
        px[i] = zvLib::PointToPixel(s, q[i].x, q[i].y);
    }
    px[4] = zvLib::PointToPixel(s, centre.x, centre.y);
    return px;
}

// Start angle in degrees of a curve's fill path: the direction from the centre to the start
// of a left curve, to the end of a right one.
float pathStart(const zvItem& p)
{
    return static_cast<float>(
        reducedDegrees(p.Orientation() == 1 ? p.aIniz() - 90 : p.aFine() + 90));
}

// The ring sector of a curve between two radii in pixels, as one figure of the current path.
void curvePath(cSurface& s, const zvItem& p, const std::array<cPixel, 5>& q, int rIn, int rOut)
{
    const float phi = pathStart(p);
    const auto sweep = static_cast<float>(d(p.Par1()));
    const cPixel c = q[4];
    if (p.Orientation() == 1) {
        s.MoveToEx(q[0].x, q[0].y);
        s.AngleArc(c.x, c.y, rIn, phi, sweep);
        s.LineToPx(q[2].x, q[2].y);
        s.AngleArc(c.x, c.y, rOut, phi + sweep, -sweep);
        s.LineToPx(q[0].x, q[0].y);
        s.MoveToEx(q[0].x, q[0].y);
    } else {
        s.MoveToEx(q[2].x, q[2].y);
        s.LineToPx(q[1].x, q[1].y);
        s.AngleArc(c.x, c.y, rOut, phi, sweep);
        s.LineToPx(q[3].x, q[3].y);
        s.AngleArc(c.x, c.y, rIn, phi + sweep, -sweep);
    }
}

void closePath(cSurface& s)
{
    s.EndPath();
    s.FlattenPath();
    s.StrokeAndFillPath();
}

// The body filled in its colour (its own, track-normal or highlight) and stroked again.
void fillBody(cSurface& s, const zvItem& p, int mode)
{
    if (p.Class() != 1 && p.Class() != 2 && p.Class() != 8) {
        return;
    }
    s.FillStyle(0);
    if (mode == 0) {
        s.FillColor(zvLib::ShowFillEx ? p.ExtraColor() : zvLib::tracknormal);
    } else {
        s.FillColor(zvLib::trackhilite);
    }
    const auto px = devicePoints(s, bodyCorners(p), {p.xCC(), p.yCC()});
    s.BeginPath();
    if (p.Class() == 1 || p.Class() == 8) {
        s.Polygon({px[0], px[1], px[2], px[3]});
    } else {
        const cFixed half = p.stdWidth() / cFixed(2);
        curvePath(s, p, px, zvLib::ScaleToPixels(s, p.Par2() - half),
                  zvLib::ScaleToPixels(s, p.Par2() + half));
    }
    closePath(s);
}

// The kerb strips filled in the kerb colour.
void fillKerbs(cSurface& s, const zvItem& p)
{
    if (!(p.extAB() || p.extCD()) || !zvLib::ShowKerbs) {
        return;
    }
    s.FillStyle(0);
    s.FillColor(zvLib::trackkerbs);
    s.BeginPath();
    const zvPoint centre{p.xCC(), p.yCC()};
    if (p.Class() == 1 || p.Class() == 8) {
        if (p.extAB()) {
            const auto q = devicePoints(s, kerbAB(p), centre);
            s.Polygon({q[0], q[1], q[2], q[3]});
        }
        if (p.extCD()) {
            const auto q = devicePoints(s, kerbCD(p), centre);
            s.Polygon({q[0], q[1], q[2], q[3]});
        }
    } else if (p.Class() == 2) {
        const cFixed half = p.stdWidth() / cFixed(2);
        const cFixed k = p.kerbsWidth();
        const int kPx = zvLib::ScaleToPixels(s, k);
        const bool right = p.Orientation() == -1;
        const cFixed outer = p.Par2() + half;
        const cFixed innerKerb = p.Par2() - half - k;
        if (p.extAB()) {
            const int r1 = zvLib::ScaleToPixels(s, right ? outer : innerKerb);
            curvePath(s, p, devicePoints(s, kerbAB(p), centre), r1, r1 + kPx);
        }
        if (p.extCD()) {
            const int r1 = zvLib::ScaleToPixels(s, right ? innerKerb : outer);
            curvePath(s, p, devicePoints(s, kerbCD(p), centre), r1, r1 + kPx);
        }
    }
    closePath(s);
}

// Banked edges: outside the outer edge of a curve (feature 4) or along both sides (8).
void drawBanked(cSurface& s, const zvItem& p, const ArcSpan& span)
{
    if (p.xFlag() == 4 && p.Class() == 2) {
        s.DrawWidth(3);
        s.DrawStyle(0);
        arc(s, p, span, d(p.Par2()) + 1 + d(p.stdWidth()) / 2, zvLib::trackbanked);
        s.DrawWidth(1);
    } else if (p.xFlag() == 8) {
        s.DrawWidth(3);
        segment(s, {p.xa(), p.ya()}, {p.xb(), p.yb()}, zvLib::trackbanked);
        segment(s, {p.xc(), p.yc()}, {p.xd(), p.yd()}, zvLib::trackbanked);
        s.DrawWidth(1);
    }
    s.DrawStyle(0);
}

// Colour of circuit lane n (1 to 8); black for any other lane number.
std::int32_t laneColor(int lane)
{
    return lane >= 1 && lane <= 8 ? zvLib::LaneColors[static_cast<std::size_t>(lane - 1)] : kBlack;
}

// A polyline through world points given as x, y pairs.
void polyline(cSurface& s, std::initializer_list<std::pair<double, double>> pts, std::int32_t color)
{
    auto it = pts.begin();
    const auto first = *it++;
    const auto second = *it++;
    s.Line(first.first, first.second, second.first, second.second, color);
    for (; it != pts.end(); ++it) {
        s.LineTo(it->first, it->second, color);
    }
}

std::pair<double, double> at(const std::vector<double>& v, std::size_t i)
{
    return {v[i], v[i + 1]};
}

} // namespace

namespace {

// Plain lane line of a straight piece: the crossover polyline, a segment, or the polyline
// round a feature's ticks; lane 1 runs e to f, lane 2 h to g.
void straightLane(cSurface& s, const zvItem& p, int lane, std::int32_t color)
{
    const std::pair<double, double> e{d(p.xe()), d(p.ye())}, f{d(p.xf()), d(p.yf())};
    const std::pair<double, double> g{d(p.xg()), d(p.yg())}, h{d(p.xh()), d(p.yh())};
    const auto& pe = p.PExtra();
    const auto& pc = p.PCross();
    if (p.flgSwap()) {
        if (pc.size() < 8) {
            return;
        }
        if (lane == 1) {
            polyline(s, {e, at(pc, 0), at(pc, 2), g}, color);
        } else {
            polyline(s, {h, at(pc, 4), at(pc, 6), f}, color);
        }
        return;
    }
    switch (p.xFlag()) {
    case 0:
    case 1:
    case 8:
    case 16:
        if (lane == 1) {
            polyline(s, {e, f}, color);
        } else {
            polyline(s, {h, g}, color);
        }
        break;
    case 2:
        if (pe.size() < 16) {
            break;
        }
        if (lane == 1) {
            polyline(s, {e, at(pe, 0), at(pe, 2), at(pe, 4), at(pe, 6), f}, color);
        } else {
            polyline(s, {h, at(pe, 8), at(pe, 10), at(pe, 12), at(pe, 14), g}, color);
        }
        break;
    default:
        break;
    }
}

// The marks of features 1 (a black bar) and 16 (a dot per lane), sized by the visible width.
void featureMarks(cSurface& s, const zvItem& p, std::int32_t c1, std::int32_t c2)
{
    const auto& pe = p.PExtra();
    if (p.flgSwap() || (p.xFlag() != 1 && p.xFlag() != 16) || pe.size() < 4) {
        return;
    }
    const double perWidth = std::clamp(12000.0 / s.ScaleWidth(), -1000.0, 1000.0);
    s.DrawWidth(static_cast<int>(RoundHalfEven(perWidth)) + 1);
    if (p.xFlag() == 1) {
        s.Line(pe[0], pe[1], pe[2], pe[3], kBlack);
    } else {
        s.PSet(pe[0], pe[1], c1);
        s.PSet(pe[2], pe[3], c2);
    }
    s.DrawWidth(1);
}

// Both lanes in the colours of the piece's circuit lanes; a lane with its own named point set
// ("L1", "L2") is drawn from it instead of the plain line.
void drawLanes(cSurface& s, const zvItem& p, const ArcSpan& span)
{
    s.DrawWidth(s.DrawWidth() + zvLib::LaneWidth - 1);
    const int t = p.TrackIndex();
    std::int32_t c1 = laneColor((t - 1) * 2 + 1);
    std::int32_t c2 = laneColor((t - 1) * 2 + 2);
    if (p.Swapped()) {
        zvLib::Swap(c1, c2);
    }
    const bool own1 = p.FindPointSet("L1") >= 0;
    const bool own2 = p.FindPointSet("L2") >= 0;
    if (own1) {
        p.drawFeature("L1", s, c1);
    }
    if (own2) {
        p.drawFeature("L2", s, c2);
    }
    if (p.Class() == 2) {
        const bool left = p.Orientation() == 1;
        if (!own1) {
            arc(s, p, span, d(left ? p.r1() : p.r2()), c1);
        }
        if (!own2) {
            arc(s, p, span, d(left ? p.r2() : p.r1()), c2);
        }
    } else if (p.Class() == 1 || p.Class() == 8) {
        if (!own1) {
            straightLane(s, p, 1, c1);
        }
        if (!own2) {
            straightLane(s, p, 2, c2);
        }
        featureMarks(s, p, c1, c2);
    }
}

// A red cross of 10 mm arms.
void cross(cSurface& s, cFixed x, cFixed y)
{
    s.Line(d(x) - 10, d(y), d(x) + 10, d(y), kRed);
    s.Line(d(x), d(y) - 10, d(x), d(y) + 10, kRed);
}

} // namespace

void zvItem::Draw() const
{
    Render(0);
}

void zvItem::Display() const
{
    Render(-1);
}

void zvItem::hilite() const
{
    Render(1);
}

void zvItem::Sketch() const
{
    Render(2);
}

void zvItem::Printout() const
{
    Render(4);
}

void zvItem::drawFeature(const std::string& feature, cSurface& outdevice,
                         std::int32_t drawColor) const
{
    const int i = FindPointSet(feature);
    if (i < 0) {
        return;
    }
    const auto& pts = pointSets_[static_cast<std::size_t>(i)].points;
    for (std::size_t k = 0; k + 1 < pts.size(); ++k) {
        segment(outdevice, pts[k], pts[k + 1], drawColor);
    }
}

void zvItem::Render(int mode) const
{
    cSurface& s = surfaceFor(mode);
    const std::int32_t modeColor = setUp(s, mode);
    const ArcSpan span = arcSpan(*this);
    drawOutline(s, *this, mode, modeColor, span);
    if (zvLib::ShowFill && (mode == 0 || mode == 1)) {
        fillBody(s, *this, mode);
        fillKerbs(s, *this);
    }
    drawBanked(s, *this, span);
    if (zvLib::ShowLanes) {
        drawLanes(s, *this, span);
    }
    if (mode == -1 || zvLib::ShowLines) {
        DrawConstruction(s);
        DrawOrigin(s);
    }
    if (zvLib::ShowCodes) {
        DrawCode(s);
    }
}

void zvItem::DrawConstruction(cSurface& surface) const
{
    if (Class_ != 2) {
        return;
    }
    surface.DrawWidth(1);
    surface.DrawStyle(2);
    segment(surface, {xCC_, yCC_}, {xa_, ya_}, kLightGrey);
    segment(surface, {xCC_, yCC_}, {xb_, yb_}, kLightGrey);
    surface.DrawStyle(0);
    cross(surface, xCC_, yCC_);
}

void zvItem::DrawOrigin(cSurface& surface) const
{
    surface.DrawWidth(1);
    cross(surface, X0_, Y0_);
}

void zvItem::DrawCode(cSurface& surface) const
{
    surface.FontSize(8);
    surface.FontBold(false);
    surface.CurrentX(d(X0_) - surface.TextWidth(code_) / 2);
    surface.CurrentY(d(Y0_) - surface.TextHeight(code_) / 2);
    // The label has its own colour: the fore colour left by what was drawn before (a room's
    // outline beneath the pieces, say) is put back once the label is printed.
    const std::int32_t fore = surface.ForeColor();
    surface.ForeColor(kBlack);
    surface.Print(code_);
    surface.ForeColor(fore);
    surface.FontBold(false);
    surface.FontSize(8);
}
