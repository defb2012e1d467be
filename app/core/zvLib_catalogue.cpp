// zvLib, the piece catalogue: reading "Zorv.dat" and building the piece table from its piece
// rows. Each row is read and checked whole before anything of it reaches the table, so a bad
// row leaves no half-built record, no icon and no trace in the custom radius counter.
#include "app/core/zvLib_catalogue.h"

#include "app/core/zvLib_sets.h"
#include "foundation/NUX_STD_apppath.h"
#include "foundation/cError.h"
#include "foundation/zvBlob.h"
#include "foundation/zvLang.h"
#include "model/zvLib_globals.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace zvLib {

cRecordset Catalogue;

namespace {

constexpr const char* kSource = "zvLib.BuildPieceTable";
// Largest catalogue number taken: a circuit-sized value, far inside the fixed-point range.
constexpr double kMaxNumber = 1e9;
// Radius colours exist for radius numbers 1 to 12.
constexpr int kRadiusColours = 12;
// The custom radius counter starts here for every set, so its curves get 9, 10, ...
constexpr int kFirstCustomRadius = 8;

// Index of every field the build reads; -1 for the optional ones the catalogue lacks.
struct FieldMap {
    long setID, itemID, stdWidth, lanesGap, stdRadius, kerbsWidth, kerbsOn, classe, sng1, sng2,
        sng3, flgSwap, flags, extra, R0, R1, R2;
    long icona, desc, descIT, descEN;
};

// The field indexes, or the name of the first required field the catalogue lacks.
std::optional<FieldMap> mapFields(const cRecordset& rs, std::string& missing)
{
    FieldMap m{};
    const std::pair<long*, const char*> required[] = {{&m.setID, "setID"},
                                                      {&m.itemID, "itemID"},
                                                      {&m.stdWidth, "stdWidth"},
                                                      {&m.lanesGap, "lanesGap"},
                                                      {&m.stdRadius, "stdRadius"},
                                                      {&m.kerbsWidth, "kerbsWidth"},
                                                      {&m.kerbsOn, "kerbsOn"},
                                                      {&m.classe, "classe"},
                                                      {&m.sng1, "sng1"},
                                                      {&m.sng2, "sng2"},
                                                      {&m.sng3, "sng3"},
                                                      {&m.flgSwap, "flgSwap"},
                                                      {&m.flags, "flags"},
                                                      {&m.extra, "extra"},
                                                      {&m.R0, "R0"},
                                                      {&m.R1, "R1"},
                                                      {&m.R2, "R2"}};
    for (const auto& [index, name] : required) {
        *index = rs.FieldIndex(name);
        if (*index < 0) {
            missing = name;
            return std::nullopt;
        }
    }
    m.icona = rs.FieldIndex("icona");
    m.desc = rs.FieldIndex("desc_" + zvLang::LangID());
    m.descIT = rs.FieldIndex("desc_IT");
    m.descEN = rs.FieldIndex("desc_EN");
    return m;
}

[[noreturn]] void reject(const cField& field, const std::string& why)
{
    throw cError(13, kSource, field.Name() + " " + why);
}

// A field's value; with nullable a Null becomes the neutral value of the field's type,
// otherwise a Null breaks the row.
cVariant valueOf(const cField& field, bool nullable)
{
    if (nullable) {
        return zvBlob::FldValue(field);
    }
    if (field.Value().isNull()) {
        reject(field, "has no value");
    }
    return field.Value();
}

// A number of the row, rounded to four decimals.
cFixed fixedOf(const cField& field, bool nullable)
{
    const cVariant v = valueOf(field, nullable);
    if (v.kind() == cVariant::Kind::Fixed) {
        return v.toFixed();
    }
    const double d = v.toDouble();
    if (!std::isfinite(d) || std::fabs(d) > kMaxNumber) {
        reject(field, "is out of range");
    }
    return cFixed::fromDouble(d);
}

// A whole number of the row within [lo, hi], rounded halves to even.
std::int64_t wholeOf(const cField& field, bool nullable, std::int64_t lo, std::int64_t hi)
{
    const double d = valueOf(field, nullable).toDouble();
    if (!std::isfinite(d) || d < static_cast<double>(lo) - 0.5 ||
        d > static_cast<double>(hi) + 0.5) {
        reject(field, "is out of range");
    }
    const std::int64_t n = static_cast<std::int64_t>(RoundHalfEven(d));
    if (n < lo || n > hi) {
        reject(field, "is out of range");
    }
    return n;
}

std::string textOfField(const cRecordset& rs, long index)
{
    return index < 0 ? std::string() : zvBlob::FldValue(rs.Fields(index)).toText();
}

std::string upperAscii(std::string s)
{
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return s;
}

// Lower case of ASCII letters and of the accented capitals of Latin-1 (UTF-8 "C3 80" to
// "C3 9E", the multiplication sign excepted).
std::string lowerText(std::string s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 'A' && c <= 'Z') {
            s[i] = static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xC3 && i + 1 < s.size()) {
            const unsigned char n = static_cast<unsigned char>(s[i + 1]);
            if (n >= 0x80 && n <= 0x9E && n != 0x97) {
                s[i + 1] = static_cast<char>(n + 0x20);
            }
            ++i;
        }
    }
    return s;
}

