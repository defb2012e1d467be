// cDXF, the reader: group pairs (a code line and a value line) read straight from the kept
// bytes, the section loop, and one reader per entity kind of the ENTITIES section. Reading
// never recurses and never throws: what cannot be read becomes a diagnostic, and reading
// stops at "0 EOF", at the end of the bytes or at a group code that is not a number.
#include "dxf/cDXF.h"
#include "dxf/cDXF_words.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// Shown when the bytes end before the drawing's end mark.
const char* const kEndOfFileMessage =
    "File Error: \r\n"
    " The file has to be in ASCII-format and the CR/LF\r\n"
    " must be used (windows, not unix text file)\r\n"
    " Check also for extra lines (maybe empty and at the end of the file)\r\n"
    " Sorry!";

// Sections passed over whole.
constexpr std::string_view kSkippedSections[] = {"HEADER", "CLASSES", "BLOCKS", "TABLES",
                                                 "OBJECTS"};

// Polyline flags of polygon meshes and polyface meshes, which are not drawn.
constexpr int kMeshFlags = 16 | 64;

// Makes the memory of a table's new room present at once, where the system can: one request
// instead of a page fault for every page as records arrive. Only a large room is worth it,
// and no more than a bounded part of it, in case the drawing's rest holds fewer records.
void PrepareRoom(void* room, std::size_t bytes)
{
    constexpr std::size_t kLargeRoom = std::size_t(1) << 18;
    constexpr std::size_t kMostPrepared = std::size_t(64) << 20;
    static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    if (bytes < kLargeRoom || page == 0) {
        return;
    }
    bytes = std::min(bytes, kMostPrepared);
    const auto from = (reinterpret_cast<std::uintptr_t>(room) + page - 1) / page * page;
    const auto to = (reinterpret_cast<std::uintptr_t>(room) + bytes) / page * page;
#ifdef MADV_POPULATE_WRITE
    if (to > from) {
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
    }
#endif
}

inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

inline std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// The index of the first CR or LF in d from i on, or n. Lines are short, so the bytes are
// looked at eight at a time for any byte below 14 (CR, LF, TAB and other controls) and the
// rest one by one from the first such byte.
inline std::size_t LineEnd(const char* d, std::size_t i, std::size_t n)
{
    while (i + 8 <= n) {
        const std::uint64_t below = dxfwords::BelowFourteen(dxfwords::Load(d + i));
        if (below != 0) {
            i += static_cast<std::size_t>(std::countr_zero(below)) / 8;
            break;
        }
        i += 8;
    }
    while (i < n && d[i] != '\n' && d[i] != '\r') {
        ++i;
    }
    return i;
}

// A group code: an optional sign and at most six digits.
bool ParseCode(std::string_view s, int& code)
{
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 6) {
        return false;
    }
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + (c - '0');
    }
    code = negative ? -v : v;
    return true;
}

} // namespace

void cDXF::ReadDrawing()
{
    cur_ = Cursor{};
    cur_.data = bytes_.data();
    cur_.size = bytes_.size();
    while (ReadPair()) {
        if (cur_.code != 2) {
            continue;
        }
        const std::string_view name = cur_.value;
        bool known = false;
        for (auto s : kSkippedSections) {
            known = known || name == s;
        }
        if (name == "ENTITIES") {
            ReadEntities();
        } else if (known) {
            SkipSection();
        } else {
            ValueText(name.substr(0, 80), scratch_);
            Diagnose("Unkown section found " + scratch_);
            SkipSection();
        }
    }
}

void cDXF::FitTables()
{
    Fit(arcs_);
    Fit(circles_);
    Fit(lines_);
    Fit(points_);
    Fit(vertices_);
    Fit(polylines_);
    Fit(texts_);
    Fit(faces_);
    if (textPool_.capacity() - textPool_.size() > textPool_.capacity() / 4) {
        textPool_.shrink_to_fit();
    }
}

bool cDXF::NextLine(std::string_view& line)
{
    const std::size_t begin = cur_.pos;
    if (begin >= cur_.size) {
        return false;
    }
    const char* d = cur_.data;
    std::size_t i = LineEnd(d, begin, cur_.size);
    line = std::string_view(d + begin, i - begin);
    if (i < cur_.size) {
        // CR LF, LF and CR alone all end a line.
        i += (d[i] == '\r' && i + 1 < cur_.size && d[i + 1] == '\n') ? 2 : 1;
    }
    cur_.pos = i;
    ++cur_.line;
    return true;
}

