// zvLib, the command dispatcher: the grammar of command strings and the groups tried in turn.
// The file, tools and help groups are carried out here; the edit, piece, snippet and view
// commands need the canvas and are guarded so that they do nothing without a circuit.
#include "app/zvLib_commands.h"

#include "app/frmSplash.h"
#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvUI.h"
#include "platform/cQtConvert.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <vector>

namespace zvLib {

std::string CurrentTool;

} // namespace zvLib

namespace {

constexpr char kDotInName = '\x01';

std::vector<std::string> SplitAtDots(const std::string& text)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '.') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

bool HasCircuit()
{
    return zvLib::Circuit() != nullptr;
}

// The file commands that work on the current circuit.
bool NeedsCircuit(const std::string& verb)
{
    return verb == "SAVE" || verb == "SAVEAS" || verb == "PRINT" || verb == "EXPORT" ||
           verb == "EXCEL";
}

// A recent-files verb: "MRU1" to "MRU4" as texts compare.
bool IsRecentFile(const std::string& verb)
{
    return verb >= "MRU1" && verb <= "MRU4";
}

// Opens the file of a recent-files tool of the File menu (its tag), after the save prompt.
void OpenRecent(const std::string& verb)
{
    std::string tool = verb;
    std::transform(tool.begin(), tool.end(), tool.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto* main = qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
    const cBarTool* entry = main != nullptr ? main->abr.Band("mnuFile").FindTool(tool) : nullptr;
    // A tool the list never filled has no path; it must not become the open dialog.
    if (entry == nullptr || entry->Tag().empty() || !zvLib::QuerySave()) {
        return;
    }
    std::string path = entry->Tag();
    zvLib::OpenCircuit(path);
}

void FileGroup(const std::string& verb)
{
    if (IsRecentFile(verb)) {
        OpenRecent(verb);
        return;
    }
    if (verb == "NEW" || verb == "OPEN") {
        if (zvLib::QuerySave()) {
            if (verb == "NEW") {
                zvLib::NewCircuit();
            } else {
                std::string none;
                zvLib::OpenCircuit(none);
            }
        }
        return;
    }
    if (verb == "EXIT") {
        zvLib::AppExit(false);
        return;
    }
    if (NeedsCircuit(verb) && !HasCircuit()) {
        return;
    }
    if (verb == "SAVE") {
        zvLib::SaveCircuit(zvLib::CurrentFile);
        return;
    }
    if (verb == "SAVEAS") {
        std::string none;
        zvLib::SaveCircuit(none);
        return;
    }
    // Printing and the exports are carried out here by the report work; until then they
    // answer as an unknown verb does.
    zvLib::MsgBox("currently under development " + NUX_STD_library::DQuote(verb),
                  vbMsg::Information);
}

// The edit, piece, snippet and view commands: the canvas work carries them out here, each
// followed by its redraw, scroll bars, undo state and info panels.
void CircuitGroup(const std::string& group, const std::string& verb, const std::string& argument)
{
    if (!HasCircuit()) {
        return;
    }
    (void)group;
    (void)verb;
    (void)argument;
}

void ChooseLanguage()
{
    const std::string code = zvLib::Splash().getLanguage();
    if (code.empty() || code == zvLang::LangID()) {
        return;
    }
    zvLang::LangID(code);
    zvLib::TranslateOpenForms();
}

void ToolsGroup(const std::string& verb, const std::string& command)
{
    if (verb == "RESET") {
        zvLib::AppExit(true);
    } else if (verb == "LANG") {
        ChooseLanguage();
    } else {
        // The options dialog is shown here once it exists; until then OPTIONS answers as an
        // unknown verb does.
        zvLib::MsgBox(command, vbMsg::OKOnly);
    }
}

void HelpGroup(const std::string& verb)
{
    if (verb == "HELP") {
        zvLib::MsgBox("Under construction", vbMsg::OKOnly);
    } else if (verb == "WEB.NUX") {
        NUX_STD_library::ShellOpen(0, zvLib::kMakerSite, 1);
    } else if (verb == "WEB.TRASKEN") {
        NUX_STD_library::ShellOpen(0, zvLib::kDistributorSite, 1);
    } else if (verb == "ABOUT") {
        zvLib::Splash().setMode(frmSplash::kAbout);
    }
}

} // namespace

namespace zvLib {

void ExecCommand(std::string& command)
{
    command = cQtConvert::FromQString(cQtConvert::ToQString(command).toUpper());
    const std::vector<std::string> parts = SplitAtDots(command);
    std::string argument = parts.back();
    std::replace(argument.begin(), argument.end(), kDotInName, '.');
    CurrentTool.clear();
    const std::string& group = parts.front();
    if (group == "OBJECT") {
        // The ruler tool is switched here by the canvas work; other drawing tools do nothing.
        return;
    }
    if (group == "FILE") {
        FileGroup(argument);
    } else if (group == "EDIT" || group == "VIEW") {
        CircuitGroup(group, argument, argument);
    } else if (group == "ITEM" || group == "SNIPPET") {
        if (parts.size() > 1) {
            CircuitGroup(group, parts[1], argument);
        }
    } else if (group == "TOOLS") {
        ToolsGroup(argument, command);
    } else if (group == "HELP") {
        HelpGroup(argument);
    }
}

} // namespace zvLib
