// zvCircuit: the circuit file. FileSave builds the whole document as one UTF-8 XML text with
// CR LF line ends and replaces the file through a temporary file in its folder; FileOpen reads
// the file whole, checks every value into local data first, and changes the circuit, the
// current set and the background drawing only when the whole file is sound.
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/cError.h"
#include "foundation/zvLib_text.h"
#include "model/zvCircuit.h"
#include "model/zvLib_colors.h"
#include "model/zvLib_xml.h"
#include "model/zvObject.h"
#include "model/zvUI.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <pugixml.hpp>
#include <utility>

namespace {

constexpr std::string_view kEol = "\r\n";

// The largest circuit file read: the largest background drawing in Base64 and room to spare
// for the circuit and its objects.
constexpr std::uint64_t kMaxCircuitFileBytes =
    cDXF::kMaxDrawingBytes / 3 * 4 + (std::uint64_t(64) << 20);
std::uint64_t maxCircuitFileBytes = kMaxCircuitFileBytes;

// ---- writing -------------------------------------------------------------------------------

// Appends one line and its line end.
void line(std::string& out, std::string_view text)
{
    out += text;
    out += kEol;
}

// Appends <name>text</name> on a line of its own, the text escaped for XML.
void element(std::string& out, std::string_view name, std::string_view text)
{
    out += '<';
    out += name;
    out += '>';
    out += zvLib::XmlEscapeText(text);
    out += "</";
    out += name;
    out += '>';
    out += kEol;
}

// Calls visit(entry) for every non-empty ";"-separated entry of a definition string.
template <class Visit> void forEachEntry(std::string_view def, Visit visit)
{
    while (!def.empty()) {
        const std::size_t semi = def.find(';');
        if (semi != 0) {
            visit(def.substr(0, semi));
        }
        if (semi == std::string_view::npos) {
            break;
        }
        def.remove_prefix(semi + 1);
    }
}

// The set codes of the definition strings in order of first appearance, each followed by ";".
// A code is listed once whatever its case; codes are compared whole.
std::string setList(const std::vector<std::string>& definitions)
{
    std::vector<std::string_view> seen;
    std::string out;
    for (const std::string& def : definitions) {
        forEachEntry(def, [&](std::string_view entry) {
            const std::string_view code = entry.substr(0, entry.find(':'));
            if (code.empty()) {
                return;
            }
            for (std::string_view s : seen) {
                if (zvLib::SameText(s, code)) {
                    return;
                }
            }
            seen.push_back(code);
            out.append(code);
            out += ';';
        });
    }
    return out;
}

// The local date and time of one reading of the clock as "YYYY-MM-DD HH:MM:SS".
std::string saveStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

// The dxf element of a background drawing; numbers never take the user's locale.
void dxfElement(std::string& out, const cDXF& dxf)
{
    line(out, "<dxf>");
    element(out, "filename", dxf.FileName());
    out += "<filestream><![CDATA[";
    out += dxf.FileStream();
    out += "]]></filestream>";
    out += kEol;
    element(out, "offsetx", dxf.OffsetX().str());
    element(out, "offsety", dxf.OffsetY().str());
    element(out, "scalefactor", dxf.scaleFactor().str4());
    line(out, "</dxf>");
}

// ---- reading -------------------------------------------------------------------------------

// The farthest a point, an offset or the start heading in degrees may lie from 0 in a file: beyond
// any drawing, and far enough inside the number type that the pieces built from it never
// leave its range.
constexpr std::int64_t kFarthest = 1000000000;

// Why a file is refused; caught by FileOpen and never let out.
struct Refused {
    std::string reason;
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
};

// Stops reading the file with the reason.
[[noreturn]] void refuse(std::string reason)
{
    throw Refused{std::move(reason)};
}

// Everything a circuit file holds, read and checked before anything changes.
struct FileContent {
    std::string setCode;
    std::int16_t trackCount = 0;
    cFixed angle;
    cFixed startX;
    cFixed startY;
    std::string name;
    std::string description;
    std::vector<std::string> trackDefs;
    std::vector<std::shared_ptr<zvObject>> objects;
    std::unique_ptr<cDXF> dxf;
};

// The first element the path selects, or a null node.
pugi::xml_node select(const pugi::xml_document& doc, const std::string& path)
{
    return doc.select_node(path.c_str()).node();
}

// All text below the node (text and CDATA sections) in document order, walked without
// recursion so that deep nesting costs no stack; as UTF-8, each byte that is part of no UTF-8
// sequence read as Windows-1252 (what an older file made on another system holds).
std::string textOf(pugi::xml_node node)
{
    std::string s;
    pugi::xml_node cur = node.first_child();
    while (cur) {
        if (cur.type() == pugi::node_pcdata || cur.type() == pugi::node_cdata) {
            s += cur.value();
        }
        if (cur.first_child()) {
            cur = cur.first_child();
            continue;
        }
        while (cur != node && !cur.next_sibling()) {
            cur = cur.parent();
        }
        if (cur == node) {
            break;
        }
        cur = cur.next_sibling();
    }
    return NUX_STD_library::TextFromBytes(s);
}

// The text of a required element; refused when it is missing.
std::string requiredText(const pugi::xml_document& doc, const std::string& path)
{
    const pugi::xml_node n = select(doc, path);
    if (!n) {
        refuse("The element " + path + " is missing");
    }
    return textOf(n);
}

// The number of a required element; refused when it is missing or no number.
cFixed requiredNumber(const pugi::xml_document& doc, const std::string& path)
{
    const std::string text = requiredText(doc, path);
    const auto v = cFixed::parse(text);
    if (!v) {
        refuse("The element " + path + " holds no number: \"" + text + "\"");
    }
    return *v;
}

// The value itself; refused when it lies beyond the drawing range.
cFixed inRange(cFixed v, const std::string& what)
{
    if (v < cFixed::fromWhole(-kFarthest) || v > cFixed::fromWhole(kFarthest)) {
        refuse(what + " lies beyond the drawing range: " + v.str());
    }
    return v;
}

// The value rounded to a whole number (halves to even), as the file writes it.
cFixed whole(cFixed v)
{
    return cFixed::fromWhole(v.toWhole());
}

// The number of an optional element; missing (0 unless given) when it is missing or no number.
cFixed optionalNumber(const pugi::xml_document& doc, const std::string& path,
                      cFixed missing = cFixed())
{
    const pugi::xml_node n = select(doc, path);
    return n ? cFixed::parse(textOf(n)).value_or(missing) : missing;
}

// A whole 32-bit number of an attribute (halves to even); the default when it is missing,
// refused when it is no number.
std::int32_t wholeAttribute(pugi::xml_node node, const char* name, std::int32_t missing)
{
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) {
        return missing;
    }
    const auto v = cFixed::parse(a.value());
    const std::int64_t n = v ? v->toWhole() : 0;
    if (!v || n < INT32_MIN || n > INT32_MAX) {
        refuse(std::string("The attribute ") + name + " of a " + node.name() +
               " object holds no number: \"" + a.value() + "\"");
    }
    return static_cast<std::int32_t>(n);
}

