// zvCircuit: building the tracks from a start pose, the definition text and its reading, the
// start pose properties that re-lay the circuit out (the background drawing stays), the
// current piece and selection, the hit test, and the current circuit of the program.
#include "model/zvCircuit.h"

#include "dxf/zvLib_dxf.h"
#include "foundation/cError.h"
#include "foundation/zvLib_geometry.h"
#include "model/zvLib_factory.h"
#include "model/zvObject.h"

#include <cmath>

namespace {

// Splits a text at every occurrence of a separator; n separators give n + 1 parts.
std::vector<std::string_view> splitAt(std::string_view text, std::string_view sep)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(sep);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + sep.size());
    }
}

// A number as a 16-bit whole number, halves to even; none when absent or out of range.
std::optional<std::int16_t> toInt16(std::optional<cFixed> v)
{
    if (!v) {
        return std::nullopt;
    }
    const std::int64_t n = v->toWhole();
    if (n < INT16_MIN || n > INT16_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(n);
}

// The number in the field at a 0-based index of a split line; none when the line is shorter
// or the field is no number.
std::optional<cFixed> numberField(const std::vector<std::string_view>& fields, std::size_t i)
{
    if (i >= fields.size()) {
        return std::nullopt;
    }
    return cFixed::parse(fields[i]);
}

// The set code of the first piece that names one, tracks in order (the first set of the
// circuit's set list); the fallback when no piece does.
std::string firstSet(const std::vector<std::string>& trackLines, const std::string& fallback)
{
    for (const std::string& line : trackLines) {
        for (const std::string_view entry : splitAt(line, ";")) {
            const std::string_view code = entry.substr(0, entry.find(':'));
            if (!code.empty()) {
                return std::string(code);
            }
        }
    }
    return fallback;
}

} // namespace

zvCircuit::~zvCircuit()
{
    releaseTracks();
}

void zvCircuit::releaseTracks()
{
    for (const auto& t : tracks_) {
        t->circuit_ = nullptr;
    }
    tracks_.Clear();
}

void zvCircuit::Init(const std::string& code, std::int16_t lanes, cFixed angle, cFixed x, cFixed y)
{
    build(code, lanes, angle, x, y, code);
    zvLib::DXF.reset();
}

void zvCircuit::build(const std::string& code, std::int16_t lanes, cFixed angle, cFixed x, cFixed y,
                      const std::string& widthSet)
{
    const std::int16_t count = static_cast<std::int16_t>(lanes / 2);
    if (lanes < 2 || count > kMaxTracks) {
        throw cError(5, "zvCircuit", "A circuit has 2 to 8 lanes, not " + std::to_string(lanes));
    }
    if (zvLib::FindPieceRecord("Zorv", "<START>") < 0) {
        throw cError(91, "zvCircuit", "The piece table has no start record");
    }
    // The tracks are made aside first: a start pose beyond the number range changes nothing.
    const cFixed width = zvLib::StdWidthOf(widthSet);
    const double across = zvLib::DegToRad((angle + 90).toDouble());
    std::vector<std::shared_ptr<zvTrack>> made;
    for (std::int16_t i = 1; i <= count; ++i) {
        const double d = (width * cFixed(i - 1)).toDouble();
        const cFixed xi = x - cFixed::fromDouble(d * std::cos(across));
        const cFixed yi = y - cFixed::fromDouble(d * std::sin(across));
        auto track = std::make_shared<zvTrack>();
        track->index(i);
        track->Init(xi, yi, angle);
        made.push_back(std::move(track));
    }
    StartX_ = x;
    StartY_ = y;
    DefCode_ = code;
    Angle_ = angle;
    TrackCount_ = count;
    releaseTracks();
    for (auto& track : made) {
        track->circuit_ = this;
        tracks_.Add(std::move(track));
    }
    CurTrack_ = tracks_.First();
    CurItem_ = CurTrack_->items().First();
}

std::string zvCircuit::DefString() const
{
    std::string out = DefCode_ + ";" + std::to_string(TrackCount_) + ";" + Angle_.str() + ";" +
                      StartX_.str() + ";" + StartY_.str() + ";" + zvLib::EscapeText(Name_) + ";" +
                      zvLib::EscapeText(Description_) + ";\r\n";
    for (const auto& t : tracks_) {
        out += t->GetDefinitionString();
        out += "\r\n";
    }
    return out;
}