bool cDXF::QuickPair()
{
    // The usual pair: a code of leading blanks and at most six digits, then the value, both
    // lines ended by CR LF or LF. Anything else is left to the general road, from the same
    // place.
    const char* d = cur_.data;
    const std::size_t n = cur_.size;
    std::size_t i = cur_.pos;
    while (i < n && d[i] == ' ') {
        ++i;
    }
    const std::size_t digits = i;
    int code = 0;
    while (i < n && i - digits < 6 && static_cast<unsigned>(d[i] - '0') < 10) {
        code = code * 10 + (d[i++] - '0');
    }
    if (i == digits || i + 1 >= n) {
        return false;
    }
    if (d[i] == '\n') {
        ++i;
    } else if (d[i] == '\r' && d[i + 1] == '\n') {
        i += 2;
    } else {
        return false;
    }
    const std::size_t end = LineEnd(d, i, n);
    if (end >= n) {
        return false;
    }
    cur_.value = Trim(std::string_view(d + i, end - i));
    cur_.pos = end + ((d[end] == '\r' && end + 1 < n && d[end + 1] == '\n') ? 2 : 1);
    cur_.line += 2;
    cur_.code = code;
    cur_.sawEOF = code == 0 && cur_.value == "EOF";
    return true;
}

bool cDXF::ReadPair()
{
    if (cur_.stopped) {
        return false;
    }
    if (cur_.sawEOF) {
        cur_.stopped = true;
        return false;
    }
    if (QuickPair()) {
        return true;
    }
    std::string_view codeLine;
    std::string_view valueLine;
    if (!NextLine(codeLine) || !NextLine(valueLine)) {
        Diagnose(kEndOfFileMessage);
        cur_.stopped = true;
        return false;
    }
    int code = 0;
    if (!ParseCode(Trim(codeLine), code)) {
        ValueText(Trim(codeLine).substr(0, 40), scratch_);
        Diagnose("The group code on line " + std::to_string(cur_.line - 1) +
                 " is not a number (\"" + scratch_ + "\"); reading stopped there.");
        cur_.stopped = true;
        return false;
    }
    cur_.code = code;
    cur_.value = Trim(valueLine);
    cur_.sawEOF = code == 0 && cur_.value == "EOF";
    return true;
}

bool cDXF::IsPair(int code, std::string_view value) const
{
    return cur_.code == code && cur_.value == value;
}

void cDXF::SkipSection()
{
    while (ReadPair()) {
        if (IsPair(0, "ENDSEC")) {
            return;
        }
    }
}

void cDXF::SkipEntity()
{
    while (ReadPair()) {
        if (cur_.code == 0) {
            return;
        }
    }
}

void cDXF::ReadEntities()
{
    if (!ReadPair()) {
        return;
    }
    while (!cur_.stopped) {
        if (cur_.code != 0) {
            if (!ReadPair()) {
                return;
            }
            continue;
        }
        const std::string_view name = cur_.value;
        if (name == "ENDSEC" || name == "EOF") {
            return;
        }
        if (name == "LINE") {
            ReadLine();
        } else if (name == "ARC") {
            ReadArc();
        } else if (name == "CIRCLE") {
            ReadCircle();
        } else if (name == "POINT") {
            ReadPoint();
        } else if (name == "TEXT") {
            ReadText();
        } else if (name == "POLYLINE") {
            ReadPolyline();
        } else if (name == "3DFACE" || name == "SOLID") {
            ReadFace(name == "SOLID");
        } else {
            // Everything else, block references included, is passed over.
            SkipEntity();
        }
    }
}

template <typename T> void cDXF::Keep(DXFTable<T>& table, const T& record)
{
    if (table.size() == table.capacity()) {
        // A full table doubles while it is small; then it grows to the count the rest of the
        // drawing likely needs at the rate seen so far, and at least by a quarter: tables
        // move seldom and keep little spare room.
        constexpr std::size_t kSampled = 1024;
        const std::size_t n = table.size() + 1;
        std::size_t room = std::max<std::size_t>(2 * table.size(), 16);
        if (n > kSampled) {
            const double rate = static_cast<double>(cur_.size) /
                                static_cast<double>(std::max<std::size_t>(cur_.pos, 1));
            room = std::max(static_cast<std::size_t>(static_cast<double>(n) * rate * 1.0625),
                            n + n / 4);
        }
        table.reserve(room);
        PrepareRoom(table.data() + table.size(), (table.capacity() - table.size()) * sizeof(T));
    }
    table.push_back(record);
}