// A colour attribute; 0 when missing. A system colour (high bit set, index in the low byte),
// which the file holds as a negative decimal number, is kept as that system colour.
std::int32_t colorAttribute(pugi::xml_node node, const char* name)
{
    const std::string_view text = node.attribute(name).as_string("0");
    std::int64_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec == std::errc() && end == text.data() + text.size() && n >= INT32_MIN &&
        n <= INT32_MIN + 0xFF) {
        return static_cast<std::int32_t>(n);
    }
    return zvLib::Colors.ToRGB(std::string(text));
}

// The object of one element below "objects"; refused when its points or numbers are bad.
std::shared_ptr<zvObject> readObject(pugi::xml_node node, std::string& stamp)
{
    auto o = std::make_shared<zvObject>();
    const std::string_view name = node.name();
    // The class is the element's name without its prefix. It is written back as the element's
    // name, so a name that would not read back as itself (nothing or a digit after the prefix,
    // a second prefix) refuses the file rather than be saved in a form that does not open.
    o->Class(NUX_STD_library::TextFromBytes(name.substr(name.find(':') + 1)));
    if (!zvLib::IsPlainXmlName(o->Class())) {
        refuse("An object element's name \"" + NUX_STD_library::TextFromBytes(name) +
               "\" names no class that can be saved");
    }
    o->ID(node.attribute("id").value());
    if (o->ID().empty()) {
        if (stamp.empty()) {
            stamp = NUX_STD_library::TimeStampHex();
        }
        o->ID(stamp);
    }
    const pugi::xml_attribute points = node.attribute("points");
    if (!points) {
        refuse("A " + std::string(name) + " object has no points");
    }
    try {
        o->Points(points.value());
    } catch (const cError& e) {
        refuse("A " + std::string(name) + " object has bad points: " + e.Description());
    }
    const auto extent = o->GetExtent();
    for (const cFixed v : extent.value_or(std::array<cFixed, 4>{})) {
        inRange(v, "A point of a " + std::string(name) + " object");
    }
    o->Color(colorAttribute(node, "color"));
    o->fillColor(colorAttribute(node, "fillcolor"));
    o->Size(wholeAttribute(node, "size", 1));
    o->Style(wholeAttribute(node, "style", 1));
    if (o->Class() == "text") {
        o->Text(textOf(node));
    }
    return o;
}

