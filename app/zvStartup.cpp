// zvLib, start-up: every step from the process start to the event loop, in its fixed order:
// the settings file is moved before it is read, the language settled before any translated
// text, the options loaded before the first way out that saves them, the checks made before
// the splash, the main window shown only after it.
#include "app/zvStartup.h"

#include "app/core/zvLib_catalogue.h"
#include "app/core/zvLib_options.h"
#include "app/core/zvLib_settings.h"
#include "app/core/zvLib_stock.h"
#include "app/frmSplash.h"
#include "app/zvIconFiles.h"
#include "app/zvLang_qt.h"
#include "app/zvLib_shell.h"
#include "app/zvLib_update.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_apppath.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/cError.h"
#include "foundation/nxColors.h"
#include "foundation/zvBlob.h"
#include "foundation/zvLang.h"
#include "model/zvLib_globals.h"
#include "model/zvUI.h"
#include "platform/cQtConvert.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_info.h"

#include <QApplication>
#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <vector>

zvApplication::zvApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool zvApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const cError& e) {
        if (!showing_) {
            showing_ = true;
            zvLib::MsgBox(e.Description(), vbMsg::Critical);
            showing_ = false;
        }
    } catch (const std::exception& e) {
        if (!showing_) {
            showing_ = true;
            zvLib::MsgBox(e.what(), vbMsg::Critical);
            showing_ = false;
        }
    }
    return false;
}

namespace zvLib {

namespace {

// The hourglass while the program starts; the usual pointer again however start-up ends.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    static void Restore()
    {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }
};

bool Exists(const std::string& path)
{
    long err = 0;
    return NUX_STD_library::FileExists(path, err);
}

// The program's data files lie beside it, or in share/zorv/ beside its bin/ once installed.
void FindProgramFolder()
{
    const std::string here = NUX_STD_library::AppPath();
    const std::string installed = here + "../share/zorv/";
    if (!Exists(here + "Zorv.lng") && Exists(installed + "Zorv.lng")) {
        std::error_code ec;
        const auto folder = std::filesystem::weakly_canonical(installed, ec);
        NUX_STD_library::AppPath(ec ? installed : folder.string());
    }
}

// Moves a file left in the program folder into the data folder, replacing the one there. A
// file that cannot be written there stays where it is.
void MoveIntoDataFolder(const std::string& name, const std::string& dataFolder)
{
    const std::string from = NUX_STD_library::AppPath() + name;
    if (!Exists(from)) {
        return;
    }
    std::string bytes;
    try {
        bytes = NUX_STD_library::ReadFileText(from);
    } catch (const cError&) {
        return;
    }
    if (NUX_STD_library::WriteFileText(dataFolder + name, bytes)) {
        std::remove(from.c_str());
    }
}

// The foundation's reports reach the user, and its system colours are the palette's.
void ConnectFoundation()
{
    zvBlob::SetUnknownTypeHandler(
        [](const std::string& message) { MsgBox(message, vbMsg::Exclamation); });
    nxColors::SetSystemColorResolver([](int index) {
        const QColor c = cQtConvert::ToQColor(static_cast<std::int32_t>(0x80000000U | index));
        return c.red() + 256 * c.green() + 65536 * c.blue();
    });
}

// Ends a start-up that has loaded windows but saved nothing.
int EndUnsaved(int status)
{
    Unload(zvForm::frmSplash);
    Unload(zvForm::frmMain);
    return status;
}

// The language from the settings, else from the chooser, and Qt's own texts in it; false when
// none was chosen.
bool SettleLanguage()
{
    zvLang::LangID(GetSetting("Zorv", "Options", "LangID", ""));
    if (zvLang::LangID().empty()) {
        zvLang::LangID(Splash().getLanguage());
    }
    zvLang::TranslateQt();
    return !zvLang::LangID().empty();
}

// The ruler and kerb tools exist in development mode only; elsewhere kerbs are never shown.
// The web tools exist only for the sites the build names.
void SetDevelopmentTools(cBarModel& abr)
{
    const bool dev = NUX_STD_library::IsInIDE();
    abr.Band("tbr").Tool("ruler").Visible(dev);
    abr.Band("mnuItem").Tool("kerbLeft").Visible(dev);
    abr.Band("mnuItem").Tool("kerbRight").Visible(dev);
    for (const char* band : {"tbr", "mnuView"}) {
        cBarTool& kerbs = abr.Band(band).Tool("kerbs");
        kerbs.Visible(dev);
        if (!dev) {
            kerbs.Checked(false);
        }
    }
    ShowKerbs = dev;
    // A web tool is offered only when the build names its site.
    abr.Band("mnuHelp").Tool("web.nux").Visible(!MakerSite.empty());
    abr.Band("mnuHelp").Tool("web.trasken").Visible(!DistributorSite.empty());
}

// Sizes, captions, prepares and shows the main window.
void ShowMainWindow(frmMain& main, const zvCommandLine& cmd)
{
    SetDevelopmentTools(main.abr);
    main.setWindowTitle(kProductName);
    main.setUI();
    main.setMode("NEW");
    // The bands are ready, so the window knows its smallest usable size.
    if (cmd.width == 0 || cmd.height == 0) {
        // Maximised, with a usable place to come back to when the user restores it.
        main.RestoreLayout();
        main.setWindowState(Qt::WindowMaximized);
    } else {
        main.SizeWithin(cmd.width, cmd.height);
    }
    main.show();
    if (cmd.width != 0 && cmd.height != 0) {
        main.KeepFrameOnWorkArea();
    }
    main.repaint();
}

// The folders of the user: documents, exports and the private temporary folder.
void MakeUserFolders()
{
    DocsFolder = EnsureFolder(NUX_STD_library::GetSpecialFolder(5), "Zorv");
    ExportFolder = EnsureFolder(DocsFolder, "Export");
    TempFolder = NUX_STD_library::PrivateTempFolder();
}

// A list of problems as one message: the first few lines and a count of the rest, so the box
// always fits the screen.
std::string JoinLines(const std::vector<std::string>& lines)
{
    constexpr std::size_t kMostLines = 12;
    return NUX_STD_library::JoinLinesLimited(lines, kMostLines, zvLang::Translate("$msg.andmore"));
}

// Reads the catalogue into the piece table and writes the piece icons; false when the
// catalogue cannot be read at all (said in a message). Rows left out are listed once.
bool ReadCatalogue()
{
    zvIconFiles icons(TempFolder);
    std::vector<std::string> problems;
    // Without a private temporary folder the pieces go without icons.
    if (LoadCatalogue(problems, TempFolder.empty() ? nullptr : &icons) != 0) {
        MsgBox(JoinLines(problems), vbMsg::Critical);
        return false;
    }
    if (!problems.empty()) {
        MsgBox(JoinLines(problems), vbMsg::Exclamation);
    }
    return true;
}

// The set list; empty also when the catalogue cannot be searched.
std::string SetList()
{
    try {
        return GetSetList();
    } catch (const cError&) {
        return {};
    }
}

// The part of start-up after the language table is open; a status when it ends the program.
std::optional<int> StartWithLanguage(frmMain& main, const zvCommandLine& cmd)
{
    OptionsLoad();
    if (!ReadCatalogue()) {
        AppExit(false);
        return kExitNoCatalogue;
    }
    if (SetList().empty()) {
        MsgBox(zvLang::Translate("$msg.nodef"), vbMsg::Critical);
        AppExit(false);
        return kExitNoSets;
    }
    if (!Exists(NUX_STD_library::AppPath() + "zorv.htt")) {
        MsgBox(zvLang::Translate("$msg.nohtt"), vbMsg::Critical);
        AppExit(false);
        return kExitNoReportTemplate;
    }
    Splash().setMode(frmSplash::kSplash);
    ShowMainWindow(main, cmd);
    Unload(zvForm::frmSplash);
    WaitCursor::Restore();
    // A file that cannot be opened is said, then the start page follows as without one.
    if (CurrentFile.empty() || !OpenCircuit(CurrentFile)) {
        CurrentFile.clear();
        NewCircuit();
    }
    UpdateInfo();
    std::string ready;
    SetStatus(ready, false);
    CheckForUpdate();
    return std::nullopt;
}

} // namespace

