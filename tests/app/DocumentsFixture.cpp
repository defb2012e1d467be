// The document tests' shared parts: the window, the scripted answers of the start page and the
// file dialogs, and circuits to work on.
#include "DocumentsFixture.h"

#include "app/core/zvLib_catalogue.h"
#include "app/zvLib_commands.h"
#include "app/zvLib_shell.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "platform/cQtConvert.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

#include <QComboBox>
#include <QRadioButton>

#include <filesystem>

namespace apptest {

void DocumentsFixture::SetUp()
{
    AppFixture::SetUp();
    useLanguage("EN");
    std::filesystem::create_directories(dataDir());
    std::filesystem::create_directories(docs());
    zvLib::DocsFolder = docs();
    zvLib::BuildPieceTable();
}

void DocumentsFixture::TearDown()
{
    zvLib::Undo().Clear();
    zvLib::LastFolder.clear();
    zvLib::DocumentFolder.clear();
    AppFixture::TearDown();
}

frmMain& DocumentsFixture::mainWindow()
{
    auto* main = new frmMain;
    zvLib::LoadForm(zvForm::frmMain, main);
    main->setUI();
    main->setMode("NEW");
    main->show();
    return *main;
}

void DocumentsFixture::answerNew(const std::string& set, int lanes)
{
    user_->steps.push_back([set, lanes](QDialog& d) {
        auto* cbo = d.findChild<QComboBox*>("cbo");
        ASSERT_NE(cbo, nullptr);
        cbo->setCurrentIndex(cbo->findText(cQtConvert::ToQString(set)));
        const QString option = QString("opt(%1)").arg(lanes / 2 - 1);
        d.findChild<QRadioButton*>(option)->setChecked(true);
        Click(d, "cmd(1)");
    });
}

void DocumentsFixture::answerFile(const std::string& path, bool accept)
{
    user_->steps.push_back([this, path, accept](QDialog& d) {
        auto* dialog = qobject_cast<QFileDialog*>(&d);
        ASSERT_NE(dialog, nullptr) << "a file dialog";
        const QStringList offered = dialog->selectedFiles();
        lastDialog = {dialog->acceptMode(),
                      cQtConvert::FromQString(dialog->directory().absolutePath()) + "/",
                      offered.isEmpty() ? "" : cQtConvert::FromQString(offered.front()),
                      dialog->nameFilters(), cQtConvert::FromQString(dialog->defaultSuffix())};
        if (!accept) {
            dialog->reject();
            return;
        }
        dialog->selectFile(cQtConvert::ToQString(path));
        // Accepted as the dialog's button would, without its own questions about the name.
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
}

void DocumentsFixture::makeNew(const std::string& set, int lanes)
{
    answerNew(set, lanes);
    run("FILE.NEW");
    ASSERT_NE(zvLib::Circuit(), nullptr);
}

void DocumentsFixture::change()
{
    std::string append = "ITEM.APPEND.CL32:AS1";
    zvLib::ExecCommand(append);
}

std::string DocumentsFixture::sample(const std::string& name)
{
    const std::string to = docs() + name;
    std::filesystem::copy_file(std::string(ZORV_SOURCE_DIR) + "/resources/samples/" + name, to,
                               std::filesystem::copy_options::overwrite_existing);
    return to;
}

std::vector<std::string> DocumentsFixture::run(std::string command)
{
    user_->messages.clear();
    zvLib::ExecCommand(command);
    return user_->messages;
}

} // namespace apptest