// The objects in document order; comments and other nodes that are no element are passed by.
std::vector<std::shared_ptr<zvObject>> readObjects(const pugi::xml_document& doc)
{
    std::vector<std::shared_ptr<zvObject>> objects;
    std::string stamp;
    for (pugi::xml_node n : select(doc, "//zorv/objects").children()) {
        if (n.type() == pugi::node_element) {
            objects.push_back(readObject(n, stamp));
        }
    }
    return objects;
}

// Refuses a drawing whose scale and offsets would put some of it beyond the drawing range, as
// far as a point of the circuit may lie; checked before the vertical offset y is set, which
// draws it.
void checkPlacement(const cDXF& dxf, cFixed y)
{
    const std::array<cFixed, 4> e = dxf.GetExtent();
    // The extent holds the vertical offset in force, which y replaces.
    const double offsetY = y.toDouble() - dxf.OffsetY().toDouble();
    const double placed[4] = {e[0].toDouble(), e[1].toDouble() - offsetY, e[2].toDouble(),
                              e[3].toDouble() - offsetY};
    for (const double v : placed) {
        if (!(std::fabs(v) <= static_cast<double>(kFarthest))) {
            refuse("The background drawing's scale or offset puts it beyond the drawing range");
        }
    }
}

// The placement of a drawing element that holds no drawing: it places nothing, so it refuses
// nothing. A number is kept as the file gives it; a missing one or one that is no number takes
// the drawing's own value, which every later save writes alike.
void keepPlacement(const pugi::xml_document& doc, cDXF& dxf)
{
    dxf.OffsetX(optionalNumber(doc, "//zorv/dxf/offsetx", dxf.OffsetX()));
    dxf.scaleFactor(optionalNumber(doc, "//zorv/dxf/scalefactor", dxf.scaleFactor()));
    dxf.OffsetY(optionalNumber(doc, "//zorv/dxf/offsety", dxf.OffsetY()));
}

// The background drawing of the file, loaded and placed; null when the file carries no drawing
// element. An element whose stream holds no drawing bytes (empty, blank or the Base64 of
// nothing) gives a drawing without bytes that keeps the element's name and placement, so that
// every save writes the element as it was read; one whose stream does not decode is refused.
std::unique_ptr<cDXF> readDrawing(const pugi::xml_document& doc)
{
    if (!select(doc, "//zorv/dxf")) {
        return nullptr;
    }
    auto dxf = std::make_unique<cDXF>();
    try {
        dxf->FileStream(textOf(select(doc, "//zorv/dxf/filestream")));
    } catch (const cError& e) {
        refuse("The background drawing cannot be decoded: " + e.Description());
    }
    // The name of the file the drawing came from travels with it, saved again as it was read.
    dxf->FileName(textOf(select(doc, "//zorv/dxf/filename")));
    if (!dxf->HasDrawing()) {
        keepPlacement(doc, *dxf);
        return dxf;
    }
    const cFixed x = inRange(requiredNumber(doc, "//zorv/dxf/offsetx"), "The drawing's offset");
    const cFixed y = inRange(requiredNumber(doc, "//zorv/dxf/offsety"), "The drawing's offset");
    const cFixed scale = requiredNumber(doc, "//zorv/dxf/scalefactor");
    // Placed before the vertical offset, whose setting draws it, so it shows where it belongs.
    dxf->OffsetX(x);
    dxf->scaleFactor(scale);
    checkPlacement(*dxf, y);
    dxf->OffsetY(y);
    return dxf;
}

