// zvCircuit, measures and lists: the extent, the mean length, the lanes table with the end
// gaps of each track, the piece count, the bill of materials and its text form, and the list
// of sets used. None of them changes the circuit.
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_locale.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "foundation/zvLib_text.h"
#include "model/zvObject.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

namespace {

// A count of ten-thousandths times factor / divisor, which is the value in units of the last
// decimal, rounded (halves to even) and written with that many decimals and the decimal sign
// given; a value that rounds to zero is written without a sign.
std::string formatScaled(std::int64_t raw, std::int64_t factor, std::int64_t divisor, int decimals,
                         const std::string& point)
{
    const __int128 num = static_cast<__int128>(raw) * factor;
    __int128 q = num / divisor;
    const __int128 rest = num % divisor;
    const __int128 twice = (rest < 0 ? -rest : rest) * 2;
    if (twice > divisor || (twice == divisor && (q % 2) != 0)) {
        q += num < 0 ? -1 : 1;
    }
    const bool negative = q < 0;
    unsigned long long units = static_cast<unsigned long long>(negative ? -q : q);
    unsigned long long unit = 1;
    for (int i = 0; i < decimals; ++i) {
        unit *= 10;
    }
    std::string out = negative ? "-" : "";
    out += std::to_string(units / unit);
    if (decimals > 0) {
        const std::string frac = std::to_string(units % unit);
        out += point + std::string(static_cast<std::size_t>(decimals) - frac.size(), '0') + frac;
    }
    return out;
}

// Widens an extent (xmin, ymin, xmax, ymax) by a box of the same layout.
void widen(std::array<cFixed, 6>& e, const std::array<cFixed, 4>& box)
{
    for (int i : {0, 2}) {
        e[0] = std::min(e[0], box[static_cast<std::size_t>(i)]);
        e[2] = std::max(e[2], box[static_cast<std::size_t>(i)]);
    }
    for (int i : {1, 3}) {
        e[1] = std::min(e[1], box[static_cast<std::size_t>(i)]);
        e[3] = std::max(e[3], box[static_cast<std::size_t>(i)]);
    }
}

// A field of the bill of materials' text form: a "|" would open a column and a line break a
// row, so "|" becomes a broken bar and CR and LF become blanks.
std::string bomField(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '|') {
            out += "\xC2\xA6";
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += ' ';
            ++i;
        } else if (c == '\r' || c == '\n') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

// The span from lo to hi, held at the number type's largest value when a background drawing
// placed far out makes it wider than the type holds.
cFixed span(cFixed lo, cFixed hi)
{
    std::int64_t raw = 0;
    if (__builtin_sub_overflow(hi.raw(), lo.raw(), &raw)) {
        return cFixed::max();
    }
    return cFixed::fromRaw(raw);
}

} // namespace

std::array<cFixed, 6> zvCircuit::GetExtent() const
{
    const cFixed far = cFixed::fromWhole(4294967296LL);
    std::array<cFixed, 6> e = {far, far, -far, -far, 0, 0};
    for (const auto& t : tracks_) {
        for (const auto& p : t->items()) {
            if (p->Class() != 0) {
                widen(e, p->GetExtent());
            }
        }
    }
    for (const auto& o : objects_) {
        if (const auto box = o->GetExtent()) {
            widen(e, *box);
        }
    }
    // A drawing element without drawing bytes shows nothing and reaches nowhere.
    if (zvLib::DXF && zvLib::DXF->HasDrawing()) {
        widen(e, zvLib::DXF->GetExtent());
    }
    if (e[0] == far) {
        e[0] = 0;
        e[2] = 0;
    }
    if (e[1] == far) {
        e[1] = 0;
        e[3] = 0;
    }
    e[4] = span(e[0], e[2]);
    e[5] = span(e[1], e[3]);
    return e;
}

