// zvLib, start-up: from the process start to the event loop. The command line, the user's
// folders, the settings and user files, the language, the options, the catalogue, the checks
// that the program can work at all, the splash, the main window and the first circuit.
#pragma once

#include <QApplication>

#include <optional>
#include <string>

// The program's Qt application: an error raised while a window event is handled (paint,
// resize, mouse, wheel, key, timer, drop, close, a dialog's own events) is shown the way the
// command dispatcher shows one, and the program goes on; no error ever reaches Qt.
class zvApplication : public QApplication {
  public:
    zvApplication(int& argc, char** argv);
    // Delivers the event; an error it raises is shown in a message box instead of leaving.
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    // True while the box of a caught error is open: an error raised by the events that box
    // lets through (the same paint again) opens no second one.
    bool showing_ = false;
};

namespace zvLib {

// Exit statuses of the program.
inline constexpr int kExitOK = 0;               // ended by the user (or no language chosen)
inline constexpr int kExitNoDataFolder = 1;     // the data folder cannot be made
inline constexpr int kExitNoLanguageFile = 2;   // the language table cannot be read
inline constexpr int kExitNoCatalogue = 3;      // the piece catalogue cannot be read
inline constexpr int kExitNoSets = 4;           // the catalogue offers no set
inline constexpr int kExitNoReportTemplate = 5; // the report template is missing

// What the command line asks for.
struct zvCommandLine {
    // The circuit file to open; empty for none.
    std::string file;
    // The main window's size in pixels; 0 for a maximised window.
    int width = 0;
    int height = 0;
};

// Reads a command line: an optional "-s:" followed by width "x" height (without regard to
// case; the first one counts, every copy of it is removed), the rest, without double quotes
// and the blanks around it, being the file. A size that does not give two numbers, or gives a
// negative one, leaves width and height 0.
zvCommandLine ParseCommandLine(const std::string& line);

// Runs the start-up with the command line (the program's arguments joined by blanks) inside a
// running QApplication. None when the program goes on in the event loop; otherwise the exit
// status, the windows already unloaded.
std::optional<int> Main(const std::string& commandLine);

// The program: the Qt application, the start-up, then the event loop; returns the exit status.
int RunProgram(int argc, char** argv);

} // namespace zvLib
