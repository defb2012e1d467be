// nxColors: the named and custom colour tables and the conversions between colour texts and
// colour values. Texts are read strictly: a form that is not matched to the last character
// gives 0, so that ToRGB never raises.
#include "foundation/nxColors.h"
#include "foundation/zvLib_text.h"

#include "foundation/cError.h"
#include "foundation/cFixed.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace {

struct NamedColor {
    const char* name;
    std::uint32_t rrggbb;  // as written in HTML: red in the high byte
};

// The named colours in table order; a value is looked up by the first name that has it.
constexpr NamedColor kNamed[] = {
    {"Aliceblue", 0xF0F8FF},
    {"Antiquewhite", 0xFAEBD7},
    {"Aqua", 0x00FFFF},
    {"Aquamarine", 0x7FFFD4},
    {"Azure", 0xF0FFFF},
    {"Beige", 0xF5F5DC},
    {"Bisque", 0xFFE4C4},
    {"Black", 0x000000},
    {"Blanchedalmond", 0xFFEBCD},
    {"Blue", 0x0000FF},
    {"Blueviolet", 0x8A2BE2},
    {"Brown", 0xA52A2A},
    {"Burlywood", 0xDEB887},
    {"Cadetblue", 0x5F9EA0},
    {"Chartreuse", 0x7FFF00},
    {"Chocolate", 0xD2691E},
    {"Coral", 0xFF7F50},
    {"Cornflower", 0x6495ED},
    {"Cornsilk", 0xFFF8DC},
    {"Crimson", 0xDC143C},
    {"Cyan", 0x00FFFF},
    {"Darkblue", 0x00008B},
    {"Darkcyan", 0x008B8B},
    {"Darkgoldenrod", 0xB8860B},
    {"Darkgray", 0xA9A9A9},
    {"Darkgreen", 0x006400},
    {"Darkkhaki", 0xBDB76B},
    {"Darkmagenta", 0x8B008B},
    {"Darkolivegreen", 0x556B2F},
    {"Darkorange", 0xFF8C00},
    {"Darkorchid", 0x9932CC},
    {"Darkred", 0x8B0000},
    {"Darksalmon", 0xE9967A},
    {"Darkseagreen", 0x8FBC8B},
    {"Darkslateblue", 0x483D8B},
    {"Darkslategray", 0x2F4F4F},
    {"Darkturquoise", 0x00CED1},
    {"Darkviolet", 0x9400D3},
    {"Deeppink", 0xFF1493},
    {"Deepskyblue", 0x00BFFF},
    {"Dimgray", 0x696969},
    {"Dodgerblue", 0x1E90FF},
    {"Firebrick", 0xB22222},
    {"Floralwhite", 0xFFFAF0},
    {"Forestgreen", 0x228B22},
    {"Fuchsia", 0xFF00FF},
    {"Gainsboro", 0xDCDCDC},
    {"Ghostwhite", 0xF8F8FF},
    {"Gold", 0xFFD700},
    {"Goldenrod", 0xDAA520},
    {"Gray", 0x808080},
    {"Green", 0x008000},
    {"Greenyellow", 0xADFF2F},
    {"Honeydew", 0xF0FFF0},
    {"Hotpink", 0xFF69B4},
    {"Indianred", 0xCD5C5C},
    {"Indigo", 0x4B0082},
    {"Ivory", 0xFFFFF0},
    {"Khaki", 0xF0E68C},
    {"Lavender", 0xE6E6FA},
    {"Lavenderblush", 0xFFF0F5},
    {"Lawngreen", 0x7CFC00},
    {"Lemonchiffon", 0xFFFACD},
    {"Lightblue", 0xADD8E6},
    {"Lightcoral", 0xF08080},
    {"Lightcyan", 0xE0FFFF},
    {"Lightgoldenrodyellow", 0xFAFAD2},
    {"LightGray", 0xD3D3D3},
    {"LightGreen", 0x90EE90},
    {"Lightpink", 0xFFB6C1},
    {"Lightsalmon", 0xFFA07A},
    {"Lightseagreen", 0x20B2AA},
    {"Lightskyblue", 0x87CEFA},
    {"Lightslategray", 0x778899},
    {"Lightsteelblue", 0xB0C4DE},
    {"Lightyellow", 0xFFFFE0},
    {"Lime", 0x00FF00},
    {"Limegreen", 0x32CD32},
    {"Linen", 0xFAF0E6},
    {"Magenta", 0xFF00FF},
    {"Maroon", 0x800000},
    {"Mediumaquamarine", 0x66CDAA},
    {"Mediumblue", 0x0000CD},
    {"Mediumorchid", 0xBA55D3},
    {"Mediumpurple", 0x9370DB},
    {"Mediumseagreen", 0x3CB371},
    {"Mediumslateblue", 0x7B68EE},
    {"Mediumspringgreen", 0x00FA9A},
    {"Mediumturquoise", 0x48D1CC},
    {"Mediumvioletred", 0xC71585},
    {"Midnightblue", 0x191970},
    {"Mintcream", 0xF5FFFA},
    {"Mistyrose", 0xFFE4E1},
    {"Moccasin", 0xFFE4B5},
    {"Navajowhite", 0xFFDEAD},
    {"Navy", 0x000080},
    {"Oldlace", 0xFDF5E6},
    {"Olive", 0x808000},
    {"Olivedrab", 0x6B8E23},
    {"Orange", 0xFFA500},
    {"Orangered", 0xFF4500},
    {"Orchid", 0xDA70D6},
    {"Palegoldenrod", 0xEEE8AA},
    {"Palegreen", 0x98FB98},
    {"Paleturquoise", 0xAFEEEE},
    {"Palevioletred", 0xDB7093},
    {"Papayawhip", 0xFFEFD5},
    {"Peachpuff", 0xFFDAB9},
    {"Peru", 0xCD853F},
    {"Pink", 0xFFC0CB},
    {"Plum", 0xDDA0DD},
    {"Powderblue", 0xB0E0E6},
    {"Purple", 0x800080},
    {"Red", 0xFF0000},
    {"Rosybrown", 0xBC8F8F},
    {"Royalblue", 0x4169E1},
    {"Saddlebrown", 0x8B4513},
    {"Salmon", 0xFA8072},
    {"Sandybrown", 0xF4A460},
    {"Seagreen", 0x2E8B57},
    {"Seashell", 0xFFF5EE},
    {"Sienna", 0xA0522D},
    {"Silver", 0xC0C0C0},
    {"Skyblue", 0x87CEEB},
    {"Slateblue", 0x6A5ACD},
    {"Slategray", 0x708090},
    {"Snow", 0xFFFAFA},
    {"Springgreen", 0x00FF7F},
    {"Steelblue", 0x4682B4},
    {"Tan", 0xD2B48C},
    {"Teal", 0x008080},
    {"Thistle", 0xD8BFD8},
    {"Tomato", 0xFF6347},
    {"Turquoise", 0x40E0D0},
    {"Violet", 0xEE82EE},
    {"Wheat", 0xF5DEB3},
    {"White", 0xFFFFFF},
    {"Whitesmoke", 0xF5F5F5},
    {"Yellow", 0xFFFF00},
    {"Yellowgreen", 0x9ACD32},
};
static_assert(sizeof(kNamed) / sizeof(kNamed[0]) == 140);

