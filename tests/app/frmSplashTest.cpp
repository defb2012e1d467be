// The start dialog: the language chooser on first run and later, the start page's lane
// options, its file list and buttons, closing a page by its frame, and the splash.
#include "AppTest.h"

#include "app/core/zvLib_settings.h"
#include "app/core/zvLib_stock.h"
#include "app/frmSplash.h"
#include "app/zvLib_shell.h"
#include "foundation/zvLang.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using apptest::AppFixture;
using apptest::ChooseData;
using apptest::Click;
using testsupport::writeAll;

namespace {

class frmSplashTest : public AppFixture {
  protected:
    frmSplash& splash() { return zvLib::Splash(); }
};

std::vector<std::string> entries(QComboBox* box)
{
    std::vector<std::string> texts;
    for (int i = 0; i < box->count(); ++i) {
        texts.push_back(box->itemText(i).toStdString());
    }
    return texts;
}

TEST_F(frmSplashTest, FirstRunChooserIsInEnglishWithSpanishFirst)
{
    std::vector<std::string> list;
    std::string legend;
    std::string chosen;
    user_->steps.push_back([&](QDialog& d) {
        auto* box = d.findChild<QComboBox*>("cboLang");
        list = entries(box);
        chosen = box->currentData().toString().toStdString();
        legend = d.findChild<QLabel*>("lblLegend")->text().toStdString();
        ChooseData(d, "cboLang", "EN");
        Click(d, "cmd(3)");
    });
    EXPECT_EQ(splash().getLanguage(), "EN");
    EXPECT_EQ(list, (std::vector<std::string>{"Español", "Français", "English", "Italiano"}));
    EXPECT_EQ(chosen, "ES");
    EXPECT_EQ(legend, "Please select the language you wish to run Zorv.");
    EXPECT_EQ(user_->dialogs.back(), "Select language");
    EXPECT_FALSE(splash().isVisible());

    user_->steps.push_back([](QDialog& d) { Click(d, "cmd(98)"); });
    EXPECT_EQ(splash().getLanguage(), "");
    EXPECT_EQ(splash().ret_scode, "");
    // Closing the chooser by its frame is a cancel too.
    user_->steps.push_back([](QDialog& d) { ChooseData(d, "cboLang", "FR"); });
    EXPECT_EQ(splash().getLanguage(), "");
}

TEST_F(frmSplashTest, ChooserShowsTheCurrentLanguageInItsOwnWords)
{
    useLanguage("FR");
    std::string chosen;
    std::string cancel;
    user_->steps.push_back([&](QDialog& d) {
        chosen = d.findChild<QComboBox*>("cboLang")->currentData().toString().toStdString();
        cancel = d.findChild<QPushButton*>("cmd(98)")->text().toStdString();
        Click(d, "cmd(3)");
    });
    EXPECT_EQ(splash().getLanguage(), "FR");
    EXPECT_EQ(chosen, "FR");
    EXPECT_EQ(user_->dialogs.back(), "Choisir la langue");
    EXPECT_EQ(cancel, zvLang::Translate("$cmd.cancel"));
}

TEST_F(frmSplashTest, NewRemembersTheLanesChosen)
{
    useLanguage("EN");
    writeSettings("[options]\nLast_Tkn=9\n");
    bool firstChecked = false;
    user_->steps.push_back([&](QDialog& d) {
        firstChecked = d.findChild<QRadioButton*>("opt(0)")->isChecked();
        d.findChild<QRadioButton*>("opt(2)")->setChecked(true);
        Click(d, "cmd(1)");
    });
    splash().setMode(frmSplash::kStartPage);
    EXPECT_TRUE(firstChecked) << "a lane option out of range gives the first";
    EXPECT_EQ(splash().ret_action, "NEW");
    EXPECT_EQ(splash().ret_lanes, 6);
    EXPECT_EQ(splash().ret_angle, -180);
    EXPECT_EQ(zvLib::GetSetting("Zorv", "options", "Last_Tkn"), "2");

    bool thirdChecked = false;
    user_->steps.push_back([&](QDialog& d) {
        thirdChecked = d.findChild<QRadioButton*>("opt(2)")->isChecked();
        Click(d, "cmd(99)");
    });
    splash().setMode(frmSplash::kStartPage);
    EXPECT_TRUE(thirdChecked);
    EXPECT_EQ(splash().ret_action, "CANCEL");
    EXPECT_EQ(splash().ret_lanes, 6) << "the answers of the last use stay";
}

TEST_F(frmSplashTest, LastSetIsOfferedAgainWhileItExists)
{
    useLanguage("EN");
    const std::string list = zvLib::GetSetList();
    const std::string second = list.substr(list.find(';') + 1, list.find(';', list.find(';') + 1) -
                                                                  list.find(';') - 1);
    writeSettings("[options]\nLast_Def=" + second + "\n");
    std::string offered;
    user_->steps.push_back([&](QDialog& d) {
        offered = d.findChild<QComboBox*>("cbo")->currentText().toStdString();
        Click(d, "cmd(1)");
    });
    splash().setMode(frmSplash::kStartPage);
    EXPECT_EQ(offered, second);
    EXPECT_EQ(splash().ret_scode, second);

    writeSettings("[options]\nLast_Def=GONE\n");
    user_->steps.push_back([&](QDialog& d) {
        offered = d.findChild<QComboBox*>("cbo")->currentText().toStdString();
        d.findChild<QComboBox*>("cbo")->setCurrentIndex(2);
        Click(d, "cmd(1)");
    });
    splash().setMode(frmSplash::kStartPage);
    EXPECT_EQ(offered + ";", list.substr(0, list.find(';') + 1)) << "the first set";
    EXPECT_EQ(splash().ret_scode + ";", list.substr(list.rfind(';', list.size() - 2) + 1));
    EXPECT_EQ(zvLib::GetSetting("Zorv", "options", "Last_Def"), splash().ret_scode);
}

TEST_F(frmSplashTest, OpenNeedsAFileOfTheDocumentsFolder)
{
    useLanguage("EN");
    for (const char* name : {"b.zv6", "a.zv5", "c.ZVD", "notes.txt", ".hidden.zv5"}) {
        writeAll(documentsDir() + name, "<zorv/>");
    }
    std::vector<std::string> files;
    bool stillOpen = false;
    user_->steps.push_back([&](QDialog& d) {
        auto* fil = d.findChild<QListWidget*>("fil");
        for (int i = 0; i < fil->count(); ++i) {
            files.push_back(fil->item(i)->text().toStdString());
        }
        Click(d, "cmd(0)");
        stillOpen = d.isVisible();
        fil->setCurrentRow(1);
        Click(d, "cmd(0)");
    });
    splash().setMode(frmSplash::kStartPage);
    EXPECT_EQ(files, (std::vector<std::string>{"a.zv5", "b.zv6", "c.ZVD"}));
    EXPECT_TRUE(stillOpen) << "open without a file does nothing";
    EXPECT_EQ(splash().ret_action, "OPEN");
    EXPECT_EQ(splash().ret_file, documentsDir() + "b.zv6");
    EXPECT_EQ(user_->dialogs.back(), zvLang::Translate("$splash.caption.new"));

    // Closing the page by its frame is a cancel.
    user_->steps.push_back([](QDialog&) {});
    splash().setMode(frmSplash::kStartPage);
    EXPECT_EQ(splash().ret_action, "CANCEL");
    EXPECT_EQ(splash().ret_scode, "");
}

TEST_F(frmSplashTest, SplashIsShownWithoutWaiting)
{
    useLanguage("EN");
    splash().setMode(frmSplash::kSplash);
    EXPECT_TRUE(splash().isVisible());
    EXPECT_FALSE(splash().isModal());
    EXPECT_EQ(splash().Page(), frmSplash::kSplash);
    EXPECT_TRUE(user_->dialogs.empty());
    splash().setMode(7);
    EXPECT_FALSE(splash().isVisible());
    EXPECT_EQ(splash().Page(), -1);
}

} // namespace
