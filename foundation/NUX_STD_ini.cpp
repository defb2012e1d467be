// NUX_STD_library, INI files. The file is read whole into its lines; reads look up the first
// section and the first key of a name, writes change the lines in place (comments, blank
// lines and the file's own line ends are kept) and put the file back atomically.
#include "foundation/NUX_STD_ini.h"

#include "foundation/NUX_STD_files.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <unordered_set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NUX_STD_library {

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](char c) { return LowerAscii(c); });
    return r;
}

// Names match without regard to the case of the ASCII letters; other bytes must be equal.
bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

// One line of the file without its line end, and that line end ("" on a last line without).
struct Line {
    std::string text;
    std::string eol;
};

enum class Kind { Blank, Comment, Header, Key, Other };

// What a line holds; name and value point into the line's text.
struct Entry {
    Kind kind = Kind::Other;
    std::string_view name;
    std::string_view value;
};

// A line is a comment (";"), a section header ("[" name "]", the last "]" closing it), a
// key line (a non-empty name before the first "="), blank, or anything else, which is kept
// but means nothing.
Entry Classify(std::string_view text)
{
    const std::string_view t = Trim(text);
    if (t.empty()) {
        return {Kind::Blank, {}, {}};
    }
    if (t.front() == ';') {
        return {Kind::Comment, {}, {}};
    }
    if (t.front() == '[') {
        const auto close = t.rfind(']');
        if (close != std::string_view::npos) {
            return {Kind::Header, Trim(t.substr(1, close - 1)), {}};
        }
    }
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) {
        return {Kind::Other, {}, {}};
    }
    const std::string_view name = Trim(t.substr(0, eq));
    if (name.empty()) {
        return {Kind::Other, {}, {}};
    }
    return {Kind::Key, name, Trim(t.substr(eq + 1))};
}

// A value as read: one pair of matching enclosing quotes (" or ') is taken off.
std::string Unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v);
}

// True when reading would give back another text than the value: blanks, tabs, VT or FF at
// either end are taken off, and so is one pair of enclosing quotes.
bool ChangedByReading(std::string_view v)
{
    if (v.empty()) {
        return false;
    }
    const bool blankEnd = kBlanks.find(v.front()) != std::string_view::npos ||
                          kBlanks.find(v.back()) != std::string_view::npos;
    const bool quoted = v.size() >= 2 && (v.front() == '"' || v.front() == '\'') &&
                        v.back() == v.front();
    return blankEnd || quoted;
}

// The text a value is written as: the value itself, or where reading would change it, the
// value inside one pair of double quotes, which reading takes off again.
std::string Stored(std::string_view v)
{
    return ChangedByReading(v) ? "\"" + std::string(v) + "\"" : std::string(v);
}

// The file as lines, with its byte-order mark and the line end new lines get.
struct Profile {
    std::string bom;
    std::vector<Line> lines;
    std::string eol = "\n";
};

void SplitLines(std::string_view bytes, Profile& p)
{
    if (bytes.substr(0, kBom.size()) == kBom) {
        p.bom = kBom;
        bytes.remove_prefix(kBom.size());
    }
    bool eolSeen = false;
    while (!bytes.empty()) {
        const auto nl = bytes.find('\n');
        Line line;
        if (nl == std::string_view::npos) {
            line.text = bytes;
            bytes = {};
        } else {
            const bool crlf = nl > 0 && bytes[nl - 1] == '\r';
            line.text = bytes.substr(0, crlf ? nl - 1 : nl);
            line.eol = crlf ? "\r\n" : "\n";
            bytes.remove_prefix(nl + 1);
            if (!eolSeen) {
                p.eol = line.eol;
                eolSeen = true;
            }
        }
        p.lines.push_back(std::move(line));
    }
}

std::string JoinLines(const Profile& p)
{
    std::string out = p.bom;
    for (const Line& l : p.lines) {
        out += l.text;
        out += l.eol;
    }
    return out;
}

enum class Loaded { Missing, Read, Unreadable };

