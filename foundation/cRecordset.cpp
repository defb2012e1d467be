// cRecordset and cField: fields, navigation, the filter and the building of tables in memory.
// Reading and writing the table file lives in cRecordset_file.cpp.
#include "foundation/cRecordset.h"
#include "foundation/zvLib_text.h"

#include "foundation/cError.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string foldCase(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        c = lowerAscii(c);
    }
    return out;
}

bool isTextType(int type)
{
    return type == cFieldType::Char || type == cFieldType::WChar ||
           type == cFieldType::VarChar || type == cFieldType::LongVarChar ||
           type == cFieldType::VarWChar || type == cFieldType::LongVarWChar;
}

[[noreturn]] void noCurrentRow()
{
    throw cError(cRecordset::kErrNoCurrentRow, "cRecordset",
                 "Either BOF or EOF is True: there is no current row");
}

[[noreturn]] void itemNotFound(std::string_view what)
{
    throw cError(cRecordset::kErrItemNotFound, "cRecordset",
                 "Item cannot be found in the collection: " + std::string(what));
}

std::optional<cVariant> coerceWhole(const cVariant& v, std::int64_t lo, std::int64_t hi)
{
    std::int64_t i = 0;
    if (v.kind() == cVariant::Kind::Integer) {
        i = v.toInteger();
    } else if (v.kind() == cVariant::Kind::Fixed || v.kind() == cVariant::Kind::Double) {
        const double d = v.toDouble();
        if (d != std::floor(d) || d < static_cast<double>(lo) || d > static_cast<double>(hi)) {
            return std::nullopt;
        }
        i = static_cast<std::int64_t>(d);
    } else {
        return std::nullopt;
    }
    if (i < lo || i > hi) {
        return std::nullopt;
    }
    return cVariant(static_cast<long long>(i));
}

}  // namespace

// ---- cField ----------------------------------------------------------------------------------

cField::cField(std::string name, int type, cVariant value)
    : name_(std::move(name)), type_(type), own_(std::move(value))
{
}

const cVariant& cField::Value() const
{
    return owner_ ? owner_->CurrentValue(index_) : own_;
}

long cField::ActualSize() const
{
    const cVariant& v = Value();
    if (v.kind() == cVariant::Kind::Text || v.kind() == cVariant::Kind::Bytes) {
        return static_cast<long>(v.str().size());
    }
    return 0;
}

cVariant cField::GetChunk(long size)
{
    if (size < 1) {
        throw cError(cRecordset::kErrBadFilter, "cField", "GetChunk needs a size of 1 or more");
    }
    const cVariant& v = Value();
    if (v.isNull()) {
        return cVariant::Null();
    }
    if (v.kind() != cVariant::Kind::Text && v.kind() != cVariant::Kind::Bytes) {
        throw cError(3219, "cField", "GetChunk needs a text or binary field: " + name_);
    }
    const std::string& all = v.str();
    if (chunkPos_ >= all.size()) {
        return cVariant::Null();
    }
    const std::size_t n = std::min(static_cast<std::size_t>(size), all.size() - chunkPos_);
    std::string piece = all.substr(chunkPos_, n);
    chunkPos_ += n;
    if (v.kind() == cVariant::Kind::Bytes) {
        return cVariant::Bytes(std::move(piece));
    }
    return cVariant(std::move(piece));
}

// ---- cRecordset: life, fields, navigation ---------------------------------------------------

cRecordset::cRecordset(cRecordset&& o) noexcept
{
    *this = std::move(o);
}

cRecordset& cRecordset::operator=(cRecordset&& o) noexcept
{
    if (this == &o) {
        return *this;
    }
    fields_ = std::move(o.fields_);
    rows_ = std::move(o.rows_);
    filtered_ = o.filtered_;
    view_ = std::move(o.view_);
    pos_ = o.pos_;
    filter_ = std::move(o.filter_);
    errorText_ = std::move(o.errorText_);
    index_ = std::move(o.index_);
    rebindFields();
    o.Close();
    return *this;
}

void cRecordset::rebindFields()
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i].owner_ = this;
        fields_[i].index_ = i;
    }
}

void cRecordset::Close()
{
    fields_.clear();
    rows_.clear();
    filtered_ = false;
    view_.clear();
    pos_ = 0;
    filter_.clear();
    index_.clear();
}

long cRecordset::fail(long number, std::string text)
{
    Close();
    errorText_ = std::move(text);
    return number;
}

cField& cRecordset::Fields(long index)
{
    return const_cast<cField&>(std::as_const(*this).Fields(index));
}

const cField& cRecordset::Fields(long index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= fields_.size()) {
        itemNotFound(std::to_string(index));
    }
    return fields_[static_cast<std::size_t>(index)];
}

cField& cRecordset::Fields(std::string_view name)
{
    return const_cast<cField&>(std::as_const(*this).Fields(name));
}

const cField& cRecordset::Fields(std::string_view name) const
{
    const long i = FieldIndex(name);
    if (i < 0) {
        itemNotFound(name);
    }
    return fields_[static_cast<std::size_t>(i)];
}

