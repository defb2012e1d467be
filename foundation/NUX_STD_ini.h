// NUX_STD_library, INI files: read one key, list the keys of a section, write or delete a key
// (or several keys of one section at once) or a whole section. Section and key names match
// without regard to case; every change rewrites the file atomically, so a write that fails
// leaves the old file as it was.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace NUX_STD_library {

// The value of a key (blanks around it and one pair of enclosing quotes removed); empty when
// the file, the section or the key is missing, or the key has no value.
std::string IniRead(const std::string& section, const std::string& key,
                    const std::string& iniFile);

// The value of a key exactly as IniWrite was given it (one pair of enclosing quotes removed);
// empty when the file, the section or the key is missing. None when the key's value stands
// with blanks, tabs, VT or FF around it, which reading takes off, so that what was meant may
// have been another text (IniWrite never writes a value so).
std::optional<std::string> IniReadExact(const std::string& section, const std::string& key,
                                        const std::string& iniFile);

// Reads every key of a section with its value, in file order (a key written twice counts
// once, with its first value): pairs[i].first is the i-th key, pairs[i].second its value.
// Returns the number of keys; when the section is missing or has no keys, returns 0 and
// leaves pairs as it was.
int IniReadSection(const std::string& section, const std::string& iniFile,
                   std::vector<std::pair<std::string, std::string>>& pairs);

// Writes key=value, creating the file and the section when needed and replacing an existing
// value in place. A value that reading would change (blanks, tabs, VT or FF at either end, or
// one pair of enclosing quotes) is written inside double quotes, so that it reads back whole. An empty key deletes the whole section whatever the value; an empty value
// deletes the key. A name or value holding a line break is refused and leaves the file
// unchanged. False when the file could not be read or written (no folder, a full disk, a
// file that may not be replaced): the file is then as it was.
bool IniWrite(const std::string& section, const std::string& key, const std::string& value,
              const std::string& iniFile);

// Writes several keys of one section with one rewrite of the file: the file ends as IniWrite
// called for each pair in order would leave it (an empty key deletes the section, an empty
// value the key, a refused pair is skipped), but it is put back once, and not at all when
// nothing changes. False, as for IniWrite, when the file could not be read or written.
bool IniWriteSection(const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& pairs,
                     const std::string& iniFile);

}  // namespace NUX_STD_library
