// Fuzz target for the colour texts: reading any text never raises and gives a colour from 0 to
// &HFFFFFF, the forms the tests accept convert without error, and the colour read survives
// being written as "#RRGGBB" and read again.
#include "foundation/nxColors.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok)
{
    if (!ok) {
        std::abort();
    }
}

std::string TrimmedUpper(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    std::string t = s.substr(first, s.find_last_not_of(' ') - first + 1);
    for (char& c : t) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const nxColors colors;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t v = colors.ToRGB(text);
    Check(v >= 0 && v <= 0xFFFFFF);
    Check(colors.ToRGB(colors.RGBToHtml(v)) == v);
    Check(colors.ToRGB(colors.RGBToVB(v)) == v);
    if (colors.isHTML(text)) {
        Check(colors.HtmlToRGB(TrimmedUpper(text)) == v);
    }
    if (colors.isVB(text)) {
        Check(colors.VBToRGB(TrimmedUpper(text)) == v);
    }
    if (colors.isCSS(text)) {
        Check(colors.CssToRGB(text) == colors.CssToRGB(colors.RGBToCss(colors.CssToRGB(text))));
    }
    return 0;
}
