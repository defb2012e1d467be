// Start-up: the command line, the first run's language question, the files moved into the
// data folder, the folders made, and every way start-up ends with its message and status.
#include "app/zvStartup.h"

#include "AppTest.h"
#include "app/core/zvLib_settings.h"
#include "app/core/zvLib_stock.h"
#include "app/zvLib_shell.h"
#include "app/zvLib_update.h"
#include "foundation/cError.h"
#include "foundation/cNET.h"
#include "foundation/zvBlob.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "model/zvPieceRecord.h"
#include "model/zvUI.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using apptest::AppFixture;
using apptest::ChooseData;
using apptest::Click;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

namespace fs = std::filesystem;

TEST(CommandLine, EachArgumentIsTakenAsItArrives)
{
    using Args = std::vector<std::string>;
    const struct {
        Args args;
        int width;
        int height;
        std::string file;
    } cases[] = {
        {{}, 0, 0, ""},
        {{"-s:1024x768"}, 1024, 768, ""},
        {{"-s:800x600", "/t/a.zv6"}, 800, 600, "/t/a.zv6"},
        {{"/t/a.zv6", "-s:800x600"}, 800, 600, "/t/a.zv6"},
        {{"x y.zv6", "-S:640X480"}, 640, 480, "x y.zv6"},
        {{"-s:"}, 0, 0, ""},
        {{"-s:800"}, 0, 0, ""},                          // one part gives no size
        {{"-s:800.5x600.5wide", "c.zvd"}, 800, 600, "c.zvd"}, // halves to even
        {{"-s:wx600", "-s:1x1"}, 0, 600, ""},            // the first token counts
        {{"-s:-800x600"}, 0, 0, ""},                     // a negative size: maximised
        // Names are kept byte for byte: quotes, blanks at either end, "-s:" inside a name.
        {{"/t/a\"b.zv6"}, 0, 0, "/t/a\"b.zv6"},
        {{"\"/t/q.zv6\""}, 0, 0, "\"/t/q.zv6\""},
        {{"/t/lap-s:800x600.zv6"}, 0, 0, "/t/lap-s:800x600.zv6"},
        {{"/t/lap-S:1x1.zv6"}, 0, 0, "/t/lap-S:1x1.zv6"},
        {{"/t/b.zv6 "}, 0, 0, "/t/b.zv6 "},
        {{" a.zv6"}, 0, 0, " a.zv6"},
        {{"-s:1x1 a.zv6"}, 0, 0, "-s:1x1 a.zv6"}, // not wholly a size token
        {{"/t/two", "parts.zv6", "-s:9x9"}, 9, 9, "/t/two parts.zv6"},
        {{"", "a.zv6"}, 0, 0, " a.zv6"},
    };
    for (const auto& k : cases) {
        std::string shown;
        for (const std::string& a : k.args) {
            shown += "[" + a + "]";
        }
        const zvLib::zvCommandLine c = zvLib::ParseCommandLine(k.args);
        EXPECT_EQ(c.width, k.width) << shown;
        EXPECT_EQ(c.height, k.height) << shown;
        EXPECT_EQ(c.file, k.file) << shown;
    }
}

class StartupTest : public AppFixture {
  protected:
    std::optional<int> start(const std::vector<std::string>& args = {}) { return zvLib::Main(args); }
};

TEST_F(StartupTest, FirstRunCancelledEndsWithoutAWord)
{
    user_->steps.push_back([](QDialog& d) { Click(d, "cmd(98)"); });
    EXPECT_EQ(start(), std::optional<int>(zvLib::kExitOK));
    EXPECT_EQ(user_->dialogs, std::vector<std::string>{"Select language"});
    EXPECT_TRUE(user_->messages.empty());
    EXPECT_FALSE(fs::exists(dataDir() + "Zorv.ini")) << "nothing saved";
    EXPECT_TRUE(fs::is_directory(dataDir()));
    EXPECT_EQ(zvLib::Form(zvForm::frmMain), nullptr);
}

