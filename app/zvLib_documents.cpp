// zvLib, the documents: new, open and save of the current circuit, the save prompt and the
// recent files in the File menu. A document keeps its folder, so a save without the dialog
// writes back where the file came from; a failed save is reported and changes nothing; a file
// opened with pieces the catalogue lacks is not overwritten without the user's word.
#include "app/zvLib_documents.h"

#include "app/core/zvLib_recent.h"
#include "app/core/zvLib_sets.h"
#include "app/frmSplash.h"
#include "app/zvFileDialog.h"
#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "dxf/cDXF.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "foundation/zvLang.h"
#include "foundation/zvLib_canvas.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "model/zvLib_dxfproblems.h"
#include "model/zvUI.h"
#include "platform/cQtConvert.h"
#include "reports/frmReport.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"
#include "view/zvLib_viewmode.h"

#include <QApplication>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace zvLib {

std::string LastFolder;
std::string DocumentFolder;

namespace {

// The file last opened with piece entries the catalogue lacks: saving over it drops them.
struct IncompleteFile {
    std::string path;
    std::int32_t skipped = 0;
};
IncompleteFile incomplete;

// The second button of a message box is the default one.
constexpr int kSecondButtonDefault = 256;

frmMain* MainWindow()
{
    return qobject_cast<frmMain*>(Form(zvForm::frmMain));
}

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// The text with every "%" & n replaced by the value.
std::string Fill(std::string text, const std::string& n, const std::string& value)
{
    const std::string mark = "%" + n;
    for (std::size_t at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + value.size())) {
        text.replace(at, mark.size(), value);
    }
    return text;
}

// The path made absolute by joining it to the current folder. Its "." and ".." steps stay as
// they are: after a link, ".." goes up from the folder the link leads to, which only the
// system's own lookup knows.
std::string Absolute(const std::string& path)
{
    if (path.empty() || path.front() == '/') {
        return path;
    }
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::current_path(ec);
    return ec ? path : NUX_STD_library::AddBackslash(folder.string()) + path;
}

// The folder (ending with "/") and the name with its extension.
void SplitFolder(const std::string& path, std::string& folder, std::string& name)
{
    std::string base;
    std::string ext;
    folder.clear();
    NUX_STD_library::SplitPath(path, folder, base, ext);
    name = base + ext;
}

// Where a save writes: a name without folder goes into the document's own folder (the
// documents folder for a circuit that has none).
std::string SaveTarget(const std::string& fileName)
{
    if (fileName.find('/') != std::string::npos) {
        return Absolute(fileName);
    }
    return (DocumentFolder.empty() ? DocsFolder : DocumentFolder) + fileName;
}

// The view width of a new circuit, in millimetres, centred on the origin.
constexpr double kNewCircuitView = 3000;

// True while the main canvas is there to be drawn on (not in tests without a window).
bool HasCanvas()
{
    return MainPic != nullptr;
}

// The circuit as the document now stands becomes the one undo state.
void MarkUnchanged()
{
    Undo().Clear();
    Undo().Push();
}

// Writes the circuit; a failure is reported with its reason.
bool WriteCircuit(const zvCircuit& circuit, const std::string& path)
{
    bool written = false;
    try {
        written = circuit.FileSave(path);
    } catch (const cError&) {
        written = false;
    }
    if (!written) {
        const std::string text = Fill(Fill(zvLang::Translate("$msg.savefailed"), "1", path), "2",
                                      zvLang::WriteFailureReason(path));
        MsgBox(text, vbMsg::Exclamation);
    }
    return written;
}

// The name or description being typed in the report view ends its edit, so that the circuit
// counts as changed by it.
void CommitReportTexts()
{
    if (auto* report = qobject_cast<frmReport*>(Form(zvForm::frmReport))) {
        report->CommitTexts();
    }
}

// False when the path is the file opened with unknown pieces and the user would rather not
// lose them by saving over it.
bool MayOverwrite(const std::string& path)
{
    if (incomplete.skipped == 0 || !NUX_STD_library::SameFile(path, incomplete.path)) {
        return true;
    }
    const std::string text =
        Fill(Fill(zvLang::Translate("$msg.piecesskipped"), "1", path), "2",
             std::to_string(incomplete.skipped));
    return MsgBox(text, vbMsg::YesNo + vbMsg::Exclamation + kSecondButtonDefault) == vbMsg::Yes;
}

