// Message boxes and modal dialogs of the program. Both go through one place so that a script
// can stand in for the user: with a zvModalScript installed, message boxes are answered by it
// and a modal dialog is shown modeless and handed to it to be filled in and closed.
#pragma once

#include <memory>
#include <string>

class QDialog;

// What answers the program's questions in place of the user (tests install one).
class zvModalScript {
  public:
    virtual ~zvModalScript() = default;
    // Answers a message box: the button chosen (vbMsg values).
    virtual int MsgBox(const std::string& text, int style, const std::string& title) = 0;
    // Answers a dialog that is on screen: clicks its buttons, fills its fields. A dialog still
    // open afterwards is closed as by its window frame.
    virtual void Answer(QDialog& dialog) = 0;
};

namespace zvLib {

// The title of the program's message boxes.
inline constexpr const char* kAppTitle = "Zorv";

// The script answering in place of the user, or null.
inline std::shared_ptr<zvModalScript> ModalScript;

// Shows a message box: style is a sum of the buttons (0 OK, 1 OK and Cancel, 3 Yes, No and
// Cancel, 4 Yes and No), the icon (16 critical, 32 question, 48 exclamation, 64 information)
// and the default button (256 the second, 512 the third); an empty title gives the program's.
// Returns the button chosen (1 OK, 2 Cancel, 6 Yes, 7 No); closing the box answers Cancel
// where there is one, else the only button.
int MsgBox(const std::string& text, int style = 0, const std::string& title = {});

// Shows the dialog modally and returns when it is hidden.
void ShowModal(QDialog& dialog);

} // namespace zvLib