template <typename T> void cDXF::Fit(DXFTable<T>& table)
{
    // Spare room of more than a quarter is given back; less is not worth moving the table.
    if (table.capacity() - table.size() > table.capacity() / 4) {
        table.shrink_to_fit();
    }
}

template <typename Store> bool cDXF::ReadFields(Store store)
{
    for (;;) {
        if (!ReadPair()) {
            return false;
        }
        if (cur_.code == 0) {
            return true;
        }
        store(cur_.code, cur_.value);
    }
}

bool cDXF::KeepEntity(bool complete, bool ok, const char* kind, std::int64_t line,
                      std::string_view layer, std::int32_t& index)
{
    if (!complete) {
        return false;
    }
    if (!ok) {
        DropEntity(kind, line);
        return false;
    }
    return ResolveLayer(layer, index);
}

void cDXF::DropEntity(const char* kind, std::int64_t line)
{
    Diagnose(std::string("The ") + kind + " on line " + std::to_string(line) +
             " holds a value that is not a number or is out of range; it was left out.");
}

bool cDXF::ResolveLayer(std::string_view raw, std::int32_t& index)
{
    // An entity without a layer takes the first row.
    if (raw.data() == nullptr) {
        index = 0;
        return true;
    }
    if (LayerIndex(raw, index)) {
        return true;
    }
    Diagnose("The drawing names more than " + std::to_string(kMaxLayers) +
             " layers; reading stopped on line " + std::to_string(cur_.line - 1) + ".");
    cur_.stopped = true;
    return false;
}

void cDXF::ReadLine()
{
    const std::int64_t line = cur_.line - 1;
    DXFLineRecord r;
    std::string_view layer;
    bool ok = true;
    const auto coord = [&](std::string_view v, std::int32_t& f) { ok = ScaledCoord(v, f) && ok; };
    const bool complete = ReadFields([&](int code, std::string_view v) {
        switch (code) {
        case 8:
            layer = v;
            break;
        case 10:
            coord(v, r.x1);
            break;
        case 20:
            coord(v, r.y1);
            break;
        case 11:
            coord(v, r.x2);
            break;
        case 21:
            coord(v, r.y2);
            break;
        default:
            break;
        }
    });
    if (!KeepEntity(complete, ok, "LINE", line, layer, r.layer)) {
        return;
    }
    Keep(lines_, r);
    ExtendExtent(r.x1, r.y1);
    ExtendExtent(r.x2, r.y2);
}

void cDXF::ReadPoint()
{
    const std::int64_t line = cur_.line - 1;
    DXFPointRecord r;
    std::string_view layer;
    bool ok = true;
    const auto coord = [&](std::string_view v, std::int32_t& f) { ok = ScaledCoord(v, f) && ok; };
    const bool complete = ReadFields([&](int code, std::string_view v) {
        switch (code) {
        case 8:
            layer = v;
            break;
        case 10:
            coord(v, r.x);
            break;
        case 20:
            coord(v, r.y);
            break;
        default:
            break;
        }
    });
    if (!KeepEntity(complete, ok, "POINT", line, layer, r.layer)) {
        return;
    }
    Keep(points_, r);
    ExtendExtent(r.x, r.y);
}

void cDXF::ReadCircle()
{
    const std::int64_t line = cur_.line - 1;
    DXFCircleRecord r;
    std::string_view layer;
    bool ok = true;
    const auto coord = [&](std::string_view v, std::int32_t& f) { ok = ScaledCoord(v, f) && ok; };
    const bool complete = ReadFields([&](int code, std::string_view v) {
        switch (code) {
        case 8:
            layer = v;
            break;
        case 10:
        case 11:
            coord(v, r.x);
            break;
        case 20:
        case 21:
            coord(v, r.y);
            break;
        case 40:
            coord(v, r.radius);
            break;
        default:
            break;
        }
    });
    if (!KeepEntity(complete, ok && r.radius >= 0, "CIRCLE", line, layer, r.layer)) {
        return;
    }
    Keep(circles_, r);
    ExtendExtent(r.x - r.radius, r.y - r.radius);
    ExtendExtent(r.x + r.radius, r.y + r.radius);
}

