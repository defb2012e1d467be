// Reading tools/catalogue.txt and turning it into the rows of "Zorv.dat". The source is
// checked as it is read: every mistake stops the tool with the line it was found on.
#include "tools/CatalogueSource.h"

#include "app/core/zvLib_catalogue.h"
#include "foundation/cError.h"
#include "foundation/zvLib_text.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace mkcatalogue {

namespace {

constexpr const char* kSource = "mkcatalogue";

[[noreturn]] void fail(int line, const std::string& what)
{
    throw cError(321, kSource, "catalogue.txt line " + std::to_string(line) + ": " + what);
}

// The words of a line; a value may be quoted (key="two words").
std::vector<std::string> words(const std::string& line, int number)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            if (line[i] == '"') {
                const std::size_t close = line.find('"', i + 1);
                if (close == std::string::npos) {
                    fail(number, "a quote is not closed");
                }
                word += line.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                word += line[i++];
            }
        }
        out.push_back(word);
    }
    return out;
}

// The key=value words after the first two.
std::map<std::string, std::string> options(const std::vector<std::string>& w, int line)
{
    std::map<std::string, std::string> out;
    for (std::size_t i = 2; i < w.size(); ++i) {
        const std::size_t eq = w[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            fail(line, "\"" + w[i] + "\" is not key=value");
        }
        if (!out.emplace(w[i].substr(0, eq), w[i].substr(eq + 1)).second) {
            fail(line, "\"" + w[i].substr(0, eq) + "\" is given twice");
        }
    }
    return out;
}

// Takes a number option out of opts; 0 when absent and not required.
double number(std::map<std::string, std::string>& opts, const std::string& key, int line,
              bool required)
{
    const auto it = opts.find(key);
    if (it == opts.end()) {
        if (required) {
            fail(line, "\"" + key + "\" is missing");
        }
        return 0;
    }
    const auto v = cVariant::parseNumber(it->second);
    if (!v || !std::isfinite(*v) || *v <= 0) {
        fail(line, "\"" + key + "\" must be a number above 0");
    }
    opts.erase(it);
    return *v;
}

std::string text(std::map<std::string, std::string>& opts, const std::string& key, int line,
                 bool required)
{
    const auto it = opts.find(key);
    if (it == opts.end()) {
        if (required) {
            fail(line, "\"" + key + "\" is missing");
        }
        return {};
    }
    std::string v = it->second;
    opts.erase(it);
    return v;
}

void noneLeft(const std::map<std::string, std::string>& opts, int line)
{
    if (!opts.empty()) {
        fail(line, "\"" + opts.begin()->first + "\" is not known here");
    }
}

SourceSet readSet(const std::vector<std::string>& w, int line)
{
    auto opts = options(w, line);
    SourceSet s;
    s.id = w[1];
    s.scale = static_cast<int>(number(opts, "scale", line, true));
    s.width = number(opts, "width", line, true);
    s.lanes = number(opts, "lanes", line, true);
    s.radius = number(opts, "radius", line, true);
    s.kerbs = number(opts, "kerbs", line, true);
    s.description = text(opts, "description", line, true);
    s.text = text(opts, "text", line, true);
    s.line = line;
    noneLeft(opts, line);
    if (!zvLib::IsSafeCatalogueKey(s.id) || s.lanes >= s.width) {
        fail(line, "set " + s.id + " needs a plain code and lanes narrower than the track");
    }
    return s;
}

void checkCurve(const SourcePiece& p)
{
    const double count = 360 / p.sweep;
    if (std::fabs(count - std::round(count)) > 1e-9) {
        fail(p.line, "a sweep of " + std::to_string(p.sweep) + " does not divide 360");
    }
    const bool numbered = p.radius > 0;
    if (numbered == (p.edge > 0)) {
        fail(p.line, "a curve takes either radius or edge");
    }
    if (numbered && (p.radius > 10 || p.radius != std::round(p.radius))) {
        fail(p.line, "a standard radius is a whole number from 1 to 10");
    }
    if (!numbered && p.edge <= 10) {
        fail(p.line, "an edge radius lies above 10 mm");
    }
    if (!p.feature.empty() && p.feature != "banked") {
        fail(p.line, "a curve can only be banked");
    }
}

SourcePiece readPiece(const std::vector<std::string>& w, int line, const std::string& set)
{
    if (set.empty()) {
        fail(line, "a piece before the first set");
    }
    auto opts = options(w, line);
    SourcePiece p;
    p.line = line;
    p.set = set;
    p.kind = w[0];
    p.code = w[1];
    p.text = text(opts, "text", line, true);
    p.feature = text(opts, "feature", line, false);
    if (p.kind == "curve") {
        p.sweep = number(opts, "sweep", line, true);
        p.radius = number(opts, "radius", line, false);
        p.edge = number(opts, "edge", line, false);
        checkCurve(p);
    } else {
        p.length = number(opts, "length", line, true);
        if (p.kind == "transition") {
            p.to = text(opts, "to", line, true);
        }
        static const char* kStraightFeatures[] = {"", "startfinish", "lanechange", "bridge",
                                                  "lapcounter"};
        const bool known = std::any_of(std::begin(kStraightFeatures), std::end(kStraightFeatures),
                                       [&](const char* f) { return p.feature == f; });
        if (!known || (p.kind != "straight" && !p.feature.empty())) {
            fail(line, "feature \"" + p.feature + "\" does not suit a " + p.kind);
        }
    }
    noneLeft(opts, line);
    if (!zvLib::IsSafeCatalogueKey(p.code)) {
        fail(line, "\"" + p.code + "\" cannot be an item code");
    }
    return p;
}

