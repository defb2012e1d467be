// cVariant: one loosely typed value and its locale-free conversions.
#include "foundation/cVariant.h"
#include "foundation/zvLib_text.h"

#include "foundation/cError.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

[[noreturn]] void typeMismatch()
{
    throw cError(13, "cVariant", "Type mismatch");
}

[[noreturn]] void invalidUseOfNull()
{
    throw cError(94, "cVariant", "Invalid use of Null");
}

}  // namespace

cVariant cVariant::Null()
{
    cVariant v;
    v.v_ = NullTag{};
    return v;
}

cVariant cVariant::Bytes(std::string bytes)
{
    cVariant v;
    v.v_ = ByteString{std::move(bytes)};
    return v;
}

cVariant::Kind cVariant::kind() const
{
    return static_cast<Kind>(v_.index());
}

bool cVariant::isNumeric() const
{
    const Kind k = kind();
    return k == Kind::Bool || k == Kind::Integer || k == Kind::Double || k == Kind::Fixed;
}

std::optional<double> cVariant::parseNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    std::string s(text);
    if (!s.empty() && s.front() == '+') {
        s.erase(0, 1);
    }
    const std::size_t first = (!s.empty() && s.front() == '-') ? 1 : 0;
    // Only digits and a decimal sign may open the number: no "inf", "nan" or hex forms.
    if (first >= s.size() || !(std::isdigit(static_cast<unsigned char>(s[first])) ||
                               s[first] == '.' || s[first] == ',')) {
        return std::nullopt;
    }
    for (char& c : s) {
        if (c == ',') {
            c = '.';
        }
    }
    double d = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), d,
                                   std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(d)) {
        return std::nullopt;
    }
    return d;
}

std::string cVariant::toText() const
{
    switch (kind()) {
    case Kind::Empty:
    case Kind::Null:
        return {};
    case Kind::Bool:
        return std::get<bool>(v_) ? "True" : "False";
    case Kind::Integer:
        return std::to_string(std::get<std::int64_t>(v_));
    case Kind::Double: {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, std::get<double>(v_));
        return std::string(buf, r.ptr);
    }
    case Kind::Fixed:
        return std::get<cFixed>(v_).str();
    case Kind::Text:
        return std::get<std::string>(v_);
    case Kind::Bytes:
        return std::get<ByteString>(v_).bytes;
    }
    return {};
}

double cVariant::toDouble() const
{
    switch (kind()) {
    case Kind::Empty:
        return 0;
    case Kind::Null:
        invalidUseOfNull();
    case Kind::Bool:
        return std::get<bool>(v_) ? -1 : 0;
    case Kind::Integer:
        return static_cast<double>(std::get<std::int64_t>(v_));
    case Kind::Double:
        return std::get<double>(v_);
    case Kind::Fixed:
        return std::get<cFixed>(v_).toDouble();
    case Kind::Text: {
        const auto d = parseNumber(std::get<std::string>(v_));
        if (!d) {
            typeMismatch();
        }
        return *d;
    }
    case Kind::Bytes:
        break;
    }
    typeMismatch();
}

cFixed cVariant::toFixed() const
{
    switch (kind()) {
    case Kind::Integer:
        return cFixed::fromWhole(std::get<std::int64_t>(v_));
    case Kind::Fixed:
        return std::get<cFixed>(v_);
    case Kind::Text: {
        // A text is read exactly when it can be, so "0.00005" keeps its half for rounding.
        const auto f = cFixed::parse(std::get<std::string>(v_));
        if (f) {
            return *f;
        }
        return cFixed::fromDouble(toDouble());
    }
    default:
        return cFixed::fromDouble(toDouble());
    }
}

std::int64_t cVariant::toInteger() const
{
    if (kind() == Kind::Integer) {
        return std::get<std::int64_t>(v_);
    }
    if (kind() == Kind::Fixed) {
        return std::get<cFixed>(v_).toWhole();
    }
    return RoundHalfEven(toDouble());
}

bool cVariant::toBool() const
{
    if (kind() == Kind::Bool) {
        return std::get<bool>(v_);
    }
    if (kind() == Kind::Text) {
        const std::string& s = std::get<std::string>(v_);
        if (zvLib::SameText(s, "true")) {
            return true;
        }
        if (zvLib::SameText(s, "false")) {
            return false;
        }
    }
    return toDouble() != 0;
}

const std::string& cVariant::str() const
{
    static const std::string none;
    if (kind() == Kind::Text) {
        return std::get<std::string>(v_);
    }
    if (kind() == Kind::Bytes) {
        return std::get<ByteString>(v_).bytes;
    }
    return none;
}

bool cVariant::operator==(const cVariant& o) const
{
    return v_ == o.v_;
}
