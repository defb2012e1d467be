// Arithmetic, rounding and text forms of the fixed-point number type.
#include "foundation/cFixed.h"

#include "foundation/cError.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Divides a 128-bit numerator by a positive or negative denominator, halves to even.
std::int64_t divRoundHalfEven(__int128 num, __int128 den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    __int128 q = num / den;
    __int128 r = num % den;
    if (r != 0) {
        __int128 twice = (r < 0 ? -r : r) * 2;
        bool away = twice > den || (twice == den && (q % 2 != 0));
        if (away) {
            q += (num < 0) ? -1 : 1;
        }
    }
    if (q > INT64_MAX) {
        return INT64_MAX;
    }
    if (q < INT64_MIN) {
        return INT64_MIN;
    }
    return static_cast<std::int64_t>(q);
}

}  // namespace

std::int64_t RoundHalfEven(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    double r = std::nearbyint(v);  // the default rounding mode rounds halves to even
    if (r >= 9.2233720368547758e18) {
        return INT64_MAX;
    }
    if (r <= -9.2233720368547758e18) {
        return INT64_MIN;
    }
    return static_cast<std::int64_t>(r);
}

void cFixed::overflow()
{
    throw cError(6, "cFixed", "Overflow");
}

cFixed cFixed::fromDouble(double v)
{
    return fromRaw(RoundHalfEven(v * static_cast<double>(kScale)));
}

std::int64_t cFixed::toWhole() const
{
    return divRoundHalfEven(raw_, kScale);
}

cFixed cFixed::operator*(cFixed o) const
{
    return fromRaw(divRoundHalfEven(static_cast<__int128>(raw_) * o.raw_, kScale));
}

cFixed cFixed::operator/(cFixed o) const
{
    if (o.raw_ == 0) {
        throw cError(11, "cFixed", "Division by zero");
    }
    return fromRaw(divRoundHalfEven(static_cast<__int128>(raw_) * kScale, o.raw_));
}

std::string cFixed::str4() const
{
    return strDecimals(4);
}

std::string cFixed::strDecimals(int decimals) const
{
    if (decimals < 0) {
        decimals = 0;
    }
    if (decimals > 4) {
        decimals = 4;
    }
    std::int64_t div = 1;
    for (int i = decimals; i < 4; ++i) {
        div *= 10;
    }
    std::int64_t units = divRoundHalfEven(raw_, div);  // value in 10^-decimals
    bool neg = units < 0;
    unsigned long long a = neg ? 0ULL - static_cast<unsigned long long>(units)
                               : static_cast<unsigned long long>(units);
    unsigned long long p = 1;
    for (int i = 0; i < decimals; ++i) {
        p *= 10;
    }
    std::string out = neg ? "-" : "";
    out += std::to_string(a / p);
    if (decimals > 0) {
        std::string frac = std::to_string(a % p);
        out += "." + std::string(decimals - frac.size(), '0') + frac;
    }
    return out;
}

std::string cFixed::str() const
{
    std::string s = str4();
    while (s.back() == '0') {
        s.pop_back();
    }
    if (s.back() == '.') {
        s.pop_back();
    }
    if (s == "-0") {
        s = "0";
    }
    return s;
}

std::optional<cFixed> cFixed::parse(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    size_t i = 0;
    bool neg = false;
    if (text[i] == '+' || text[i] == '-') {
        neg = text[i] == '-';
        ++i;
    }
    // Digits before and after the decimal sign, exact as a decimal mantissa and exponent.
    __int128 mant = 0;
    int exp10 = 0;
    int digits = 0;
    bool overflow = false;
    auto addDigit = [&](char c) {
        if (mant < (static_cast<__int128>(1) << 100)) {
            mant = mant * 10 + (c - '0');
            return true;
        }
        overflow = true;
        return false;
    };
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (!addDigit(text[i])) {
            ++exp10;
        }
        ++i;
        ++digits;
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (addDigit(text[i])) {
                --exp10;
            }
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        int e = 0;
        auto [p, ec] = std::from_chars(text.data() + i + (i < text.size() && text[i] == '+' ? 1 : 0),
                                       text.data() + text.size(), e);
        if (ec != std::errc() || p != text.data() + text.size()) {
            return std::nullopt;
        }
        if (e > 40 || e < -60) {
            if (e < 0 || mant == 0) {
                return cFixed();
            }
            return std::nullopt;
        }
        exp10 += e;
        i = text.size();
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    (void)overflow;
    // Scale to ten-thousandths.
    int shift = exp10 + 4;
    if (shift >= 0) {
        for (int k = 0; k < shift; ++k) {
            mant *= 10;
            if (mant > static_cast<__int128>(INT64_MAX)) {
                return std::nullopt;
            }
        }
        if (mant > static_cast<__int128>(INT64_MAX)) {
            return std::nullopt;
        }
        std::int64_t r = static_cast<std::int64_t>(mant);
        return fromRaw(neg ? -r : r);
    }
    __int128 den = 1;
    for (int k = 0; k < -shift && k < 38; ++k) {
        den *= 10;
    }
    if (-shift >= 38) {
        return cFixed();
    }
    std::int64_t r = divRoundHalfEven(mant, den);
    if (r == INT64_MAX) {
        return std::nullopt;
    }
    return fromRaw(neg ? -r : r);
}