Loaded LoadProfile(const std::string& path, Profile& p)
{
    std::string bytes;
    ReadFault fault = ReadFault::None;
    if (!ReadFileBytes(path, kMaxReadBytes, bytes, fault)) {
        const bool missing = fault == ReadFault::NotFound || fault == ReadFault::PathNotFound;
        return missing ? Loaded::Missing : Loaded::Unreadable;
    }
    SplitLines(bytes, p);
    return Loaded::Read;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The header line of the first section of that name, kNone when there is none.
std::size_t FindSection(const Profile& p, std::string_view name, std::size_t from = 0)
{
    for (std::size_t i = from; i < p.lines.size(); ++i) {
        const Entry e = Classify(p.lines[i].text);
        if (e.kind == Kind::Header && SameName(e.name, name)) {
            return i;
        }
    }
    return kNone;
}

// The line after the last line of the section whose header is at header.
std::size_t SectionEnd(const Profile& p, std::size_t header)
{
    for (std::size_t i = header + 1; i < p.lines.size(); ++i) {
        if (Classify(p.lines[i].text).kind == Kind::Header) {
            return i;
        }
    }
    return p.lines.size();
}

// The first line of the section holding that key, kNone when there is none.
std::size_t FindKey(const Profile& p, std::size_t header, std::string_view key)
{
    const std::size_t end = SectionEnd(p, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const Entry e = Classify(p.lines[i].text);
        if (e.kind == Kind::Key && SameName(e.name, key)) {
            return i;
        }
    }
    return kNone;
}

// Inserts a line before position at; a line before it that had no line end gets one.
void InsertLine(Profile& p, std::size_t at, std::string text)
{
    if (at > 0 && p.lines[at - 1].eol.empty()) {
        p.lines[at - 1].eol = p.eol;
    }
    p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), p.eol});
}

// Removes every section of that name, header and body. True when something was removed.
bool RemoveSection(Profile& p, std::string_view section)
{
    bool changed = false;
    for (std::size_t h = FindSection(p, section); h != kNone; h = FindSection(p, section, h)) {
        const std::size_t end = SectionEnd(p, h);
        p.lines.erase(p.lines.begin() + static_cast<std::ptrdiff_t>(h),
                      p.lines.begin() + static_cast<std::ptrdiff_t>(end));
        changed = true;
    }
    return changed;
}

// Removes every line of the key from the first section of that name, so that no later
// duplicate comes to light. True when something was removed.
bool RemoveKey(Profile& p, std::string_view section, std::string_view key)
{
    const std::size_t h = FindSection(p, section);
    if (h == kNone) {
        return false;
    }
    bool changed = false;
    for (std::size_t k = FindKey(p, h, key); k != kNone; k = FindKey(p, h, key)) {
        p.lines.erase(p.lines.begin() + static_cast<std::ptrdiff_t>(k));
        changed = true;
    }
    return changed;
}

// Sets key=value in the first section of that name: the key's line is replaced in place, a
// new key goes after the last key of the section, a new section at the end of the file.
bool SetKey(Profile& p, std::string_view section, std::string_view key, std::string_view value)
{
    const std::size_t h = FindSection(p, section);
    if (h == kNone) {
        InsertLine(p, p.lines.size(), "[" + std::string(section) + "]");
        InsertLine(p, p.lines.size(), std::string(key) + "=" + std::string(value));
        return true;
    }
    const std::size_t k = FindKey(p, h, key);
    if (k != kNone) {
        // The key keeps the spelling it has in the file.
        std::string text = std::string(Classify(p.lines[k].text).name) + "=" + std::string(value);
        if (text == p.lines[k].text) {
            return false;
        }
        p.lines[k].text = std::move(text);
        return true;
    }
    std::size_t at = h + 1;
    const std::size_t end = SectionEnd(p, h);
    for (std::size_t i = h + 1; i < end; ++i) {
        if (Classify(p.lines[i].text).kind == Kind::Key) {
            at = i + 1;
        }
    }
    InsertLine(p, at, std::string(key) + "=" + std::string(value));
    return true;
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// A key name that reads back as itself: not empty, no line break, no "=", and not looking
// like a comment or a section header.
bool UsableKey(std::string_view key)
{
    return !key.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos &&
           key.front() != ';' && key.front() != '[';
}

// One change of a private-profile write: with a key and a value sets key=value; with the
// value absent deletes the key; with the key absent deletes the section.
struct Change {
    std::optional<std::string_view> key;
    std::optional<std::string_view> value;
};

// The change IniWrite makes of a key and a value.
Change ChangeOf(const std::string& key, const std::string& value)
{
    if (key.empty()) {
        return {std::nullopt, std::nullopt};
    }
    if (value.empty()) {
        return {key, std::nullopt};
    }
    return {key, value};
}

// A change that reads back as written: no line break in a value, a usable key.
bool Acceptable(Change& c)
{
    if (c.key) {
        c.key = Trim(*c.key);
    }
    return !(c.key && !UsableKey(*c.key)) && !(c.value && HasLineBreak(*c.value));
}

// Applies one change to the lines; true when something changed.
bool Apply(Profile& p, std::string_view section, const Change& c)
{
    if (!c.key) {
        return RemoveSection(p, section);
    }
    if (!c.value) {
        return RemoveKey(p, section, *c.key);
    }
    return SetKey(p, section, *c.key, Stored(*c.value));
}

// The private-profile write of several changes to one section, applied in order: a change
// that would not read back is skipped. The file is rewritten once, and only when something
// changed; a missing file is made only by a change that sets a key; a file that exists but
// cannot be read is never touched. False when the file could not be read or written.
bool ProfileWrite(std::string_view section, std::vector<Change> changes, const std::string& iniFile)
{
    section = Trim(section);
    if (HasLineBreak(section)) {
        return true;
    }
    Profile p;
    const Loaded loaded = LoadProfile(iniFile, p);
    if (loaded == Loaded::Unreadable) {
        return false;
    }
    bool changed = false;
    for (Change& c : changes) {
        if (Acceptable(c)) {
            changed = Apply(p, section, c) || changed;
        }
    }
    return !changed || WriteFileText(iniFile, JoinLines(p));
}

}  // namespace

