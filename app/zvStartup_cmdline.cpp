// zvLib, the command line: the window size token "-s:" width "x" height and the circuit file.
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

// Removes every copy of what from text, found without regard to case.
void RemoveAll(std::string& text, const std::string& what)
{
    const std::string key = Lower(what);
    for (std::size_t at = Lower(text).find(key); at != std::string::npos;
         at = Lower(text).find(key, at)) {
        text.erase(at, what.size());
    }
}

std::string TrimBlanks(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

zvCommandLine ParseCommandLine(const std::string& line)
{
    zvCommandLine cmd;
    std::string rest = line;
    const std::size_t at = Lower(line).find("-s:");
    if (at != std::string::npos) {
        const std::size_t from = at + 3;
        const std::size_t blank = line.find(' ', from);
        const std::string size =
            line.substr(from, blank == std::string::npos ? std::string::npos : blank - from);
        RemoveAll(rest, "-s:" + size);
        const std::vector<std::string> parts = SplitAtX(size);
        if (parts.size() >= 2) {
            cmd.width = LeadingNumber(parts[0]);
            cmd.height = LeadingNumber(parts[1]);
            if (cmd.width < 0 || cmd.height < 0) {
                cmd.width = 0;
                cmd.height = 0;
            }
        }
    }
    rest.erase(std::remove(rest.begin(), rest.end(), '"'), rest.end());
    cmd.file = TrimBlanks(rest);
    return cmd;
}

} // namespace zvLib
