// zvQtUI: what the circuit model asks of the user interface, answered by the program's windows:
// the system clipboard, an input box and the program's message boxes (both answerable by a
// script), the status line, the main canvas's visible window, its grid and origin cross, and
// the set loader. Start-up installs it in zvLib::UI.
#pragma once

#include "model/zvUI.h"

#include <QDialog>

class QLineEdit;

// The input box: a prompt, a line of text, OK and Cancel; a script finds the line as "txt"
// and the buttons as "cmdOK" and "cmdCancel".
class frmInput : public QDialog {
    Q_OBJECT
  public:
    // The box with its title, prompt and first text.
    frmInput(const std::string& prompt, const std::string& title, const std::string& initial);
    // The text as it stands.
    std::string Text() const;

  private:
    QLineEdit* txt_;
};

class zvQtUI : public zvUI {
  public:
    // Empties the system clipboard.
    void ClipboardClear() override;
    // Puts plain text on the system clipboard.
    void ClipboardSetText(const std::string& text) override;
    // The clipboard's plain text, "" when it holds none.
    std::string ClipboardGetText() override;
    // Asks for a line of text in frmInput; no value when the user cancels.
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;
    // The program's message box.
    int MsgBox(const std::string& text, int style, const std::string& title) override;
    // The status line of the main window.
    void SetStatus(const std::string& text, bool beep) override;
    // The main canvas's user scale; all zero without a canvas.
    zvViewRect GetViewRect() override;
    // Gives the main canvas that user scale, without redrawing; nothing without a canvas.
    void SetViewRect(const zvViewRect& rect) override;
    // The canvas's grid over the visible window.
    void DrawGrid() override;
    // The canvas's origin cross.
    void DrawCross() override;
    // Makes the set current and fills the item bar with it.
    std::int16_t LoadSet(const std::string& setCode) override;
};
