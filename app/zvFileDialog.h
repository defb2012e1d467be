// The open and save dialogs of circuit files: one QFileDialog set up from the program's filter
// text, shown through ShowModal so that a test script can choose the file in the user's place.
#pragma once

#include <QStringList>

#include <string>

namespace zvLib {

// The extension the save dialog adds to a name typed without one.
inline constexpr const char* kCircuitDefaultExt = "zvd";

// The circuit file filter as "description|pattern|description|pattern": the circuit files
// (".zv5", ".zv6", ".zvd") and all files, described in the current language.
std::string CircuitFileFilter();

// A "description|pattern|..." filter as the name filters of a QFileDialog: each description
// without a bracketed list of its own, then in brackets the patterns that list names (else
// the pair's own pattern), blank-separated, "*.*" as "*" so that names without a dot show.
// The listed extensions are preferred because Qt's save dialog puts the first pattern's
// extension on the typed name when the filter is chosen, and "zv?" is no extension.
QStringList QtNameFilters(const std::string& filter);

// Shows the open dialog in the folder with the circuit filter chosen; the full path of the
// chosen file, or "" when the dialog was cancelled.
std::string ShowOpenDialog(const std::string& folder);

// Shows the save dialog in the folder offering the name, with the circuit filter chosen; the
// full path chosen (".zvd" added to a name without extension), or "" when cancelled.
std::string ShowSaveDialog(const std::string& folder, const std::string& fileName);

} // namespace zvLib
