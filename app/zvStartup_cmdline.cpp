// zvLib, the command line: the window size token "-s:" width "x" height and the circuit file,
// read from the arguments as the system hands them over, each one whole.
#include "app/zvStartup.h"

#include "foundation/cFixed.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace zvLib {

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The number a text begins with (sign, digits, one "." and more digits), rounded to a whole
// number with halves to even; 0 when it does not begin with one.
int LeadingNumber(const std::string& text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    double value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            value += (text[i] - '0') * scale;
            scale /= 10;
        }
    }
    if (value > 1e6) {
        value = 1e6;
    }
    return static_cast<int>(RoundHalfEven(negative ? -value : value));
}

std::vector<std::string> SplitAtX(const std::string& text)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == 'x' || c == 'X') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// True when the argument is wholly a size token: "-s:" in any case, then the size text, which
// runs to the end of the argument (a blank would end it, leaving the rest for a file name).
bool IsSizeToken(const std::string& arg)
{
    return arg.size() >= 3 && Lower(arg.substr(0, 3)) == "-s:" &&
           arg.find(' ') == std::string::npos;
}

// The window size a size text gives: width "x" height, each the number its part begins with.
// Fewer than two parts, or a negative number, give no size.
void ReadSize(const std::string& size, zvCommandLine& cmd)
{
    const std::vector<std::string> parts = SplitAtX(size);
    if (parts.size() < 2) {
        return;
    }
    cmd.width = LeadingNumber(parts[0]);
    cmd.height = LeadingNumber(parts[1]);
    if (cmd.width < 0 || cmd.height < 0) {
        cmd.width = 0;
        cmd.height = 0;
    }
}

} // namespace

zvCommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    zvCommandLine cmd;
    bool sized = false;
    bool named = false;
    for (const std::string& arg : args) {
        if (IsSizeToken(arg)) {
            if (!sized) {
                ReadSize(arg.substr(3), cmd);
                sized = true;
            }
            continue;
        }
        // Every other argument is part of the name, byte for byte, as the system handed it.
        if (named) {
            cmd.file += ' ';
        }
        cmd.file += arg;
        named = true;
    }
    return cmd;
}

} // namespace zvLib
