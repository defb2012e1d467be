// zvLib, the documents: the current circuit made new from the start page, read from a circuit
// file, written to one, the save prompt asked before a changed circuit is left, and the recent
// files shown in the File menu.
#pragma once

#include <cstdint>
#include <string>

namespace zvLib {

// The folder of the last circuit file opened, ending with "/"; "" before the first. The save
// dialog starts there.
extern std::string LastFolder;
// The folder of the current circuit's file, ending with "/": a save without the dialog writes
// there. "" for a new circuit.
extern std::string DocumentFolder;

// The start page: asks for a new circuit (set, lanes) or a file to open, and hands the answer
// to StartPageChosen.
void NewCircuit();
// What the start page answered: action "NEW" makes a circuit of the set with the lanes and
// start heading (no circuit at all when the set cannot be loaded), "OPEN" opens the file, any
// other action does nothing.
void StartPageChosen(const std::string& action, const std::string& setCode, std::int16_t lanes,
                     std::int16_t angle, const std::string& file);
// Opens a circuit file as the current circuit; an empty path asks for one with the open dialog
// (and receives it; a cancelled dialog does nothing). A file that is not there, cannot be read
// (with the reason: no permission, not a regular file, too large) or is not a circuit is
// reported, and the current circuit stays exactly as it was. True when opened.
bool OpenCircuit(std::string& path);
// Writes the current circuit. An empty name, or the name of a new circuit, asks for one with
// the save dialog; a name without folder is written in the document's own folder. True when
// written: the caller's variable then holds the full path, CurrentFile the name (so a caller
// passing CurrentFile gets the name). False, the caller's variable unchanged, when the dialog
// was cancelled, the user declined to overwrite a file whose unknown pieces were left out, or
// the write failed (reported with its reason; the circuit then still counts as changed).
bool SaveCircuit(std::string& fileName);
// Asks whether to save a changed circuit (Yes, No, Cancel): true when the caller may go on
// (nothing changed, saved, or not to be saved), false on Cancel or when the save did not
// happen. Once the program has ended nothing is asked.
bool QuerySave();

// Shows the recent files in the File menu: the tool "mru" & n of each filled entry visible
// with the caption "&" & n & two blanks & the path and the path as its tag, and the separator
// "mruSep" visible; tools of empty entries are left as they are.
void MRUShow();
// Sets the main window's caption: the product name, " - " and the current file's name.
void SetCaption();

} // namespace zvLib
