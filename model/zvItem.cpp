// zvItem: named point sets and their text form, extent, outline, hit test and selection of a
// track piece. Its geometry is filled by the piece factory; its drawing lives in zvItem_render.
#include "model/zvItem.h"

#include "foundation/cError.h"
#include "foundation/zvLib_geometry.h"
#include "model/zvLib_globals.h"
#include "foundation/zvLib_text.h"

#include <algorithm>
#include <cmath>

namespace {

// A term length x cos or sin of an angle in degrees, rounded to a fixed number.
cFixed cosTerm(double length, double degrees)
{
    return cFixed::fromDouble(length * std::cos(zvLib::DegToRad(degrees)));
}
cFixed sinTerm(double length, double degrees)
{
    return cFixed::fromDouble(length * std::sin(zvLib::DegToRad(degrees)));
}

// One number of a point-set text; "." or "," as decimal sign, never the user's locale.
double parseCoordinate(std::string_view text)
{
    auto v = cFixed::parse(text);
    if (!v) {
        throw cError(13, "zvItem", "Not a number in point set: \"" + std::string(text) + "\"");
    }
    return v->toDouble();
}

// Piece-local points of a point-set text ("u:v;u:v", one trailing ";" allowed).
std::vector<std::array<double, 2>> parsePointText(std::string_view text)
{
    if (!text.empty() && text.back() == ';') {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        throw cError(5, "zvItem", "Empty point set");
    }
    std::vector<std::array<double, 2>> out;
    for (;;) {
        std::size_t semi = text.find(';');
        std::string_view pair = text.substr(0, semi);
        std::size_t colon = pair.find(':');
        if (colon == std::string_view::npos ||
            pair.find(':', colon + 1) != std::string_view::npos) {
            throw cError(9, "zvItem",
                         "Point without x:y in point set: \"" + std::string(pair) + "\"");
        }
        out.push_back(
            {parseCoordinate(pair.substr(0, colon)), parseCoordinate(pair.substr(colon + 1))});
        if (semi == std::string_view::npos) {
            return out;
        }
        text.remove_prefix(semi + 1);
    }
}

} // namespace

zvItem::zvItem() : pointSets_(1) {}

void zvItem::Points(const std::string& feature, const std::string& pBuffer)
{
    // Parse the whole text first so that a bad text leaves the piece as it was.
    const auto local = parsePointText(pBuffer);
    const double a = zvLib::DegToRad(aIniz_.toDouble());
    const double ca = std::cos(a);
    const double sa = std::sin(a);
    std::vector<zvPoint> world;
    world.reserve(local.size());
    for (const auto& [u, v] : local) {
        world.push_back({cFixed::fromDouble(xIniz_.toDouble() + u * ca - v * sa),
                         cFixed::fromDouble(yIniz_.toDouble() + u * sa + v * ca)});
    }
    int i = FindPointSet(feature);
    if (i < 0) {
        pointSets_.push_back({feature, {}});
        i = static_cast<int>(pointSets_.size()) - 1;
    }
    pointSets_[static_cast<std::size_t>(i)].points = std::move(world);
}

std::string zvItem::Points(const std::string& feature) const
{
    const int i = FindPointSet(feature);
    if (i < 0) {
        return {};
    }
    std::string out;
    for (const auto& p : pointSets_[static_cast<std::size_t>(i)].points) {
        out += p.x.str() + ":" + p.y.str() + ";";
    }
    return out;
}