std::optional<int> Main(const std::vector<std::string>& args)
{
    ResetProgramEnd();
    ConnectFoundation();
    FindProgramFolder();
    const std::string dataFolder =
        NUX_STD_library::AddBackslash(NUX_STD_library::GetSpecialFolder(28)) + "NUX/Zorv/";
    WaitCursor wait;
    const zvCommandLine cmd = ParseCommandLine(args);
    CurrentFile = cmd.file;
    try {
        std::string folder = dataFolder;
        NUX_STD_library::MakePath(folder);
    } catch (const cError& e) {
        MsgBox("The data folder " + dataFolder + " cannot be made: " + e.Description(),
               vbMsg::Critical);
        return kExitNoDataFolder;
    }
    MoveIntoDataFolder("Zorv.ini", dataFolder);
    IniFile = dataFolder + "Zorv.ini";
    MoveIntoDataFolder("user.def", dataFolder);
    UserFile = dataFolder + "user.def";
    MakeUserFolders();
    auto* main = new frmMain;
    LoadForm(zvForm::frmMain, main);
    if (!SettleLanguage()) {
        return EndUnsaved(kExitOK);
    }
    if (const long n = zvLang::LoadLanguageFile(); n != 0) {
        MsgBox("Language file missing or corrupt, please reinstall Zorv.\r\n\r\nError code:" +
                   std::to_string(n),
               vbMsg::Critical);
        return EndUnsaved(kExitNoLanguageFile);
    }
    return StartWithLanguage(*main, cmd);
}

int RunProgram(int argc, char** argv)
{
    // A save beyond the file-size limit fails with its message instead of ending the program.
    NUX_STD_library::IgnoreFileSizeSignal();
    // The arguments are the program's own, taken before Qt could read any of them as one of
    // its options: a file named like one ("-style", "-reverse") is still that file.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    int qtArgc = std::min(argc, 1);
    zvApplication app(qtArgc, argv);
    const std::optional<int> ended = Main(args);
    const int status = ended ? *ended : QApplication::exec();
    // A window owned by another goes with its owner.
    std::vector<QPointer<QWidget>> forms;
    for (QWidget* form : LoadedForms()) {
        forms.emplace_back(form);
    }
    for (const QPointer<QWidget>& form : forms) {
        delete form.data();
    }
    DestroyUnloadedForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

} // namespace zvLib
