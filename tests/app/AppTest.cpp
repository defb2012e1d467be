// The application tests' shared parts: the program's own Qt application (with its guard on
// window events) made once before the first test, the scripted user and the fixture of user
// and program folders.
#include "AppTest.h"

#include "app/core/zvLib_catalogue.h"
#include "app/core/zvLib_settings.h"
#include "app/zvLang_qt.h"
#include "app/zvLib_shell.h"
#include "app/zvLib_update.h"
#include "app/zvStartup.h"
#include "foundation/NUX_STD_apppath.h"
#include "foundation/nxColors.h"
#include "foundation/zvBlob.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "model/zvUI.h"
#include "platform/cQtConvert.h"
#include "view/zvLang_forms.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>

namespace apptest {

namespace {

std::unique_ptr<QApplication> app;

class QtApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { App(); }
    void TearDown() override { app.reset(); }
};

// Registered before main runs; GoogleTest owns and deletes it.
[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

const char* const kEnv[] = {"HOME",   "XDG_DATA_HOME",   "XDG_DOCUMENTS_DIR", "TMPDIR",
                            "XDG_CONFIG_HOME", "ZORV_DEVMODE", "XDG_RUNTIME_DIR"};

} // namespace

QApplication& App()
{
    if (!app) {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        static int argc = 1;
        static char name[] = "test_app";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<zvApplication>(argc, argv);
    }
    return *app;
}

int ScriptedUser::MsgBox(const std::string& text, int style, const std::string& title)
{
    messages.push_back(text);
    styles.push_back(style);
    titles.push_back(title);
    if (answers.empty()) {
        return 1;
    }
    const int a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedUser::Answer(QDialog& dialog)
{
    dialogs.push_back(cQtConvert::FromQString(dialog.windowTitle()));
    if (steps.empty()) {
        return;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step(dialog);
}

void Click(QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

void ChooseData(QDialog& dialog, const char* combo, const char* data)
{
    auto* box = dialog.findChild<QComboBox*>(combo);
    ASSERT_NE(box, nullptr) << combo;
    const int at = box->findData(QString(data));
    ASSERT_GE(at, 0) << data;
    box->setCurrentIndex(at);
}

void AppFixture::SetUp()
{
    App();
    root_ = std::make_unique<testsupport::TempDir>();
    namespace fs = std::filesystem;
    for (const char* sub : {"home", "data", "documents", "tmp", "config", "program"}) {
        fs::create_directories(root_->path() / sub);
    }
    for (const char* name : kEnv) {
        const char* v = std::getenv(name);
        savedEnv_[name] = v != nullptr ? std::optional<std::string>(v) : std::nullopt;
    }
    setenv("HOME", (root_->dir() + "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_->dir() + "data").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (root_->dir() + "documents").c_str(), 1);
    setenv("TMPDIR", (root_->dir() + "tmp").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_->dir() + "config").c_str(), 1);
    unsetenv("ZORV_DEVMODE");
    unsetenv("XDG_RUNTIME_DIR");
    for (const char* file : {"Zorv.lng", "zorv.htt", "Zorv.dat"}) {
        const fs::path from = fs::path(ZORV_SOURCE_DIR) / "resources" / file;
        if (fs::exists(from)) {
            fs::copy_file(from, programDir() + file);
        }
    }
    NUX_STD_library::AppPath(programDir());
    zvLib::IniFile = dataDir() + "Zorv.ini";
    zvLib::UserFile = dataDir() + "user.def";
    zvLib::DocsFolder = documentsDir();
    ASSERT_EQ(zvLib::OpenCatalogue(), 0);
    user_ = std::make_shared<ScriptedUser>();
    zvLib::ModalScript = user_;
    // The update check at the end of start-up asks a closed port of this machine.
    zvLib::UpdateSite = "http://127.0.0.1:1/";
}

void AppFixture::TearDown()
{
    // A window owned by another goes with its owner.
    std::vector<QPointer<QWidget>> forms;
    for (QWidget* form : zvLib::LoadedForms()) {
        forms.emplace_back(form);
    }
    for (const QPointer<QWidget>& form : forms) {
        delete form.data();
    }
    zvLib::DestroyUnloadedForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    zvLib::ModalScript.reset();
    zvBlob::SetUnknownTypeHandler(nullptr);
    nxColors::SetSystemColorResolver(nullptr);
    zvLib::UI.reset();
    zvLib::Circuit(nullptr);
    zvLib::ResetProgramEnd();
    zvLib::ResetCatalogue();
    zvLib::ResetModelGlobals();
    zvLib::CurrentFile.clear();
    zvLib::TempFolder.clear();
    zvLib::UpdateSite = zvLib::DistributorSite;
    zvLang::LangID("");
    zvLang::TranslateQt();
    NUX_STD_library::AppPath("");
    for (const auto& [name, value] : savedEnv_) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    root_.reset();
}

void AppFixture::writeSettings(const std::string& ini)
{
    std::filesystem::create_directories(dataDir());
    testsupport::writeAll(dataDir() + "Zorv.ini", ini);
}

void AppFixture::useLanguage(const char* code)
{
    zvLang::LangID(code);
    ASSERT_EQ(zvLang::LoadLanguageFile(), 0);
}

} // namespace apptest
