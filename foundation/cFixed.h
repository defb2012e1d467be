// cFixed: the program's one number type for positions, lengths and angles: a 64-bit signed
// count of ten-thousandths (four decimal places). Conversions from floating point and to whole
// numbers round halves to even; sums are exact; products and quotients round to 0.0001. A sum,
// difference or negation beyond the type's range raises cError 6 (overflow) and never wraps.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class cFixed {
public:
    // Ten-thousandths in one unit.
    static constexpr std::int64_t kScale = 10000;

    // Zero.
    constexpr cFixed() = default;
    // A whole number (5 is 5.0000).
    constexpr cFixed(int whole) : raw_(static_cast<std::int64_t>(whole) * kScale) {}
    // A whole 64-bit number; cError 6 when it lies beyond the type's range.
    static constexpr cFixed fromWhole(std::int64_t whole)
    {
        std::int64_t raw = 0;
        if (__builtin_mul_overflow(whole, kScale, &raw)) {
            overflow();
        }
        return fromRaw(raw);
    }
    // A count of ten-thousandths (raw 12345 is 1.2345).
    static constexpr cFixed fromRaw(std::int64_t raw)
    {
        cFixed f;
        f.raw_ = raw;
        return f;
    }
    // A floating-point value rounded to the nearest ten-thousandth, halves to even. Values
    // beyond the type's range saturate; NaN gives 0.
    static cFixed fromDouble(double v);
    // The smallest and largest values the type holds.
    static constexpr cFixed min() { return fromRaw(INT64_MIN); }
    static constexpr cFixed max() { return fromRaw(INT64_MAX); }

    // The count of ten-thousandths.
    constexpr std::int64_t raw() const { return raw_; }
    // The value as a double.
    double toDouble() const { return static_cast<double>(raw_) / kScale; }
    // The nearest whole number, halves to even (2.5 gives 2, 3.5 gives 4, -2.5 gives -2).
    std::int64_t toWhole() const;
    // The value truncated towards zero (the whole part).
    constexpr std::int64_t wholePart() const { return raw_ / kScale; }
    // The absolute value; cError 6 for the least value, which has no positive counterpart.
    constexpr cFixed abs() const { return raw_ < 0 ? -*this : *this; }
    // True when zero.
    constexpr bool isZero() const { return raw_ == 0; }

    // Text with "." as decimal sign and no trailing zeros ("12.5", "-3", "0.0001").
    std::string str() const;
    // Text with exactly four decimals and "." as decimal sign ("12.5000").
    std::string str4() const;
    // Text rounded (halves to even) to the given number of decimals (0 to 4), "." as decimal sign.
    std::string strDecimals(int decimals) const;

    // Reads a number written with "." or "," as decimal sign, an optional sign and an optional
    // exponent; more than four decimals round halves to even. Leading and trailing blanks are
    // allowed. Anything else, or a value out of range, gives no value.
    static std::optional<cFixed> parse(std::string_view text);

    // Negation, sum and difference, exact; cError 6 when the result lies beyond the range.
    constexpr cFixed operator-() const { return cFixed() - *this; }
    constexpr cFixed operator+(cFixed o) const
    {
        std::int64_t raw = 0;
        if (__builtin_add_overflow(raw_, o.raw_, &raw)) {
            overflow();
        }
        return fromRaw(raw);
    }
    constexpr cFixed operator-(cFixed o) const
    {
        std::int64_t raw = 0;
        if (__builtin_sub_overflow(raw_, o.raw_, &raw)) {
            overflow();
        }
        return fromRaw(raw);
    }
    // Product rounded to the nearest ten-thousandth, halves to even.
    cFixed operator*(cFixed o) const;
    // Quotient rounded to the nearest ten-thousandth, halves to even; division by zero raises
    // cError 11.
    cFixed operator/(cFixed o) const;
    cFixed& operator+=(cFixed o) { return *this = *this + o; }
    cFixed& operator-=(cFixed o) { return *this = *this - o; }
    cFixed& operator*=(cFixed o) { return *this = *this * o; }
    cFixed& operator/=(cFixed o) { return *this = *this / o; }

    constexpr auto operator<=>(const cFixed&) const = default;
    constexpr bool operator==(const cFixed&) const = default;

private:
    // Raises cError 6: a result beyond the type's range.
    [[noreturn]] static void overflow();

    std::int64_t raw_ = 0;
};

// Rounds a double to the nearest whole number, halves to even (the rule of every whole-number
// conversion in the program).
std::int64_t RoundHalfEven(double v);