TEST_F(StartupTest, FilesLeftInTheProgramFolderMoveToTheDataFolder)
{
    writeSettings("[Options]\nLangID=FR\n");
    writeAll(programDir() + "Zorv.ini", "[Options]\nLangID=IT\n");
    writeAll(programDir() + "user.def", "[S.STOCK]\nA=3\n");
    start();
    EXPECT_FALSE(fs::exists(programDir() + "Zorv.ini"));
    EXPECT_FALSE(fs::exists(programDir() + "user.def"));
    EXPECT_EQ(readAll(dataDir() + "user.def"), "[S.STOCK]\nA=3\n");
    EXPECT_EQ(zvLang::LangID(), "IT") << "the moved settings replace the old ones";
    EXPECT_EQ(zvLib::IniFile, dataDir() + "Zorv.ini");
    EXPECT_EQ(zvLib::UserFile, dataDir() + "user.def");
    EXPECT_EQ(zvLib::DocsFolder, documentsDir() + "Zorv/");
    EXPECT_EQ(zvLib::ExportFolder, documentsDir() + "Zorv/Export/");
    EXPECT_EQ(zvLib::TempFolder, tempDir() + "Zorv-" + std::to_string(geteuid()) + "/");
    EXPECT_TRUE(fs::is_directory(zvLib::ExportFolder));
    EXPECT_TRUE(fs::is_directory(zvLib::TempFolder));
}

TEST_F(StartupTest, MissingLanguageFileEndsWithItsMessage)
{
    writeSettings("[Options]\nLangID=EN\nGridWidth=250\n");
    const std::string before = readAll(dataDir() + "Zorv.ini");
    fs::remove(programDir() + "Zorv.lng");
    EXPECT_EQ(start(), std::optional<int>(zvLib::kExitNoLanguageFile));
    ASSERT_EQ(user_->messages.size(), 1u);
    EXPECT_EQ(user_->messages[0].rfind("Language file missing or corrupt, please reinstall "
                                       "Zorv.\r\n\r\nError code:",
                                       0),
              0u);
    EXPECT_GT(user_->messages[0].size(), 70u) << "the error number follows";
    EXPECT_EQ(user_->styles[0], 16);
    EXPECT_EQ(user_->titles[0], "Zorv");
    EXPECT_EQ(readAll(dataDir() + "Zorv.ini"), before) << "the settings are left as they were";
    EXPECT_EQ(zvLib::Form(zvForm::frmMain), nullptr);
}

TEST_F(StartupTest, ProgramStartsInModeNewAndOffersTheStartPage)
{
    writeSettings("[Options]\nLangID=it\nShowKerbs=-1\n");
    std::vector<std::string> sets;
    user_->steps.push_back([&](QDialog& d) {
        auto* cbo = d.findChild<QComboBox*>("cbo");
        for (int i = 0; i < cbo->count(); ++i) {
            sets.push_back(cbo->itemText(i).toStdString());
        }
        Click(d, "cmd(99)");
    });
    EXPECT_EQ(start(), std::nullopt) << "the program goes on in the event loop";
    EXPECT_EQ(zvLang::LangID(), "IT");
    EXPECT_EQ(user_->dialogs, std::vector<std::string>{zvLang::Translate("$splash.caption.new")});
    EXPECT_EQ(sets.size(), 3u);
    EXPECT_EQ(zvLib::GetSetList(), sets[0] + ";" + sets[1] + ";" + sets[2] + ";");
    EXPECT_TRUE(user_->messages.empty());
    auto* main = qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->isMaximized());
    EXPECT_EQ(main->windowTitle().toStdString(), "NUX Zorv");
    QWidget* splash = zvLib::Form(zvForm::frmSplash);
    EXPECT_TRUE(splash == nullptr || !splash->isVisible()) << "the splash is gone";
    EXPECT_FALSE(main->abr.Band("mnuEdit").Tool("undo").Enabled());
    EXPECT_EQ(main->abr.Band("sbr").Tool("pnlstatus").Caption(), "Pronto");
    EXPECT_EQ(main->abr.Band("tbr").Tool("cboSet").ListCount(), 3);
    EXPECT_FALSE(zvLib::ShowKerbs) << "kerbs are never shown outside development mode";
    EXPECT_FALSE(main->abr.Band("tbr").Tool("kerbs").Visible());
    EXPECT_FALSE(main->abr.Band("tbr").Tool("kerbs").Checked());
    EXPECT_FALSE(main->abr.Band("tbr").Tool("ruler").Visible());
    EXPECT_TRUE(main->abr.Band("tbr").Tool("grid").Checked()) << "the options were loaded";
    EXPECT_FALSE(zvLib::PieceTable.empty());
}

TEST_F(StartupTest, PieceIconsAreWrittenToTheTemporaryFolder)
{
    writeSettings("[Options]\nLangID=EN\n");
    start();
    ASSERT_FALSE(zvLib::PieceTable.empty());
    for (const zvPieceRecord& r : zvLib::PieceTable) {
        const QImage icon(QString::fromStdString(zvLib::TempFolder + r.itemID + ".bmp"));
        EXPECT_FALSE(icon.isNull()) << r.setID << ":" << r.itemID;
    }
}

