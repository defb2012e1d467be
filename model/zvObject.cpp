// zvObject: class defaults, the point text, the element of the circuit file, the extent and
// the grip hit test of an annotation object. Its drawing lives in zvObject_render.cpp.
#include "model/zvObject.h"

#include "foundation/NUX_STD_text.h"
#include "foundation/cError.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_pixels.h"
#include "model/zvLib_colors.h"
#include "model/zvLib_globals.h"
#include "model/zvLib_xml.h"

#include <algorithm>
#include <string_view>

namespace {

// The face colour of buttons and the tooltip background: a room's outline and hatch.
constexpr std::int32_t kButtonFace = static_cast<std::int32_t>(0x8000000FU);
constexpr std::int32_t kTooltipBack = static_cast<std::int32_t>(0x80000018U);

// An attribute value: escaped and between double quotes.
std::string attributeValue(std::string_view v)
{
    return NUX_STD_library::DQuote(zvLib::XmlEscapeAttribute(v));
}

// A colour as the file writes it: the first colour name with that value, else the value as
// a decimal number (negative for a system colour, which thus keeps its high bit).
std::string colorText(std::int32_t color)
{
    std::string name = zvLib::Colors.RGBToCss(color);
    return name.empty() ? std::to_string(color) : name;
}

// One coordinate of a point text; "." or "," as decimal sign, blanks around it allowed.
cFixed parseCoordinate(std::string_view text)
{
    const auto v = cFixed::parse(text);
    if (!v) {
        throw cError(13, "zvObject", "Not a number in point list: \"" + std::string(text) + "\"");
    }
    return *v;
}

// One "x:y" part of a point text; pieces after a second ":" are ignored.
zvPoint parsePoint(std::string_view part)
{
    const std::size_t colon = part.find(':');
    if (part.empty() || colon == std::string_view::npos) {
        throw cError(9, "zvObject",
                     "Point without x:y in point list: \"" + std::string(part) + "\"");
    }
    std::string_view y = part.substr(colon + 1);
    y = y.substr(0, y.find(':'));
    return {parseCoordinate(part.substr(0, colon)), parseCoordinate(y)};
}

} // namespace

void zvObject::Class(const std::string& v)
{
    const std::size_t first = v.find_first_not_of(' ');
    const std::size_t last = v.find_last_not_of(' ');
    Class_ = first == std::string::npos ? std::string() : v.substr(first, last - first + 1);
    std::transform(Class_.begin(), Class_.end(), Class_.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    if (Class_ == "measure") {
        Size_ = 1;
        fillColor_ = zvLib::measure;
        Style_ = 0;
    } else if (Class_ == "room") {
        filled_ = true;
        fillColor_ = kTooltipBack;
        Color_ = kButtonFace;
    }
}

void zvObject::Size(std::int32_t v)
{
    if (Class_ == "text") {
        v = std::max(v, 8);
    } else if (Class_ == "line" || Class_ == "room" || Class_ == "measure") {
        v = std::max(v, 1);
    }
    Size_ = v;
}

std::string zvObject::Points() const
{
    std::string out;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if (i > 0) {
            out += ';';
        }
        out +=
            std::to_string(points_[i].x.toWhole()) + ":" + std::to_string(points_[i].y.toWhole());
    }
    return out;
}

void zvObject::Points(const std::string& text)
{
    if (text.empty()) {
        throw cError(5, "zvObject", "Empty point list");
    }
    std::vector<zvPoint> parsed;
    std::string_view rest(text);
    for (;;) {
        const std::size_t semi = rest.find(';');
        parsed.push_back(parsePoint(rest.substr(0, semi)));
        if (semi == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(semi + 1);
    }
    points_ = std::move(parsed);
}

void zvObject::PointArr(const std::vector<cFixed>& values)
{
    points_.clear();
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
        points_.push_back({values[i], values[i + 1]});
    }
}

std::string zvObject::XML() const
{
    const bool measure = Class_ == "measure";
    const std::string color = measure ? std::to_string(zvLib::measure) : colorText(Color_);
    const std::string fill = measure ? std::to_string(zvLib::measure) : colorText(fillColor_);
    std::string x = "<" + Class_ + " ";
    x += "id=" + attributeValue(ID_) + " ";
    x += "points=" + attributeValue(Points()) + " ";
    if (measure) {
        x += " style=" + attributeValue("0") + " ";
    }
    x += "color=" + attributeValue(color) + " ";
    x += "fillcolor=" + attributeValue(fill) + " ";
    x += "size=" + attributeValue(std::to_string(Size_)) + " ";
    x += ">";
    if (Class_ == "text") {
        x += zvLib::XmlEscapeText(Text_);
    }
    return x + "</" + Class_ + ">";
}

std::optional<std::array<cFixed, 4>> zvObject::GetExtent() const
{
    if (points_.empty()) {
        return std::nullopt;
    }
    std::array<cFixed, 4> e = {points_[0].x, points_[0].y, points_[0].x, points_[0].y};
    for (const zvPoint& p : points_) {
        e[0] = std::min(e[0], p.x);
        e[1] = std::min(e[1], p.y);
        e[2] = std::max(e[2], p.x);
        e[3] = std::max(e[3], p.y);
    }
    return e;
}

bool zvObject::isThis(cFixed x, cFixed y) const
{
    if (grips_.empty()) {
        return false;
    }
    const cPixel p = zvLib::PointToPixel(zvLib::Need(zvLib::MainPic, "main canvas"), x, y);
    return std::any_of(grips_.begin(), grips_.end(), [&p](const Grip& g) {
        return p.x >= g.left && p.x < g.right && p.y >= g.top && p.y < g.bottom;
    });
}
