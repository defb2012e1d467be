// cVariant: one value of a table field or of a loosely typed call: empty, Null, a Boolean, a
// whole number, a double, a fixed-point number, a text or a byte string. Conversions follow the
// program's own rules and never use the user's locale.
#pragma once

#include "foundation/cFixed.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

class cVariant {
public:
    // The kinds of value a variant holds.
    enum class Kind { Empty, Null, Bool, Integer, Double, Fixed, Text, Bytes };

    // The empty value (nothing assigned yet).
    cVariant() = default;
    // A Boolean.
    cVariant(bool b) : v_(b) {}
    // A whole number.
    cVariant(int i) : v_(static_cast<std::int64_t>(i)) {}
    cVariant(long i) : v_(static_cast<std::int64_t>(i)) {}
    cVariant(long long i) : v_(static_cast<std::int64_t>(i)) {}
    // A double.
    cVariant(double d) : v_(d) {}
    // A fixed-point number.
    cVariant(cFixed f) : v_(f) {}
    // A text (UTF-8).
    cVariant(std::string s) : v_(std::move(s)) {}
    cVariant(const char* s) : v_(std::string(s)) {}
    cVariant(std::string_view s) : v_(std::string(s)) {}
    // The Null value (a field without data).
    static cVariant Null();
    // A byte string (long binary data).
    static cVariant Bytes(std::string bytes);

    // Which kind of value this is.
    Kind kind() const;
    // True for the Null value.
    bool isNull() const { return kind() == Kind::Null; }
    // True for the empty value.
    bool isEmpty() const { return kind() == Kind::Empty; }
    // True for a Boolean, whole number, double or fixed-point number.
    bool isNumeric() const;

    // The value as text: empty and Null give "", a Boolean "True" or "False", numbers are
    // written with "." as decimal sign (doubles in their shortest exact form), texts and byte
    // strings as they are.
    std::string toText() const;
    // The value as a double: empty gives 0, a Boolean -1 or 0, a text must hold a number
    // ("." or "," as decimal sign). Null raises cError 94, any other text cError 13.
    double toDouble() const;
    // The value as a fixed-point number, by the rules of toDouble (doubles round to the nearest
    // ten-thousandth, halves to even).
    cFixed toFixed() const;
    // The value as a whole number, by the rules of toDouble (halves round to even).
    std::int64_t toInteger() const;
    // The value as a Boolean: numbers are true when not zero, texts "True"/"False" in any case
    // or a number. Null raises cError 94, any other text cError 13.
    bool toBool() const;

    // The text or byte string held, without conversion; empty for other kinds.
    const std::string& str() const;

    // Reads a number written with "." or "," as decimal sign, an optional sign and exponent,
    // blanks around it allowed; anything else, or a value beyond the double range, gives none.
    static std::optional<double> parseNumber(std::string_view text);

    // Same kind and same value.
    bool operator==(const cVariant& o) const;

private:
    struct NullTag {
        bool operator==(const NullTag&) const { return true; }
    };
    struct ByteString {
        std::string bytes;
        bool operator==(const ByteString&) const = default;
    };
    std::variant<std::monostate, NullTag, bool, std::int64_t, double, cFixed, std::string,
                 ByteString>
        v_;
};
