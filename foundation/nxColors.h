// nxColors: colours as text and as 32-bit colour values (red in the low byte, then green, then
// blue). It knows 140 named colours, eight "@" custom colours and the forms "#RRGGBB",
// "&H00BBGGRR&", "RGB(r, g, b)" and plain numbers; ToRGB reads any of them and never fails.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class nxColors {
public:
    // Fills the table of named colours and the eight custom colours.
    nxColors();

    // True when the text, blanks around it allowed, is "#" and six hexadecimal digits.
    bool isHTML(const std::string& text) const;
    // True when the text, blanks around it allowed, is "&H00", six hexadecimal digits BBGGRR
    // and "&" (system colours such as "&H8000000F&" are not accepted).
    bool isVB(const std::string& text) const;
    // True when the text is the whole name of a named colour, in any case ("cornflowerblue"
    // counts as "Cornflower").
    bool isCSS(const std::string& text) const;
    // Red, green and blue of a colour value (remainders keep the value's sign).
    std::array<std::int16_t, 3> RGBSplit(std::int32_t color) const;
    // The value of a named colour, in any case; 0 when the name is unknown.
    std::int32_t CssToRGB(const std::string& text) const;
    // The first name in the table with exactly that value ("Aqua", never "Cyan"); empty when
    // none has it.
    std::string RGBToCss(std::int32_t color) const;
    // "#" and red, green, blue as two upper-case hexadecimal digits each (255 is "#FF0000"); a
    // system colour (high bit set) is written as its current value.
    std::string RGBToHtml(std::int32_t color) const;
    // "&H00", blue, green, red as two upper-case hexadecimal digits each, and "&".
    std::string RGBToVB(std::int32_t color) const;
    // The value of a text already checked with isHTML (not trimmed); raises cError 13 when
    // the characters after "#" are not hexadecimal.
    std::int32_t HtmlToRGB(const std::string& text) const;
    // The value of a text already checked with isVB (not trimmed); raises cError 13 when the
    // digits are not hexadecimal.
    std::int32_t VBToRGB(const std::string& text) const;
    // Background and foreground colours of a page style class (white on black when unknown).
    std::array<std::int32_t, 2> w3Class(const std::string& className) const;
    // The colour of a text in any accepted form, from 0 to &HFFFFFF; 0 for anything else.
    std::int32_t ToRGB(const std::string& text) const;

    // Gives the current value of a system colour from the index in its low byte.
    using SystemColorResolver = std::function<std::int32_t(int index)>;
    // Sets who knows the windowing system's current colours; without one (an empty resolver)
    // the system's usual default colours stand in.
    static void SetSystemColorResolver(SystemColorResolver resolver);
    // The colour value itself, or for a system colour its current value.
    static std::int32_t ResolveSystemColor(std::int32_t color);

private:
    struct Entry {
        std::string name;
        std::int32_t value = 0;
    };
    std::int32_t CustomToRGB(const std::string& upper) const;
    std::size_t FindNamed(const std::string& text) const;

    std::array<Entry, 140> named_;
    std::array<Entry, 21> custom_;
};
