// zvLib, the application shell's state and services: the folders and the current file that
// start-up sets, the status line, the end of the program, and the document entry points the
// start page hands its answers to.
#pragma once

#include <cstdint>
#include <string>

namespace zvLib {

// The product's name as the main window's caption shows it.
inline constexpr const char* kProductName = "NUX Zorv";
// The maker's and the distributor's web sites, opened from the Help menu and the start dialog.
inline constexpr const char* kMakerSite = "https://www.nux.example/";
inline constexpr const char* kDistributorSite = "https://www.trasken.example/";
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

// Asks whether to save a changed circuit: false when the user cancels. Without a circuit, or
// with one that has not changed, there is nothing to ask.
bool QuerySave();

// Ends the program: the save prompt (cancel returns false and nothing happens), the options
// saved, with reset the settings and the user file deleted after a confirmation, the circuit
// released, the windows unloaded and the event loop told to end. True when the program ends.
bool AppExit(bool reset);
// True once AppExit has ended the program; start-up then returns instead of going on.
bool ProgramEnded();
// Forgets an earlier end (start-up calls it first).
void ResetProgramEnd();

// The start page: asks for a new circuit (set, lanes) or a file to open, and hands the answer
// to StartPageChosen.
void NewCircuit();
// What the start page answered: action "NEW" with the set, the lanes and the start heading,
// "OPEN" with the file, or "CANCEL". The document work builds the circuit here.
void StartPageChosen(const std::string& action, const std::string& setCode, std::int16_t lanes,
                     std::int16_t angle, const std::string& file);
// Opens a circuit file as the current circuit; the document work fills it in.
void OpenCircuit(std::string& path);

} // namespace zvLib
