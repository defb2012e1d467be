// NUX_STD_library, formatting: FormatEx and the format language it reads (digit placeholders,
// grouping, percent, literals, sections, date and time letters, two named formats).
#include "foundation/NUX_STD_culture.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/cDateParts.h"
#include "foundation/cError.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace NUX_STD_library {

namespace {

[[noreturn]] void badFormat(const std::string& why)
{
    throw cError(5, "FormatEx", "Invalid procedure call or argument: " + why);
}

[[noreturn]] void cannotFormat()
{
    throw cError(5, "", "Invalid procedure call or argument");
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ---- decimal digits of a value --------------------------------------------------------------

// The magnitude of a number as its whole digits and its decimals, and its sign.
struct Decimal {
    std::string whole;  // no leading zeros; empty for zero
    std::string frac;   // no trailing zeros
    bool negative = false;
};

void normalize(Decimal& d)
{
    const std::size_t firstDigit = d.whole.find_first_not_of('0');
    d.whole.erase(0, firstDigit == std::string::npos ? d.whole.size() : firstDigit);
    while (!d.frac.empty() && d.frac.back() == '0') {
        d.frac.pop_back();
    }
}

// A double through its 15 significant digits, as the formatting of the platform does.
Decimal decimalOfDouble(double v)
{
    if (!std::isfinite(v)) {
        cannotFormat();
    }
    Decimal d;
    d.negative = v < 0;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    const std::string s = buf;
    const std::string mant = s.substr(0, 1) + s.substr(2, 14);
    const int exp = std::atoi(s.c_str() + s.find('e') + 1);
    if (exp >= 0) {
        const std::size_t n = static_cast<std::size_t>(exp) + 1;
        d.whole = n >= mant.size() ? mant + std::string(n - mant.size(), '0') : mant.substr(0, n);
        d.frac = n >= mant.size() ? "" : mant.substr(n);
    } else {
        d.frac = std::string(static_cast<std::size_t>(-exp - 1), '0') + mant;
    }
    normalize(d);
    return d;
}

Decimal decimalOf(const cVariant& v)
{
    Decimal d;
    if (v.kind() == cVariant::Kind::Double) {
        return decimalOfDouble(v.toDouble());
    }
    if (v.kind() == cVariant::Kind::Fixed) {
        const std::int64_t raw = v.toFixed().raw();
        d.negative = raw < 0;
        const std::uint64_t mag = raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : raw;
        std::string s = std::to_string(mag);
        s.insert(0, s.size() < 5 ? 5 - s.size() : 0, '0');
        d.whole = s.substr(0, s.size() - 4);
        d.frac = s.substr(s.size() - 4);
    } else {
        const std::int64_t i = v.toInteger();  // whole numbers, and Booleans as -1 and 0
        d.negative = i < 0;
        d.whole = std::to_string(i < 0 ? 0 - static_cast<std::uint64_t>(i) : i);
    }
    normalize(d);
    return d;
}

bool isZero(const Decimal& d)
{
    return d.whole.find_first_not_of('0') == std::string::npos &&
           d.frac.find_first_not_of('0') == std::string::npos;
}

// Rounds to n decimals, halves away from zero.
void roundTo(Decimal& d, std::size_t n)
{
    if (d.frac.size() <= n) {
        return;
    }
    const bool up = d.frac[n] >= '5';
    std::string all = d.whole + d.frac.substr(0, n);
    if (up) {
        std::size_t i = all.size();
        while (i > 0 && all[i - 1] == '9') {
            all[--i] = '0';
        }
        if (i == 0) {
            all.insert(0, "1");
        } else {
            ++all[i - 1];
        }
    }
    d.whole = all.substr(0, all.size() - n);
    d.frac = all.substr(all.size() - n);
    normalize(d);
}

void timesHundred(Decimal& d)
{
    d.frac.resize(std::max<std::size_t>(d.frac.size(), 2), '0');
    d.whole += d.frac.substr(0, 2);
    d.frac.erase(0, 2);
    normalize(d);
}

// ---- format sections ------------------------------------------------------------------------

struct Token {
    enum Kind { Literal, Digit, Point, Field } kind = Literal;
    std::string text;  // literal text
    char ch = 0;       // '0' or '#'; date field letter, '/' or ':'
    int width = 0;     // date field width
};

struct Section {
    bool isDate = false;
    std::vector<Token> tokens;
    bool grouping = false;
    bool percent = false;
    std::size_t wholePlaces = 0;
    std::size_t fracPlaces = 0;
    std::size_t minWhole = 0;
    std::size_t minFrac = 0;
};

// Splits a format text at the ";" outside quotes and escapes.
std::vector<std::string> splitSections(std::string_view fmt)
{
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        const char c = fmt[i];
        if (c == '"') {
            const std::size_t end = fmt.find('"', i + 1);
            if (end == std::string_view::npos) {
                badFormat("a quoted text is not closed");
            }
            out.back() += fmt.substr(i, end - i + 1);
            i = end;
        } else if (c == '\\') {
            if (i + 1 >= fmt.size()) {
                badFormat("the format ends with \\");
            }
            out.back() += fmt.substr(i, 2);
            ++i;
        } else if (c == ';') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    if (out.size() > 4) {
        badFormat("more than four sections");
    }
    return out;
}

// Reads a quoted text or an escaped character at i into a literal; false for anything else.
bool readLiteral(const std::string& s, std::size_t& i, std::vector<Token>& tokens)
{
    if (s[i] == '"') {
        const std::size_t end = s.find('"', i + 1);
        tokens.push_back({Token::Literal, s.substr(i + 1, end - i - 1), 0, 0});
        i = end;
        return true;
    }
    if (s[i] == '\\') {
        tokens.push_back({Token::Literal, s.substr(++i, 1), 0, 0});
        return true;
    }
    return false;
}

bool isDateLetter(char c)
{
    const char l = lowerAscii(c);
    return l == 'd' || l == 'm' || l == 'y' || l == 'h' || l == 'n' || l == 's';
}

// True when the section holds date letters and no digit placeholder (outside literals).
bool looksLikeDate(const std::string& s)
{
    bool letters = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"') {
            i = s.find('"', i + 1);
        } else if (s[i] == '\\') {
            ++i;
        } else if (s[i] == '0' || s[i] == '#') {
            return false;
        } else {
            letters = letters || isDateLetter(s[i]);
        }
    }
    return letters;
}

