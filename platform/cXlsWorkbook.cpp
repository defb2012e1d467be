// cXlsWorkbook: the BIFF8 records of a one-sheet workbook. The globals hold the fonts (a plain
// and a bold one), the cell formats, the sheet's place and the shared strings; the sheet holds
// its size, column widths, window and one record per cell (a number, or an index into the
// shared strings). The whole "Workbook" stream goes into a compound file.
#include "platform/cXlsWorkbook.h"

#include "foundation/cError.h"
#include "platform/cCompoundFile.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <map>
#include <utility>

namespace {

constexpr std::size_t kMaxRecord = 8224;
constexpr std::size_t kMaxRows = 65536;
constexpr std::size_t kMaxColumns = 256;
constexpr int kMaxTextLength = 32767;
constexpr std::uint16_t kPlainXf = 15;
constexpr std::uint16_t kBoldXf = 16;
constexpr std::uint16_t kBoldFont = 5; // font index 4 does not exist in BIFF8

// Record numbers.
constexpr std::uint16_t kBOF = 0x0809;
constexpr std::uint16_t kEOF = 0x000A;
constexpr std::uint16_t kCodepage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kXF = 0x00E0;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSST = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kExtSST = 0x00FF;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kColInfo = 0x007D;
constexpr std::uint16_t kWindow2 = 0x023E;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kLabelSST = 0x00FD;

void Add8(std::string& out, unsigned v)
{
    out += static_cast<char>(v & 0xFF);
}

void Add16(std::string& out, unsigned v)
{
    Add8(out, v);
    Add8(out, v >> 8);
}

void Add32(std::string& out, std::uint32_t v)
{
    Add16(out, v & 0xFFFF);
    Add16(out, v >> 16);
}

std::string Record(std::uint16_t type, const std::string& data)
{
    std::string out;
    Add16(out, type);
    Add16(out, static_cast<unsigned>(data.size()));
    return out + data;
}

// A text's characters in UTF-16, cut to the longest text a cell holds.
std::u16string Utf16(const std::string& text)
{
    std::u16string s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                           .left(kMaxTextLength)
                           .toStdU16String();
    return s;
}

// True when every character fits the compressed (one byte per character) form.
bool Compressible(const std::u16string& s)
{
    for (const char16_t c : s) {
        if (c > 0xFF) {
            return false;
        }
    }
    return true;
}

// The characters from..to of a text in the compressed or the two-byte form.
std::string Characters(const std::u16string& s, std::size_t from, std::size_t to, bool wide)
{
    std::string out;
    for (std::size_t i = from; i < to; ++i) {
        wide ? Add16(out, s[i]) : Add8(out, s[i]);
    }
    return out;
}

// A short Unicode text (length in one byte), as font and sheet names are stored.
std::string ShortText(const std::string& text)
{
    const std::u16string s = Utf16(text).substr(0, 255);
    const bool wide = !Compressible(s);
    std::string out;
    Add8(out, static_cast<unsigned>(s.size()));
    Add8(out, wide ? 1 : 0);
    return out + Characters(s, 0, s.size(), wide);
}

// Where a shared string starts: its position in the workbook stream, and its offset in the
// record holding it (record header included).
struct StringPlace {
    std::uint32_t stream = 0;
    std::uint16_t inRecord = 0;
};

// The index of the shared strings: every dsst-th string's place, dsst chosen so that there are
// at most 128 of them.
std::string StringIndex(const std::vector<StringPlace>& places)
{
    const std::size_t dsst = std::max<std::size_t>(8, (places.size() + 127) / 128);
    std::string d;
    Add16(d, static_cast<unsigned>(dsst));
    for (std::size_t i = 0; i < places.size(); i += dsst) {
        Add32(d, places[i].stream);
        Add16(d, places[i].inRecord);
        Add16(d, 0);
    }
    return Record(kExtSST, d);
}

// The shared-strings table starting at that position of the stream, and its index: its header
// and strings split over CONTINUE records where a record is full. A text's length and flags
// stay with its first character; a text split over two records repeats its flags at the start
// of the next.
std::string SharedStrings(const std::vector<std::string>& strings, std::uint32_t uses,
                          std::size_t at)
{
    std::vector<StringPlace> places;
    std::string out;
    std::string data;
    Add32(data, uses);
    Add32(data, static_cast<std::uint32_t>(strings.size()));
    std::uint16_t type = kSST;
    auto flush = [&] {
        out += Record(type, data);
        data.clear();
        type = kContinue;
    };
    for (const std::string& text : strings) {
        const std::u16string s = Utf16(text);
        const bool wide = !Compressible(s);
        const std::size_t unit = wide ? 2 : 1;
        if (data.size() + 3 + (s.empty() ? 0 : unit) > kMaxRecord) {
            flush();
        }
        places.push_back({static_cast<std::uint32_t>(at + out.size() + 4 + data.size()),
                          static_cast<std::uint16_t>(4 + data.size())});
        Add16(data, static_cast<unsigned>(s.size()));
        Add8(data, wide ? 1 : 0);
        std::size_t done = 0;
        while (done < s.size()) {
            const std::size_t room = (kMaxRecord - data.size()) / unit;
            const std::size_t take = std::min(room, s.size() - done);
            data += Characters(s, done, done + take, wide);
            done += take;
            if (done < s.size()) {
                flush();
                Add8(data, wide ? 1 : 0);
            }
        }
    }
    flush();
    return out + StringIndex(places);
}

std::string Font(bool bold)
{
    std::string d;
    Add16(d, 200);               // 10 points, in twentieths
    Add16(d, bold ? 1 : 0);      // bold (repeating the weight), not italic, not struck out
    Add16(d, 0x7FFF);            // the window text colour
    Add16(d, bold ? 700 : 400);  // weight
    Add16(d, 0);                 // no super- or subscript
    Add8(d, 0);                  // no underline
    Add8(d, 0);                  // family
    Add8(d, 0);                  // character set
    Add8(d, 0);
    return Record(kFont, d + ShortText("Arial"));
}

// A cell format: style formats (fStyle, parent 0xFFF) or cell formats of the Normal style,
// general number format, bottom-aligned, no borders, default pattern colours.
std::string Xf(std::uint16_t font, bool style, bool ownFont)
{
    std::string d;
    Add16(d, font);
    Add16(d, 0);                         // number format "General"
    Add16(d, style ? 0xFFF5 : 0x0001);   // locked; style formats have no parent
    Add8(d, 0x20);                       // general, bottom
    Add8(d, 0);                          // no rotation
    Add8(d, 0);                          // no indent
    Add8(d, !style && ownFont ? 0x08 : 0x00); // a cell format with a font of its own
    Add32(d, 0);                         // no borders
    Add32(d, 0);
    Add16(d, 0x20C0);                    // pattern colours: system foreground, background
    return Record(kXF, d);
}

std::string Bof(std::uint16_t kind)
{
    std::string d;
    Add16(d, 0x0600); // BIFF8
    Add16(d, kind);   // 0x0005 workbook globals, 0x0010 worksheet
    Add16(d, 0x0DBB); // build
    Add16(d, 0x07CC); // year
    Add32(d, 0);      // file history
    Add32(d, 0x06);   // lowest BIFF version that reads it
    return Record(kBOF, d);
}

// A number as the eight bytes of an IEEE double, least significant first.
std::string Double(double v)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    std::string out;
    Add32(out, static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    Add32(out, static_cast<std::uint32_t>(bits >> 32));
    return out;
}

} // namespace

