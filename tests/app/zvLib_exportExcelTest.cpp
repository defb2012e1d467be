// The bill-of-materials export: the default name, the two files and their contents, the user's
// list separator, names made safe, old files replaced or reported when they cannot be, and the
// export folder opened when the spreadsheet cannot be.
#include "DispatchFixture.h"
#include "app/zvLib_shell.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/zvLang.h"
#include "reports/frmReport.h"
#include "reports/zvLib_export.h"
#include "support/TestSupport.h"
#include "view/zvLang_forms.h"

#include <QInputDialog>
#include <QPointer>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

using apptest::DispatchFixture;

namespace fs = std::filesystem;

namespace {

class ExportExcelTest : public DispatchFixture {
  protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        savedPath_ = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
        zvLib::ExportFolder = documentsDir() + "Export/";
        fs::create_directories(zvLib::ExportFolder);
        // The system's opener, standing in: it notes what it was asked to open.
        bin_ = root_->dir() + "bin/";
        fs::create_directories(bin_);
        opened_ = root_->dir() + "opened.txt";
        const std::string opener = bin_ + "xdg-open";
        testsupport::writeAll(opener, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + opened_ + "'\n");
        chmod(opener.c_str(), 0755);
        setenv("PATH", bin_.c_str(), 1);
        circuit().CurTrack()->append("CL32:AS1;CL32:AS1;CL32:AC1-90(L);", circuit().CurItem());
        zvLib::CurrentFile = "b.zv6";
    }
    void TearDown() override
    {
        setenv("PATH", savedPath_.c_str(), 1);
        zvLib::ExportFolder.clear();
        DispatchFixture::TearDown();
    }
    // Answers the name prompt with a name (after checking the offered one).
    void answerName(const std::string& name, std::string* offered = nullptr)
    {
        user_->steps.push_back([name, offered](QDialog& d) {
            auto& box = static_cast<QInputDialog&>(d);
            if (offered != nullptr) {
                *offered = box.textValue().toStdString();
            }
            box.setTextValue(QString::fromStdString(name));
            box.accept();
        });
    }
    // What the opener was asked to open, once it has run.
    std::string openedPaths()
    {
        for (int i = 0; i < 1000 && testsupport::readAll(opened_).empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return testsupport::readAll(opened_);
    }
    std::string exported(const char* name) { return zvLib::ExportFolder + name; }

    std::string savedPath_;
    std::string bin_;
    std::string opened_;
};

TEST_F(ExportExcelTest, DefaultNameIsTheFileNameLessItsExtension)
{
    EXPECT_EQ(zvLib::DefaultExportName(), "b");
    zvLib::CurrentFile = "New Zorv circuit.zv5";
    EXPECT_EQ(zvLib::DefaultExportName(), "New Zorv circuit");
    zvLib::CurrentFile = "abc";
    EXPECT_EQ(zvLib::DefaultExportName(), "");
}

TEST_F(ExportExcelTest, WritesBothFilesWithTheBillAndTheStockAndOpensTheSpreadsheet)
{
    NUX_STD_library::IniWrite("CL32.STOCK", "AS1", "5", zvLib::UserFile);
    std::string offered;
    answerName("b", &offered);
    EXPECT_TRUE(run("FILE.EXCEL").empty());
    EXPECT_EQ(offered, "b");
    ASSERT_TRUE(fs::exists(exported("b.xls")));
    ASSERT_TRUE(fs::exists(exported("b.csv")));

    // The text file holds the grid's rows: every catalogue piece of the set, with its used
    // count, stock and free count, in the C locale's list separator.
    const frmReport& report = zvLib::ReportWindow();
    const std::string csv = testsupport::readAll(exported("b.csv"));
    EXPECT_EQ(csv, report.grdBOM.DelimitedText(cGridFile::WithCaptions, ","));
    EXPECT_NE(csv.find("CL32,AS1,"), std::string::npos);
    EXPECT_NE(csv.find(",2,5,3"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",1,0,-1"), std::string::npos) << csv;
    const std::string xls = testsupport::readAll(exported("b.xls"));
    EXPECT_EQ(xls, report.grdBOM.SpreadsheetBytes(cGridFile::WithCaptions));
    EXPECT_NE(xls.find("AC1-90"), std::string::npos);

    EXPECT_EQ(openedPaths(), exported("b.xls") + "\n");
    // The report window stays loaded, hidden.
    ASSERT_NE(zvLib::Form(zvForm::frmReport), nullptr);
    EXPECT_FALSE(zvLib::Form(zvForm::frmReport)->isVisible());
}

TEST_F(ExportExcelTest, TheReportViewAfterAnExportIsLoadedAfresh)
{
    answerName("b");
    run("FILE.EXCEL");
    QPointer<QWidget> exportWindow = zvLib::Form(zvForm::frmReport);
    ASSERT_FALSE(exportWindow.isNull());
    run("VIEW.REPORT");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(exportWindow.isNull()) << "the window the export left is gone";
    QWidget* shown = zvLib::Form(zvForm::frmReport);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->parentWidget(), main().pag);
    EXPECT_TRUE(shown->isVisible());
}

