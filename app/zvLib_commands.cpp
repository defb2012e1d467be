// zvLib, the command dispatcher: the grammar of command strings and the groups tried in turn.
// The object, file, tools and help groups are carried out here; the piece, snippet, view and
// edit groups, which work on the circuit, in zvLib_commands_circuit.cpp. The dispatcher is
// where an error raised by a command is caught and shown.
#include "app/zvLib_commands.h"

#include "app/frmOpt.h"
#include "app/frmSplash.h"
#include "app/zvLang_qt.h"
#include "app/zvLib_commands_groups.h"
#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/cError.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvUI.h"
#include "platform/cQtConvert.h"
#include "reports/frmDXF.h"
#include "reports/zvLib_export.h"
#include "reports/zvLib_print.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_info.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <exception>
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

frmMain* MainWindow()
{
    return qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
}

// Presses or releases the ruler: while it is pressed the canvas measures instead of zooming
// and shows the crosshair.
void ToggleRuler(const std::string& command)
{
    frmMain* main = MainWindow();
    if (main == nullptr) {
        return;
    }
    cBarTool& ruler = main->abr.Band("tbr").Tool("ruler");
    ruler.Checked(!ruler.Checked());
    if (ruler.Checked()) {
        zvLib::CurrentTool = command;
        main->pic->setCursor(Qt::CrossCursor);
    } else {
        main->pic->unsetCursor();
    }
}

// The file commands that work on the current circuit.
bool NeedsCircuit(const std::string& verb)
{
    return verb == "SAVE" || verb == "SAVEAS" || verb == "PRINT" || verb == "EXPORT" ||
           verb == "EXCEL";
}

// "MRU1" to "MRU4": the entries of the recent-files list.
bool IsRecentFile(const std::string& verb)
{
    return verb == "MRU1" || verb == "MRU2" || verb == "MRU3" || verb == "MRU4";
}

// Opens the file of a recent-files tool of the File menu (its tag), after the save prompt.
void OpenRecent(const std::string& verb)
{
    std::string tool = verb;
    std::transform(tool.begin(), tool.end(), tool.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    frmMain* main = MainWindow();
    const cBarTool* entry = main != nullptr ? main->abr.Band("mnuFile").FindTool(tool) : nullptr;
    // A tool the list never filled has no path; it must not become the open dialog.
    if (entry == nullptr || entry->Tag().empty() || !zvLib::QuerySave()) {
        return;
    }
    std::string path = entry->Tag();
    zvLib::OpenCircuit(path);
    zvLib::UpdateInfo();
}

// Runs the printer dialog with every error it raises ignored.
void IgnoringErrors(void (*step)())
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

void FileGroup(const std::string& verb)
{
    if (IsRecentFile(verb)) {
        OpenRecent(verb);
    } else if (verb == "NEW") {
        if (zvLib::QuerySave()) {
            zvLib::NewCircuit();
            zvLib::UpdateInfo();
        }
    } else if (verb == "OPEN") {
        if (zvLib::QuerySave()) {
            std::string path;
            zvLib::OpenCircuit(path);
            zvLib::UpdateInfo();
        }
    } else if (verb == "EXIT") {
        zvLib::AppExit(false);
    } else if (NeedsCircuit(verb) && !HasCircuit()) {
        return;
    } else if (verb == "SAVE") {
        zvLib::SaveCircuit(zvLib::CurrentFile);
    } else if (verb == "SAVEAS") {
        std::string path;
        zvLib::SaveCircuit(path);
    } else if (verb == "EXCEL") {
        zvLib::ExportExcel();
    } else if (verb == "EXPORT") {
        zvLib::ExportHtml();
    } else if (verb == "PRINT") {
        // A print that fails says why (the dispatcher shows its error); the printer stays
        // ready for the next one.
        if (zvLib::QuerySave()) {
            zvLib::PrintCircuit();
        }
    } else if (verb == "PRINTSETUP") {
        IgnoringErrors(zvLib::PrinterSetup);
    } else {
        zvLib::MsgBox("currently under development " + NUX_STD_library::DQuote(verb),
                      vbMsg::Information);
    }
}

void ChooseLanguage()
{
    const std::string code = zvLib::Splash().getLanguage();
    if (code.empty() || code == zvLang::LangID()) {
        return;
    }
    zvLang::LangID(code);
    zvLang::TranslateQt();
    zvLib::TranslateOpenForms();
}

void ToolsGroup(const std::string& verb, const std::string& command)
{
    if (verb == "RESET") {
        zvLib::AppExit(true);
    } else if (verb == "LANG") {
        ChooseLanguage();
    } else if (verb == "OPTIONS") {
        zvLib::ShowOptions();
    } else if (verb == "DXF" && NUX_STD_library::IsInIDE()) {
        // The background drawing's placement, a development aid; elsewhere an unknown command.
        zvLib::ShowDXFPlacement();
    } else {
        zvLib::MsgBox(command, vbMsg::OKOnly);
    }
}

void HelpGroup(const std::string& verb)
{
    // The toolbar's help tool ("miHContents") does what the Help menu's entry does.
    if (verb == "HELP" || verb == "MIHCONTENTS") {
        zvLib::MsgBox("Under construction", vbMsg::OKOnly);
    } else if (verb == "WEB.NUX" && !zvLib::MakerSite.empty()) {
        NUX_STD_library::ShellOpen(0, zvLib::MakerSite, 1);
    } else if (verb == "WEB.TRASKEN" && !zvLib::DistributorSite.empty()) {
        NUX_STD_library::ShellOpen(0, zvLib::DistributorSite, 1);
    } else if (verb == "ABOUT") {
        zvLib::Splash().setMode(frmSplash::kAbout);
    }
}

// Tries the groups in their order; the verb is the last part, for the piece and snippet
// groups the second, the last being their argument.
void Dispatch(const std::string& command, const std::vector<std::string>& parts,
              const std::string& argument)
{
    namespace cmd = zvLib::commands;
    const std::string& group = parts.front();
    if (group == "OBJECT") {
        if (argument == "RULER") {
            ToggleRuler(command);
        }
    } else if (group == "FILE") {
        FileGroup(argument);
    } else if (group == "EDIT") {
        cmd::EditGroup(argument);
    } else if (group == "ITEM" || group == "SNIPPET") {
        if (parts.size() > 1) {
            cmd::PieceGroup(parts[1], argument);
        }
    } else if (group == "VIEW") {
        cmd::ViewGroup(argument);
    } else if (group == "TOOLS") {
        ToolsGroup(argument, command);
    } else if (group == "HELP") {
        HelpGroup(argument);
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
    try {
        Dispatch(command, parts, argument);
    } catch (const cError& e) {
        MsgBox(e.Description(), vbMsg::Critical);
    }
}

} // namespace zvLib