TEST_F(StartupTest, ASharedTemporaryFolderOfSomeoneElseIsPassedOverForAPrivateOne)
{
    writeSettings("[Options]\nLangID=EN\n");
    // Another user of the machine made the folders first: owned by someone else where the
    // test may give them away, else open for everyone to write.
    const std::vector<std::string> foreign = {tempDir() + "Zorv",
                                              tempDir() + "Zorv-" + std::to_string(geteuid())};
    for (const std::string& folder : foreign) {
        fs::create_directory(folder);
        if (geteuid() != 0 || chown(folder.c_str(), 12345, 12345) != 0) {
            chmod(folder.c_str(), 0777);
        } else {
            chmod(folder.c_str(), 0755);
        }
    }
    start();
    EXPECT_TRUE(user_->messages.empty()) << user_->messages.front();
    for (const std::string& folder : foreign) {
        EXPECT_NE(zvLib::TempFolder, folder + "/");
    }
    struct stat st {};
    ASSERT_EQ(lstat(zvLib::TempFolder.c_str(), &st), 0) << zvLib::TempFolder;
    EXPECT_EQ(st.st_uid, geteuid());
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_FALSE(zvLib::PieceTable.empty());
    for (const zvPieceRecord& r : zvLib::PieceTable) {
        EXPECT_FALSE(QImage(QString::fromStdString(zvLib::TempFolder + r.itemID + ".bmp")).isNull())
            << r.itemID;
    }
}

TEST_F(StartupTest, WithoutWebAddressesAStartReachesForNoNetwork)
{
    writeSettings("[Options]\nLangID=EN\n");
    zvLib::UpdateSite.clear();
    zvLib::MakerSite.clear();
    zvLib::DistributorSite.clear();
    const int64_t before = cNET::RequestCount();
    start();
    EXPECT_EQ(cNET::RequestCount(), before);
    auto* main = qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(main->abr.Band("mnuHelp").Tool("web.nux").Visible());
    EXPECT_FALSE(main->abr.Band("mnuHelp").Tool("web.trasken").Visible());
    EXPECT_TRUE(main->abr.Band("mnuHelp").Tool("about").Visible());
}

TEST_F(StartupTest, AnUnknownFieldTypeReachesTheUserOnce)
{
    writeSettings("[Options]\nLangID=EN\n");
    start();
    const std::size_t before = user_->messages.size();
    for (int row = 0; row < 3; ++row) {
        zvBlob::FldValue(cField("icona", 20));
    }
    ASSERT_EQ(user_->messages.size(), before + 1);
    EXPECT_EQ(user_->messages.back(), "Tipo non definito in FldValue : icona  20");
}

TEST_F(StartupTest, CommandLineSizesTheWindowAndNamesTheFile)
{
    writeSettings("[Options]\nLangID=EN\n");
    writeAll(documentsDir() + "oval track.zv6",
             "<zorv><circuit><set>CL32;</set><tracks>1</tracks><angle>0</angle><name>Oval</name>"
             "<description></description><items><track-1>CL32:AS1;</track-1></items>"
             "</circuit></zorv>");
    EXPECT_EQ(start({documentsDir() + "oval track.zv6", "-s:720x540"}), std::nullopt);
    EXPECT_TRUE(user_->dialogs.empty()) << "a named file is opened instead of the start page";
    EXPECT_EQ(zvLib::CurrentFile, "oval track.zv6");
    ASSERT_NE(zvLib::Circuit(), nullptr);
    EXPECT_EQ(zvLib::Circuit()->Name(), "Oval");
    auto* main = zvLib::Form(zvForm::frmMain);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(main->isMaximized());
    EXPECT_EQ(main->size(), QSize(720, 540));
}