struct CustomColor {
    const char* name;
    int red, green, blue;
};

constexpr CustomColor kCustom[] = {
    {"@Orange", 255, 186, 21},     {"@Red", 249, 71, 42},        {"@Cyan", 61, 167, 222},
    {"@Green", 0, 204, 0},         {"@Slate", 48, 63, 79},       {"@MiddleGray", 214, 214, 214},
    {"@LightGray", 242, 242, 242}, {"@HoverbackColor", 220, 243, 251},
};

constexpr std::int32_t kWhite = 0xFFFFFF;

std::int32_t FromRGB(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

std::string TrimBlanks(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](char c) { return UpperAscii(c); });
    return r;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = UpperAscii(c);
    return (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
}

bool AllHex(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return HexDigit(c) >= 0; });
}

// The byte written as two hexadecimal digits at position at; raises a type mismatch when
// the text is too short or the digits are not hexadecimal.
int HexByte(const std::string& text, std::size_t at)
{
    if (text.size() < at + 2 || !AllHex(std::string_view(text).substr(at, 2))) {
        throw cError(13, "nxColors", "Type mismatch");
    }
    return HexDigit(text[at]) * 16 + HexDigit(text[at + 1]);
}

std::string Hex2(unsigned byte)
{
    constexpr char digits[] = "0123456789ABCDEF";
    return {digits[(byte >> 4) & 0xF], digits[byte & 0xF]};
}