cXlsWorkbook::cXlsWorkbook(std::string sheetName) : sheetName_(std::move(sheetName)) {}

void cXlsWorkbook::ColumnWidth(int column, int twips)
{
    if (column < 0 || static_cast<std::size_t>(column) >= kMaxColumns) {
        return;
    }
    if (widths_.size() <= static_cast<std::size_t>(column)) {
        widths_.resize(static_cast<std::size_t>(column) + 1, 0);
    }
    widths_[static_cast<std::size_t>(column)] = twips;
}

void cXlsWorkbook::AddRow(std::vector<cXlsCell> cells)
{
    rows_.push_back(std::move(cells));
}

std::string cXlsWorkbook::globals(std::size_t sheetOffset,
                                  const std::vector<std::string>& strings) const
{
    std::string out = Bof(0x0005);
    std::string d;
    Add16(d, 1200); // texts are UTF-16
    out += Record(kCodepage, d);
    d.clear();
    for (unsigned v : {0u, 0u, 0x3000u, 0x2000u, 0x0038u, 0u, 0u, 1u, 0x0258u}) {
        Add16(d, v);
    }
    out += Record(kWindow1, d);
    out += Record(kDateMode, std::string(2, '\0'));
    for (int i = 0; i < 4; ++i) {
        out += Font(false);
    }
    out += Font(true);
    for (int i = 0; i < 15; ++i) {
        out += Xf(0, true, false);
    }
    out += Xf(0, false, false);
    out += Xf(kBoldFont, false, true);
    d.clear();
    Add16(d, 0x8000); // built-in style on format 0
    Add8(d, 0);       // "Normal"
    Add8(d, 0xFF);
    out += Record(kStyle, d);
    d.clear();
    Add32(d, static_cast<std::uint32_t>(sheetOffset));
    Add8(d, 0); // visible
    Add8(d, 0); // worksheet
    out += Record(kBoundSheet, d + ShortText(sheetName_));
    std::uint32_t uses = 0;
    for (const auto& row : rows_) {
        for (const cXlsCell& cell : row) {
            uses += !cell.number && !cell.text.empty() ? 1 : 0;
        }
    }
    out += SharedStrings(strings, uses, out.size());
    return out + Record(kEOF, {});
}