double zvCircuit::GetLength() const
{
    if (tracks_.empty()) {
        return 0;
    }
    double sum = 0;
    for (const auto& t : tracks_) {
        sum += t->GetLength(0);
    }
    return sum / static_cast<double>(tracks_.Count());
}

void zvCircuit::GetLanes(zvTextTable& lanes) const
{
    lanes.clear();
    // Shown to the user: the decimal sign is the user's.
    const std::string point = NUX_STD_library::GetLocaleValue(9).toText();
    const auto twoDecimals = [&point](cFixed v) { return formatScaled(v.raw(), 1, 100, 2, point); };
    const std::int16_t scale = OwnSet().scale;
    for (const auto& t : tracks_) {
        const zvItem& first = *t->items().First();
        const zvItem& last = *t->items().Last();
        const cFixed dx = first.xIniz() - last.xFine();
        const cFixed dy = first.yIniz() - last.yFine();
        const std::int64_t da = (first.aIniz() - last.aFine()).toWhole() % 360;
        for (int lane = 1; lane <= 2; ++lane) {
            const int n = (t->index() - 1) * 2 + lane;
            if (n < 1) {
                continue;
            }
            if (lanes.size() < static_cast<std::size_t>(n)) {
                lanes.resize(static_cast<std::size_t>(n));
            }
            const cFixed length = lane == 1 ? last.Len1() : last.Len2();
            zvTableRow& row = lanes[static_cast<std::size_t>(n - 1)];
            row[0] = std::to_string(n);
            row[1] = formatScaled(length.raw(), 1, 100000, 2, point);
            row[2] = formatScaled(length.raw(), scale, 10000000, 3, point);
            row[3] = twoDecimals(dx) + " mm";
            row[4] = twoDecimals(dy) + " mm";
            row[5] = twoDecimals(cFixed::fromWhole(da)) + "\xC2\xB0";
        }
    }
}

std::int32_t zvCircuit::GetTotalItems() const
{
    std::int32_t n = 0;
    for (const auto& t : tracks_) {
        n += static_cast<std::int32_t>(t->items().Count());
    }
    return n;
}

void zvCircuit::GetBOM(zvTextTable& b) const
{
    b.assign(1, zvTableRow{});
    std::map<std::pair<std::string, std::string>, std::size_t> rows;
    for (const auto& t : tracks_) {
        for (const auto& p : t->items()) {
            if (p->Class() == 0) {
                continue;
            }
            auto [it, added] = rows.try_emplace({p->setID(), p->code()}, rows.size());
            if (added && it->second >= b.size()) {
                b.emplace_back();
            }
            zvTableRow& row = b[it->second];
            const std::string& desc = p->Desc();
            const long quantity = added ? 1 : std::strtol(row[3].c_str(), nullptr, 10) + 1;
            row = {p->setID(), p->code(), desc.substr(0, desc.find('(')), std::to_string(quantity),
                   "0",        "0"};
        }
    }
}

std::string zvCircuit::GetBOMCSV() const
{
    zvTextTable b;
    GetBOM(b);
    std::string out;
    for (const auto& row : b) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) {
                out += '|';
            }
            out += bomField(row[i]);
        }
        out += "\r\n";
    }
    return out;
}

zvSetFacts zvCircuit::OwnSet() const
{
    const std::string sets = getSet();
    const std::size_t end = sets.find(';');
    return zvLib::SetFactsOf(end == 0 || end == std::string::npos ? DefCode_ : sets.substr(0, end));
}

std::string zvCircuit::getSet() const
{
    std::vector<std::string> sets;
    std::string out;
    for (const auto& t : tracks_) {
        for (const auto& p : t->items()) {
            if (p->Class() == 0) {
                continue;
            }
            const std::string& code = p->setID();
            const bool known = std::any_of(sets.begin(), sets.end(), [&code](const auto& s) {
                return zvLib::SameText(s, code);
            });
            if (!known) {
                sets.push_back(code);
                out += code + ";";
            }
        }
    }
    return out;
}