TEST_F(StartupTest, ACommandLineNameOpensTheVeryFileItNamesNotItsLookAlike)
{
    writeSettings("[Options]\nLangID=EN\n");
    const auto circuit = [](const std::string& name) {
        return "<zorv><circuit><set>CL32;</set><tracks>1</tracks><angle>0</angle><name>" + name +
               "</name><description></description><items><track-1>CL32:AS1;</track-1></items>"
               "</circuit></zorv>";
    };
    // Each name beside the file that a changed name would reach instead.
    const struct {
        std::string named;
        std::string lookAlike;
    } cases[] = {
        {"a\"b.zv6", "ab.zv6"},
        {"b.zv6 ", "b.zv6"},
        {"lap-s:800x600.zv6", "lap.zv6"},
    };
    for (const auto& k : cases) {
        writeAll(documentsDir() + k.named, circuit("Named"));
        writeAll(documentsDir() + k.lookAlike, circuit("Look-alike"));
    }
    for (const auto& k : cases) {
        EXPECT_EQ(start({documentsDir() + k.named}), std::nullopt);
        EXPECT_TRUE(user_->messages.empty()) << k.named;
        ASSERT_NE(zvLib::Circuit(), nullptr);
        EXPECT_EQ(zvLib::Circuit()->Name(), "Named") << k.named;
        EXPECT_EQ(zvLib::CurrentFile, k.named);
        auto* main = zvLib::Form(zvForm::frmMain);
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(main->isMaximized()) << "no size was taken out of the name";
    }
}

TEST_F(StartupTest, ACommandLineSizeBeyondTheScreenIsKeptOnTheWorkArea)
{
    writeSettings("[Options]\nLangID=EN\n");
    user_->steps.push_back([](QDialog& d) { Click(d, "cmd(99)"); });
    EXPECT_EQ(start({"-s:4000x3000"}), std::nullopt);
    auto* main = zvLib::Form(zvForm::frmMain);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(main->isMaximized());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(main->width(), area.width());
    EXPECT_LE(main->height(), area.height());
    EXPECT_TRUE(area.contains(main->frameGeometry())) << "its frame too";
    EXPECT_GE(main->width(), main->minimumSizeHint().width());
}

TEST_F(StartupTest, TheRestoredWindowOfANewCircuitShowsItsCanvasAndItemBar)
{
    writeSettings("[Options]\nLangID=EN\n");
    user_->steps.push_back([](QDialog& d) { Click(d, "cmd(1)"); }); // New on the start page
    EXPECT_EQ(start(), std::nullopt);
    auto* main = qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
    ASSERT_NE(main, nullptr);
    ASSERT_NE(zvLib::Circuit(), nullptr);
    ASSERT_TRUE(main->isMaximized());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    main->showNormal(); // the window manager's restore
    QCoreApplication::processEvents();
    const QRect normal = main->geometry();
    EXPECT_GE(normal.width(), area.width() * 2 / 3) << "about three quarters of the work area";
    EXPECT_GE(normal.height(), area.height() * 2 / 3);
    EXPECT_TRUE(area.contains(normal)) << "on the work area";
    EXPECT_GE(normal.width(), main->minimumSizeHint().width());
    EXPECT_GE(normal.height(), main->minimumSizeHint().height());
    const cBarRect client = main->abr.ClientArea();
    EXPECT_GE(client.width, 2000) << "the canvas is laid out";
    EXPECT_GE(client.height, 2000);
    EXPECT_GT(main->pic->height(), 100);
    EXPECT_GT(main->pic->width(), 100);
}

TEST_F(StartupTest, ACommandLineFileThatCannotBeOpenedIsSaidAndTheStartPageFollows)
{
    writeSettings("[Options]\nLangID=EN\n");
    const std::string missing = documentsDir() + "missing.zv6";
    const std::string notes = documentsDir() + "notes.zv6";
    writeAll(notes, "<zorv><circuit>half a file");
    const struct {
        std::string file;
        std::string message;
    } cases[] = {
        {missing, "The file " + missing + " cannot be found."},
        {notes, "This file is not a valid Zorv circuit and cannot be opened."},
    };
    for (const auto& k : cases) {
        user_->messages.clear();
        user_->dialogs.clear();
        user_->steps.push_back([](QDialog& d) { Click(d, "cmd(99)"); });
        EXPECT_EQ(start({k.file}), std::nullopt);
        EXPECT_EQ(user_->messages, std::vector<std::string>{k.message}) << k.file;
        EXPECT_EQ(user_->dialogs, std::vector<std::string>{"New circuit"})
            << "the start page, as without a file";
        EXPECT_TRUE(user_->steps.empty());
        EXPECT_EQ(zvLib::CurrentFile, "");
    }
}

