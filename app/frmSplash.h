// frmSplash: the start dialog, one window with four pages: the splash shown while the program
// starts (modeless), the start page offering a new circuit or a file to open, the about page
// and the language chooser (all three modal). Every use starts from freshly built pages; the
// answers stay in the ret_ variables until the next answer.
#pragma once

#include <QDialog>

#include <cstdint>
#include <map>
#include <string>

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTextEdit;

class frmSplash : public QDialog {
    Q_OBJECT
  public:
    // Modes of setMode.
    static constexpr int kSplash = 0;
    static constexpr int kStartPage = 1;
    static constexpr int kAbout = 2;
    // The languages offered, in the order they are put at the top of the chooser's list.
    static constexpr const char* kLanguages = "IT;EN;FR;ES";

    // The dialog, not shown and with no page built.
    explicit frmSplash(QWidget* parent = nullptr);

    // "NEW", "OPEN" or "CANCEL".
    std::string ret_action;
    // The set chosen for a new circuit; the language code chosen in the chooser; "" after a
    // cancel.
    std::string ret_scode;
    // The lanes of a new circuit: 2, 4, 6 or 8.
    std::int16_t ret_lanes = 0;
    // The start heading of a new circuit: -180.
    std::int16_t ret_angle = 0;
    // The circuit file to open: its folder and name.
    std::string ret_file;

    // Shows a page: 0 the splash (modeless, returns at once), 1 the start page, 2 the about
    // page (both modal); any other mode only lets pending window events run.
    void setMode(int mode);
    // Shows the language chooser and returns the code chosen, "" when cancelled.
    std::string getLanguage();
    // Kept for callers that prepare the chooser; it has nothing to do.
    void init_Lang() {}
    // A button of the pages by its index: 0 open, 1 new, 2 about's OK, 3 language OK, 98 and
    // 99 cancel. Every index below 100 but an open without a file closes the page.
    void cmd_Click(int index);
    // Clicks on the links: imgSplash(1), lbl(99) and lblNux open the maker's web site; other
    // indexes do nothing.
    void imgSplash_Click(int index);
    void lbl_Click(int index);
    void lblNux_Click();
    // Hides the dialog and throws its pages away.
    void Unload();
    // The page shown: 0 to 3, -1 for none.
    int Page() const { return page_; }

  protected:
    // Closing the window or Escape answers as the page's cancel button does.
    void reject() override;

  private:
    void Load();
    void LayOut(int width, int height);
    void DrawStrip(int width, int height);
    void BuildSplashPage();
    void BuildStartPage();
    void BuildAboutPage();
    void BuildLanguagePage();
    void PrepareStartPage();
    void PrepareAboutPage();
    void FillFileList();
    QPushButton* AddButton(QWidget* parent, int index, const QString& caption);
    void ChooseNew();

    int page_ = -1;
    QWidget* content_ = nullptr; // every control of the pages; rebuilt by each use
    QLabel* img_ = nullptr;
    QFrame* fra_[4] = {};
    QComboBox* cbo_ = nullptr;
    QListWidget* fil_ = nullptr;
    QRadioButton* opt_[4] = {};
    std::string filFolder_;
    QLabel* lblAbout4_ = nullptr;
    QTextEdit* txtCredits_ = nullptr;
    QComboBox* cboLang_ = nullptr;
    QLabel* lblLegend_ = nullptr;
    std::map<int, QPushButton*> cmd_;
};

namespace zvLib {

// The program's start dialog, made and loaded on first use.
frmSplash& Splash();

} // namespace zvLib
