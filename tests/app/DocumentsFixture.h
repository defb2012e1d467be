// What the document tests share: the piece table, a main window on screen (with the program's
// own user interface for the model), a documents folder with circuit files from the samples,
// and steps for the scripted user at the start page and the file dialogs.
#pragma once

#include "AppTest.h"

#include <QFileDialog>

#include <string>

class frmMain;

namespace apptest {

class DocumentsFixture : public AppFixture {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The main window, loaded, prepared in mode "NEW" and shown.
    frmMain& mainWindow();
    // The circuit folder of the documents (made).
    std::string docs() const { return documentsDir() + "Zorv/"; }
    // Queues the start page's answer: a new circuit of the set with 2, 4, 6 or 8 lanes.
    void answerNew(const std::string& set, int lanes);
    // Queues a file dialog's answer: the path typed and accepted, or Cancel. What the dialog
    // offered is kept in lastDialog.
    void answerFile(const std::string& path, bool accept = true);
    // Queues a file dialog closed with Cancel.
    void answerCancel() { answerFile({}, false); }
    // A new circuit made through FILE.NEW with the start page answered.
    void makeNew(const std::string& set = "CL32", int lanes = 2);
    // Appends a straight through the dispatcher: the circuit changes.
    void change();
    // Copies a sample circuit into the documents; its full path.
    std::string sample(const std::string& name = "club-oval.zv6");
    // Runs a command and returns the messages it showed.
    std::vector<std::string> run(std::string command);

    // What the last file dialog offered.
    struct DialogSeen {
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        std::string folder; // ends with "/"
        std::string selected;
        QStringList filters;
        std::string suffix;
    } lastDialog;
};

} // namespace apptest
