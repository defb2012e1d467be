// cRecordset: reading and writing the table file. The file is UTF-8 XML: a root <recordset>,
// one <fields> element declaring each <field name=".." type=".."/>, then one <row> per row in
// order. A value is the row's attribute or child element of the field's name; absent is Null.
#include "foundation/cDateParts.h"
#include "foundation/zvLib_text.h"
#include "foundation/cRecordset.h"

#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"

#include <pugixml.hpp>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' ||
                          s.front() == '\n')) {
        s.remove_prefix(1);
    }
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
        s.remove_suffix(1);
    }
    return s;
}

// Standard Base64 with "=" fill; blanks and line breaks between the characters are skipped.
// Anything else, or fill anywhere but at the end, makes the value unreadable.
std::optional<std::string> decodeBase64(std::string_view text)
{
    std::string clean;
    clean.reserve(text.size());
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        }
        const bool alphabet = std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/';
        if (!(alphabet || c == '=') || (alphabet && !clean.empty() && clean.back() == '=')) {
            return std::nullopt;
        }
        clean += c;
    }
    const std::size_t fill = clean.size() - clean.find_last_not_of('=') - 1;
    if (clean.empty()) {
        return std::string();
    }
    if (clean.size() % 4 != 0 || fill > 2) {
        return std::nullopt;
    }
    return NUX_STD_library::Base64Decode(clean, false);
}

std::optional<std::int64_t> parseWhole(std::string_view text, std::int64_t lo, std::int64_t hi)
{
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    std::int64_t v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || v < lo ||
        v > hi) {
        return std::nullopt;
    }
    return v;
}

// "YYYY-MM-DD", optionally followed by "T" or a blank and "HH:MM" or "HH:MM:SS".
std::optional<double> parseDate(std::string_view text)
{
    text = trimBlanks(text);
    auto num = [&](std::size_t at, std::size_t len) -> int {
        if (at + len > text.size()) {
            return -1;
        }
        const auto v = parseWhole(text.substr(at, len), 0, 9999);
        const bool digits = text[at] >= '0' && text[at] <= '9';
        return v && digits ? static_cast<int>(*v) : -1;
    };
    cDateParts p;
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    p.year = num(0, 4);
    p.month = num(5, 2);
    p.day = num(8, 2);
    if (text.size() > 10) {
        if ((text[10] != 'T' && text[10] != ' ') || (text.size() != 16 && text.size() != 19) ||
            text[13] != ':' || (text.size() == 19 && text[16] != ':')) {
            return std::nullopt;
        }
        p.hour = num(11, 2);
        p.minute = num(14, 2);
        p.second = text.size() == 19 ? num(17, 2) : 0;
    }
    return DateFromParts(p);
}

std::optional<cVariant> parseNumberOfType(std::string_view text, int type)
{
    switch (type) {
    case cFieldType::Int16:
        if (auto v = parseWhole(text, -32768, 32767)) {
            return cVariant(static_cast<long long>(*v));
        }
        return std::nullopt;
    case cFieldType::Int32:
        if (auto v = parseWhole(text, INT32_MIN, INT32_MAX)) {
            return cVariant(static_cast<long long>(*v));
        }
        return std::nullopt;
    case cFieldType::Single:
    case cFieldType::Double:
        if (auto d = cVariant::parseNumber(trimBlanks(text))) {
            return cRecordset::Coerce(cVariant(*d), type);
        }
        return std::nullopt;
    case cFieldType::Date:
        if (auto d = parseDate(text)) {
            return cVariant(*d);
        }
        return std::nullopt;
    default:  // currency, decimal, numeric
        if (auto f = cFixed::parse(trimBlanks(text))) {
            return cVariant(*f);
        }
        return std::nullopt;
    }
}

// The value of a field of the given type written as text in the file.
std::optional<cVariant> parseValue(std::string_view text, int type)
{
    switch (type) {
    case cFieldType::Boolean: {
        const std::string_view t = trimBlanks(text);
        if (zvLib::SameText(t, "true") || t == "1" || t == "-1") {
            return cVariant(true);
        }
        if (zvLib::SameText(t, "false") || t == "0") {
            return cVariant(false);
        }
        return std::nullopt;
    }
    case cFieldType::LongVarBinary:
        if (auto bytes = decodeBase64(text)) {
            return cVariant::Bytes(std::move(*bytes));
        }
        return std::nullopt;
    case cFieldType::Int16:
    case cFieldType::Int32:
    case cFieldType::Single:
    case cFieldType::Double:
    case cFieldType::Date:
    case cFieldType::Currency:
    case cFieldType::Decimal:
    case cFieldType::Numeric:
        return parseNumberOfType(text, type);
    default:
        return cVariant(std::string(text));
    }
}

