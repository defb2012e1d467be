// cDXF: turning the value lines of a drawing into numbers, coordinates in hundredths, angles
// in radians and UTF-8 texts. Numbers are read strictly: a value that is not wholly a finite
// number, or that lies beyond the coordinate range, is refused.
#include "dxf/cDXF.h"
#include "dxf/cDXF_words.h"
#include "foundation/NUX_STD_encoding.h"
#include "foundation/cFixed.h"

#include <bit>
#include <charconv>
#include <cmath>

namespace {

// Longest number text accepted; longer value lines are not numbers.
constexpr std::size_t kMaxNumberLength = 64;

} // namespace

namespace {

using namespace dxfwords;

constexpr std::uint64_t kPow10Whole[] = {1,         10,         100,         1000,
                                         10000,     100000,     1000000,     10000000,
                                         100000000};

// The digits at p, at most eight, read eight bytes at a time (p + 8 must lie within the
// text): added to the mantissa; their count.
inline std::ptrdiff_t LeadingDigits(const char* p, std::uint64_t& mantissa)
{
    const std::uint64_t t = Load(p) - kZeros;
    const std::uint64_t bad = NotDigits(t);
    const int n = bad == 0 ? 8 : std::countr_zero(bad) / 8;
    if (n > 0) {
        // The bytes past the digits are shifted out; zeros come in as leading zeros.
        mantissa = mantissa * kPow10Whole[n] + EightDigitsValue(t << (8 * (8 - n)));
    }
    return n;
}

// The k digits (1 to 8) that end the text at end, read with the eight bytes that end it (end
// - 8 must lie within the text): added to the mantissa; false when one is no digit.
inline bool TrailingDigits(const char* end, std::ptrdiff_t k, std::uint64_t& mantissa)
{
    std::uint64_t w = Load(end - 8);
    if (k < 8) {
        // The bytes before the digits become "0", leading zeros.
        const std::uint64_t before = ~std::uint64_t(0) >> (8 * k);
        w = (w & ~before) | (kZeros & before);
    }
    const std::uint64_t t = w - kZeros;
    if (NotDigits(t) != 0) {
        return false;
    }
    mantissa = mantissa * kPow10Whole[k] + EightDigitsValue(t);
    return true;
}

inline bool IsDigit(char c)
{
    return static_cast<unsigned>(c - '0') < 10;
}

// The usual number of a drawing, an optional minus sign and at most fifteen digits around an
// optional decimal point, read exactly: the digits and the power of ten are both exact
// doubles, so their quotient is the correctly rounded value. Anything else gives false.
// Digits are taken eight at a time where the text is long enough.
bool SimpleDecimal(std::string_view s, double& out)
{
    static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = s.data();
    const char* const end = p + s.size();
    const bool negative = *p == '-';
    p += negative ? 1 : 0;
    std::uint64_t mantissa = 0;
    std::ptrdiff_t whole = 0;
    for (std::ptrdiff_t k = 8; k == 8 && end - p >= 8 && whole <= 15;) {
        k = LeadingDigits(p, mantissa);
        p += k;
        whole += k;
    }
    for (; p < end && IsDigit(*p); ++p, ++whole) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    }
    std::ptrdiff_t decimals = 0;
    if (p < end) {
        if (*p != '.' && *p != ',') {
            return false;
        }
        ++p;
        decimals = end - p;
        if (decimals > 0 && decimals <= 8 && end - s.data() >= 8) {
            if (!TrailingDigits(end, decimals, mantissa)) {
                return false;
            }
        } else {
            for (; p < end; ++p) {
                if (!IsDigit(*p)) {
                    return false;
                }
                mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            }
        }
    }
    // Digits beyond fifteen may have overflowed the mantissa: the general road reads them.
    const std::ptrdiff_t digits = whole + decimals;
    if (digits == 0 || digits > 15) {
        return false;
    }
    const double v = static_cast<double>(mantissa) / kPow10[decimals];
    out = negative ? -v : v;
    return true;
}

} // namespace

bool cDXF::ValueNumber(std::string_view value, double& out)
{
    if (value.empty() || value.size() > kMaxNumberLength) {
        return false;
    }
    if (SimpleDecimal(value, out)) {
        return true;
    }
    char buf[kMaxNumberLength];
    std::size_t n = 0;
    std::size_t i = 0;
    if (value[0] == '+') {
        i = 1;
        if (value.size() == 1 || value[1] == '-' || value[1] == '+') {
            return false;
        }
    }
    for (; i < value.size(); ++i) {
        // A decimal comma is read as a decimal point.
        buf[n++] = value[i] == ',' ? '.' : value[i];
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(buf, buf + n, v, std::chars_format::general);
    if (ec != std::errc() || end != buf + n || !std::isfinite(v)) {
        return false;
    }
    out = v;
    return true;
}

bool cDXF::ScaledCoord(std::string_view value, std::int32_t& out)
{
    double v = 0;
    if (!ValueNumber(value, v)) {
        return false;
    }
    // Hundredths of a drawing unit; the half added before rounding is the drawing's own rule.
    const double h = v * 100.0 + 0.5;
    if (!(std::fabs(h) <= kMaxCoord)) {
        return false;
    }
    // Within the range, rounding in the default mode is rounding halves to even.
    out = static_cast<std::int32_t>(std::lrint(h));
    return true;
}

float cDXF::HeldAngle(double degrees)
{
    double a = degrees / 180.0 * kPi;
    float f = static_cast<float>(a);
    // Angles beyond a turn are brought into 0 to 2 pi.
    if (f > static_cast<float>(k2Pi) || f < 0) {
        a = std::fmod(a, k2Pi);
        if (a < 0) {
            a += k2Pi;
        }
        f = static_cast<float>(a);
    }
    return f;
}

void cDXF::ValueText(std::string_view raw, std::string& out)
{
    if (NUX_STD_library::IsUtf8(raw)) {
        out.assign(raw);
    } else {
        // Each byte that is part of no UTF-8 sequence is read as Windows-1252.
        out = NUX_STD_library::TextFromBytes(raw);
    }
    for (char& ch : out) {
        if (ch == '\t') {
            ch = ' ';
        }
    }
}
