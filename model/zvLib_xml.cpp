// zvLib, XML text of the circuit file: escaping of element text and attribute values that
// drops every byte sequence XML 1.0 does not allow, so that what we write always parses.
#include "model/zvLib_xml.h"

namespace {

// The length of the UTF-8 sequence at s[i] and its code point; 0 when the bytes there are
// malformed (bad lead or continuation byte, overlong form, surrogate, beyond U+10FFFF).
std::size_t utf8Sequence(std::string_view s, std::size_t i, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    const char32_t least = len == 2 ? 0x80 : (len == 3 ? 0x800 : 0x10000);
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

// True for the characters an XML 1.0 document may hold.
bool xmlAllowed(char32_t cp)
{
    if (cp < 0x20) {
        return cp == 0x09 || cp == 0x0A || cp == 0x0D;
    }
    return cp != 0xFFFE && cp != 0xFFFF;
}

// True for the characters that may begin an XML 1.0 name, the colon left out.
bool nameStart(char32_t cp)
{
    return (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z') || cp == '_' ||
           (cp >= 0xC0 && cp <= 0xD6) || (cp >= 0xD8 && cp <= 0xF6) ||
           (cp >= 0xF8 && cp <= 0x2FF) || (cp >= 0x370 && cp <= 0x37D) ||
           (cp >= 0x37F && cp <= 0x1FFF) || (cp >= 0x200C && cp <= 0x200D) ||
           (cp >= 0x2070 && cp <= 0x218F) || (cp >= 0x2C00 && cp <= 0x2FEF) ||
           (cp >= 0x3001 && cp <= 0xD7FF) || (cp >= 0xF900 && cp <= 0xFDCF) ||
           (cp >= 0xFDF0 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0xEFFFF);
}

// True for the characters an XML 1.0 name may hold after its first, the colon left out.
bool nameChar(char32_t cp)
{
    return nameStart(cp) || cp == '-' || cp == '.' || (cp >= '0' && cp <= '9') || cp == 0xB7 ||
           (cp >= 0x300 && cp <= 0x36F) || (cp >= 0x203F && cp <= 0x2040);
}

// What stands for a character in XML: & and < always, > in element text, the double quote
// and the tab in attribute values; line feeds and carriage returns as character references,
// so that they read back unchanged and the element stays on one line. Null for the rest.
const char* xmlEntity(char32_t cp, bool attribute)
{
    switch (cp) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return attribute ? nullptr : "&gt;";
    case '"':
        return attribute ? "&quot;" : nullptr;
    case '\t':
        return attribute ? "&#9;" : nullptr;
    case '\n':
        return "&#10;";
    case '\r':
        return "&#13;";
    default:
        return nullptr;
    }
}

// The text escaped for XML; every byte sequence that is no character XML 1.0 allows is
// dropped.
std::string escape(std::string_view s, bool attribute)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t len = utf8Sequence(s, i, cp);
        if (len == 0) {
            ++i;
            continue;
        }
        if (const char* entity = xmlEntity(cp, attribute)) {
            out += entity;
        } else if (xmlAllowed(cp)) {
            out.append(s.substr(i, len));
        }
        i += len;
    }
    return out;
}

} // namespace

namespace zvLib {

std::string XmlEscapeText(std::string_view text)
{
    return escape(text, false);
}

std::string XmlEscapeAttribute(std::string_view text)
{
    return escape(text, true);
}

bool IsPlainXmlName(std::string_view text)
{
    if (text.empty()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = utf8Sequence(text, i, cp);
        if (len == 0 || !(i == 0 ? nameStart(cp) : nameChar(cp))) {
            return false;
        }
        i += len;
    }
    return true;
}

} // namespace zvLib
