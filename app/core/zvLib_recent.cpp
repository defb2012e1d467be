// zvLib, the recent-files list read from and written to the settings file. A list with gaps
// (a hand-edited file) is closed up when the next file is added. Files are told apart as the
// system tells them apart, never by a name folded to one case, and each entry gives back the
// very name that was added, blanks at its ends included.
#include "app/core/zvLib_recent.h"

#include "app/core/zvLib_settings.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_ini.h"

#include <utility>
#include <vector>

namespace zvLib {

std::array<std::string, kMRUCount> MRUEntries()
{
    // Read as written, blanks and all: an entry whose blanks around it would be taken off in
    // reading may have named another file, and is left out rather than read as another name.
    std::array<std::string, kMRUCount> entries;
    for (int n = 1; n <= kMRUCount; ++n) {
        entries[static_cast<std::size_t>(n - 1)] =
            NUX_STD_library::IniReadExact(kMRUSection, std::to_string(n), IniFile).value_or("");
    }
    return entries;
}

void MRUAdd(const std::string& path)
{
    // A line break cannot be kept in the settings file.
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos) {
        return;
    }
    const std::array<std::string, kMRUCount> old = MRUEntries();
    std::vector<std::string> list{path};
    for (const std::string& entry : old) {
        if (entry.empty()) {
            continue;
        }
        // One file however spelt; a file that is gone, only by the very same text.
        if (entry == path || NUX_STD_library::SameFile(entry, path)) {
            return;
        }
        list.push_back(entry);
    }
    std::vector<std::pair<std::string, std::string>> writes;
    for (int n = 1; n <= kMRUCount; ++n) {
        const auto at = static_cast<std::size_t>(n - 1);
        const std::string value = at < list.size() ? list[at] : std::string();
        if (value != old[at]) {
            writes.emplace_back(std::to_string(n), value);
        }
    }
    SaveSettings(kMRUSection, writes);
}

} // namespace zvLib
