// A user interface stand-in for the model tests: a clipboard of its own, scripted answers to
// questions, and a record of the messages and status texts the model shows.
#pragma once

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
    std::int16_t LoadSet(const std::string& setCode) override
    {
        loaded.push_back(setCode);
        return 0;
    }

    // What the model did with the interface.
    std::string clipboard;
    int clears = 0;
    std::deque<std::string> answers;
    std::vector<std::string> prompts;
    std::vector<std::string> messages;
    std::string status;
    zvViewRect view;
    std::vector<std::string> loaded;
};

} // namespace modeltest