void countPlaces(Section& sec)
{
    bool afterPoint = false;
    std::size_t firstZero = SIZE_MAX;
    for (const Token& t : sec.tokens) {
        if (t.kind == Token::Point) {
            afterPoint = true;
        } else if (t.kind == Token::Digit && !afterPoint) {
            if (t.ch == '0' && firstZero == SIZE_MAX) {
                firstZero = sec.wholePlaces;
            }
            ++sec.wholePlaces;
        } else if (t.kind == Token::Digit) {
            ++sec.fracPlaces;
            sec.minFrac = t.ch == '0' ? sec.fracPlaces : sec.minFrac;
        }
    }
    sec.minWhole = firstZero == SIZE_MAX ? 0 : sec.wholePlaces - firstZero;
}

Section parseNumberSection(const std::string& s)
{
    Section sec;
    bool point = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (readLiteral(s, i, sec.tokens)) {
            continue;
        }
        if (c == '0' || c == '#') {
            sec.tokens.push_back({Token::Digit, {}, c, 0});
        } else if (c == '.' && !point) {
            point = true;
            sec.tokens.push_back({Token::Point, {}, 0, 0});
        } else if (c == ',' && !point) {
            sec.grouping = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < s.size() &&
                   (s[i + 1] == '+' || s[i + 1] == '-')) {
            badFormat("scientific formats are not supported");
        } else {
            sec.percent = sec.percent || c == '%';
            sec.tokens.push_back({Token::Literal, std::string(1, c), 0, 0});
        }
    }
    countPlaces(sec);
    return sec;
}