// A track's definition: an older file names bare item codes (no ":" anywhere), which take the
// circuit's set code; every entry must then name its set.
std::string trackDefinition(std::string def, const std::string& setCode, std::int16_t index)
{
    if (def.find(':') == std::string::npos) {
        std::string withSet;
        std::string_view rest(def);
        for (;;) {
            const std::size_t semi = rest.find(';');
            const std::string_view entry = rest.substr(0, semi);
            if (!entry.empty()) {
                withSet += setCode + ":";
                withSet.append(entry);
            }
            if (semi == std::string_view::npos) {
                break;
            }
            withSet += ';';
            rest.remove_prefix(semi + 1);
        }
        def = std::move(withSet);
    }
    try {
        zvTrack::CheckDefinition(def);
    } catch (const cError& e) {
        refuse("Track " + std::to_string(index) + ": " + e.Description());
    }
    return def;
}

// The circuit element's values and track definitions.
void readCircuit(const pugi::xml_document& doc, FileContent& c)
{
    const std::string sets = requiredText(doc, "//zorv/circuit/set");
    c.setCode = sets.substr(0, sets.find(';'));
    if (c.setCode.empty()) {
        refuse("The file names no set");
    }
    // The file keeps the start pose in whole numbers: a fraction is read as it will be written
    // again, so the pieces stand where they will stand after a save.
    c.angle = whole(inRange(requiredNumber(doc, "//zorv/circuit/angle"), "The start angle"));
    const std::int64_t tracks = requiredNumber(doc, "//zorv/circuit/tracks").toWhole();
    if (tracks < 1 || tracks > zvCircuit::kMaxTracks) {
        refuse("A circuit has 1 to 4 tracks, not " + std::to_string(tracks));
    }
    c.trackCount = static_cast<std::int16_t>(tracks);
    c.startX = whole(inRange(optionalNumber(doc, "//zorv/circuit/startx"), "The start point"));
    c.startY = whole(inRange(optionalNumber(doc, "//zorv/circuit/starty"), "The start point"));
    c.name = zvLib::UnescapeText(requiredText(doc, "//zorv/circuit/name"));
    c.description = zvLib::UnescapeText(requiredText(doc, "//zorv/circuit/description"));
    for (std::int16_t i = 1; i <= c.trackCount; ++i) {
        const std::string path = "//zorv/circuit/items/track-" + std::to_string(i);
        c.trackDefs.push_back(trackDefinition(requiredText(doc, path), c.setCode, i));
    }
}

// The whole file as bytes; refused when it cannot be read (a named pipe or a device at once).
std::string fileBytes(const std::string& path)
{
    std::string bytes;
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
    if (!NUX_STD_library::ReadFileBytes(path, zvCircuit::MaxFileBytes(), bytes, fault)) {
        throw Refused{"The file " + path + " cannot be read: " +
                          NUX_STD_library::ReadFaultText(fault),
                      fault};
    }
    return bytes;
}

// Parses the file and reads everything it holds; refused on the first fault.
FileContent readFile(const std::string& path)
{
    std::string bytes = fileBytes(path);
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer_inplace(
        bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!parsed) {
        refuse(std::string("Not an XML document: ") + parsed.description() + " at offset " +
               std::to_string(parsed.offset));
    }
    FileContent c;
    readCircuit(doc, c);
    c.objects = readObjects(doc);
    c.dxf = readDrawing(doc);
    return c;
}

// The number of non-empty entries of a definition string.
std::int32_t entryCount(std::string_view def)
{
    std::int32_t n = 0;
    forEachEntry(def, [&n](std::string_view) { ++n; });
    return n;
}

// After a refused open: the set that was current before is made current again when the set
// loader changed it, also by a load that failed.
void restoreSet(const std::string& previous)
{
    if (zvLib::CurSetID == previous) {
        return;
    }
    if (!previous.empty() && zvLib::UI) {
        zvLib::UI->LoadSet(previous);
    } else {
        zvLib::CurSetID = previous;
    }
}

} // namespace

std::uint64_t zvCircuit::MaxFileBytes()
{
    return maxCircuitFileBytes;
}

void zvCircuit::MaxFileBytes(std::uint64_t bytes)
{
    maxCircuitFileBytes = bytes;
}

