// zvLib, saving a snippet: the definition of the current track's selection, the name asked of
// the user and checked so that the user file reads it back as the same key, the question
// before replacing a snippet, the write and the reload of the set.
#include "model/zvLib_snippet.h"

#include "foundation/NUX_STD_ini.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "model/zvUI.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zvLib {

namespace {

constexpr const char* kTitle = "Snippet save";
// Messages go out without a title of their own: the interface shows the program's.
constexpr const char* kProgramTitle = "";

// Blanks, tabs and line ends taken off both ends of a name.
std::string trimmed(const std::string& s)
{
    constexpr const char* kBlanks = " \t\r\n\v\f";
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// A name the user file keeps as a key of its own and reads back unchanged.
bool usableName(const std::string& name)
{
    if (name.empty() || name.front() == ';') {
        return false;
    }
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || ch == '=' || ch == '[' || ch == ']') {
            return false;
        }
    }
    return true;
}

// The name for the snippet, checked; none when the user cancelled or gave an unusable one
// (then told so).
std::optional<std::string> askName(const std::string& section)
{
    std::vector<std::pair<std::string, std::string>> keys;
    const int n = NUX_STD_library::IniReadSection(section, UserFile, keys);
    const auto answer = UI->InputBox(zvLang::Translate("$msg.snippetname"), kTitle,
                                     "Snippet_" + std::to_string(n + 1));
    if (!answer) {
        return std::nullopt;
    }
    std::string name = trimmed(*answer);
    if (!usableName(name)) {
        UI->MsgBox(zvLang::Translate("$msg.snippetbadname"), vbMsg::OKOnly | vbMsg::Exclamation, kProgramTitle);
        return std::nullopt;
    }
    return name;
}

// True when no snippet of that name exists, or the user agrees to replace it.
bool mayWrite(const std::string& section, const std::string& name)
{
    if (NUX_STD_library::IniRead(section, name, UserFile).empty()) {
        return true;
    }
    const std::string question =
        "A snippet named " + name + " already exist, do you want to overwrite it?";
    return UI->MsgBox(question, vbMsg::YesNo | vbMsg::Question, kProgramTitle) == vbMsg::Yes;
}

// The snippet definition of the current track's selection: "set:item;" per selected piece in
// track order, without markers; the start marker is no piece to append and stays out.
std::string selectedDefinition()
{
    const auto circuit = Circuit();
    const auto track = circuit ? circuit->CurTrack() : nullptr;
    std::string definition;
    if (!track) {
        return definition;
    }
    for (const auto& p : track->items()) {
        if (p->Selected() && p->Class() != 0) {
            definition += p->setID() + ":" + p->Item() + ";";
        }
    }
    return definition;
}

} // namespace

void SnippetSave()
{
    if (!UI) {
        return;
    }
    const std::string definition = selectedDefinition();
    if (definition.empty()) {
        UI->MsgBox(zvLang::Translate("$msg.snippetnone"), vbMsg::OKOnly | vbMsg::Information, kProgramTitle);
        return;
    }
    const std::string section = CurSetID + ".SNIPPETS";
    const auto name = askName(section);
    if (!name || !mayWrite(section, *name)) {
        return;
    }
    if (!NUX_STD_library::IniWrite(section, *name, definition, UserFile)) {
        UI->MsgBox(zvLang::NotSavedMessage(UserFile), vbMsg::OKOnly | vbMsg::Exclamation,
                   kProgramTitle);
        return;
    }
    UI->LoadSet(CurSetID);
}

} // namespace zvLib