void cDXF::ReadArc()
{
    const std::int64_t line = cur_.line - 1;
    DXFArcRecord r;
    std::string_view layer;
    bool ok = true;
    const auto coord = [&](std::string_view v, std::int32_t& f) { ok = ScaledCoord(v, f) && ok; };
    double startDegrees = 0;
    double endDegrees = 0;
    const auto angle = [&](std::string_view v, double& f) { ok = ValueNumber(v, f) && ok; };
    const bool complete = ReadFields([&](int code, std::string_view v) {
        switch (code) {
        case 8:
            layer = v;
            break;
        case 10:
            coord(v, r.x);
            break;
        case 20:
            coord(v, r.y);
            break;
        case 40:
            coord(v, r.radius);
            break;
        case 50:
            angle(v, startDegrees);
            break;
        case 51:
            angle(v, endDegrees);
            break;
        default:
            break;
        }
    });
    if (!KeepEntity(complete, ok && r.radius >= 0, "ARC", line, layer, r.layer)) {
        return;
    }
    // Whether the arc is a whole circle, and how far it turns, is read from the angles as the
    // file gives them: two angles apart by less than single precision tells are still apart.
    r.startAngle = HeldAngle(startDegrees);
    r.endAngle = HeldAngle(endDegrees);
    const double sweep = ArcSweep(startDegrees, endDegrees);
    r.sweep = static_cast<float>(sweep);
    Keep(arcs_, r);
    const double start = startDegrees / 180.0 * kPi;
    const auto at = [&](double a, bool cosine) {
        const double c = cosine ? std::cos(a) : std::sin(a);
        return static_cast<std::int32_t>(RoundHalfEven((cosine ? r.x : r.y) + r.radius * c));
    };
    ExtendExtent(at(start, true), at(start, false));
    ExtendExtent(at(start + sweep, true), at(start + sweep, false));
    ArcExtent(r.x, r.y, r.radius, r.startAngle, sweep);
}

void cDXF::ReadText()
{
    const std::int64_t line = cur_.line - 1;
    DXFTextRecord r;
    std::string_view layer;
    std::string_view text;
    bool ok = true;
    const auto coord = [&](std::string_view v, std::int32_t& f) { ok = ScaledCoord(v, f) && ok; };
    const bool complete = ReadFields([&](int code, std::string_view v) {
        switch (code) {
        case 8:
            layer = v;
            break;
        case 1:
            text = v;
            break;
        case 10:
            coord(v, r.x);
            break;
        case 20:
            coord(v, r.y);
            break;
        default:
            break;
        }
    });
    if (!KeepEntity(complete, ok, "TEXT", line, layer, r.layer)) {
        return;
    }
    ValueText(text, scratch_);
    r.textOffset = static_cast<std::uint32_t>(textPool_.size());
    r.textLength = static_cast<std::uint32_t>(scratch_.size());
    textPool_ += scratch_;
    Keep(texts_, r);
    ExtendExtent(r.x, r.y);
}

void cDXF::ReadFace(bool solid)
{
    const std::int64_t line = cur_.line - 1;
    DXFFaceRecord r;
    r.solid = solid;
    std::string_view layer;
    bool ok = true;
    unsigned xRead = 0;
    unsigned yRead = 0;
    const bool complete = ReadFields([&](int code, std::string_view v) {
        if (code == 8) {
            layer = v;
        } else if (code >= 10 && code <= 13) {
            const int k = code - 10;
            ok = ScaledCoord(v, r.x[k]) && ok;
            xRead |= 1u << k;
            r.lastCorner = std::max<std::int16_t>(r.lastCorner, static_cast<std::int16_t>(k));
        } else if (code >= 20 && code <= 23) {
            const int k = code - 20;
            ok = ScaledCoord(v, r.y[k]) && ok;
            yRead |= 1u << k;
        }
    });
    if (!KeepEntity(complete, ok, solid ? "SOLID" : "3DFACE", line, layer, r.layer)) {
        return;
    }
    for (int k = 0; k < 4; ++k) {
        if (xRead & (1u << k)) {
            ExtendX(r.x[k]);
        }
        if (yRead & (1u << k)) {
            ExtendY(r.y[k]);
        }
    }
    if (r.lastCorner == 3 && r.x[3] == r.x[2] && r.y[3] == r.y[2]) {
        r.lastCorner = 2; // a triangle
    }
    if (solid && r.lastCorner == 3) {
        // A SOLID lists its third and fourth corners crosswise; keep them in outline order.
        std::swap(r.x[2], r.x[3]);
        std::swap(r.y[2], r.y[3]);
    }
    Keep(faces_, r);
}