std::string IniRead(const std::string& section, const std::string& key,
                    const std::string& iniFile)
{
    Profile p;
    if (LoadProfile(iniFile, p) != Loaded::Read) {
        return {};
    }
    const std::size_t h = FindSection(p, Trim(section));
    if (h == kNone) {
        return {};
    }
    const std::size_t k = FindKey(p, h, Trim(key));
    return k == kNone ? std::string() : Unquote(Classify(p.lines[k].text).value);
}

std::optional<std::string> IniReadExact(const std::string& section, const std::string& key,
                                        const std::string& iniFile)
{
    Profile p;
    if (LoadProfile(iniFile, p) != Loaded::Read) {
        return std::string();
    }
    const std::size_t h = FindSection(p, Trim(section));
    const std::size_t k = h == kNone ? kNone : FindKey(p, h, Trim(key));
    if (k == kNone) {
        return std::string();
    }
    // The key line's name stands before its first "=", so what follows it is the value as
    // stored, blanks and all.
    const std::string_view line = p.lines[k].text;
    const std::string_view stored = line.substr(line.find('=') + 1);
    if (Trim(stored) != stored) {
        return std::nullopt;
    }
    return Unquote(stored);
}

int IniReadSection(const std::string& section, const std::string& iniFile,
                   std::vector<std::pair<std::string, std::string>>& pairs)
{
    Profile p;
    if (LoadProfile(iniFile, p) != Loaded::Read) {
        return 0;
    }
    const std::size_t h = FindSection(p, Trim(section));
    if (h == kNone) {
        return 0;
    }
    std::vector<std::pair<std::string, std::string>> found;
    std::unordered_set<std::string> seen;
    const std::size_t end = SectionEnd(p, h);
    for (std::size_t i = h + 1; i < end; ++i) {
        const Entry e = Classify(p.lines[i].text);
        if (e.kind == Kind::Key && seen.insert(LowerAscii(e.name)).second) {
            found.emplace_back(std::string(e.name), Unquote(e.value));
        }
    }
    if (found.empty()) {
        return 0;
    }
    pairs = std::move(found);
    return static_cast<int>(pairs.size());
}

bool IniWrite(const std::string& section, const std::string& key, const std::string& value,
              const std::string& iniFile)
{
    return ProfileWrite(section, {ChangeOf(key, value)}, iniFile);
}

bool IniWriteSection(const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& pairs,
                     const std::string& iniFile)
{
    std::vector<Change> changes;
    changes.reserve(pairs.size());
    for (const auto& [key, value] : pairs) {
        changes.push_back(ChangeOf(key, value));
    }
    return ProfileWrite(section, std::move(changes), iniFile);
}

}  // namespace NUX_STD_library
