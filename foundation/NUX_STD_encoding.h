// NUX_STD_library, encodings: standard Base64 of byte texts (a DXF background travels in the
// circuit file this way), the check of UTF-8 byte texts, Windows-1252 texts made UTF-8 and the
// MIME type of a file name.
#pragma once

#include <string>
#include <string_view>

namespace NUX_STD_library {

// The standard Base64 of the bytes, with "=" padding and no line breaks; empty for "".
std::string Base64Encode(std::string_view s);
// The bytes that the Base64 text s encodes. s is trimmed of blanks first and, with clean,
// stripped of every character outside A-Z a-z 0-9 + / =; the caller's s receives that text.
// Padding is optional: every group decodes, a short last group of two or three characters
// too, and "=" ends its group. Other characters left inside count as zero bits. An empty s
// gives ""; one that holds fewer than two characters after trimming and cleaning raises
// cError 9.
std::string Base64Decode(std::string& s, bool clean);
// The text that the UTF-8 bytes of s hold: valid sequences unchanged, each malformed one
// replaced by U+FFFD.
std::string Utf8Decode(const std::string& s);
// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points beyond
// U+10FFFF).
bool IsUtf8(std::string_view s);
// The bytes read as Windows-1252 characters, in UTF-8; the five bytes that code page leaves
// unassigned stand for the control characters of the same value.
std::string Windows1252ToUtf8(std::string_view s);
// The text the bytes hold, in UTF-8: every well-formed UTF-8 sequence kept as it is and each
// byte that is part of none read as Windows-1252 (what a text made on an older system most
// likely holds), so nothing is lost. A wholly valid text is unchanged, and a single-byte one
// reads as Windows1252ToUtf8 gives it unless some of its bytes happen to form UTF-8.
std::string TextFromBytes(std::string_view s);
// The MIME content type for the file name's extension ("application/octet-stream" for an
// unknown one or none).
std::string GetMimeType(const std::string& fileName);

} // namespace NUX_STD_library
