// What the application tests share: the Qt application, a scripted user standing in at
// message boxes and modal dialogs, and a fixture that gives each test its own user folders
// (home, data, documents, temporary) and a program folder holding a copy of the data files.
#pragma once

#include "app/zvModal.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace apptest {

// The test program's QApplication: the program's own class, as the program runs under it.
QApplication& App();

// Answers in place of the user: message boxes with queued answers (OK when none is queued),
// modal dialogs with queued steps (closed as by the frame when none is queued). Records what
// it was shown.
class ScriptedUser : public zvModalScript {
  public:
    int MsgBox(const std::string& text, int style, const std::string& title) override;
    void Answer(QDialog& dialog) override;

    // Answers for the next message boxes.
    std::deque<int> answers;
    // Steps for the next dialogs, one each.
    std::deque<std::function<void(QDialog&)>> steps;
    // The texts, styles and titles of the message boxes shown.
    std::vector<std::string> messages;
    std::vector<int> styles;
    std::vector<std::string> titles;
    // The window title of each dialog shown.
    std::vector<std::string> dialogs;
};

// Clicks the push button of that object name in the dialog; fails the test when missing.
void Click(QDialog& dialog, const char* name);
// Chooses the entry of a combo box (found by object name) whose data is the text.
void ChooseData(QDialog& dialog, const char* combo, const char* data);

// Every test gets user folders of its own through the environment, a program folder with
// copies of the data files and its catalogue open, and a scripted user; windows and state are
// cleared afterwards.
class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The program folder (ends with "/").
    std::string programDir() const { return root_->dir() + "program/"; }
    // The data folder start-up makes ("NUX/Zorv/" under the data home).
    std::string dataDir() const { return root_->dir() + "data/NUX/Zorv/"; }
    // The documents folder of the user.
    std::string documentsDir() const { return root_->dir() + "documents/"; }
    // The temporary folder of the user.
    std::string tempDir() const { return root_->dir() + "tmp/"; }
    // Writes a settings file into the data folder.
    void writeSettings(const std::string& ini);
    // Loads the language table of the program folder in a language.
    void useLanguage(const char* code);

    std::unique_ptr<testsupport::TempDir> root_;
    std::shared_ptr<ScriptedUser> user_;

  private:
    std::map<std::string, std::optional<std::string>> savedEnv_;
};

} // namespace apptest
