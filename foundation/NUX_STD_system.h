// NUX_STD_library, system side: development mode, the user's folders, machine and user names,
// the program's version, finding a program along PATH, opening documents and web addresses
// with their associated program, and the file version, type and icon queries that have no
// meaning on this platform.
#pragma once

#include "foundation/cSurface.h"

#include <cstdint>
#include <string>

namespace NUX_STD_library {

// The program's own version numbers.
constexpr int kAppMajor = 6;
constexpr int kAppMinor = 0;
constexpr int kAppRevision = 79;

// True only in development mode: when the environment variable ZORV_DEVMODE is "1".
bool IsInIDE();

// The user's folder for an identifier, without a trailing "/": 28 the local application data
// ($XDG_DATA_HOME, else ~/.local/share), 5 the documents (the XDG documents folder, else
// ~/Documents when it exists, else the home folder); empty for any other identifier.
std::string GetSpecialFolder(int csidl);
// The machine's host name in upper case; empty when it cannot be read.
std::string GetComputerName();
// The name of the user running the program; empty when it cannot be found.
std::string GetUserName();
// The release of the running operating system kernel (such as 6.1.0-18-amd64).
std::string GetOSVersion();
// Opens a document, a folder or a web address with the program associated with it
// (xdg-open, started without a shell). Above 32 when the opener reports success by its exit
// status, or is still at work after a few seconds (it then shows the document itself, and is
// not waited for any longer); 2 for a missing file, 31 when no opener could be started or it
// failed (no program for the file). hwnd and showCmd are unused.
int ShellOpen(int hwnd, const std::string& file, int showCmd);
// The full path of the program of that name found along $PATH (a regular file that may be
// run), or "".
std::string FindInPath(const std::string& name);
// The program's version: major.minor.0.revision ("6.0.0.79").
std::string AppVersion();
// A file's version from its version resource; always empty (executables here carry none).
std::string GetFileVersion(const std::string& path);
// One string of a file's version resource; always empty (executables here carry none).
std::string GetFileVersionString(const std::string& path, int index);
// The high 16 bits of the value, 0 to 65535.
std::int32_t HiWord(std::int32_t value);
// The low 16 bits of the value, 0 to 65535.
std::int32_t LoWord(std::int32_t value);
// The shell's type description of a file; always empty (no such shell service here).
std::string GetFileTypeName(const std::string& path);
// Draws the shell's icon of a file on the picture; always 0 with nothing drawn (no such
// shell service here).
int DrawFileIcon(const std::string& path, int size, cSurface& picture);

} // namespace NUX_STD_library
