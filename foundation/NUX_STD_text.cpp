// NUX_STD_library, text side: small byte-based text helpers, the list search and the aligned
// printing on the printer page.
#include "foundation/NUX_STD_text.h"

#include "foundation/cError.h"

#include <cstring>

namespace NUX_STD_library {

namespace {

// s with every occurrence of q doubled, between two q's.
std::string QuoteWith(const std::string& s, char q)
{
    std::string out;
    out.reserve(s.size() + 2);
    out += q;
    for (char c : s) {
        out += c;
        if (c == q) {
            out += q;
        }
    }
    out += q;
    return out;
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + with.size())) {
        text.replace(p, what.size(), with);
    }
}

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when item begins with text (whole: equals it), without regard to ASCII case.
bool MatchesNoCase(const std::string& item, const std::string& text, bool whole)
{
    if (item.size() < text.size() || (whole && item.size() != text.size())) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (FoldCase(item[i]) != FoldCase(text[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string DQuote(const std::string& s)
{
    return QuoteWith(s, '"');
}

std::string SqlQuote(const std::string& s)
{
    return QuoteWith(s, '\'');
}

std::string PadLeft(std::string& s, const std::string& padChar, int width)
{
    if (width < 0) {
        throw cError(5, "PadLeft", "Invalid procedure call or argument");
    }
    const auto w = static_cast<std::size_t>(width);
    if (s.size() > w) {
        s.resize(w);
    }
    if (s.size() == w) {
        return s;
    }
    if (padChar.empty()) {
        throw cError(5, "PadLeft", "Invalid procedure call or argument");
    }
    return std::string(w - s.size(), padChar[0]) + s;
}

std::string FormatPlaceholders(const std::string& text, const std::vector<std::string>& values)
{
    std::string out = text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        ReplaceAll(out, "{" + std::to_string(i) + "}", values[i]);
    }
    return out;
}

std::string JoinLinesLimited(const std::vector<std::string>& lines, std::size_t most,
                             const std::string& moreText)
{
    std::string text;
    const std::size_t shown = lines.size() > most ? most : lines.size();
    for (std::size_t i = 0; i < shown; ++i) {
        text += (i == 0 ? "" : "\n") + lines[i];
    }
    if (shown < lines.size()) {
        std::string more = moreText;
        ReplaceAll(more, "%1", std::to_string(lines.size() - shown));
        text += (text.empty() ? "" : "\n") + more;
    }
    return text;
}

std::string ExtractBetween(std::string& text, const std::string& startTag,
                           const std::string& endTag, int remove)
{
    if (text.empty()) {
        return {};
    }
    const auto a = text.find(startTag);
    const auto e = text.find(endTag);
    if (a == std::string::npos || e == std::string::npos || e < a + startTag.size()) {
        return {};
    }
    const auto b = a + startTag.size();
    std::string inner = text.substr(b, e - b);
    if (remove == 1) {
        text = text.substr(0, a) + text.substr(e + endTag.size());
    }
    return inner;
}

int CountOccurrences(const std::string& text, const std::string& part)
{
    if (part.empty()) {
        return 0;
    }
    int n = 0;
    for (auto p = text.find(part); p != std::string::npos; p = text.find(part, p + part.size())) {
        ++n;
    }
    return n;
}

std::string TrimAtNull(const std::string& s)
{
    const std::string head = WStrFromPtr(s);
    const auto b = head.find_first_not_of(' ');
    if (b == std::string::npos) {
        return {};
    }
    return head.substr(b, head.find_last_not_of(' ') - b + 1);
}

std::string WStrFromPtr(const std::string& s)
{
    return s.substr(0, s.find('\0'));
}

std::string AStrFromPtr(const char* p)
{
    return p == nullptr ? std::string() : std::string(p, std::strlen(p));
}

std::string StrFromPtrLen(const void* p, std::size_t length)
{
    if (p == nullptr || length == 0) {
        return {};
    }
    return std::string(static_cast<const char*>(p), length);
}

int ListFindString(const cListModel& list, const std::string& text, int exact)
{
    const auto kind = list.ListKind();
    if (kind != cListModel::Kind::List && kind != cListModel::Kind::Combo) {
        return -1;
    }
    const int n = list.ListCount();
    for (int i = 0; i < n; ++i) {
        if (MatchesNoCase(list.ListItem(i), text, exact != 0)) {
            return i;
        }
    }
    return -1;
}

void PrintCentered(cSurface& page, const std::string& text)
{
    const float width = page.ScaleWidth() - static_cast<float>(page.TextWidth(text));
    page.CurrentX(width / 2.0f);
    page.Print(text, true);
}

void PrintRightAligned(cSurface& page, const std::string& text, float x, bool newLine)
{
    page.CurrentX(x - static_cast<float>(page.TextWidth(text)));
    page.Print(text, newLine);
}

} // namespace NUX_STD_library