std::string trimBlanks(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// What the build carries from one row to the next.
struct BuildState {
    std::string lastSet = "<null>";
    int radiusCounter = 0;
};

// The record of one row as the catalogue gives it, before the curve conversion.
zvPieceRecord readRecord(cRecordset& rs, const FieldMap& f)
{
    zvPieceRecord rec;
    rec.setID = valueOf(rs.Fields(f.setID), false).toText();
    rec.code = zvBlob::FldValue(rs.Fields(f.itemID)).toText();
    if (!IsSafeCatalogueKey(rec.setID)) {
        reject(rs.Fields(f.setID), "is not usable as a set code");
    }
    if (!IsSafeCatalogueKey(rec.code)) {
        reject(rs.Fields(f.itemID), "is not usable as an item code");
    }
    rec.itemID = rec.code;
    const cFixed width = fixedOf(rs.Fields(f.stdWidth), false);
    rec.stdWidth = width;
    rec.lanesGap = fixedOf(rs.Fields(f.lanesGap), false) / cFixed(2);
    rec.stdRadius = fixedOf(rs.Fields(f.stdRadius), false) + width / cFixed(2);
    rec.kerbsWidth = fixedOf(rs.Fields(f.kerbsWidth), false);
    rec.kerbsOn =
        static_cast<std::int16_t>(wholeOf(rs.Fields(f.kerbsOn), false, INT16_MIN, INT16_MAX));
    rec.classe =
        static_cast<std::int32_t>(wholeOf(rs.Fields(f.classe), true, INT32_MIN, INT32_MAX));
    rec.sng1 = fixedOf(rs.Fields(f.sng1), true);
    rec.sng2 = fixedOf(rs.Fields(f.sng2), true);
    rec.sng3 = fixedOf(rs.Fields(f.sng3), true);
    rec.flgSwap = zvBlob::FldValue(rs.Fields(f.flgSwap)).toBool();
    rec.flags = static_cast<std::int32_t>(wholeOf(rs.Fields(f.flags), true, INT32_MIN, INT32_MAX));
    rec.extra = trimBlanks(upperAscii(textOfField(rs, f.extra)));
    if (rec.classe == 2) {
        rec.R0 = fixedOf(rs.Fields(f.R0), true);
        rec.R1 = fixedOf(rs.Fields(f.R1), true);
        rec.R2 = fixedOf(rs.Fields(f.R2), true);
    }
    return rec;
}

// A curve's centre-line radius and radius colour: sng2 up to 10 is a radius number, above
// it the inner-edge radius in mm, numbered by the set's custom radius counter.
void convertCurve(zvPieceRecord& rec, int& counter, const cField& sng2)
{
    if (rec.sng2 <= cFixed(10)) {
        const std::int64_t n = rec.sng2.toWhole();
        if (n < 1) {
            reject(sng2, "is a radius number below 1");
        }
        rec.r = static_cast<std::int16_t>(n);
        rec.sng2 = rec.stdRadius + (rec.sng2 - cFixed(1)) * rec.stdWidth;
        return;
    }
    if (counter + 1 > kRadiusColours) {
        reject(sng2, "gives a radius in mm beyond the twelve radius colours of the set");
    }
    rec.r = static_cast<std::int16_t>(++counter);
    rec.sng2 = rec.sng2 + rec.stdWidth / cFixed(2);
}

// Hand, key and description of the record by its class.
void applyClass(zvPieceRecord& rec, const std::string& description)
{
    switch (rec.classe) {
    case 1:
    case 8:
        rec.itemID = rec.code + (rec.classe == 8 ? "(F)" : "");
        rec.Orientation = 2;
        rec.description = description;
        break;
    case 2:
        rec.itemID = rec.code + "(R)";
        rec.Orientation = -1;
        rec.description = description + " (" + lowerText(zvLang::Translate("$right")) + ")";
        break;
    default:
        rec.Orientation = 0;
        break;
    }
}

// The mirror copy of a curve (left hand) or of a width transition (narrow end last).
zvPieceRecord mirrorOf(const zvPieceRecord& rec, const cRecordset& rs, const FieldMap& f,
                       const std::string& description)
{
    zvPieceRecord copy = rec;
    if (rec.classe == 2) {
        copy.Orientation = 1;
        copy.itemID = rec.code + "(L)";
        copy.description = description + " (" + lowerText(zvLang::Translate("$left")) + ")";
    } else {
        copy.Orientation = -2;
        copy.itemID = rec.code + "(B)";
        copy.description = textOfField(rs, zvLang::LangID() == "IT" ? f.descIT : f.descEN);
    }
    return copy;
}

// Calls an icon step; a failure there is reported and the record kept.
template <typename Step>
void iconStep(std::vector<std::string>& messages, const zvPieceRecord& rec, Step step)
{
    try {
        step();
    } catch (const cError& e) {
        messages.push_back("The icon of " + rec.setID + ":" + rec.itemID +
                           " could not be written: " + e.Description());
    }
}

// Steps 2 to 9 for one piece row; raises cError for a row that breaks the rules.
void buildRow(cRecordset& rs, const FieldMap& f, BuildState& state, zvPieceIcons* icons,
              std::vector<std::string>& messages)
{
    zvPieceRecord rec = readRecord(rs, f);
    int counter = rec.setID != state.lastSet ? kFirstCustomRadius : state.radiusCounter;
    if (rec.classe == 2) {
        convertCurve(rec, counter, rs.Fields(f.sng2));
    }
    const bool mirrored = rec.classe == 2 || rec.classe == 8;
    if (PieceTable.size() + (mirrored ? 2 : 1) > kMaxCatalogueRecords) {
        throw cError(6, kSource, "does not fit: the piece table is full");
    }
    const std::string description = textOfField(rs, f.desc);
    applyClass(rec, description);
    state.lastSet = rec.setID;
    state.radiusCounter = counter;

    PieceTable.push_back(rec);
    if (icons) {
        cField* icona = f.icona >= 0 ? &rs.Fields(f.icona) : nullptr;
        iconStep(messages, rec, [&] { icons->WriteIcon(rec, icona); });
    }
    if (mirrored) {
        PieceTable.push_back(mirrorOf(rec, rs, f, description));
        if (icons) {
            iconStep(messages, rec, [&] { icons->MirrorIcon(rec, PieceTable.back()); });
        }
    }
    if (icons) {
        const zvPieceRecord last = PieceTable.back();
        iconStep(messages, last, [&] { icons->CheckIcon(last); });
    }
}

// Set rows, start rows and rows without item code give no record.
bool isPieceRow(const cField& itemID)
{
    const cVariant& v = itemID.Value();
    if (v.isNull()) {
        return false;
    }
    const std::string key = v.toText();
    return key != "000" && key != "<START>";
}

std::string rowLabel(const cRecordset& rs, const FieldMap& f, long row)
{
    return "Catalogue row " + std::to_string(row) + " (" + rs.Fields(f.setID).Value().toText() +
           ":" + rs.Fields(f.itemID).Value().toText() + ")";
}

} // namespace