// A decimal number: optional sign, digits with one optional decimal sign ("." or ","), an
// optional exponent. Nothing else, no blanks; a value beyond a double does not convert.
std::optional<double> ParseDecimal(std::string_view s)
{
    std::string t(s);
    std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    std::size_t digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') {
            ++digits;
        } else if ((t[i] == '.' || t[i] == ',') && !point) {
            point = true;
            t[i] = '.';
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
        std::size_t j = i + 1;
        j += (j < t.size() && (t[j] == '+' || t[j] == '-')) ? 1 : 0;
        const std::size_t expDigits = j;
        while (j < t.size() && t[j] >= '0' && t[j] <= '9') {
            ++j;
        }
        i = (j > expDigits) ? j : i;
    }
    if (i != t.size()) {
        return std::nullopt;
    }
    const char* begin = t.data() + (t[0] == '+' ? 1 : 0);
    double v = 0;
    const auto r = std::from_chars(begin, t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size()) {
        return std::nullopt;
    }
    return v;
}

// A number as text: a decimal number, or "&H" and up to eight significant hexadecimal
// digits read as a 32-bit value (so "&HFFFFFFFF" is -1). Rounded halves to even.
std::optional<std::int64_t> ParseWhole(std::string_view s)
{
    if (s.size() > 2 && s[0] == '&' && UpperAscii(s[1]) == 'H') {
        std::string_view digits = s.substr(2);
        if (!AllHex(digits)) {
            return std::nullopt;
        }
        digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
        if (digits.size() > 8) {
            return std::nullopt;
        }
        std::uint32_t v = 0;
        for (char c : digits) {
            v = v * 16 + static_cast<std::uint32_t>(HexDigit(c));
        }
        return static_cast<std::int32_t>(v);
    }
    const auto d = ParseDecimal(s);
    if (!d) {
        return std::nullopt;
    }
    return RoundHalfEven(*d);
}

// The "RGB" form after its three letters: three whole numbers separated by commas, with
// parentheses and blanks around them ignored; a number above 255 counts as 255. Any
// number that is missing, not a number, negative or beyond 16 bits gives 0.
std::int32_t RgbFormToRGB(std::string_view rest)
{
    std::string t = TrimBlanks(rest);
    t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return c == '(' || c == ')'; }),
            t.end());
    if (std::count(t.begin(), t.end(), ',') != 2) {
        return 0;
    }
    int parts[3] = {0, 0, 0};
    std::size_t from = 0;
    for (int& part : parts) {
        const std::size_t comma = std::min(t.find(',', from), t.size());
        const auto v = ParseWhole(TrimBlanks(std::string_view(t).substr(from, comma - from)));
        if (!v || *v < 0 || *v > INT16_MAX) {
            return 0;
        }
        part = static_cast<int>(std::min<std::int64_t>(*v, 255));
        from = comma + 1;
    }
    return FromRGB(parts[0], parts[1], parts[2]);
}

}  // namespace

nxColors::nxColors()
{
    for (std::size_t i = 0; i < named_.size(); ++i) {
        const std::uint32_t c = kNamed[i].rrggbb;
        named_[i] = {kNamed[i].name,
                     FromRGB(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF),
                             static_cast<int>(c & 0xFF))};
    }
    for (std::size_t i = 0; i < std::size(kCustom); ++i) {
        custom_[i] = {kCustom[i].name, FromRGB(kCustom[i].red, kCustom[i].green, kCustom[i].blue)};
    }
}

bool nxColors::isHTML(const std::string& text) const
{
    const std::string s = TrimBlanks(text);
    return s.size() == 7 && s[0] == '#' && AllHex(std::string_view(s).substr(1));
}

bool nxColors::isVB(const std::string& text) const
{
    const std::string s = UpperAscii(TrimBlanks(text));
    return s.size() == 11 && s.compare(0, 4, "&H00") == 0 && s.back() == '&' &&
           AllHex(std::string_view(s).substr(4, 6));
}

std::size_t nxColors::FindNamed(const std::string& text) const
{
    const std::string_view name = zvLib::SameText(text, "cornflowerblue")
                                      ? std::string_view("Cornflower")
                                      : std::string_view(text);
    for (std::size_t i = 0; i < named_.size(); ++i) {
        if (zvLib::SameText(named_[i].name, name)) {
            return i;
        }
    }
    return named_.size();
}

bool nxColors::isCSS(const std::string& text) const
{
    return !text.empty() && FindNamed(text) < named_.size();
}