// A new circuit of the set; none when the set cannot be loaded.
void MakeNewCircuit(const std::string& setCode, std::int16_t lanes, std::int16_t angle)
{
    if (LoadSet(setCode) == kSetLoaded) {
        if (frmMain* main = MainWindow()) {
            main->setMode("DESIGN");
            SetViewMode("DESIGN");
        }
        if (HasCanvas()) {
            SetZoom(kNewCircuitView, 0.0, 0.0);
        }
        auto circuit = std::make_shared<zvCircuit>();
        circuit->Init(setCode, lanes, cFixed(angle), cFixed(), cFixed());
        Circuit(circuit);
        if (HasCanvas()) {
            circuit->Draw();
        }
        MarkUnchanged();
    } else {
        Circuit(nullptr);
    }
    CurrentFile = kNewCircuitName;
    DocumentFolder.clear();
    SetCaption();
}

// What opening a file may have to give back when the circuit read cannot be shown: the
// current circuit with its drawing, set, view mode and view.
struct Previous {
    std::shared_ptr<zvCircuit> circuit;
    std::unique_ptr<cDXF> drawing;
    std::string set;
    std::string viewMode;
    std::optional<zvViewRect> view;
};

// Puts back what was there before a circuit read from a file failed to be shown, and draws it.
void GiveBack(Previous& previous)
{
    Circuit(previous.circuit);
    DXF = std::move(previous.drawing);
    if (CurSetID != previous.set && !previous.set.empty()) {
        LoadSet(previous.set);
    }
    frmMain* main = MainWindow();
    if (main != nullptr && !previous.viewMode.empty() && ViewMode() != previous.viewMode) {
        SetViewMode(previous.viewMode);
    }
    if (HasCanvas() && previous.view) {
        ViewRect(*previous.view);
        UpdateScrollBars();
        if (previous.circuit) {
            try {
                previous.circuit->Draw();
            } catch (const cError&) {
                // It was drawn before; the next redraw says what is wrong.
            }
        }
    }
    if (main != nullptr) {
        main->pic->setEnabled(true);
    }
}

// Makes the circuit read from the file the current one once it is fitted and drawn; false,
// with everything given back, when that fails.
bool AdoptOpened(const std::shared_ptr<zvCircuit>& opened, const std::string& path,
                 std::int32_t skipped, Previous& previous)
{
    frmMain* main = MainWindow();
    if (main != nullptr) {
        if (HasCanvas()) {
            MainPic->Cls();
        }
        main->pic->setEnabled(false);
        SetViewMode("DESIGN");
    }
    QApplication::processEvents();
    QApplication::processEvents();
    if (ProgramEnded()) {
        return true;
    }
    Circuit(opened);
    try {
        if (HasCanvas()) {
            ZoomExtents();
        }
    } catch (const cError&) {
        GiveBack(previous);
        return false;
    }
    std::string folder;
    std::string name;
    SplitFolder(path, folder, name);
    LastFolder = folder;
    DocumentFolder = folder;
    CurrentFile = name;
    if (main != nullptr) {
        main->setMode("DESIGN");
    }
    SetCaption();
    MRUAdd(path);
    MarkUnchanged();
    incomplete = {path, skipped};
    if (main != nullptr) {
        main->pic->setEnabled(true);
    }
    ShowDXFProblems();
    return true;
}

} // namespace

void NewCircuit()
{
    frmSplash& page = Splash();
    page.setMode(frmSplash::kStartPage);
    StartPageChosen(page.ret_action, page.ret_scode, page.ret_lanes, page.ret_angle,
                    page.ret_file);
}

void StartPageChosen(const std::string& action, const std::string& setCode, std::int16_t lanes,
                     std::int16_t angle, const std::string& file)
{
    const std::string a = Upper(action);
    if (a == "NEW") {
        MakeNewCircuit(setCode, lanes, angle);
    } else if (a == "OPEN") {
        std::string path = file;
        OpenCircuit(path);
    }
}