TEST_F(StartupTest, AnErrorInAWindowEventIsShownAndTheProgramGoesOn)
{
    // A window whose resize handler raises, as a view conversion beyond its range would.
    class Failing : public QWidget {
      protected:
        void resizeEvent(QResizeEvent*) override { throw cError(6, "zvLib", "Overflow"); }
    };
    Failing window;
    QResizeEvent resize(QSize(700, 900), QSize(1024, 768));
    EXPECT_NO_THROW(QApplication::sendEvent(&window, &resize)) << "the error never reaches Qt";
    ASSERT_EQ(user_->messages, std::vector<std::string>{"Overflow"});
    EXPECT_EQ(user_->styles.back(), vbMsg::Critical) << "as the dispatcher shows an error";
    QResizeEvent again(QSize(800, 600), QSize(700, 900));
    EXPECT_NO_THROW(QApplication::sendEvent(&window, &again));
    EXPECT_EQ(user_->messages.size(), 2u) << "each error is shown, the program goes on";
}

TEST_F(StartupTest, FirstRunChoiceIsTheLanguageOfTheMessages)
{
    user_->steps.push_back([](QDialog& d) {
        ChooseData(d, "cboLang", "ES");
        Click(d, "cmd(3)");
    });
    fs::remove(programDir() + "zorv.htt");
    EXPECT_EQ(start(), std::optional<int>(zvLib::kExitNoReportTemplate));
    EXPECT_EQ(zvLang::LangID(), "ES");
    EXPECT_EQ(user_->messages, std::vector<std::string>{zvLang::Translate("$msg.nohtt")});
    EXPECT_EQ(user_->styles.back(), 16);
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Options", "LangID"), "ES")
        << "the options were loaded, so ending saves them";
    EXPECT_TRUE(zvLib::ProgramEnded());
    EXPECT_EQ(zvLib::Form(zvForm::frmMain), nullptr);
}

TEST_F(StartupTest, CatalogueWithoutOfferedPiecesEndsWithItsMessage)
{
    writeSettings("[Options]\nLangID=FR\n");
    std::string catalogue = readAll(programDir() + "Zorv.dat");
    for (std::size_t at = catalogue.find("flgOnline=\"1\""); at != std::string::npos;
         at = catalogue.find("flgOnline=\"1\"", at)) {
        catalogue.replace(at, 13, "flgOnline=\"0\"");
    }
    writeAll(programDir() + "Zorv.dat", catalogue);
    EXPECT_EQ(start(), std::optional<int>(zvLib::kExitNoSets));
    EXPECT_EQ(user_->messages, std::vector<std::string>{zvLang::Translate("$msg.nodef")});
    EXPECT_EQ(user_->messages[0].find("[TODO]"), std::string::npos);
}

TEST_F(StartupTest, ManyBadCatalogueRowsGiveAMessageThatFitsTheScreen)
{
    writeSettings("[Options]\nLangID=EN\n");
    std::string catalogue = readAll(programDir() + "Zorv.dat");
    int spoiled = 0;
    for (const std::string set : {"GT24", "MINI43"}) {
        const std::string row = "setID=\"" + set + "\" itemID=\"";
        for (std::size_t at = catalogue.find(row); at != std::string::npos;
             at = catalogue.find(row, at + 1)) {
            catalogue.insert(at + row.size(), ";");
            ++spoiled;
        }
    }
    ASSERT_GT(spoiled, 20);
    writeAll(programDir() + "Zorv.dat", catalogue);
    start();
    ASSERT_EQ(user_->messages.size(), 1u) << "the rows left out are listed once";
    const std::string& text = user_->messages[0];
    EXPECT_LE(std::count(text.begin(), text.end(), '\n'), 12) << text;
    EXPECT_NE(text.find("and " + std::to_string(spoiled - 12) + " more"), std::string::npos)
        << text;
}

TEST_F(StartupTest, UnreadableCatalogueEndsWithItsMessage)
{
    writeSettings("[Options]\nLangID=EN\n");
    writeAll(programDir() + "Zorv.dat", "not a table");
    EXPECT_EQ(start(), std::optional<int>(zvLib::kExitNoCatalogue));
    ASSERT_EQ(user_->messages.size(), 1u);
    EXPECT_EQ(user_->messages[0].rfind("The catalogue Zorv.dat cannot be read", 0), 0u);
    EXPECT_EQ(user_->styles[0], 16);
}

TEST_F(StartupTest, UnknownLanguageInTheSettingsFallsBackToEnglish)
{
    writeSettings("[Options]\nLangID=de\n");
    EXPECT_EQ(start(), std::nullopt);
    EXPECT_EQ(user_->dialogs, std::vector<std::string>{"New circuit"}) << "no language question";
    EXPECT_EQ(zvLang::LangID(), "EN");
}

} // namespace
