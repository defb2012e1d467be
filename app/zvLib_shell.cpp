// zvLib, the application shell's state and services: the status line, the end of the program
// and the start page's hand-over to the document work.
#include "app/zvLib_shell.h"

#include "app/core/zvLib_options.h"
#include "app/core/zvLib_settings.h"
#include "app/frmSplash.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_apppath.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "model/zvUI.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

namespace zvLib {

std::string DocsFolder;
std::string ExportFolder;
std::string TempFolder;
std::string CurrentFile;

namespace {

bool ended = false;

// The reset question: OK and Cancel, the question icon, Cancel the default button.
constexpr int kOKCancel = 1;
constexpr int kSecondButtonDefault = 256;

// Deletes the settings file, the user file and a settings file left in the program folder;
// a file that is missing or cannot be deleted is passed over.
void DeleteUserSettings()
{
    for (const std::string& path : {IniFile, UserFile, NUX_STD_library::AppPath() + "Zorv.ini"}) {
        if (!path.empty()) {
            std::remove(path.c_str());
        }
    }
}

} // namespace

void SetStatus(std::string& message, bool beep)
{
    if (message.empty()) {
        message = zvLang::Translate("$msg.ready");
    }
    auto* main = qobject_cast<frmMain*>(Form(zvForm::frmMain));
    if (main == nullptr) {
        return;
    }
    cBarBand& sbr = main->abr.Band("sbr");
    sbr.Tool("pnlstatus").Caption(message);
    sbr.Refresh();
    if (beep) {
        QApplication::beep();
    }
}

bool QuerySave()
{
    // The document work asks here whether to save a changed circuit.
    return true;
}

bool AppExit(bool reset)
{
    if (!QuerySave()) {
        return false;
    }
    OptionsSave();
    if (reset) {
        const int answer = MsgBox("OK to reset Zorv ? All your preferences will be lost. "
                                  "Your projects will NOT be deleted.",
                                  kOKCancel + vbMsg::Question + kSecondButtonDefault);
        if (answer == vbMsg::OK) {
            DeleteUserSettings();
        }
    }
    Circuit(nullptr);
    Unload(zvForm::frmInfo);
    Unload(zvForm::frmSplash);
    Unload(zvForm::frmMain);
    ended = true;
    QCoreApplication::exit(0);
    return true;
}

bool ProgramEnded()
{
    return ended;
}

void ResetProgramEnd()
{
    ended = false;
}

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
    // The document work makes the new circuit of setCode, lanes and angle here, and opens the
    // file chosen.
    if (action == "OPEN") {
        std::string path = file;
        OpenCircuit(path);
    }
    (void)setCode;
    (void)lanes;
    (void)angle;
}

void OpenCircuit(std::string& path)
{
    // The document work reads the circuit file here and makes it current.
    (void)path;
}

} // namespace zvLib