long OpenCatalogue(const std::string& path)
{
    return Catalogue.Open(path.empty() ? NUX_STD_library::AppPath() + "Zorv.dat" : path);
}

std::vector<std::string> BuildPieceTable(zvPieceIcons* icons)
{
    std::vector<std::string> messages;
    PieceTable.clear();
    ReadSetFacts();
    std::string missing;
    const auto fields = mapFields(Catalogue, missing);
    if (!fields) {
        messages.push_back("The catalogue has no field \"" + missing +
                           "\"; no piece could be read.");
        return messages;
    }
    Catalogue.Filter("");
    BuildState state;
    long row = 0;
    for (Catalogue.MoveFirst(); !Catalogue.Eof(); Catalogue.MoveNext()) {
        ++row;
        if (!isPieceRow(Catalogue.Fields(fields->itemID))) {
            continue;
        }
        try {
            buildRow(Catalogue, *fields, state, icons, messages);
        } catch (const cError& e) {
            messages.push_back(rowLabel(Catalogue, *fields, row) + ": " + e.Description() +
                               "; the row is left out.");
        }
    }
    return messages;
}

long LoadCatalogue(std::vector<std::string>& messages, zvPieceIcons* icons)
{
    messages.clear();
    const long err = OpenCatalogue();
    if (err != 0) {
        messages.push_back("The catalogue Zorv.dat cannot be read (error " + std::to_string(err) +
                           "): " + Catalogue.ErrorText());
        PieceTable.clear();
        return err;
    }
    messages = BuildPieceTable(icons);
    return 0;
}

bool IsSafeCatalogueKey(std::string_view key)
{
    if (key.empty()) {
        return false;
    }
    for (const char ch : key) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || ch == ';' || ch == ':' || ch == '[' || ch == ']' ||
            ch == '/' || ch == '\\') {
            return false;
        }
    }
    return true;
}

void ResetCatalogue()
{
    Catalogue.Close();
    SetDescription.clear();
}

} // namespace zvLib
