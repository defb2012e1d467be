// A user interface stand-in for the model tests: a clipboard of its own, scripted answers to
// questions, and a record of the messages and status texts the model shows.
#pragma once

#include "foundation/zvLib_canvas.h"
#include "model/zvUI.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace modeltest {

class FakeUI : public zvUI {
  public:
    void ClipboardClear() override
    {
        clipboard.clear();
        ++clears;
    }
    void ClipboardSetText(const std::string& text) override { clipboard = text; }
    std::string ClipboardGetText() override { return clipboard; }
    std::optional<std::string> InputBox(const std::string& prompt, const std::string&,
                                        const std::string&) override
    {
        prompts.push_back(prompt);
        if (answers.empty()) {
            return std::nullopt;
        }
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
    int MsgBox(const std::string& text, int, const std::string&) override
    {
        messages.push_back(text);
        return vbMsg::OK;
    }
    void SetStatus(const std::string& text, bool) override { status = text; }
    zvViewRect GetViewRect() override { return view; }
    void SetViewRect(const zvViewRect& rect) override { view = rect; }
    // The grid and the origin cross leave a dot of their own colour on the main canvas, so
    // that a recording shows where they were drawn.
    void DrawGrid() override { mark(kGridColor); }
    void DrawCross() override { mark(kCrossColor); }
    std::int16_t LoadSet(const std::string& setCode) override
    {
        loaded.push_back(setCode);
        return 0;
    }

    static constexpr std::int32_t kGridColor = 0x0A0B0C;
    static constexpr std::int32_t kCrossColor = 0x0C0B0A;

    // What the model did with the interface.
    std::string clipboard;
    int clears = 0;
    std::deque<std::string> answers;
    std::vector<std::string> prompts;
    std::vector<std::string> messages;
    std::string status;
    zvViewRect view;
    std::vector<std::string> loaded;

  private:
    static void mark(std::int32_t color)
    {
        if (zvLib::MainPic != nullptr) {
            zvLib::MainPic->PSet(0, 0, color);
        }
    }
};

} // namespace modeltest
