// zvLib, the application shell's state and services: the folders and the current file that
// start-up sets, the status line and the one way the program ends. The document entry points
// (new, open, save, the save prompt) are in app/zvLib_documents.h, included here.
#pragma once

#include "app/zvLib_documents.h"

#include <string>

namespace zvLib {

// The product's name as the main window's caption shows it.
inline constexpr const char* kProductName = "NUX Zorv";
// The maker's and the distributor's web sites (ending with "/"), opened from the Help menu and
// the about page, as the build sets them (ZORV_MAKER_SITE, ZORV_DISTRIBUTOR_SITE); empty by
// default, and a web tool whose address is empty is not shown.
extern std::string MakerSite;
extern std::string DistributorSite;
// The name of a circuit that was never saved.
inline constexpr const char* kNewCircuitName = "New Zorv circuit.zv5";

// The user's folder for circuit files ("Zorv/" under the documents folder).
extern std::string DocsFolder;
// Where exports are written ("Export/" inside DocsFolder).
extern std::string ExportFolder;
// The program's temporary folder (piece icons, copies of background drawings).
extern std::string TempFolder;
// The current circuit file's name without its folder; at start-up the file named on the
// command line, or empty.
extern std::string CurrentFile;

// Shows the message in the status line at once and beeps when asked; an empty message is
// replaced by the ready text of the current language, also in the caller's variable.
void SetStatus(std::string& message, bool beep);

// Ends the program, whichever way it is asked (menu, reset, window frame, start-up): the save
// prompt (cancel returns false and nothing happens), the options saved, with reset the
// settings and the user file deleted after a confirmation and the settings file never written
// again, the circuit released, the windows unloaded and the event loop told to end. True when
// the program ends. A call while an earlier one is still asking returns false and asks nothing.
bool AppExit(bool reset);
// True once AppExit has ended the program; start-up then returns instead of going on.
bool ProgramEnded();
// Forgets an earlier end and lets the settings file be written again (start-up calls it first).
void ResetProgramEnd();

} // namespace zvLib