std::string shorten(std::string_view s)
{
    return s.size() > 40 ? std::string(s.substr(0, 40)) + "..." : std::string(s);
}

// The text of a value element: its text and CDATA children; none when it holds elements.
std::optional<std::string> elementText(const pugi::xml_node& node)
{
    std::string text;
    for (const pugi::xml_node& c : node.children()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            text += c.value();
        } else if (c.type() == pugi::node_element) {
            return std::nullopt;
        }
    }
    return text;
}

bool blankText(const pugi::xml_node& node)
{
    return (node.type() != pugi::node_pcdata && node.type() != pugi::node_cdata) ||
           trimBlanks(node.value()).empty();
}

}  // namespace

long cRecordset::Open(const std::string& path)
{
    Close();
    errorText_.clear();
    using NUX_STD_library::ReadFault;
    std::string bytes;
    ReadFault fault = ReadFault::None;
    if (!NUX_STD_library::ReadFileBytes(path, kMaxFileBytes, bytes, fault)) {
        switch (fault) {
        case ReadFault::NotFound:
        case ReadFault::PathNotFound:
            return fail(kErrFileNotFound, "File not found: " + path);
        case ReadFault::NotRegular:
            return fail(kErrFileAccess, "Not a file: " + path);
        case ReadFault::TooLarge:
            return fail(kErrBadFile, "File too large for a table: " + path);
        default:
            return fail(kErrFileAccess, "Cannot read: " + path);
        }
    }
    return OpenBytes(bytes);
}

long cRecordset::OpenBytes(std::string_view data)
{
    Close();
    errorText_.clear();
    if (data.size() > kMaxFileBytes) {
        return fail(kErrBadFile, "Data too large for a table");
    }
    return readDocument(data);
}

long cRecordset::readFieldList(const pugi::xml_node& node)
{
    for (const pugi::xml_node& f : node.children()) {
        if (f.type() != pugi::node_element) {
            if (!blankText(f)) {
                return fail(kErrBadFile, "Text among the fields");
            }
            continue;
        }
        if (std::strcmp(f.name(), "field") != 0) {
            return fail(kErrBadFile,
                        "Unexpected element <" + std::string(f.name()) + "> among the fields");
        }
        const std::string name = f.attribute("name").value();
        const auto type = parseWhole(f.attribute("type").value(), 0, 65535);
        if (!type || !KnownType(static_cast<int>(*type))) {
            return fail(kErrBadFile, "Field '" + shorten(name) + "': unknown type '" +
                                         shorten(f.attribute("type").value()) + "'");
        }
        if (AppendField(name, static_cast<int>(*type)) != 0) {
            return fail(kErrBadFile,
                        "Field '" + shorten(name) + "': invalid, repeated or one too many");
        }
    }
    if (fields_.empty()) {
        return fail(kErrBadFile, "The table declares no field");
    }
    return 0;
}

long cRecordset::readRow(const pugi::xml_node& node, std::size_t rowNumber)
{
    std::vector<cVariant> values(fields_.size(), cVariant::Null());
    std::vector<bool> given(fields_.size(), false);
    const std::string where = "Row " + std::to_string(rowNumber);
    auto put = [&](std::string_view name, const std::optional<std::string>& text) -> long {
        const long i = FieldIndex(name);
        if (i < 0 || given[static_cast<std::size_t>(i)] || !text) {
            return fail(kErrBadFile,
                        where + ": unknown, repeated or nested value '" + shorten(name) + "'");
        }
        const std::size_t k = static_cast<std::size_t>(i);
        given[k] = true;
        auto v = parseValue(*text, fields_[k].Type());
        if (!v) {
            return fail(kErrBadFile, where + ", field " + fields_[k].Name() +
                                         ": not a value of type " +
                                         std::to_string(fields_[k].Type()) + ": '" +
                                         shorten(*text) + "'");
        }
        values[k] = std::move(*v);
        return 0;
    };
    for (const pugi::xml_attribute& a : node.attributes()) {
        if (const long err = put(a.name(), std::string(a.value())); err != 0) {
            return err;
        }
    }
    for (const pugi::xml_node& c : node.children()) {
        if (c.type() == pugi::node_element) {
            if (const long err = put(c.name(), elementText(c)); err != 0) {
                return err;
            }
        } else if (!blankText(c)) {
            return fail(kErrBadFile, where + ": text outside the values");
        }
    }
    rows_.push_back(std::move(values));
    return 0;
}