bool cDXF::ReadVertex(bool keep, bool& bad)
{
    DXFVertexRecord r;
    std::string_view layer;
    const auto coord = [&](std::string_view v, std::int32_t& f) {
        bad = !ScaledCoord(v, f) || bad;
    };
    const bool complete = ReadFields([&](int code, std::string_view v) {
        double b = 0;
        switch (code) {
        case 8:
            layer = v;
            break;
        case 10:
            coord(v, r.x);
            break;
        case 20:
            coord(v, r.y);
            break;
        case 42:
            if (ValueNumber(v, b) && std::fabs(b) <= kMaxBulge) {
                r.bulge = static_cast<float>(b);
            } else {
                bad = true;
            }
            break;
        default:
            break;
        }
    });
    if (!complete || !keep) {
        return complete;
    }
    if (!ResolveLayer(layer, r.layer)) {
        return false;
    }
    Keep(vertices_, r);
    return true;
}

void cDXF::ReadPolyline()
{
    const std::int64_t line = cur_.line - 1;
    DXFPolylineRecord rec;
    rec.firstVertex = static_cast<std::int32_t>(vertices_.size());
    std::string_view layer;
    bool layerDone = false;
    int flags = 0;
    bool bad = false;
    // The polyline's own layer is numbered before those of its vertices; meshes name none.
    const auto resolve = [&] {
        layerDone = layerDone || (flags & kMeshFlags) != 0 || ResolveLayer(layer, rec.layer);
        return layerDone;
    };
    while (ReadPair()) {
        if (IsPair(0, "VERTEX") && !resolve()) {
            break;
        }
        while (IsPair(0, "VERTEX")) {
            if (!ReadVertex((flags & kMeshFlags) == 0, bad)) {
                break;
            }
        }
        if (cur_.stopped) {
            break;
        }
        if (cur_.code == 0) {
            // SEQEND closes the polyline; any other entity ends it as well.
            const bool seqend = cur_.value == "SEQEND";
            if (resolve()) {
                CommitPolyline(rec, bad, flags, line);
            }
            if (seqend) {
                SkipEntity();
            }
            return;
        }
        double f = 0;
        if (cur_.code == 8) {
            layer = cur_.value;
        } else if (cur_.code == 70) {
            if (ValueNumber(cur_.value, f) && std::fabs(f) <= INT32_MAX) {
                flags = static_cast<int>(RoundHalfEven(f));
            } else {
                bad = true;
            }
        }
    }
    // Cut off by the end of the drawing: the polyline and its vertices are dropped.
    vertices_.resize(rec.firstVertex);
}

void cDXF::CommitPolyline(DXFPolylineRecord& rec, bool bad, int flags, std::int64_t line)
{
    if ((flags & kMeshFlags) != 0) {
        vertices_.resize(rec.firstVertex);
        return;
    }
    rec.lastVertex = static_cast<std::int32_t>(vertices_.size()) - 1;
    rec.closed = (flags & 1) != 0 ? -1 : 0;
    const DXFExtent saved = extent_;
    if (bad || !PolylineExtent(rec)) {
        extent_ = saved;
        vertices_.resize(rec.firstVertex);
        DropEntity("POLYLINE", line);
        return;
    }
    Keep(polylines_, rec);
}

bool cDXF::PolylineExtent(const DXFPolylineRecord& rec)
{
    for (std::int32_t i = rec.firstVertex; i <= rec.lastVertex; ++i) {
        ExtendExtent(vertices_[i].x, vertices_[i].y);
        if (i > rec.firstVertex && !SegmentExtent(vertices_[i - 1], vertices_[i])) {
            return false;
        }
    }
    if (rec.closed != 0 && rec.lastVertex > rec.firstVertex) {
        return SegmentExtent(vertices_[rec.lastVertex], vertices_[rec.firstVertex]);
    }
    return true;
}

bool cDXF::SegmentExtent(const DXFVertexRecord& a, const DXFVertexRecord& b)
{
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::int32_t r = 0;
    float start = 0;
    float end = 0;
    if (a.bulge == 0) {
        return true;
    }
    if (BulgeToArc(a.x, a.y, b.x, b.y, a.bulge, dx, dy, r, start, end)) {
        ArcExtent(a.x + dx, a.y + dy, r, start, BulgeSweep(a.bulge));
        return true;
    }
    // No arc within the coordinate range. A bulge of at most a half turn is then so slight
    // that the segment is straight, as it is drawn, its end points already in the extent; a
    // larger one is nearly a whole circle, which no straight segment stands for.
    return std::fabs(a.bulge) <= 1;
}
