// zvUI: what the circuit model asks of the user interface (clipboard, questions, messages,
// the status line, the canvas view window with its grid and origin cross, the set loader).
// The application installs its Qt implementation in zvLib::UI; tests install fakes. Without
// one, the model asks nothing: questions are cancelled, messages and the clipboard go nowhere.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The visible window of the main canvas in world units (a picture box's user scale).
struct zvViewRect {
    float ScaleLeft = 0;
    float ScaleTop = 0;
    float ScaleWidth = 0;
    float ScaleHeight = 0;
};

class zvUI {
public:
    virtual ~zvUI() = default;

    // Empties the clipboard.
    virtual void ClipboardClear() = 0;
    // Puts plain text on the clipboard.
    virtual void ClipboardSetText(const std::string& text) = 0;
    // The clipboard's plain text, "" when it holds none.
    virtual std::string ClipboardGetText() = 0;

    // Asks for a line of text; no value when the user cancels.
    virtual std::optional<std::string> InputBox(const std::string& prompt,
                                                const std::string& title,
                                                const std::string& initial) = 0;
    // Shows a message with the given icon/buttons style (the values of a message box: 0 OK,
    // 4 Yes/No, 3 Yes/No/Cancel, plus 16 critical, 32 question, 48 exclamation, 64
    // information) and returns the button chosen (1 OK, 2 Cancel, 6 Yes, 7 No).
    virtual int MsgBox(const std::string& text, int style, const std::string& title) = 0;
    // Shows the text in the status line, beeping when asked.
    virtual void SetStatus(const std::string& text, bool beep) = 0;

    // The main canvas's visible window.
    virtual zvViewRect GetViewRect() = 0;
    // Moves the main canvas's visible window without redrawing.
    virtual void SetViewRect(const zvViewRect& rect) = 0;

    // Draws the background grid over the main canvas's visible window.
    virtual void DrawGrid() = 0;
    // Draws the red cross that marks the world origin on the main canvas.
    virtual void DrawCross() = 0;

    // Makes a set current (piece table start record, item bar): 0 loaded, -3 the set's header
    // has a standard width or scale of 0, -4 no such set.
    virtual std::int16_t LoadSet(const std::string& setCode) = 0;
};

// A user interface that asks nothing and shows nothing: questions are cancelled, messages
// answered OK, the clipboard and the view window go nowhere. Tools, benchmarks and fuzz targets
// derive from it and give the set loader.
class zvQuietUI : public zvUI {
public:
    void ClipboardClear() override {}
    void ClipboardSetText(const std::string&) override {}
    std::string ClipboardGetText() override { return {}; }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override
    {
        return std::nullopt;
    }
    int MsgBox(const std::string&, int, const std::string&) override { return 1; }
    void SetStatus(const std::string&, bool) override {}
    zvViewRect GetViewRect() override { return {}; }
    void SetViewRect(const zvViewRect&) override {}
    void DrawGrid() override {}
    void DrawCross() override {}
};

// Message box answers and styles the model uses.
namespace vbMsg {
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
}  // namespace vbMsg

namespace zvLib {

// The user interface the model talks to; null when none is installed.
inline std::shared_ptr<zvUI> UI;

}  // namespace zvLib
