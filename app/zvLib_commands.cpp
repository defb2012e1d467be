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
#include "view/zvLang_forms.h"

#include <QString>

#include <algorithm>
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

void FileGroup(const std::string& verb)
{
    if (verb == "NEW") {
        if (zvLib::QuerySave()) {
            zvLib::NewCircuit();
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
    // Opening, saving, printing, exporting and the recent files are carried out here by the
    // document work; until then they answer as an unknown verb does.
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
