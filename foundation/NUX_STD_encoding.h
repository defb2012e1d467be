// NUX_STD_library, encodings: standard Base64 of byte texts (a DXF background travels in the
// circuit file this way), the check of UTF-8 byte texts and the MIME type of a file name.
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
// The MIME content type for the file name's extension ("application/octet-stream" for an
// unknown one or none).
std::string GetMimeType(const std::string& fileName);

} // namespace NUX_STD_library