long cRecordset::FieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (zvLib::SameText(fields_[i].name_, name)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

const cVariant& cRecordset::CurrentValue(std::size_t fieldIndex) const
{
    if (Eof()) {
        noCurrentRow();
    }
    return rows_[currentRow()].at(fieldIndex);
}

void cRecordset::setPosition(std::size_t pos)
{
    pos_ = pos;
    for (cField& f : fields_) {
        f.chunkPos_ = 0;
    }
}

long cRecordset::MoveFirst()
{
    if (viewSize() == 0) {
        return kErrNoCurrentRow;
    }
    setPosition(0);
    return 0;
}

long cRecordset::MoveLast()
{
    if (viewSize() == 0) {
        return kErrNoCurrentRow;
    }
    setPosition(viewSize() - 1);
    return 0;
}

long cRecordset::MoveNext()
{
    if (Eof()) {
        return kErrNoCurrentRow;
    }
    setPosition(pos_ + 1);
    return 0;
}

// ---- cRecordset: the filter -----------------------------------------------------------------

namespace {

void skipBlanks(std::string_view s, std::size_t& p)
{
    while (p < s.size() && (s[p] == ' ' || s[p] == '\t')) {
        ++p;
    }
}

bool isNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '-' || c == '.';
}

// Reads a quoted text starting at the opening quote; a doubled quote stands for one.
bool readQuoted(std::string_view s, std::size_t& p, std::string& out)
{
    ++p;
    for (;;) {
        if (p >= s.size()) {
            return false;
        }
        if (s[p] == '\'') {
            if (p + 1 < s.size() && s[p + 1] == '\'') {
                out += '\'';
                p += 2;
                continue;
            }
            ++p;
            return true;
        }
        out += s[p++];
    }
}

bool readNumber(std::string_view s, std::size_t& p, double& out)
{
    const std::size_t start = p;
    if (p < s.size() && (s[p] == '-' || s[p] == '+')) {
        ++p;
    }
    while (p < s.size() && ((s[p] >= '0' && s[p] <= '9') || s[p] == '.')) {
        ++p;
    }
    const auto d = cVariant::parseNumber(s.substr(start, p - start));
    if (!d) {
        return false;
    }
    out = *d;
    return true;
}

// True when the keyword AND (any case) followed by a blank stands at p.
bool readAnd(std::string_view s, std::size_t& p)
{
    if (p + 4 <= s.size() && zvLib::SameText(s.substr(p, 3), "and") &&
        (s[p + 3] == ' ' || s[p + 3] == '\t')) {
        p += 3;
        return true;
    }
    return false;
}

}  // namespace

long cRecordset::parseFilter(std::string_view expr, std::vector<Term>& terms) const
{
    std::size_t p = 0;
    for (;;) {
        skipBlanks(expr, p);
        const std::size_t nameStart = p;
        while (p < expr.size() && isNameChar(expr[p])) {
            ++p;
        }
        const long field = FieldIndex(expr.substr(nameStart, p - nameStart));
        skipBlanks(expr, p);
        if (field < 0 || p >= expr.size() || expr[p] != '=') {
            return kErrBadFilter;
        }
        ++p;
        skipBlanks(expr, p);
        Term t;
        t.field = static_cast<std::size_t>(field);
        if (p < expr.size() && expr[p] == '\'') {
            t.isText = true;
            if (!readQuoted(expr, p, t.text)) {
                return kErrBadFilter;
            }
            t.text = foldCase(t.text);
        } else if (!readNumber(expr, p, t.number)) {
            return kErrBadFilter;
        }
        terms.push_back(std::move(t));
        skipBlanks(expr, p);
        if (p == expr.size()) {
            return 0;
        }
        if (!readAnd(expr, p)) {
            return kErrBadFilter;
        }
    }
}

const std::vector<std::size_t>* cRecordset::textIndex(std::size_t field,
                                                        const std::string& key) const
{
    auto it = index_.find(field);
    if (it == index_.end()) {
        auto& map = index_[field];
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            const cVariant& v = rows_[r][field];
            if (v.kind() == cVariant::Kind::Text) {
                map[foldCase(v.str())].push_back(r);
            }
        }
        it = index_.find(field);
    }
    const auto hit = it->second.find(key);
    return hit == it->second.end() ? nullptr : &hit->second;
}

std::vector<std::size_t> cRecordset::candidates(const std::vector<Term>& terms) const
{
    // The first text term on a text field narrows the search through that field's index.
    for (const Term& t : terms) {
        if (t.isText && isTextType(fields_[t.field].type_)) {
            const auto* rows = textIndex(t.field, t.text);
            return rows ? *rows : std::vector<std::size_t>{};
        }
    }
    std::vector<std::size_t> all(rows_.size());
    for (std::size_t r = 0; r < all.size(); ++r) {
        all[r] = r;
    }
    return all;
}