// Reads a date section; an "m" next to an hour or a second stands for minutes.
Section parseDateSection(const std::string& s)
{
    Section sec;
    sec.isDate = true;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = lowerAscii(s[i]);
        if (readLiteral(s, i, sec.tokens)) {
            continue;
        }
        if (c == '/' || c == ':') {
            sec.tokens.push_back({Token::Field, {}, c, 1});
        } else if (isDateLetter(c)) {
            int width = 1;
            while (i + 1 < s.size() && lowerAscii(s[i + 1]) == c) {
                ++width;
                ++i;
            }
            if (width > 2 && !(c == 'y' && width == 4)) {
                badFormat("unsupported date or time part");
            }
            if (c == 'y' && width == 1) {
                badFormat("unsupported date or time part");
            }
            sec.tokens.push_back({Token::Field, {}, c, width});
        } else if (c == 'w' || c == 'q' || c == 'c') {
            badFormat("unsupported date or time part");
        } else {
            sec.tokens.push_back({Token::Literal, std::string(1, s[i]), 0, 0});
        }
    }
    char previous = 0;
    for (std::size_t i = 0; i < sec.tokens.size(); ++i) {
        Token& t = sec.tokens[i];
        if (t.kind != Token::Field || t.ch == '/' || t.ch == ':') {
            continue;
        }
        char next = 0;
        for (std::size_t j = i + 1; j < sec.tokens.size() && next == 0; ++j) {
            const Token& u = sec.tokens[j];
            next = u.kind == Token::Field && u.ch != '/' && u.ch != ':' ? u.ch : 0;
        }
        if (t.ch == 'm' && (previous == 'h' || next == 's')) {
            t.ch = 'n';
        }
        previous = t.ch;
    }
    return sec;
}

Section parseSection(const std::string& s)
{
    return looksLikeDate(s) ? parseDateSection(s) : parseNumberSection(s);
}

// The format text a named format stands for, or the text itself.
std::string expandNamed(std::string_view format, const cCulture& c)
{
    std::string f;
    for (char ch : format) {
        f += lowerAscii(ch);
    }
    if (f == "short date") {
        return c.shortDate;
    }
    if (f == "short time") {
        return "hh:nn";
    }
    return std::string(format);
}

// ---- rendering ------------------------------------------------------------------------------

// For each whole digit, whether a thousands separator follows it under the grouping "3;0".
std::vector<bool> separatorsAfter(std::size_t digits, const std::string& grouping)
{
    std::vector<std::size_t> sizes;
    for (std::size_t p = 0; p < grouping.size();) {
        const std::size_t end = std::min(grouping.find(';', p), grouping.size());
        sizes.push_back(static_cast<std::size_t>(std::atoi(grouping.substr(p, end - p).c_str())));
        p = end + 1;
    }
    const bool repeat = !sizes.empty() && sizes.back() == 0;
    if (repeat) {
        sizes.pop_back();
    }
    std::vector<bool> after(digits, false);
    std::size_t count = 0;  // digits to the right of the next separator
    for (std::size_t k = 0; !sizes.empty() && sizes[0] > 0; ++k) {
        const std::size_t size = k < sizes.size() ? sizes[k] : (repeat ? sizes.back() : 0);
        if (size == 0 || count + size >= digits) {
            break;
        }
        count += size;
        after[digits - 1 - count] = true;
    }
    return after;
}

