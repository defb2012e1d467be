// zvLib, the recent-files list: the last four circuit files opened, newest first, kept in the
// settings file's section "MRUFiles" under the keys "1" to "4". The File menu shows it; this
// is the list itself, without a window.
#pragma once

#include <array>
#include <string>

namespace zvLib {

// How many recent files the list keeps.
inline constexpr int kMRUCount = 4;
// The settings file section of the list.
inline constexpr const char* kMRUSection = "MRUFiles";

// The entries "1" to "4", each the very name that was added; "" for an empty entry, and for an
// entry that stands with blanks around it in the file (a hand edit, an older program's), whose
// name cannot be told for sure.
std::array<std::string, kMRUCount> MRUEntries();

// Records a file just opened: when the list holds the file already (an entry naming the same
// device and inode, whatever its spelling; where either file is gone, the same text byte for
// byte) nothing changes and that entry keeps its place; otherwise the path becomes entry 1, the
// others move down without gaps and the fifth drops out. Names differing only in case are two
// files. One rewrite of the settings file, which keeps a name with blanks at its ends whole. An
// empty path, or one holding a line break, is not recorded.
void MRUAdd(const std::string& path);

} // namespace zvLib
