// zvLib, the piece factory: copies a piece table record into a new piece and computes its pose,
// corners, kerbs, lane points, lengths, fill colour and extra drawing coordinates. Every
// length x cosine term is rounded to a fixed number before it is added to a coordinate.
#include "model/zvLib_factory.h"

#include "foundation/cError.h"
#include "foundation/zvLib_geometry.h"
#include "model/zvLib_globals.h"
#include "foundation/zvLib_text.h"

#include <array>
#include <cmath>

namespace zvLib {

namespace {

constexpr double kTwoPi = 6.28318530717958;

double cosDeg(cFixed t)
{
    return std::cos(DegToRad(t.toDouble()));
}
double sinDeg(cFixed t)
{
    return std::sin(DegToRad(t.toDouble()));
}

// p + len x dir(t), each term rounded.
zvPoint ahead(zvPoint p, double len, cFixed t)
{
    return {p.x + cFixed::fromDouble(len * cosDeg(t)), p.y + cFixed::fromDouble(len * sinDeg(t))};
}
// p - len x dir(t), each term rounded.
zvPoint behind(zvPoint p, double len, cFixed t)
{
    return {p.x - cFixed::fromDouble(len * cosDeg(t)), p.y - cFixed::fromDouble(len * sinDeg(t))};
}
// p + len x left(t) and p - len x left(t).
zvPoint leftOf(zvPoint p, double len, cFixed t)
{
    return ahead(p, len, t + 90);
}
zvPoint rightOf(zvPoint p, double len, cFixed t)
{
    return behind(p, len, t + 90);
}

// The three piece markers found in an item key.
struct Markers {
    bool toFront = false;
    bool extAB = false;
    bool extCD = false;
};

// Removes every occurrence of marker from text; true when there was one.
bool takeMarker(std::string& text, const std::string& marker)
{
    bool found = false;
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
        text.erase(at, marker.size());
        found = true;
    }
    return found;
}

Markers takeMarkers(std::string& itemID)
{
    Markers m;
    m.toFront = takeMarker(itemID, "[#]");
    m.extAB = takeMarker(itemID, "[AB]");
    m.extCD = takeMarker(itemID, "[CD]");
    return m;
}

void copyRecord(zvItem& item, const zvPieceRecord& rec)
{
    item.setID(rec.setID);
    item.Item(rec.itemID);
    item.Class(rec.classe);
    item.stdWidth(rec.stdWidth);
    item.lanesGap(rec.lanesGap);
    item.kerbsWidth(rec.kerbsWidth);
    item.Par1(rec.sng1);
    item.Par2(rec.sng2);
    item.Par3(rec.sng3);
    item.code(rec.code);
    item.Desc(rec.description);
    item.flgSwap(rec.flgSwap);
    item.Orientation(rec.Orientation);
    item.xFlag(rec.flags);
    item.r(cFixed(rec.r));
    item.R0(rec.R0);
    item.r1(rec.R1);
    item.r2(rec.R2);
    item.ExtraColor(tracknormal);
}

void setStart(zvItem& item, zvPoint p)
{
    item.xIniz(p.x);
    item.yIniz(p.y);
}
void setEnd(zvItem& item, zvPoint p)
{
    item.xFine(p.x);
    item.yFine(p.y);
}
void setLengths(zvItem& item, cFixed len0, cFixed len1, cFixed len2)
{
    item.Len0(len0);
    item.Len1(len1);
    item.Len2(len2);
}
void setCorners(zvItem& item, zvPoint a, zvPoint b, zvPoint c, zvPoint d)
{
    item.xa(a.x);
    item.ya(a.y);
    item.xb(b.x);
    item.yb(b.y);
    item.xc(c.x);
    item.yc(c.y);
    item.xd(d.x);
    item.yd(d.y);
}

// The start marker: a square of side 160 about the point and an arrow of the set's standard
// width along the heading. Its start and end stay on the point.
void placeStartMarker(zvItem& item, zvPoint p, cFixed a)
{
    item.Par1(80);
    item.Swapped(false);
    item.xCC(p.x);
    item.yCC(p.y);
    item.aFine(a);
    setLengths(item, 0, 0, 0);
    const zvPoint start = behind(p, 80, a);
    const zvPoint end = ahead(p, 80, a);
    setCorners(item, leftOf(start, 80, a), leftOf(end, 80, a), rightOf(end, 80, a),
               rightOf(start, 80, a));
    item.toFront(true);
    const zvPoint tip = ahead(p, SetStdWidth.toDouble(), a);
    const double cx = cosDeg(a), sx = sinDeg(a), cl = cosDeg(a + 90), sl = sinDeg(a + 90);
    const double tx = tip.x.toDouble(), ty = tip.y.toDouble();
    item.PExtra({p.x.toDouble(), p.y.toDouble(), tx, ty, tx - 30 * cx - 15 * cl,
                 ty - 30 * sx - 15 * sl, tx - 30 * cx + 15 * cl, ty - 30 * sx + 15 * sl});
    setStart(item, p);
    setEnd(item, p);
}

// Length of an arc of radius radius over sweep degrees, rounded once.
cFixed arcLength(cFixed radius, cFixed sweep)
{
    return cFixed::fromDouble(radius.toDouble() * kTwoPi / (360.0 / sweep.toDouble()));
}

// A curve about its centre at the record's radius; a curve without sweep ends where it starts.
void placeCurve(zvItem& item, const zvPieceRecord& rec, zvPoint start, cFixed a)
{
    const cFixed radius = rec.sng2;
    const cFixed sweep = rec.sng1;
    const cFixed o(rec.Orientation);
    const zvPoint centre = leftOf(start, (o * radius).toDouble(), a);
    item.xCC(centre.x);
    item.yCC(centre.y);
    item.aFine(a + sweep * o);
    const int hand = rec.Orientation;
    if (sweep.isZero()) {
        setEnd(item, start);
        setLengths(item, 0, 0, 0);
    } else {
        setEnd(item,
               ahead(centre, radius.toDouble(), hand == 1 ? (a - 90) + sweep : (a + 90) - sweep));
        const cFixed gap = rec.lanesGap * o;
        setLengths(item, arcLength(radius, sweep), arcLength(radius - gap, sweep),
                   arcLength(radius + gap, sweep));
    }
    const int colour = rec.r;
    item.ExtraColor(colour >= 1 && colour <= 12 ? RadiusColors[static_cast<std::size_t>(colour - 1)]
                                                : tracknormal);
}

// End pose and lengths by class (all classes but the start marker).
void placeByClass(zvItem& item, const zvPieceRecord& rec, zvPoint start, cFixed a)
{
    switch (item.Class()) {
    case 1:
    case 8:
        setEnd(item, ahead(start, item.Par1().toDouble(), a));
        item.aFine(a);
        setLengths(item, item.Par1(), item.Par1(), item.Par1());
        if (item.Class() == 1 && item.xFlag() == 8) {
            item.toFront(true);
        }
        break;
    case 2:
        placeCurve(item, rec, start, a);
        break;
    default:
        // A kind the geometry does not know stays on its start point.
        setEnd(item, start);
        item.aFine(a);
        setLengths(item, 0, 0, 0);
        break;
    }
}

// Outline corners at half the track width; a width transition narrows one end.
void placeCorners(zvItem& item)
{
    const zvPoint start{item.xIniz(), item.yIniz()};
    const zvPoint end{item.xFine(), item.yFine()};
    const cFixed a = item.aIniz();
    const cFixed A = item.aFine();
    const double w = item.stdWidth().toDouble() / 2;
    zvPoint ca = leftOf(start, w, a), cb = leftOf(end, w, A);
    zvPoint cc = rightOf(end, w, A), cd = rightOf(start, w, a);
    if (item.Class() == 8) {
        const double n = item.Par2().toDouble() / 2;
        if (item.Orientation() == -2) {
            cb = leftOf(end, n, A);
            cc = rightOf(end, n, A);
        } else if (item.Orientation() == 2) {
            ca = leftOf(start, n, a);
            cd = rightOf(start, n, a);
        }
    }
    setCorners(item, ca, cb, cc, cd);
}

// The corners a, b, c, d of both kerb strips, left side first.
void setKerbs(zvItem& item, const std::array<zvPoint, 4>& ab, const std::array<zvPoint, 4>& cd)
{
    item.extAB_xa(ab[0].x);
    item.extAB_ya(ab[0].y);
    item.extAB_xb(ab[1].x);
    item.extAB_yb(ab[1].y);
    item.extAB_xc(ab[2].x);
    item.extAB_yc(ab[2].y);
    item.extAB_xd(ab[3].x);
    item.extAB_yd(ab[3].y);
    item.extCD_xa(cd[0].x);
    item.extCD_ya(cd[0].y);
    item.extCD_xb(cd[1].x);
    item.extCD_yb(cd[1].y);
    item.extCD_xc(cd[2].x);
    item.extCD_yc(cd[2].y);
    item.extCD_xd(cd[3].x);
    item.extCD_yd(cd[3].y);
}

// Kerb quadrilaterals outside the left (a-b) and right (c-d) edges.
void placeKerbs(zvItem& item)
{
    const double k = item.kerbsWidth().toDouble();
    const cFixed a = item.aIniz();
    const cFixed A = item.aFine();
    const zvPoint ca{item.xa(), item.ya()}, cb{item.xb(), item.yb()};
    const zvPoint cc{item.xc(), item.yc()}, cd{item.xd(), item.yd()};
    const zvPoint abA = leftOf(ca, k, a), abB = leftOf(cb, k, A);
    const zvPoint cdC = rightOf(cc, k, A), cdD = rightOf(cd, k, a);
    setKerbs(item, {abA, abB, cb, ca}, {cd, cc, cdC, cdD});
}

void setLane1(zvItem& item, zvPoint e, zvPoint f)
{
    item.xe(e.x);
    item.ye(e.y);
    item.xf(f.x);
    item.yf(f.y);
}
void setLane2(zvItem& item, zvPoint g, zvPoint h)
{
    item.xg(g.x);
    item.yg(g.y);
    item.xh(h.x);
    item.yh(h.y);
}

// Lane points at lanesGap from the centre line; a width transition narrows one end.
void placeLanes(zvItem& item, const zvPieceRecord& rec)
{
    const zvPoint start{item.xIniz(), item.yIniz()};
    const zvPoint end{item.xFine(), item.yFine()};
    const cFixed a = item.aIniz();
    const cFixed A = item.aFine();
    double startGap = rec.lanesGap.toDouble();
    double endGap = startGap;
    if (item.Class() == 8) {
        const double m = item.Par3().toDouble() / 2;
        if (item.Orientation() == -2) {
            endGap = m;
        } else if (item.Orientation() == 2) {
            startGap = m;
        }
    }
    setLane1(item, leftOf(start, startGap, a), leftOf(end, endGap, A));
    setLane2(item, rightOf(end, endGap, A), rightOf(start, startGap, a));
}

// The record's named point sets, one per line name=text; a line that is not a valid point
// set is left out and the piece made without it.
void readPointSets(zvItem& item, const std::string& extra)
{
    std::size_t pos = 0;
    while (pos <= extra.size()) {
        std::size_t next = extra.find("\r\n", pos);
        const std::string line =
            extra.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        pos = next == std::string::npos ? extra.size() + 1 : next + 2;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        try {
            item.Points(line.substr(0, eq), line.substr(eq + 1));
        } catch (const cError&) {
            // A malformed set in the catalogue does not stop the piece.
        }
    }
}

void push(std::vector<double>& v, zvPoint p)
{
    v.push_back(p.x.toDouble());
    v.push_back(p.y.toDouble());
}

// Lane-crossover points of a straight: the two lanes cross between them.
void placeCrossover(zvItem& item)
{
    const double gap = item.lanesGap().toDouble();
    const cFixed a = item.aIniz();
    std::vector<double> pts;
    push(pts, ahead({item.xe(), item.ye()}, gap, a));
    push(pts, behind({item.xg(), item.yg()}, gap, a));
    push(pts, ahead({item.xh(), item.yh()}, gap, a));
    push(pts, behind({item.xf(), item.yf()}, gap, a));
    item.PCross(pts);
}

// Feature marks 1 and 16: a segment of 2 x lanesGap along the heading through the label point,
// shifted to the left.
void placeMark(zvItem& item)
{
    const cFixed gap = item.lanesGap();
    const cFixed a = item.aIniz();
    const double shift = ((gap + item.stdWidth()) - cFixed(2) * gap).toDouble() / 2;
    const zvPoint c{item.X0(), item.Y0()};
    std::vector<double> pts;
    push(pts, leftOf(behind(c, gap.toDouble(), a), shift, a));
    push(pts, leftOf(ahead(c, gap.toDouble(), a), shift, a));
    item.PExtra(pts);
}

// Feature 2: four 30 mm ticks leaving the lanes at 45 degrees.
void placeTicks(zvItem& item)
{
    const double gap = item.lanesGap().toDouble();
    const cFixed a = item.aIniz();
    const zvPoint p1 = ahead({item.xe(), item.ye()}, gap, a);
    const zvPoint p2 = behind({item.xf(), item.yf()}, gap, a);
    const zvPoint p3 = behind({item.xg(), item.yg()}, gap, a);
    const zvPoint p4 = ahead({item.xh(), item.yh()}, gap, a);
    const double s45 = sinDeg(a + 45), c45 = cosDeg(a + 45);
    const double s135 = sinDeg(a + 135), c135 = cosDeg(a + 135);
    const double x1 = p1.x.toDouble(), y1 = p1.y.toDouble(), x2 = p2.x.toDouble(),
                 y2 = p2.y.toDouble(), x3 = p3.x.toDouble(), y3 = p3.y.toDouble(),
                 x4 = p4.x.toDouble(), y4 = p4.y.toDouble();
    item.PExtra({x1, y1, x1 + 30 * s45, y1 - 30 * c45,   //
                 x2 - 30 * c45, y2 - 30 * s45, x2, y2,   //
                 x4, y4, x4 + 30 * s135, y4 - 30 * c135, //
                 x3 + 30 * c135, y3 + 30 * s135, x3, y3});
}

// Piece geometry after the end pose: corners, label point, kerbs, lanes and extra marks.
void completeGeometry(zvItem& item, const zvPieceRecord& rec)
{
    placeCorners(item);
    item.GetExtent();
    PlaceKerbs(item);
    placeLanes(item, rec);
    if (!rec.extra.empty()) {
        readPointSets(item, rec.extra);
    }
    if (item.Class() == 1 && item.flgSwap()) {
        placeCrossover(item);
    }
    if (item.xFlag() == 1 || item.xFlag() == 16) {
        placeMark(item);
    } else if (item.xFlag() == 2) {
        placeTicks(item);
    }
}

} // namespace