// An indented line: a language line of the last text, or a point set of the last piece.
void readIndented(Source& src, const std::vector<std::string>& w, int line,
                  const std::string& currentText, bool afterPiece, const std::string& raw)
{
    if (w[0] == "points" && afterPiece && w.size() == 3) {
        src.pieces.back().points.emplace_back(w[1], w[2]);
        return;
    }
    for (std::size_t i = 0; i < kLanguages.size(); ++i) {
        if (!afterPiece && !currentText.empty() && w[0] == kLanguages[i] && w.size() > 1) {
            const std::size_t start = raw.find_first_not_of(" \t", raw.find(w[0]) + 2);
            src.texts[currentText][i] = raw.substr(start);
            return;
        }
    }
    fail(line, "this indented line belongs to nothing");
}

} // namespace

Source ReadSource(const std::string& all)
{
    Source src;
    std::istringstream in(all);
    std::string raw, set, currentText;
    bool afterPiece = false;
    for (int line = 1; std::getline(in, raw); ++line) {
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        const auto w = words(raw, line);
        if (w.empty() || w[0][0] == '#') {
            continue;
        }
        if (raw[0] == ' ' || raw[0] == '\t') {
            readIndented(src, w, line, currentText, afterPiece, raw);
        } else if (w[0] == "text" && w.size() == 2) {
            currentText = w[1];
            src.texts[currentText];
            afterPiece = false;
        } else if (w[0] == "set" && w.size() >= 2) {
            src.sets.push_back(readSet(w, line));
            set = w[1];
            afterPiece = false;
        } else if ((w[0] == "straight" || w[0] == "crossover" || w[0] == "curve" ||
                    w[0] == "transition") &&
                   w.size() >= 2) {
            src.pieces.push_back(readPiece(w, line, set));
            afterPiece = true;
        } else {
            fail(line, "\"" + w[0] + "\" is not a line this file knows");
        }
    }
    return src;
}

std::vector<std::pair<std::string, int>> CatalogueFields()
{
    using T = cFieldType;
    return {{"tipoinfo", T::VarWChar},
            {"setID", T::VarWChar},
            {"itemID", T::VarWChar},
            {"flgOnline", T::Double},
            {"setDescription", T::VarWChar},
            {"Scale", T::Double},
            {"stdWidth", T::Double},
            {"lanesGap", T::Double},
            {"stdRadius", T::Double},
            {"kerbsWidth", T::Double},
            {"kerbsOn", T::Int16},
            {"classe", T::Int32},
            {"sng1", T::Double},
            {"sng2", T::Double},
            {"sng3", T::Double},
            {"flgSwap", T::Boolean},
            {"flags", T::Int32},
            {"extra", T::LongVarWChar},
            {"R0", T::Double},
            {"R1", T::Double},
            {"R2", T::Double},
            {"icona", T::LongVarBinary},
            {"desc_it", T::VarWChar},
            {"desc_en", T::VarWChar},
            {"desc_fr", T::VarWChar},
            {"desc_es", T::VarWChar}};
}

std::size_t IconField()
{
    const auto fields = CatalogueFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].first == "icona") {
            return i;
        }
    }
    return fields.size();
}

namespace {

// A row of Null values, filled by field name.
class Row {
  public:
    Row() : fields_(CatalogueFields()), values_(fields_.size(), cVariant::Null()) {}
    void set(const std::string& name, cVariant value)
    {
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            if (fields_[i].first == name) {
                values_[i] = std::move(value);
                return;
            }
        }
        throw cError(3265, kSource, "no field " + name);
    }
    std::vector<cVariant> values() const { return values_; }

  private:
    std::vector<std::pair<std::string, int>> fields_;
    std::vector<cVariant> values_;
};

std::string numberText(double v)
{
    return cFixed::fromDouble(v).str();
}

const SourceSet& findSet(const Source& src, const std::string& id, int line)
{
    for (const auto& s : src.sets) {
        if (s.id == id) {
            return s;
        }
    }
    fail(line, "no set " + id);
}

// The fields every row of a set carries.
void setFields(Row& row, const SourceSet& set)
{
    row.set("setID", set.id);
    row.set("flgOnline", 1.0);
    row.set("stdWidth", set.width);
    row.set("lanesGap", set.lanes);
    row.set("stdRadius", set.radius);
    row.set("kerbsWidth", set.kerbs);
    row.set("kerbsOn", 0);
}

