// zvLib, start-up: from the process start to the event loop. The command line, the user's
// folders, the settings and user files, the language, the options, the catalogue, the checks
// that the program can work at all, the splash, the main window and the first circuit.
#pragma once

#include <QApplication>

#include <optional>
#include <string>
#include <vector>

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

// Reads the program's arguments, each as the system hands it over. An argument that is wholly
// "-s:" (without regard to case) and a size text, width "x" height, is a size token: the first
// one sets the window size, and no size token is part of the file. Every other argument is
// part of the file's name byte for byte (nothing trimmed, no quote removed), several joined by
// one blank. A size that does not give two numbers, or gives a negative one, leaves width and
// height 0.
zvCommandLine ParseCommandLine(const std::vector<std::string>& args);

// Runs the start-up with the program's arguments (without the program's own name) inside a
// running QApplication. None when the program goes on in the event loop; otherwise the exit
// status, the windows already unloaded.
std::optional<int> Main(const std::vector<std::string>& args);

// The program: the Qt application, the start-up, then the event loop; returns the exit status.
int RunProgram(int argc, char** argv);

} // namespace zvLib
