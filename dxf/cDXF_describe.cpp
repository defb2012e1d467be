// cDXF, a description of a loaded drawing as one JSON object, for developer tools: records
// per entity kind, layers in use, the drawing's own extent in drawing units, the placement
// and the diagnostics of the load. Numbers carry four decimals.
#include "dxf/cDXF.h"

#include <cstdio>

namespace {

void AppendEscaped(std::string& out, std::string_view s)
{
    out += '"';
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

// Hundredths of a drawing unit as drawing units with four decimals.
std::string Units(std::int32_t hundredths)
{
    return cFixed::fromRaw(static_cast<std::int64_t>(hundredths) * 100).str4();
}

} // namespace

std::string cDXF::Describe() const
{
    std::size_t solids = 0;
    for (const auto& f : faces_) {
        solids += f.solid ? 1 : 0;
    }
    const std::pair<const char*, std::size_t> counts[] = {{"POINT", points_.size()},
                                                          {"LINE", lines_.size()},
                                                          {"ARC", arcs_.size()},
                                                          {"CIRCLE", circles_.size()},
                                                          {"TEXT", texts_.size()},
                                                          {"POLYLINE", polylines_.size()},
                                                          {"VERTEX", vertices_.size()},
                                                          {"3DFACE", faces_.size() - solids},
                                                          {"SOLID", solids}};
    std::string out = "{\"counts\":{";
    bool first = true;
    for (const auto& [name, n] : counts) {
        out += first ? "" : ",";
        first = false;
        out += std::string("\"") + name + "\":" + std::to_string(n);
    }
    out += "},\"layers\":" + std::to_string(layerCount_);
    out += ",\"extent\":{\"xmin\":" + Units(extent_.xmin) + ",\"ymin\":" + Units(extent_.ymin) +
           ",\"xmax\":" + Units(extent_.xmax) + ",\"ymax\":" + Units(extent_.ymax) + "}";
    out += ",\"scale\":" + scale_.str4() + ",\"offsetx\":" + offsetX_.str4() +
           ",\"offsety\":" + offsetY_.str4() + ",\"diagnostics\":[";
    for (std::size_t i = 0; i < diagnostics_.size(); ++i) {
        out += i == 0 ? "" : ",";
        AppendEscaped(out, diagnostics_[i]);
    }
    out += "]}";
    return out;
}