bool OpenCircuit(std::string& path)
{
    if (path.empty()) {
        path = ShowOpenDialog(DocsFolder);
    }
    if (path.empty()) {
        return false;
    }
    if (long err = 0; !NUX_STD_library::FileExists(path, err)) {
        MsgBox(zvLang::ReadFailureMessage(path, err), vbMsg::Information);
        return false;
    }
    const std::string full = Absolute(path);
    Previous previous;
    previous.circuit = Circuit();
    previous.set = CurSetID;
    previous.viewMode = ViewMode();
    if (HasCanvas()) {
        previous.view = ViewRect();
    }
    // Reading the file replaces the drawing: the current one is kept until the new circuit
    // is shown.
    previous.drawing = std::move(DXF);
    auto opened = std::make_shared<zvCircuit>();
    zvFileOpenInfo info;
    const bool read = opened->FileOpen(full, &info) == 0;
    if (!read || !AdoptOpened(opened, full, info.Skipped, previous)) {
        if (!read) {
            DXF = std::move(previous.drawing);
        }
        // A file that changed after it was found may no longer be readable at all.
        MsgBox(info.Fault != NUX_STD_library::ReadFault::None
                   ? zvLang::ReadFailureMessage(path, info.Fault)
                   : zvLang::Translate("$msg.filenotvalid"),
               vbMsg::Information);
        return false;
    }
    return true;
}

bool SaveCircuit(std::string& fileName)
{
    const std::shared_ptr<zvCircuit> circuit = Circuit();
    if (!circuit) {
        return false;
    }
    std::string chosen = fileName;
    if (chosen.empty() || chosen == kNewCircuitName) {
        const std::string folder =
            LastFolder.empty() ? DocsFolder : NUX_STD_library::AddBackslash(LastFolder);
        chosen = ShowSaveDialog(folder, chosen);
    }
    if (chosen.empty()) {
        return false;
    }
    CommitReportTexts();
    const std::string path = SaveTarget(chosen);
    if (!MayOverwrite(path) || !WriteCircuit(*circuit, path)) {
        return false;
    }
    MarkUnchanged();
    if (NUX_STD_library::SameFile(path, incomplete.path)) {
        incomplete = {};
    }
    std::string folder;
    std::string name;
    SplitFolder(path, folder, name);
    fileName = path;
    DocumentFolder = folder;
    CurrentFile = name;
    SetCaption();
    return true;
}

bool QuerySave()
{
    if (Circuit()) {
        CommitReportTexts();
    }
    if (ProgramEnded() || !Circuit() || !Undo().isdirty()) {
        return true;
    }
    const int answer =
        MsgBox("Save changes to " + CurrentFile + " ?", vbMsg::YesNoCancel + vbMsg::Question);
    if (answer == vbMsg::No) {
        return true;
    }
    if (answer != vbMsg::Yes) {
        return false;
    }
    try {
        return SaveCircuit(CurrentFile);
    } catch (const cError& e) {
        MsgBox(e.Description(), vbMsg::Exclamation);
        return false;
    }
}

void MRUShow()
{
    frmMain* main = MainWindow();
    if (main == nullptr) {
        return;
    }
    cBarBand& file = main->abr.Band("mnuFile");
    const std::array<std::string, kMRUCount> entries = MRUEntries();
    for (int n = 1; n <= kMRUCount; ++n) {
        const std::string& path = entries[static_cast<std::size_t>(n - 1)];
        if (path.empty()) {
            continue;
        }
        // A "&" of the path is doubled so that the menu shows it instead of underlining.
        std::string shown;
        for (char c : path) {
            shown += c == '&' ? std::string("&&") : std::string(1, c);
        }
        cBarTool& tool = file.Tool("mru" + std::to_string(n));
        tool.Visible(true);
        tool.Caption("&" + std::to_string(n) + "  " + shown);
        tool.Tag(path);
        file.Tool("mruSep").Visible(true);
    }
}

void SetCaption()
{
    if (frmMain* main = MainWindow()) {
        main->setWindowTitle(cQtConvert::ToQString(std::string(kProductName) + " - " + CurrentFile));
    }
}

} // namespace zvLib
