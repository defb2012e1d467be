// zvQtUI: what the circuit model asks of the user interface, answered by the program's windows:
// the system clipboard, the input and message boxes, the status line, the main canvas's view
// with its grid and origin cross, and the set loader.
#pragma once

#include "model/zvUI.h"

class zvQtUI : public zvUI {
  public:
    // Empties the system clipboard.
    void ClipboardClear() override;
    // Puts plain text on the system clipboard.
    void ClipboardSetText(const std::string& text) override;
    // The system clipboard's plain text.
    std::string ClipboardGetText() override;
    // A modal input box (answered by the modal script in tests); no value when cancelled.
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;
    // The program's message box.
    int MsgBox(const std::string& text, int style, const std::string& title) override;
    // The status line.
    void SetStatus(const std::string& text, bool beep) override;
    // The main canvas's visible window; all zero while there is no canvas.
    zvViewRect GetViewRect() override;
    // Moves the main canvas's visible window; nothing while there is no canvas.
    void SetViewRect(const zvViewRect& rect) override;
    // The grid of the canvas view.
    void DrawGrid() override;
    // The origin cross of the canvas view.
    void DrawCross() override;
    // The set loader of the item bar.
    std::int16_t LoadSet(const std::string& setCode) override;
};