TEST_F(ExportExcelTest, TheListSeparatorOfTheUsersLocaleSeparatesTheFields)
{
    setenv("LC_ALL", "it_IT.UTF-8", 1);
    answerName("semi");
    run("FILE.EXCEL");
    const std::string csv = testsupport::readAll(exported("semi.csv"));
    EXPECT_NE(csv.find("CL32;AS1;"), std::string::npos) << csv;
}

TEST_F(ExportExcelTest, AnEmptyAnswerWritesNothing)
{
    answerName("");
    EXPECT_TRUE(run("FILE.EXCEL").empty());
    user_->steps.push_back([](QDialog& d) { d.reject(); });
    EXPECT_TRUE(run("FILE.EXCEL").empty());
    EXPECT_TRUE(fs::is_empty(zvLib::ExportFolder));
}

TEST_F(ExportExcelTest, NamesAreMadeSafeAndASecondExportReplacesTheFiles)
{
    answerName("a:b\\c");
    run("FILE.EXCEL");
    EXPECT_TRUE(fs::exists(exported("a_b_c.xls")));
    EXPECT_TRUE(fs::exists(exported("a_b_c.csv")));

    testsupport::writeAll(exported("a_b_c.csv"), "old");
    answerName("a:b\\c");
    EXPECT_TRUE(run("FILE.EXCEL").empty());
    EXPECT_NE(testsupport::readAll(exported("a_b_c.csv")), "old");
}

TEST_F(ExportExcelTest, OnlyTheTextFileOfAnEarlierExportIsNoObstacle)
{
    testsupport::writeAll(exported("b.csv"), "old");
    answerName("b");
    EXPECT_TRUE(run("FILE.EXCEL").empty());
    EXPECT_TRUE(fs::exists(exported("b.xls")));
    EXPECT_NE(testsupport::readAll(exported("b.csv")), "old");
}

TEST_F(ExportExcelTest, AFolderInTheWayIsReportedAndTheEarlierExportStaysWhole)
{
    // An earlier export's text file, and a folder where the spreadsheet would go.
    testsupport::writeAll(exported("b.csv"), "old");
    fs::create_directories(exported("b.xls") + "/inside");
    answerName("b");
    const auto messages = run("FILE.EXCEL");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(exported("b.xls")), std::string::npos) << messages[0];
    EXPECT_EQ(user_->styles.back(), 64);
    EXPECT_EQ(testsupport::readAll(exported("b.csv")), "old") << "nothing is deleted";
    EXPECT_TRUE(fs::is_directory(exported("b.xls") + "/inside"));
}

TEST_F(ExportExcelTest, WithoutASpreadsheetProgramTheExportFolderOpens)
{
    const std::string opener = bin_ + "xdg-open";
    fs::remove(opener);
    answerName("b");
    const auto messages = run("FILE.EXCEL");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], zvLang::Translate("$msg.excelnotfound"));
    EXPECT_TRUE(fs::exists(exported("b.xls")));
    EXPECT_TRUE(fs::exists(exported("b.csv")));
}

TEST_F(ExportExcelTest, AnOpenerThatFindsNoSpreadsheetProgramShowsTheMessageAndTheFolder)
{
    // The system's opener runs but has no program for the file: it says so by its exit status.
    const std::string opener = bin_ + "xdg-open";
    testsupport::writeAll(opener, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + opened_ +
                                      "'\ncase \"$1\" in *.xls) exit 3;; esac\n");
    chmod(opener.c_str(), 0755);
    answerName("b");
    const auto messages = run("FILE.EXCEL");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], zvLang::Translate("$msg.excelnotfound"));
    EXPECT_EQ(openedPaths(), exported("b.xls") + "\n" + zvLib::ExportFolder + "\n");
}

} // namespace