void PlaceKerbs(zvItem& item)
{
    if (ShowKerbs && item.Class() != 0) {
        placeKerbs(item);
    } else {
        setKerbs(item, {}, {});
    }
}

int FindPieceRecord(const std::string& setID, const std::string& itemID)
{
    for (std::size_t i = 0; i < PieceTable.size(); ++i) {
        if (SameText(PieceTable[i].setID, setID) && SameText(PieceTable[i].itemID, itemID)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::shared_ptr<zvItem> CreateItem(const std::string& setID, std::string& itemID, cFixed x,
                                   cFixed y, cFixed angle)
{
    const Markers markers = takeMarkers(itemID);
    const int i = FindPieceRecord(setID, itemID);
    if (i < 0) {
        return nullptr;
    }
    const zvPieceRecord& rec = PieceTable[static_cast<std::size_t>(i)];
    auto item = std::make_shared<zvItem>();
    copyRecord(*item, rec);
    const zvPoint start{x, y};
    setStart(*item, start);
    item->aIniz(angle);
    item->toFront(markers.toFront);
    item->extAB(markers.extAB);
    item->extCD(markers.extCD);
    if (rec.classe == 0) {
        placeStartMarker(*item, start, angle);
        return item;
    }
    placeByClass(*item, rec, start, angle);
    completeGeometry(*item, rec);
    return item;
}

} // namespace zvLib
