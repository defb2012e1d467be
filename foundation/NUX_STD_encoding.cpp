// NUX_STD_library, encodings: Base64 of byte texts, the UTF-8 check of byte texts, Windows-1252
// texts made UTF-8 and the MIME type of a file name.
#include "foundation/NUX_STD_encoding.h"

#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace NUX_STD_library {

namespace {

constexpr char kBase64Table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kNotBase64 = 255;

// The 6-bit value of each alphabet character; 255 for every other byte, "=" included.
constexpr std::array<std::uint8_t, 256> MakeDecodeTable()
{
    std::array<std::uint8_t, 256> t{};
    for (auto& v : t) {
        v = kNotBase64;
    }
    for (std::uint8_t i = 0; i < 64; ++i) {
        t[static_cast<unsigned char>(kBase64Table[i])] = i;
    }
    return t;
}
constexpr std::array<std::uint8_t, 256> kBase64DecodeTable = MakeDecodeTable();

bool IsBase64Char(unsigned char c)
{
    return kBase64DecodeTable[c] != kNotBase64 || c == '=';
}

// s without leading and trailing blanks.
std::string TrimBlanks(const std::string& s)
{
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) {
        return {};
    }
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string RemoveNonBase64(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (IsBase64Char(static_cast<unsigned char>(c))) {
            out += c;
        }
    }
    return out;
}

// Decodes one group of up to four characters; "=" ends the group's data, any other character
// outside the alphabet counts as zero bits.
void DecodeGroup(const char* g, std::size_t n, std::string& out)
{
    std::uint32_t v = 0;
    std::size_t k = 0;
    for (; k < n && g[k] != '='; ++k) {
        const std::uint8_t d = kBase64DecodeTable[static_cast<unsigned char>(g[k])];
        v |= static_cast<std::uint32_t>(d == kNotBase64 ? 0 : d) << (18 - 6 * k);
    }
    // Two characters carry one byte, three carry two, four carry three.
    for (std::size_t i = 0; i + 1 < k; ++i) {
        out += static_cast<char>((v >> (16 - 8 * i)) & 0xFF);
    }
}

// The length of the valid UTF-8 sequence at s[i], or 0 with `consumed` set to the length of
// the malformed part to replace.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i, std::size_t& consumed)
{
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t need = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c < 0x80) {
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        need = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
        need = 2;
        lo = c == 0xE0 ? 0xA0 : 0x80;
        hi = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        need = 3;
        lo = c == 0xF0 ? 0x90 : 0x80;
        hi = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        consumed = 1;
        return 0;
    }
    std::size_t got = 0;
    for (std::size_t j = i + 1; got < need && j < s.size(); ++j, ++got) {
        const auto d = static_cast<unsigned char>(s[j]);
        if (d < (got == 0 ? lo : 0x80) || d > (got == 0 ? hi : 0xBF)) {
            break;
        }
    }
    if (got == need) {
        return need + 1;
    }
    consumed = got + 1;
    return 0;
}

// Unicode code points of the bytes 0x80 to 0x9F in Windows-1252; the five unassigned bytes
// keep their own value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Appends a code point of the Basic Multilingual Plane in UTF-8.
void AppendUtf8(std::string& out, char16_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Appends the character that the byte stands for in Windows-1252, in UTF-8.
void AppendWindows1252(std::string& out, char ch)
{
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
        out += ch;
    } else if (c < 0xA0) {
        AppendUtf8(out, kCp1252High[c - 0x80]);
    } else {
        AppendUtf8(out, c);
    }
}

// The offset of the first byte that is not part of a well-formed UTF-8 sequence; the size of
// s when there is none.
std::size_t FirstMalformed(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t bad = 0;
        const std::size_t n = Utf8SequenceAt(s, i, bad);
        if (n == 0) {
            return i;
        }
        i += n;
    }
    return s.size();
}

} // namespace

std::string Base64Encode(std::string_view s)
{
    std::string out;
    out.reserve((s.size() + 2) / 3 * 4);
    const std::size_t whole = s.size() / 3 * 3;
    auto byte = [&s](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(s[i]));
    };
    for (std::size_t i = 0; i < whole; i += 3) {
        const std::uint32_t v = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
        out += kBase64Table[v >> 18];
        out += kBase64Table[(v >> 12) & 63];
        out += kBase64Table[(v >> 6) & 63];
        out += kBase64Table[v & 63];
    }
    const std::size_t rest = s.size() - whole;
    if (rest > 0) {
        const std::uint32_t v = byte(whole) << 16 | (rest == 2 ? byte(whole + 1) << 8 : 0);
        out += kBase64Table[v >> 18];
        out += kBase64Table[(v >> 12) & 63];
        out += rest == 2 ? kBase64Table[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string Base64Decode(std::string& s, bool clean)
{
    if (s.empty()) {
        return {};
    }
    s = TrimBlanks(s);
    if (clean) {
        s = RemoveNonBase64(s);
    }
    if (s.size() < 2) {
        throw cError(9, "Base64Decode", "Subscript out of range");
    }
    std::string out;
    out.reserve(s.size() / 4 * 3 + 2);
    for (std::size_t g = 0; g < s.size(); g += 4) {
        DecodeGroup(s.data() + g, std::min<std::size_t>(4, s.size() - g), out);
    }
    return out;
}

std::string Utf8Decode(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t bad = 0;
        const std::size_t n = Utf8SequenceAt(s, i, bad);
        if (n > 0) {
            out.append(s, i, n);
            i += n;
        } else {
            out += "\xEF\xBF\xBD";
            i += bad;
        }
    }
    return out;
}

bool IsUtf8(std::string_view s)
{
    return FirstMalformed(s) == s.size();
}

std::string Windows1252ToUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size() * 2);
    for (const char ch : s) {
        AppendWindows1252(out, ch);
    }
    return out;
}

std::string TextFromBytes(std::string_view s)
{
    std::size_t i = FirstMalformed(s);
    if (i == s.size()) {
        return std::string(s);
    }
    std::string out;
    out.reserve(s.size() + (s.size() - i) * 2);
    out.append(s.substr(0, i));
    while (i < s.size()) {
        std::size_t bad = 0;
        const std::size_t n = Utf8SequenceAt(s, i, bad);
        if (n > 0) {
            out.append(s.substr(i, n));
            i += n;
        } else {
            // Only this byte is taken as Windows-1252: the next one may begin a valid sequence.
            AppendWindows1252(out, s[i]);
            ++i;
        }
    }
    return out;
}

std::string GetMimeType(const std::string& fileName)
{
    std::string ext = GetFileExtension(fileName);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (ext == "gif" || ext == "png") {
        return "image/" + ext;
    }
    if (ext == "jpg" || ext == "jpeg") {
        return "image/jpeg";
    }
    if (ext == "pdf" || ext == "xml") {
        return "application/" + ext;
    }
    if (ext == "xlsx") {
        return "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
    }
    if (ext == "xls") {
        return "application/excel";
    }
    return "application/octet-stream";
}

} // namespace NUX_STD_library