int zvItem::FindPointSet(const std::string& name) const
{
    for (std::size_t i = 0; i < pointSets_.size(); ++i) {
        if (zvLib::SameText(pointSets_[i].name, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::array<cFixed, 4> zvItem::GetExtent()
{
    const cFixed far = cFixed::fromWhole(4294967296LL);
    std::array<cFixed, 4> box = {far, far, -far, -far};
    auto widen = [&box](cFixed x, cFixed y) {
        box[0] = std::min(box[0], x);
        box[1] = std::min(box[1], y);
        box[2] = std::max(box[2], x);
        box[3] = std::max(box[3], y);
    };
    widen(xa_, ya_);
    widen(xb_, yb_);
    widen(xc_, yc_);
    widen(xd_, yd_);
    X0_ = box[0] + (box[2] - box[0]) / cFixed(2);
    Y0_ = box[1] + (box[3] - box[1]) / cFixed(2);
    if (zvLib::ShowKerbs) {
        if (extAB_) {
            widen(extAB_xa_, extAB_ya_);
            widen(extAB_xb_, extAB_yb_);
            widen(extAB_xc_, extAB_yc_);
            widen(extAB_xd_, extAB_yd_);
        }
        if (extCD_) {
            widen(extCD_xa_, extCD_ya_);
            widen(extCD_xb_, extCD_yb_);
            widen(extCD_xc_, extCD_yc_);
            widen(extCD_xd_, extCD_yd_);
        }
    }
    return box;
}

std::vector<zvPoint> zvItem::GetOutline() const
{
    if (Class_ != 2) {
        return {{xa_, ya_}, {xb_, yb_}, {xc_, yc_}, {xd_, yd_}, {xa_, ya_}};
    }
    // The curve's edges at the radius it is drawn with: the centre-line radius Par2 plus and
    // minus half the track width, from the centre's direction to the start round to the end.
    const double half = stdWidth_.toDouble() / 2;
    const double rIn = Par2_.toDouble() - half;
    const double rOut = Par2_.toDouble() + half;
    const bool left = Orientation_ == 1;
    const double s = (left ? aIniz_ + 270 : aFine_ + 90).toDouble();
    const double e = (left ? aFine_ + 270 : aIniz_ + 90).toDouble();
    const double q = (e - s) / 4;
    const int steps = q == 0 ? 0 : 4;
    std::vector<zvPoint> out;
    out.reserve(11);
    for (int k = 0; k <= steps; ++k) {
        const double t = s + k * q;
        out.push_back({xCC_ + cosTerm(rIn, t), yCC_ + sinTerm(rIn, t)});
    }
    for (int k = 0; k <= steps; ++k) {
        const double t = e - k * q;
        out.push_back({xCC_ + cosTerm(rOut, t), yCC_ + sinTerm(rOut, t)});
    }
    out.push_back(out.front());
    return out;
}

bool zvItem::isThis(cFixed x, cFixed y) const
{
    std::vector<zvPoint> v = GetOutline();
    const std::size_t n = v.size() - 1;
    v[n] = v[0];
    for (const auto& p : v) {
        if (p.x == x && p.y == y) {
            return false;
        }
    }
    // Sum of the signed angles under which the outline's edges are seen from the point:
    // about 2 pi inside, about 0 outside.
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double dx = (v[i].x - x).toDouble();
        const double dy = (v[i].y - y).toDouble();
        const double ex = (v[i + 1].x - x).toDouble();
        const double ey = (v[i + 1].y - y).toDouble();
        const double a = zvLib::VectorAngle(dy, dx);
        double turnedX = ex * std::cos(a) + ey * std::sin(a);
        const double turnedY = ey * std::cos(a) - ex * std::sin(a);
        sum += zvLib::VectorAngle(turnedY, turnedX);
    }
    return std::fabs(sum) >= 0.0001 && std::fabs(sum) > 3.14159265358979;
}

void zvItem::Selected(bool isSelected)
{
    const std::shared_ptr<zvSelectionHost> host = zvLib::SelectionHost;
    if (!host) {
        throw cError(91, "zvItem", "No circuit to select the piece in");
    }
    const std::shared_ptr<zvItem> self = weak_from_this().lock();
    if (!self) {
        throw cError(91, "zvItem", "The piece is not held by a track");
    }
    // The circuit refuses a piece whose track it does not have; the flag then stays as it was.
    host->CurItem(self);
    selected_ = isSelected;
    if (Class_ == 0) {
        return;
    }
    if (isSelected) {
        host->SelectedAdd(self);
    } else {
        host->SelectedRemove(Key_);
    }
}