std::string renderNumber(Decimal d, const Section& sec, const cCulture& c, bool withSign)
{
    if (sec.percent) {
        timesHundred(d);
    }
    roundTo(d, sec.fracPlaces);
    std::string frac = d.frac;
    frac.resize(std::max(frac.size(), sec.minFrac), '0');
    std::string whole = d.whole;
    whole.insert(0, whole.size() < sec.minWhole ? sec.minWhole - whole.size() : 0, '0');
    const std::vector<bool> sepAfter =
        separatorsAfter(whole.size(), sec.grouping ? c.grouping : std::string("0"));
    std::string out;
    std::size_t wholeSeen = 0;
    std::size_t next = 0;  // next whole digit to place
    std::size_t fracSeen = 0;
    bool afterPoint = false;
    for (const Token& t : sec.tokens) {
        if (t.kind == Token::Literal) {
            out += t.text;
        } else if (t.kind == Token::Point) {
            afterPoint = true;
            out += c.decimal;
        } else if (!afterPoint) {
            // Whole digits fill the placeholders from the right; the first takes the rest.
            const std::size_t right = sec.wholePlaces - ++wholeSeen;
            const std::size_t left = whole.size() - next;
            for (std::size_t k = left > right ? left - right : 0; k > 0; --k, ++next) {
                out += whole[next];
                out += sepAfter[next] ? c.thousand : std::string();
            }
        } else if (fracSeen < frac.size()) {
            out += frac[fracSeen++];
        }
    }
    const bool minus = withSign && d.negative && !isZero(d);
    return minus ? "-" + out : out;
}

std::string twoDigits(int v, int width)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, width >= 2 ? "%02d" : "%d", v);
    return buf;
}

std::string renderDate(double value, const Section& sec, const cCulture& c)
{
    const auto p = PartsFromDate(value);
    if (!p) {
        cannotFormat();
    }
    std::string out;
    for (const Token& t : sec.tokens) {
        if (t.kind == Token::Literal) {
            out += t.text;
            continue;
        }
        switch (t.ch) {
        case '/': out += c.dateSep; break;
        case ':': out += c.timeSep; break;
        case 'y':
            out += t.width == 4 ? std::to_string(p->year) : twoDigits(p->year % 100, 2);
            break;
        case 'm': out += twoDigits(p->month, t.width); break;
        case 'd': out += twoDigits(p->day, t.width); break;
        case 'h': out += twoDigits(p->hour, t.width); break;
        case 'n': out += twoDigits(p->minute, t.width); break;
        default: out += twoDigits(p->second, t.width); break;
        }
    }
    return out;
}

// The general form: every significant digit, the locale's decimal sign.
std::string renderGeneral(const cVariant& value, const cCulture& c)
{
    if (value.kind() == cVariant::Kind::Bool) {
        return value.toBool() ? "True" : "False";
    }
    const Decimal d = decimalOf(value);
    std::string out = (d.negative && !isZero(d)) ? "-" : "";
    out += d.whole.empty() ? "0" : d.whole;
    return d.frac.empty() ? out : out + c.decimal + d.frac;
}

}  // namespace

std::string FormatEx(const cVariant& value, std::string_view format, std::int16_t lcid)
{
    std::optional<cCulture> culture = lcid == 0 ? UserCulture() : CultureOfLCID(lcid);
    if (!culture) {
        badFormat("unknown locale " + std::to_string(lcid));
    }
    const std::string fmt = expandNamed(format, *culture);
    std::vector<Section> sections;
    for (const std::string& s : splitSections(fmt)) {
        sections.push_back(parseSection(s));
    }
    cVariant number = value;
    if (value.isNull() || value.isEmpty()) {
        return {};
    }
    if (value.kind() == cVariant::Kind::Bytes) {
        cannotFormat();
    }
    if (value.kind() == cVariant::Kind::Text) {
        const auto d = cVariant::parseNumber(value.str());
        if (!d) {
            return value.str();
        }
        number = cVariant(*d);
    }
    if (fmt.empty()) {
        return renderGeneral(number, *culture);
    }
    const Decimal d = decimalOf(number);
    std::size_t which = 0;
    if (d.negative && !isZero(d) && sections.size() >= 2 && !sections[1].tokens.empty()) {
        which = 1;
    } else if (isZero(d) && sections.size() >= 3 && !sections[2].tokens.empty()) {
        which = 2;
    }
    const Section& sec = sections[which];
    if (sec.isDate) {
        const double v = number.toDouble();
        return renderDate(which == 1 ? std::fabs(v) : v, sec, *culture);
    }
    return renderNumber(d, sec, *culture, which != 1);
}

}  // namespace NUX_STD_library