std::string zvCircuit::fileText() const
{
    std::vector<std::string> defs;
    std::size_t size = 1024;
    for (const auto& t : tracks_) {
        defs.push_back(t->GetDefinitionString());
        size += defs.back().size() + 32;
    }
    std::string sets = setList(defs);
    // A circuit whose tracks hold no piece still names its own set, so that it opens again.
    if (sets.empty() && !DefCode_.empty()) {
        sets = DefCode_ + ";";
    }
    std::string out;
    out.reserve(size + objects_.Count() * 160);
    line(out, R"(<?xml version="1.0" encoding="utf-8"?>)");
    line(out, "<zorv>");
    line(out, "<circuit>");
    element(out, "set", sets);
    element(out, "tracks", std::to_string(TrackCount_));
    element(out, "startx", std::to_string(StartX_.toWhole()));
    element(out, "starty", std::to_string(StartY_.toWhole()));
    element(out, "angle", std::to_string(Angle_.toWhole()));
    element(out, "name", zvLib::EscapeText(Name_));
    element(out, "description", zvLib::EscapeText(Description_));
    line(out, "<items>");
    for (std::size_t k = 1; k <= defs.size(); ++k) {
        element(out, "track-" + std::to_string(k), defs[k - 1]);
    }
    line(out, "</items>");
    line(out, "</circuit>");
    line(out, "<objects>");
    for (const auto& o : objects_) {
        out += '\t';
        line(out, o->XML());
    }
    line(out, "</objects>");
    line(out, "<extra></extra>");
    if (zvLib::DXF) {
        dxfElement(out, *zvLib::DXF);
    }
    line(out, "<fileinfo>");
    out += '\t';
    element(out, "appversion", NUX_STD_library::AppVersion());
    out += '\t';
    element(out, "lastsaved", saveStamp());
    line(out, "</fileinfo>");
    line(out, "</zorv>");
    return out;
}

bool zvCircuit::FileSave(const std::string& FileName) const
{
    // Never more than the reader takes: a save that could not be opened again fails instead,
    // before the old file is touched.
    return NUX_STD_library::WriteFileText(FileName, fileText(), MaxFileBytes());
}

std::int16_t zvCircuit::FileOpen(const std::string& FileName, zvFileOpenInfo* info)
{
    zvFileOpenInfo result;
    const std::string previousSet = zvLib::CurSetID;
    try {
        FileContent c = readFile(FileName);
        if (!zvLib::UI) {
            refuse("No set loader is installed");
        }
        const std::int16_t loaded = zvLib::UI->LoadSet(c.setCode);
        if (loaded != 0) {
            refuse("The set \"" + c.setCode + "\" cannot be loaded (" + std::to_string(loaded) +
                   ")");
        }
        zvCircuit built;
        built.build(c.setCode, static_cast<std::int16_t>(c.trackCount * 2), c.angle, c.startX,
                    c.startY, c.setCode);
        for (std::size_t i = 0; i < c.trackDefs.size(); ++i) {
            const auto& track = built.tracks_.Item(i + 1);
            track->append(c.trackDefs[i]);
            result.Skipped +=
                entryCount(c.trackDefs[i]) - static_cast<std::int32_t>(track->items().Count() - 1);
        }
        built.Name_ = std::move(c.name);
        built.Description_ = std::move(c.description);
        for (auto& o : c.objects) {
            built.objects_.Add(std::move(o));
        }
        adopt(built);
        zvLib::DXF = std::move(c.dxf);
    } catch (const Refused& r) {
        result.Reason = r.reason;
        result.Fault = r.fault;
    } catch (const cError& e) {
        result.Reason = "The circuit cannot be built: " + e.Description();
    } catch (const std::exception& e) {
        result.Reason = std::string("The file cannot be read: ") + e.what();
    }
    const bool ok = result.Reason.empty();
    if (!ok) {
        restoreSet(previousSet);
    }
    if (info != nullptr) {
        *info = std::move(result);
    }
    return ok ? 0 : -1;
}

void zvCircuit::adopt(zvCircuit& built)
{
    std::swap(tracks_, built.tracks_);
    std::swap(objects_, built.objects_);
    for (const auto& t : tracks_) {
        t->circuit_ = this;
    }
    for (const auto& t : built.tracks_) {
        t->circuit_ = &built;
    }
    DefCode_ = built.DefCode_;
    TrackCount_ = built.TrackCount_;
    StartX_ = built.StartX_;
    StartY_ = built.StartY_;
    Angle_ = built.Angle_;
    Name_ = std::move(built.Name_);
    Description_ = std::move(built.Description_);
    CurTrack_ = built.CurTrack_;
    CurItem_ = built.CurItem_;
}

namespace zvLib {

std::string UnescapeText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == '\\' || next == 'n' || next == 't' || next == 'c')) {
            out += next == '\\' ? "\\" : (next == 'n' ? "\r\n" : (next == 't' ? "\t" : ";"));
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace zvLib