std::array<std::int16_t, 3> nxColors::RGBSplit(std::int32_t color) const
{
    return {static_cast<std::int16_t>(color % 256), static_cast<std::int16_t>((color / 256) % 256),
            static_cast<std::int16_t>((color / 65536) % 256)};
}

std::int32_t nxColors::CssToRGB(const std::string& text) const
{
    const std::size_t i = FindNamed(text);
    return i < named_.size() ? named_[i].value : 0;
}

std::string nxColors::RGBToCss(std::int32_t color) const
{
    for (const Entry& e : named_) {
        if (e.value == color) {
            return e.name;
        }
    }
    return {};
}

namespace {

// The windowing system's usual colours by index (scroll bar, desktop, captions, menus, window,
// frames, highlight, button face and shadows, grey text, 3-D edges, tool tips).
constexpr std::array<std::int32_t, 31> kDefaultSystemColors = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xD77800, 0xF0F0F0};

nxColors::SystemColorResolver& Resolver()
{
    static nxColors::SystemColorResolver resolver;
    return resolver;
}

} // namespace

void nxColors::SetSystemColorResolver(SystemColorResolver resolver)
{
    Resolver() = std::move(resolver);
}

std::int32_t nxColors::ResolveSystemColor(std::int32_t color)
{
    const auto c = static_cast<std::uint32_t>(color);
    if ((c & 0x80000000U) == 0) {
        return color;
    }
    const int index = static_cast<int>(c & 0xFFU);
    if (Resolver()) {
        return Resolver()(index) & 0xFFFFFF;
    }
    return index < static_cast<int>(kDefaultSystemColors.size())
               ? kDefaultSystemColors[static_cast<std::size_t>(index)]
               : 0;
}

std::string nxColors::RGBToHtml(std::int32_t color) const
{
    const auto c = static_cast<std::uint32_t>(ResolveSystemColor(color));
    return "#" + Hex2(c) + Hex2(c >> 8) + Hex2(c >> 16);
}

std::string nxColors::RGBToVB(std::int32_t color) const
{
    const auto c = static_cast<std::uint32_t>(color);
    return "&H00" + Hex2(c >> 16) + Hex2(c >> 8) + Hex2(c) + "&";
}

std::int32_t nxColors::HtmlToRGB(const std::string& text) const
{
    return FromRGB(HexByte(text, 1), HexByte(text, 3), HexByte(text, 5));
}

std::int32_t nxColors::VBToRGB(const std::string& text) const
{
    return FromRGB(HexByte(text, 8), HexByte(text, 6), HexByte(text, 4));
}

std::array<std::int32_t, 2> nxColors::w3Class(const std::string& className) const
{
    struct Style {
        const char* name;
        const char* back;
        const char* fore;
    };
    static constexpr Style kStyles[] = {
        {"w3-deep-orange", "#ff5722", "#ffffff"},
        {"w3-light-blue", "#87CEEB", "#000000"},
        {"w3-teal", "#009688", "#ffffff"},
        {"w3-green", "#4CAF50", "#ffffff"},
    };
    for (const Style& s : kStyles) {
        if (zvLib::SameText(className, s.name)) {
            return {ToRGB(s.back), ToRGB(s.fore)};
        }
    }
    return {ToRGB("white"), ToRGB("black")};
}

std::int32_t nxColors::CustomToRGB(const std::string& upper) const
{
    for (const Entry& e : custom_) {
        if (zvLib::SameText(e.name, upper)) {
            return e.value;
        }
    }
    return 0;
}

std::int32_t nxColors::ToRGB(const std::string& text) const
{
    const std::string s = UpperAscii(TrimBlanks(text));
    std::int64_t result = 0;
    if (s.starts_with("@")) {
        result = CustomToRGB(s);
    } else if (s.starts_with("&H00") || s.starts_with("&H80")) {
        result = isVB(s) ? VBToRGB(s) : 0;  // "&H80" system colours never pass isVB
    } else if (s.starts_with("#")) {
        result = isHTML(s) ? HtmlToRGB(s) : 0;
    } else if (s.starts_with("RGB")) {
        result = RgbFormToRGB(std::string_view(s).substr(3));
    } else if (const auto number = ParseWhole(s)) {
        // A plain number beyond 32 bits does not convert and gives 0.
        result = (*number >= INT32_MIN && *number <= INT32_MAX) ? *number : 0;
    } else if (isCSS(s)) {
        result = CssToRGB(s);
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(result, 0, kWhite));
}
