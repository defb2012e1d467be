// zvLib, the application shell's state and services: the status line and the end of the
// program, asked once however it is reached and leaving a reset's deletions as they are.
#include "app/zvLib_shell.h"

#include "app/core/zvLib_options.h"
#include "app/core/zvLib_settings.h"
#include "app/zvLib_update.h"
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

#ifndef ZORV_MAKER_SITE
#define ZORV_MAKER_SITE ""
#endif
#ifndef ZORV_DISTRIBUTOR_SITE
#define ZORV_DISTRIBUTOR_SITE ""
#endif

std::string MakerSite = ZORV_MAKER_SITE;
std::string DistributorSite = ZORV_DISTRIBUTOR_SITE;
// Declared with the update check; defined here so that it starts as the distributor's site.
std::string UpdateSite = ZORV_DISTRIBUTOR_SITE;
std::string DocsFolder;
std::string ExportFolder;
std::string TempFolder;
std::string CurrentFile;

namespace {

bool ended = false;
// True while AppExit is asking its questions: a second way out meanwhile asks nothing.
bool exiting = false;

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

// Asks for the reset and deletes the settings when it is confirmed; from then on nothing
// writes the settings file.
void ConfirmReset()
{
    const int answer = MsgBox("OK to reset Zorv ? All your preferences will be lost. "
                              "Your projects will NOT be deleted.",
                              kOKCancel + vbMsg::Question + kSecondButtonDefault);
    if (answer == vbMsg::OK) {
        DeleteUserSettings();
        FreezeSettings(true);
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

bool AppExit(bool reset)
{
    if (ended || exiting) {
        return ended;
    }
    exiting = true;
    const bool goOn = QuerySave();
    if (goOn) {
        OptionsSave();
        if (reset) {
            ConfirmReset();
        }
        ended = true;
    }
    exiting = false;
    if (!goOn) {
        return false;
    }
    Circuit(nullptr);
    Unload(zvForm::frmInfo);
    Unload(zvForm::frmSplash);
    Unload(zvForm::frmMain);
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
    exiting = false;
    FreezeSettings(false);
}

} // namespace zvLib