bool cRecordset::rowMatches(std::size_t row, const std::vector<Term>& terms) const
{
    for (const Term& t : terms) {
        const cVariant& v = rows_[row][t.field];
        if (v.isNull() || v.isEmpty() || v.kind() == cVariant::Kind::Bytes) {
            return false;
        }
        if (v.kind() == cVariant::Kind::Text && t.isText) {
            if (!zvLib::SameText(v.str(), t.text)) {
                return false;
            }
            continue;
        }
        // A number on either side: both are compared as numbers.
        std::optional<double> lhs;
        if (v.kind() == cVariant::Kind::Text) {
            lhs = cVariant::parseNumber(v.str());
        } else if (v.kind() == cVariant::Kind::Bool) {
            lhs = v.toBool() ? -1.0 : 0.0;
        } else {
            lhs = v.toDouble();
        }
        const std::optional<double> rhs = t.isText ? cVariant::parseNumber(t.text) : t.number;
        if (!lhs || !rhs) {
            return false;
        }
        if (v.kind() == cVariant::Kind::Bool ? ((*lhs != 0) != (*rhs != 0)) : (*lhs != *rhs)) {
            return false;
        }
    }
    return true;
}

long cRecordset::Filter(std::string_view expression)
{
    std::string_view trimmed = expression;
    while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t')) {
        trimmed.remove_prefix(1);
    }
    if (trimmed.empty()) {
        filtered_ = false;
        view_.clear();
        filter_.clear();
        setPosition(0);
        return 0;
    }
    std::vector<Term> terms;
    if (const long err = parseFilter(expression, terms); err != 0) {
        return err;
    }
    std::vector<std::size_t> view;
    for (std::size_t r : candidates(terms)) {
        if (rowMatches(r, terms)) {
            view.push_back(r);
        }
    }
    view_ = std::move(view);
    filtered_ = true;
    filter_ = std::string(expression);
    setPosition(0);
    return 0;
}

// ---- cRecordset: building in memory ---------------------------------------------------------

bool cRecordset::KnownType(int type)
{
    switch (type) {
    case cFieldType::Int16:
    case cFieldType::Int32:
    case cFieldType::Single:
    case cFieldType::Double:
    case cFieldType::Currency:
    case cFieldType::Date:
    case cFieldType::Boolean:
    case cFieldType::Decimal:
    case cFieldType::Numeric:
    case cFieldType::LongVarBinary:
        return true;
    default:
        return isTextType(type);
    }
}

bool cRecordset::ValidFieldName(std::string_view name)
{
    if (name.empty() || !((name[0] >= 'A' && name[0] <= 'Z') ||
                          (name[0] >= 'a' && name[0] <= 'z') || name[0] == '_')) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), isNameChar);
}

std::optional<cVariant> cRecordset::Coerce(const cVariant& v, int type)
{
    using K = cVariant::Kind;
    if (v.isNull() || v.isEmpty()) {
        return cVariant::Null();
    }
    const bool number = v.kind() == K::Integer || v.kind() == K::Double || v.kind() == K::Fixed;
    switch (type) {
    case cFieldType::Int16:
        return coerceWhole(v, -32768, 32767);
    case cFieldType::Int32:
        return coerceWhole(v, INT32_MIN, INT32_MAX);
    case cFieldType::Single:
        if (!number || std::fabs(v.toDouble()) > 3.4028234663852886e38) {
            return std::nullopt;
        }
        return cVariant(static_cast<double>(static_cast<float>(v.toDouble())));
    case cFieldType::Double:
    case cFieldType::Date:
        return number ? std::optional<cVariant>(cVariant(v.toDouble())) : std::nullopt;
    case cFieldType::Currency:
    case cFieldType::Decimal:
    case cFieldType::Numeric:
        if (!number || std::fabs(v.toDouble()) >= 9.2e14) {
            return std::nullopt;
        }
        return cVariant(v.toFixed());
    case cFieldType::Boolean:
        return v.kind() == K::Bool ? std::optional<cVariant>(v) : std::nullopt;
    case cFieldType::LongVarBinary:
        if (v.kind() == K::Bytes || v.kind() == K::Text) {
            return cVariant::Bytes(v.str());
        }
        return std::nullopt;
    default:
        if (isTextType(type) && v.kind() == K::Text) {
            return v;
        }
        return std::nullopt;
    }
}

long cRecordset::AppendField(const std::string& name, int type)
{
    if (!rows_.empty()) {
        return kErrBadArgument;
    }
    if (!ValidFieldName(name) || !KnownType(type) || FieldIndex(name) >= 0 ||
        fields_.size() >= kMaxFields) {
        return kErrBadFilter;
    }
    fields_.emplace_back(name, type);
    rebindFields();
    return 0;
}

long cRecordset::AddRow(std::vector<cVariant> values)
{
    if (fields_.empty() || values.size() != fields_.size()) {
        return kErrTypeMismatch;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto v = Coerce(values[i], fields_[i].type_);
        if (!v) {
            return kErrTypeMismatch;
        }
        values[i] = std::move(*v);
    }
    rows_.push_back(std::move(values));
    index_.clear();
    filtered_ = false;
    view_.clear();
    filter_.clear();
    setPosition(rows_.size() - 1);
    return 0;
}
