// NUX_STD_library, text side: quoting, padding, placeholder filling, tag extraction, occurrence
// counting, texts from raw buffers, the search in a list of texts and the two helpers that
// print aligned text on the printer page. All of them work on the bytes of UTF-8 texts.
#pragma once

#include "foundation/cSurface.h"

#include <cstddef>
#include <string>
#include <vector>

namespace NUX_STD_library {

// s between double quotes, every double quote inside it doubled.
std::string DQuote(const std::string& s);
// s between single quotes, every single quote inside it doubled (a recordset filter literal).
std::string SqlQuote(const std::string& s);
// s padded on the left to width with the first character of padChar ("F", "0", 2 give "0F").
// A text longer than width is cut to width, the caller's s too. A negative width, or an empty
// padChar where padding is needed, raises cError 5.
std::string PadLeft(std::string& s, const std::string& padChar, int width);
// Replaces every "{i}" in text by values[i], for i from the first index to the last, one
// index after the other ("{0} : {1}" with 12 and 34 gives "12 : 34").
std::string FormatPlaceholders(const std::string& text, const std::vector<std::string>& values);
// The lines joined by line breaks, at most `most` of them; when there are more, a last line
// made from moreText ("%1" replaced by how many were left out) stands for the rest, so a
// message box built from a long list still fits the screen.
std::string JoinLinesLimited(const std::vector<std::string>& lines, std::size_t most,
                             const std::string& moreText);
// The text between the first startTag and the first endTag of text; empty when either is
// missing or the end tag's first occurrence begins before the start tag ends. With remove 1
// and a pair found, text loses both tags and what lies between them.
std::string ExtractBetween(std::string& text, const std::string& startTag,
                           const std::string& endTag, int remove);
// The number of non-overlapping occurrences of part in text (0 for an empty part).
int CountOccurrences(const std::string& text, const std::string& part);
// The text before the first NUL, trimmed of leading and trailing blanks.
std::string TrimAtNull(const std::string& s);
// The text before the first NUL of s (all of s when it holds none).
std::string WStrFromPtr(const std::string& s);
// The NUL-terminated text at p; empty for a null pointer.
std::string AStrFromPtr(const char* p);
// length bytes copied from p; empty when length is 0 or p is null.
std::string StrFromPtrLen(const void* p, std::size_t length);

// A list control's texts as the list search sees them: a list box, a combo box or another
// kind of control. The window layers wrap their controls in it.
class cListModel {
  public:
    // The kinds of control a list search can be asked about.
    enum class Kind { List, Combo, Other };
    virtual ~cListModel() = default;
    // The kind of control.
    virtual Kind ListKind() const = 0;
    // The number of entries.
    virtual int ListCount() const = 0;
    // The text of entry index (0-based).
    virtual std::string ListItem(int index) const = 0;
};

// The 0-based index of the first entry equal to text (exact non-zero) or beginning with it
// (exact 0), compared without regard to case; -1 when none does or the control is neither a
// list box nor a combo box.
int ListFindString(const cListModel& list, const std::string& text, int exact);

// Prints text centred across the page's scale width, followed by a line end.
void PrintCentered(cSurface& page, const std::string& text);
// Prints text so that it ends at x; with newLine a line end follows, otherwise the position
// stays on the line after the text.
void PrintRightAligned(cSurface& page, const std::string& text, float x, bool newLine);

} // namespace NUX_STD_library