std::string cXlsWorkbook::sheet(std::vector<std::string>& strings) const
{
    std::size_t columns = widths_.size();
    for (const auto& row : rows_) {
        columns = std::max(columns, row.size());
    }
    std::string out = Bof(0x0010);
    std::string d;
    Add32(d, 0);
    Add32(d, static_cast<std::uint32_t>(rows_.size()));
    Add16(d, 0);
    Add16(d, static_cast<unsigned>(columns));
    Add16(d, 0);
    out += Record(kDimensions, d);
    for (std::size_t c = 0; c < widths_.size(); ++c) {
        d.clear();
        Add16(d, static_cast<unsigned>(c));
        Add16(d, static_cast<unsigned>(c));
        // Twips to 1/256 of a character of the default font (7 pixels of 15 twips each).
        Add16(d, static_cast<unsigned>(std::min(65535, std::max(0, widths_[c]) * 256 / 105)));
        Add16(d, kPlainXf);
        Add16(d, 0);
        Add16(d, 0);
        out += Record(kColInfo, d);
    }
    d.clear();
    for (unsigned v : {0x06B6u, 0u, 0u, 0x40u, 0u, 0u, 0u, 0u, 0u}) {
        Add16(d, v);
    }
    out += Record(kWindow2, d);
    return out + cells(strings) + Record(kEOF, {});
}

std::string cXlsWorkbook::cells(std::vector<std::string>& strings) const
{
    std::string out;
    std::map<std::string, std::uint32_t> index;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        for (std::size_t c = 0; c < rows_[r].size(); ++c) {
            const cXlsCell& cell = rows_[r][c];
            if (cell.text.empty()) {
                continue;
            }
            std::string d;
            Add16(d, static_cast<unsigned>(r));
            Add16(d, static_cast<unsigned>(c));
            Add16(d, cell.bold ? kBoldXf : kPlainXf);
            if (cell.number) {
                double value = 0;
                std::from_chars(cell.text.data(), cell.text.data() + cell.text.size(), value);
                out += Record(kNumber, d + Double(value));
                continue;
            }
            auto [at, added] = index.emplace(cell.text, static_cast<std::uint32_t>(strings.size()));
            if (added) {
                strings.push_back(cell.text);
            }
            Add32(d, at->second);
            out += Record(kLabelSST, d);
        }
    }
    return out;
}

std::string cXlsWorkbook::Bytes() const
{
    if (rows_.size() > kMaxRows || widths_.size() > kMaxColumns) {
        throw cError(5, "cXlsWorkbook", "Invalid procedure call or argument");
    }
    for (const auto& row : rows_) {
        if (row.size() > kMaxColumns) {
            throw cError(5, "cXlsWorkbook", "Invalid procedure call or argument");
        }
    }
    std::vector<std::string> strings;
    const std::string sheetRecords = sheet(strings);
    const std::string workbook = globals(globals(0, strings).size(), strings) + sheetRecords;
    return cCompoundFile::OneStream("Workbook", workbook);
}