zvCircuit::Definition zvCircuit::parseDefinition(const std::string& text)
{
    std::vector<std::string_view> lines = splitAt(text, "\r\n");
    // The text ends with CR LF, so its last part is empty; a last line without one still counts.
    if (lines.size() > 1 && lines.back().empty()) {
        lines.pop_back();
    }
    const auto fields = splitAt(lines.front(), ";");
    Definition def;
    const auto count = toInt16(numberField(fields, 1));
    const auto angle = numberField(fields, 2);
    if (!count || !angle) {
        throw cError(13, "zvCircuit", "The circuit definition has no track count or angle");
    }
    if (*count < 1 || *count > kMaxTracks) {
        throw cError(5, "zvCircuit", "A circuit has 1 to 4 tracks, not " + std::to_string(*count));
    }
    def.trackCount = *count;
    def.angle = *angle;
    def.x = numberField(fields, 3);
    def.y = numberField(fields, 4);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) {
            def.trackLines.emplace_back();
            continue;
        }
        if (i > static_cast<std::size_t>(def.trackCount)) {
            throw cError(9, "zvCircuit", "The circuit definition has more tracks than it says");
        }
        zvTrack::CheckDefinition(line);
        def.trackLines.emplace_back(line);
    }
    return def;
}

void zvCircuit::DefString(const std::string& text)
{
    const Definition def = parseDefinition(text);
    build(DefCode_, static_cast<std::int16_t>(def.trackCount * 2), def.angle,
          def.x.value_or(StartX_), def.y.value_or(StartY_), firstSet(def.trackLines, DefCode_));
    for (std::size_t i = 0; i < def.trackLines.size(); ++i) {
        if (!def.trackLines[i].empty()) {
            tracks_.Item(i + 1)->append(def.trackLines[i]);
        }
    }
}

void zvCircuit::relayout()
{
    DefString(DefString());
}

void zvCircuit::Angle(cFixed value)
{
    const cFixed n = cFixed::fromWhole(value.toWhole() % 360);
    if (n == Angle_) {
        return;
    }
    Angle_ = n;
    relayout();
}

void zvCircuit::StartX(cFixed value)
{
    if (value == StartX_) {
        return;
    }
    StartX_ = value;
    relayout();
}

void zvCircuit::StartY(cFixed value)
{
    if (value == StartY_) {
        return;
    }
    StartY_ = value;
    relayout();
}

void zvCircuit::CurItem(const std::shared_ptr<zvItem>& item)
{
    if (!item) {
        throw cError(91, "zvCircuit", "No piece to make current");
    }
    const std::int16_t i = item->TrackIndex();
    if (i < 1 || static_cast<std::size_t>(i) > tracks_.Count()) {
        throw cError(9, "zvCircuit", "The piece belongs to no track of the circuit");
    }
    const auto& track = tracks_.Item(static_cast<std::size_t>(i));
    if (track->items().Find(item->Key()) != item) {
        throw cError(5, "zvCircuit", "The piece is not on its track");
    }
    CurItem_ = item;
    CurTrack_ = track;
}

void zvCircuit::SelectedAdd(const std::shared_ptr<zvItem>& item)
{
    if (!CurTrack_) {
        throw cError(91, "zvCircuit", "The circuit has no current track");
    }
    auto& selection = CurTrack_->itemsSelected();
    if (selection.Find(item->Key()) == item) {
        return;
    }
    selection.Add(item, item->Key());
}

bool zvCircuit::SelectedRemove(const std::string& key)
{
    if (!CurTrack_) {
        return false;
    }
    auto& selection = CurTrack_->itemsSelected();
    const std::size_t i = selection.IndexOf(key);
    if (i == 0) {
        return false;
    }
    selection.RemoveAt(i);
    return true;
}

zvLocated zvCircuit::LocateItem(cFixed x, cFixed y) const
{
    zvLocated hit;
    for (const auto& t : tracks_) {
        hit.item = t->HitTest(x, y);
        if (hit.item) {
            return hit;
        }
    }
    for (const auto& o : objects_) {
        if (o->isThis(x, y)) {
            hit.object = o;
            return hit;
        }
    }
    return hit;
}

namespace zvLib {

std::shared_ptr<zvCircuit> Circuit()
{
    return std::dynamic_pointer_cast<zvCircuit>(SelectionHost);
}

void Circuit(const std::shared_ptr<zvCircuit>& circuit)
{
    SelectionHost = circuit;
}

std::string EscapeText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == ';') {
            out += "\\c";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace zvLib
