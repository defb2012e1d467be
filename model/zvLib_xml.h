// zvLib, XML text of the circuit file: element text and attribute values escaped so that every
// file the program writes parses, whatever bytes the texts hold.
#pragma once

#include <string>
#include <string_view>

namespace zvLib {

// The text escaped for element content: "&", "<" and ">" as entities, CR and LF as character
// references (the element stays on its line and they read back unchanged); byte sequences that
// are no character XML 1.0 allows (malformed UTF-8, control characters) are dropped.
std::string XmlEscapeText(std::string_view text);
// The text escaped for an attribute value between double quotes: "&", "<", the double quote,
// TAB, CR and LF escaped, forbidden characters dropped as for element text.
std::string XmlEscapeAttribute(std::string_view text);
// True when the UTF-8 text is an XML name without a prefix: a letter, "_" or another name-start
// character of XML 1.0 first, then name characters (digits, "-", "." among them), and no ":".
// Such a name, written as an element's name, reads back as itself.
bool IsPlainXmlName(std::string_view text);

} // namespace zvLib
