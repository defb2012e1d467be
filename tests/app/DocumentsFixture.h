// What the document tests share: a user interface that routes set loading to the program's
// own, a main window on screen, a documents folder with a circuit file from the samples, and
// steps for the scripted user at the start page and the file dialogs.
#pragma once

#include "AppTest.h"

#include "model/zvUI.h"

#include <QFileDialog>

#include <memory>
#include <string>

class frmMain;

namespace apptest {

// The user interface the model talks to in these tests: set loading is the program's, the
// view window is kept, messages go to the scripted user, nothing is drawn.
class DocumentsUI : public zvUI {
  public:
    void ClipboardClear() override {}
    void ClipboardSetText(const std::string&) override {}
    std::string ClipboardGetText() override { return {}; }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override
    {
        return std::nullopt;
    }
    int MsgBox(const std::string& text, int style, const std::string& title) override;
    void SetStatus(const std::string& text, bool beep) override;
    zvViewRect GetViewRect() override { return view; }
    void SetViewRect(const zvViewRect& rect) override { view = rect; }
    void DrawGrid() override {}
    void DrawCross() override {}
    std::int16_t LoadSet(const std::string& setCode) override;

    zvViewRect view;
};

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
    // Queues a file dialog's answer: the path typed and accepted. The dialog is kept in
    // `lastDialog`'s fields for the test to look at.
    void answerFile(const std::string& path);
    // Queues a file dialog closed with Cancel.
    void answerCancel();
    // A new circuit made through FILE.NEW with the start page answered.
    void makeNew(const std::string& set = "CL32", int lanes = 2);
    // Appends a straight to the current track and records the change as an undo state.
    void change();
    // Copies a sample circuit into the documents; its full path.
    std::string sample(const std::string& name = "club-oval.zv6");
    // Runs a command and returns the messages it showed.
    std::vector<std::string> run(std::string command);

    // What the last file dialog offered.
    struct DialogSeen {
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        std::string folder;
        std::string selected;
        QStringList filters;
        std::string suffix;
    } lastDialog;
    std::shared_ptr<DocumentsUI> ui_;
};

} // namespace apptest