// The text of that name in each language, its placeholders filled in, as the row's desc_
// fields.
void fillDescriptions(Row& row, const Source& src, const std::string& name, int line,
                      const std::vector<std::pair<std::string, std::string>>& values)
{
    const auto it = src.texts.find(name);
    if (it == src.texts.end()) {
        fail(line, "no text " + name);
    }
    for (std::size_t i = 0; i < kLanguages.size(); ++i) {
        std::string t = it->second[i];
        if (t.empty()) {
            fail(line, "text " + name + " has no " + kLanguages[i] + " line");
        }
        for (const auto& [key, value] : values) {
            for (auto at = t.find(key); at != std::string::npos; at = t.find(key)) {
                t.replace(at, key.size(), value);
            }
        }
        row.set(std::string("desc_") + kLanguages[i], t);
    }
}

std::vector<cVariant> setRow(const Source& src, const SourceSet& set)
{
    Row row;
    row.set("tipoinfo", "base");
    row.set("itemID", "000");
    setFields(row, set);
    row.set("setDescription", set.description);
    row.set("Scale", static_cast<double>(set.scale));
    fillDescriptions(row, src, set.text, set.line, {{"{scale}", std::to_string(set.scale)}});
    return row.values();
}

// Centre-line radius of a curve, as the piece table will compute it.
double centreRadius(const SourcePiece& p, const SourceSet& set)
{
    return p.radius > 0 ? set.radius + set.width / 2 + (p.radius - 1) * set.width
                        : p.edge + set.width / 2;
}

void fillTexts(Row& row, const Source& src, const SourcePiece& p, const SourceSet& set,
               const SourceSet* to)
{
    fillDescriptions(
        row, src, p.text, p.line,
        {{"{length}", numberText(p.length)},
         {"{sweep}", numberText(p.sweep)},
         {"{radius}", p.radius > 0 ? numberText(p.radius) : numberText(centreRadius(p, set))},
         {"{scale}", std::to_string(set.scale)},
         {"{to}", to ? std::to_string(to->scale) : std::string()}});
}

int featureFlags(const std::string& feature)
{
    static const std::map<std::string, int> kFlags = {{"", 0},           {"startfinish", 1},
                                                      {"lanechange", 2}, {"banked", 4},
                                                      {"bridge", 8},     {"lapcounter", 16}};
    return kFlags.at(feature);
}

// The class-specific values of a piece row.
void shapeFields(Row& row, const SourcePiece& p, const SourceSet& set, const SourceSet* to)
{
    if (p.kind == "curve") {
        const double r = centreRadius(p, set);
        row.set("classe", 2);
        row.set("sng1", p.sweep);
        row.set("sng2", p.radius > 0 ? p.radius : p.edge);
        row.set("R0", r);
        row.set("R1", r - set.lanes / 2);
        row.set("R2", r + set.lanes / 2);
        row.set("kerbsOn", 1);
        return;
    }
    row.set("classe", p.kind == "transition" ? 8 : 1);
    row.set("sng1", p.length);
    if (to) {
        row.set("sng2", to->width);
        row.set("sng3", to->lanes);
    }
    if (p.kind == "crossover" && p.length <= set.lanes) {
        fail(p.line, "a crossover must be longer than the lane distance");
    }
}

std::vector<cVariant> pieceRow(const Source& src, const SourcePiece& p)
{
    const SourceSet& set = findSet(src, p.set, p.line);
    const SourceSet* to = p.to.empty() ? nullptr : &findSet(src, p.to, p.line);
    if (to && to->width >= set.width) {
        fail(p.line, "an adapter leads to a narrower set");
    }
    Row row;
    row.set("tipoinfo", "item");
    row.set("itemID", p.code);
    setFields(row, set);
    shapeFields(row, p, set, to);
    row.set("flgSwap", p.kind == "crossover");
    row.set("flags", featureFlags(p.feature));
    std::string extra;
    for (const auto& [name, points] : p.points) {
        extra += (extra.empty() ? "" : "\r\n") + name + "=" + points;
    }
    if (!extra.empty()) {
        row.set("extra", extra);
    }
    fillTexts(row, src, p, set, to);
    return row.values();
}

} // namespace

std::vector<std::vector<cVariant>> CatalogueRows(const Source& src)
{
    std::vector<std::vector<cVariant>> rows;
    std::vector<std::string> codes;
    for (const auto& set : src.sets) {
        rows.push_back(setRow(src, set));
        for (const auto& p : src.pieces) {
            if (p.set != set.id) {
                continue;
            }
            for (const auto& c : codes) {
                if (zvLib::SameText(c, p.code)) {
                    fail(p.line, "the code " + p.code + " is used twice");
                }
            }
            codes.push_back(p.code);
            rows.push_back(pieceRow(src, p));
        }
    }
    return rows;
}

cRecordset CatalogueTable(const std::vector<std::vector<cVariant>>& rows)
{
    cRecordset rs;
    for (const auto& [name, type] : CatalogueFields()) {
        if (rs.AppendField(name, type) != 0) {
            throw cError(5, kSource, "cannot declare field " + name);
        }
    }
    for (const auto& row : rows) {
        if (const long err = rs.AddRow(row); err != 0) {
            throw cError(err, kSource, "a row does not suit the catalogue fields");
        }
    }
    return rs;
}

} // namespace mkcatalogue