long cRecordset::readDocument(std::string_view data)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result res =
        doc.load_buffer(data.data(), data.size(),
                        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_ws_pcdata_single,
                        pugi::encoding_auto);
    if (!res) {
        return fail(kErrBadFile, std::string("Not an XML file: ") + res.description() +
                                     " at offset " + std::to_string(res.offset));
    }
    const pugi::xml_node root = doc.document_element();
    if (std::strcmp(root.name(), "recordset") != 0) {
        return fail(kErrBadFile, "The root element is not <recordset>");
    }
    bool haveFields = false;
    std::size_t rowNumber = 0;
    for (const pugi::xml_node& node : root.children()) {
        long err = 0;
        if (node.type() != pugi::node_element) {
            err = blankText(node) ? 0 : fail(kErrBadFile, "Text outside the rows");
        } else if (std::strcmp(node.name(), "fields") == 0 && !haveFields) {
            haveFields = true;
            err = readFieldList(node);
        } else if (std::strcmp(node.name(), "row") == 0 && haveFields) {
            err = readRow(node, ++rowNumber);
        } else {
            err = fail(kErrBadFile, "Unexpected element <" + std::string(node.name()) +
                                        "> (one <fields> first, then the rows)");
        }
        if (err != 0) {
            return err;
        }
    }
    if (!haveFields) {
        return fail(kErrBadFile, "The table has no <fields>");
    }
    index_.clear();
    setPosition(0);
    return 0;
}

// ---- writing ----------------------------------------------------------------------------------

namespace {

// True when XML 1.0 can carry the text: no control characters but tab, line feed and return.
bool storableText(const std::string& s)
{
    for (unsigned char c : s) {
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            return false;
        }
    }
    return true;
}

std::string shortestText(double d, bool single)
{
    char buf[64];
    const auto r = single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(d))
                          : std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, r.ptr);
}

std::optional<std::string> dateText(double value)
{
    const auto p = PartsFromDate(value);
    if (!p) {
        return std::nullopt;
    }
    char buf[32];
    if (p->hour == 0 && p->minute == 0 && p->second == 0) {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p->year, p->month, p->day);
    } else {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", p->year, p->month,
                      p->day, p->hour, p->minute, p->second);
    }
    return std::string(buf);
}

// The text a value is written as; none for a value the format cannot carry.
std::optional<std::string> valueText(const cVariant& v, int type)
{
    switch (type) {
    case cFieldType::Single:
    case cFieldType::Double:
        return shortestText(v.toDouble(), type == cFieldType::Single);
    case cFieldType::Date:
        return dateText(v.toDouble());
    case cFieldType::Boolean:
        return std::string(v.toBool() ? "true" : "false");
    case cFieldType::LongVarBinary:
        return NUX_STD_library::Base64Encode(v.str());
    default:
        if (v.kind() == cVariant::Kind::Text && !storableText(v.str())) {
            return std::nullopt;
        }
        return v.toText();
    }
}

}  // namespace

std::optional<std::string> cRecordset::writeDocument() const
{
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = doc.append_child("recordset");
    pugi::xml_node list = root.append_child("fields");
    for (const cField& f : fields_) {
        pugi::xml_node n = list.append_child("field");
        n.append_attribute("name") = f.Name().c_str();
        n.append_attribute("type") = f.Type();
    }
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        pugi::xml_node row = root.append_child("row");
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            const cVariant& v = rows_[r][i];
            if (v.isNull()) {
                continue;
            }
            const auto text = valueText(v, fields_[i].Type());
            if (!text) {
                errorText_ = "Row " + std::to_string(r + 1) + ", field " + fields_[i].Name() +
                             ": a value the file cannot hold";
                return std::nullopt;
            }
            // Short single-line texts and plain values go in attributes, the rest in elements.
            const bool inElement = fields_[i].Type() == cFieldType::LongVarBinary ||
                                   text->size() > 80 ||
                                   text->find_first_of("\t\r\n") != std::string::npos;
            if (inElement) {
                row.append_child(fields_[i].Name().c_str()).text() = text->c_str();
            } else {
                row.append_attribute(fields_[i].Name().c_str()) = text->c_str();
            }
        }
    }
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

long cRecordset::Save(const std::string& path) const
{
    errorText_.clear();
    if (!IsOpen()) {
        errorText_ = "The table has no fields";
        return kErrBadArgument;
    }
    const auto text = writeDocument();
    if (!text) {
        return kErrBadArgument;
    }
    if (!NUX_STD_library::WriteFileText(path, *text)) {
        errorText_ = "Cannot write: " + path;
        return kErrFileAccess;
    }
    return 0;
}
