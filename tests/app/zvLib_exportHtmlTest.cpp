// The HTML report: the placeholders of the template and their values, the lanes and
// bill-of-materials rows, texts shown literally, the page written under a safe name in the
// export folder beside the canvas's picture and opened, and an unnamed circuit named after
// the report.
#include "DispatchFixture.h"
#include "app/core/zvLib_sets.h"
#include "app/zvLib_shell.h"
#include "foundation/NUX_STD_apppath.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/zvLang.h"
#include "foundation/zvLib_canvas.h"
#include "platform/cQtSurface.h"
#include "view/frmMain.h"
#include "view/zvLib_view.h"
#include "model/zvLib_colors.h"
#include "model/zvLib_globals.h"
#include "model/zvTrack.h"
#include "reports/zvLib_export.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QImageReader>
#include <QInputDialog>
#include <QUrl>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

using apptest::DispatchFixture;

namespace fs = std::filesystem;

namespace {

class ExportHtmlTest : public DispatchFixture {
  protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        savedPath_ = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
        zvLib::ExportFolder = documentsDir() + "Export/";
        fs::create_directories(zvLib::ExportFolder);
        const std::string bin = root_->dir() + "bin/";
        fs::create_directories(bin);
        opened_ = root_->dir() + "opened.txt";
        testsupport::writeAll(bin + "xdg-open",
                              "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + opened_ + "'\n");
        chmod((bin + "xdg-open").c_str(), 0755);
        setenv("PATH", bin.c_str(), 1);
        circuit().CurTrack()->append("CL32:AS1;CL32:AS1;CL32:AC1-90(L);", circuit().CurItem());
        zvLib::CurrentFile = "track.zv6";
        // The report saves the canvas's picture, which the recording canvas does not have.
        useRealCanvas();
    }
    void TearDown() override
    {
        setenv("PATH", savedPath_.c_str(), 1);
        zvLib::ExportFolder.clear();
        DispatchFixture::TearDown();
    }
    void answerName(const std::string& name)
    {
        user_->steps.push_back([name](QDialog& d) {
            auto& box = static_cast<QInputDialog&>(d);
            box.setTextValue(QString::fromStdString(name));
            box.accept();
        });
    }
    void useTemplate(const std::string& text)
    {
        testsupport::writeAll(programDir() + "zorv.htt", text);
    }
    std::string page(const std::string& name)
    {
        return testsupport::readAll(zvLib::ExportFolder + name + ".htm");
    }
    static std::string Fixed2(double v)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", v);
        return text;
    }

    std::string savedPath_;
    std::string opened_;
};

TEST_F(ExportHtmlTest, PlaceholdersGetTheCircuitsFigures)
{
    circuit().Name("Oval");
    const std::string filled = zvLib::ReportPage(
        "$zorv.release|$filename|$name|$definition|$scale#|$lanes#|$length#|$width#|$height#|"
        "$zorvfile#|$report.set|$head2|$head3|$head4|$tbl_plan|",
        "rep", circuit());
    const auto extent = circuit().GetExtent();
    const std::string expected =
        std::string(zvLib::kProductName) + " " + NUX_STD_library::AppVersion() + "|rep|Oval|" +
        zvLib::SetDescription + "|1/" + std::to_string(zvLib::SetScale) + "|2|" +
        Fixed2(circuit().GetLength() / 1000) + "|" + Fixed2(extent[4].toDouble() / 1000) + "|" +
        Fixed2(extent[5].toDouble() / 1000) + "|track.zv6|" + zvLang::Translate("$report.set") +
        "|" + zvLang::Translate("$report.lanes.info") + "|" + zvLang::Translate("$report.bom") +
        "|&nbsp;||";
    EXPECT_EQ(filled, expected);
}

TEST_F(ExportHtmlTest, ATemplateWithoutPlaceholdersPassesUnchangedAndRepeatsGetTheValue)
{
    EXPECT_EQ(zvLib::ReportPage("<p>plain $ text</p>", "r", circuit()), "<p>plain $ text</p>");
    EXPECT_EQ(zvLib::ReportPage("$filename and $filename", "r", circuit()), "r and r");
}

TEST_F(ExportHtmlTest, TextsAreShownLiterallyAndValuesAreNotSubstitutedAgain)
{
    circuit().Name("A <b> & $desc");
    circuit().Description("a\nb\r\nc");
    EXPECT_EQ(zvLib::ReportPage("$name|$desc", "r", circuit()),
              "A &lt;b&gt; &amp; $desc|a<br>b<br>c");
}

TEST_F(ExportHtmlTest, LanesRowsCarryNumberColourAndLength)
{
    const std::string rows = zvLib::ReportLanesRows(circuit());
    EXPECT_EQ(rows.find("<tr><th width=20%>" + zvLang::Translate("$report.lane")), 0u);
    const zvTrack& t = *circuit().tracks().Item(1);
    for (int lane = 1; lane <= 2; ++lane) {
        const std::string row =
            "<tr>\r\n<td align=center bgcolor='" +
            zvLib::Colors.RGBToHtml(zvLib::LaneColors[static_cast<std::size_t>(lane - 1)]) + "'>" +
            std::to_string(lane) + "</td>\r\n<td align=right>" +
            Fixed2(t.GetLength(static_cast<std::int16_t>(lane)) / 1000) + "</td>\r\n</tr>\r\n";
        EXPECT_NE(rows.find(row), std::string::npos) << rows;
    }
    EXPECT_EQ(zvLib::Colors.RGBToHtml(0x0000FF), "#FF0000");
}

TEST_F(ExportHtmlTest, BomRowsListEveryPieceWithItsCount)
{
    const std::string rows = zvLib::ReportBomRows(circuit());
    zvTextTable bom;
    circuit().GetBOM(bom);
    ASSERT_EQ(bom.size(), 2u);
    for (const zvTableRow& r : bom) {
        const std::string row = "<tr>\r\n<td nowrap >" + r[0] + "</td>\r\n<td nowrap >" + r[1] +
                                "</td>\r\n<td nowrap >" + r[2] +
                                "</td>\r\n<td nowrap align=right>" + r[3] + "</td>\r\n</tr>\r\n";
        EXPECT_NE(rows.find(row), std::string::npos) << rows;
    }
    EXPECT_NE(rows.find("<th width=15% nowrap >Set</th>"), std::string::npos);
}

TEST_F(ExportHtmlTest, ExportWritesThePageUnderTheDefaultNameAndOpensIt)
{
    useTemplate("<h1>$name</h1>");
    answerName(zvLib::DefaultExportName());
    EXPECT_TRUE(run("FILE.EXPORT").empty());
    EXPECT_EQ(page("track"), "<h1>track</h1>\r\n") << "an unnamed circuit takes the report name";
    EXPECT_EQ(circuit().Name(), "track");
    // The opener runs on its own: wait until it has written its line, not just made the file.
    for (int i = 0; i < 1000 && testsupport::readAll(opened_).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(testsupport::readAll(opened_), zvLib::ExportFolder + "track.htm\n");

    // A second export under the same name replaces the page.
    useTemplate("second");
    answerName("track");
    run("FILE.EXPORT");
    EXPECT_EQ(page("track"), "second\r\n");
}

TEST_F(ExportHtmlTest, ThePictureOfTheFittedCanvasIsSavedBesideThePage)
{
    useTemplate("<img src=\"$filename.jpg\">");
    zvLib::SetZoom(100000, 50000, 50000); // far away from the circuit
    answerName("picture");
    EXPECT_TRUE(run("FILE.EXPORT").empty());
    EXPECT_EQ(page("picture"), "<img src=\"picture.jpg\">\r\n");
    const std::string file = zvLib::ExportFolder + "picture.jpg";
    QImageReader reader(QString::fromStdString(file));
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage saved = reader.read().convertToFormat(QImage::Format_RGB32);
    const QImage canvas =
        main().pic->Surface().Image().convertToFormat(QImage::Format_RGB32); // fitted again
    ASSERT_EQ(saved.size(), canvas.size()) << "the canvas's size";
    double difference = 0;
    int inked = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QColor p = canvas.pixelColor(x, y);
            const QColor q = saved.pixelColor(x, y);
            inked += p != QColor(Qt::white) ? 1 : 0;
            difference += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                          std::abs(p.blue() - q.blue());
        }
    }
    EXPECT_GT(inked, 1000) << "the whole circuit is on the fitted canvas";
    EXPECT_LT(difference / (3.0 * canvas.width() * canvas.height()), 1.5)
        << "the picture is the canvas's";
}

TEST_F(ExportHtmlTest, TheShippedTemplatesPictureResolvesToThePictureWritten)
{
    // The shipped template, a name with characters a URL reads as its own, and a circuit name
    // that HTML reads as markup.
    circuit().Name("Club #1: <Oval> & A");
    zvLib::CurrentFile = "Club #1 oval 100%.zv6";
    answerName(zvLib::DefaultExportName());
    EXPECT_TRUE(run("FILE.EXPORT").empty());
    const std::string pagePath = zvLib::ExportFolder + "Club #1 oval 100%.htm";
    const std::string html = testsupport::readAll(pagePath);
    const std::string tag = "<img src=\"";
    const std::size_t at = html.find(tag);
    ASSERT_NE(at, std::string::npos) << html;
    const std::size_t from = at + tag.size();
    QString src = QString::fromStdString(html.substr(from, html.find('"', from) - from));
    src.replace("&amp;", "&"); // the one character reference a URL in an attribute may hold
    // Resolved as a browser resolves a relative reference against the page's own address.
    const QUrl picture = QUrl::fromLocalFile(QString::fromStdString(pagePath))
                             .resolved(QUrl(src, QUrl::StrictMode));
    ASSERT_TRUE(picture.isLocalFile()) << src.toStdString();
    EXPECT_EQ(picture.toLocalFile().toStdString(), zvLib::ExportFolder + "Club #1 oval 100%.jpg")
        << src.toStdString();
    EXPECT_TRUE(fs::exists(picture.toLocalFile().toStdString()));
}

TEST_F(ExportHtmlTest, ACanvasWithoutAPictureStopsTheExportBeforeThePage)
{
    useTemplate("x");
    zvLib::MainPic = &canvas_; // the recording canvas keeps no picture
    answerName("nothing");
    const auto messages = run("FILE.EXPORT");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_FALSE(fs::exists(zvLib::ExportFolder + "nothing.htm"));
    EXPECT_FALSE(fs::exists(zvLib::ExportFolder + "nothing.jpg"));
}

TEST_F(ExportHtmlTest, UnsafeNamesAndEmptyAnswers)
{
    useTemplate("$filename");
    answerName("a:b/c");
    run("FILE.EXPORT");
    EXPECT_EQ(page("a_b_c"), "a:b/c\r\n");
    answerName("");
    run("FILE.EXPORT");
    EXPECT_EQ(std::distance(fs::directory_iterator(zvLib::ExportFolder), fs::directory_iterator()),
              2)
        << "the page and its picture of the first export only";
}

TEST_F(ExportHtmlTest, APageThatCannotBeWrittenIsReported)
{
    useTemplate("x");
    fs::create_directories(zvLib::ExportFolder + "locked.htm/inside");
    answerName("locked");
    const auto messages = run("FILE.EXPORT");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("locked.htm"), std::string::npos);
}

TEST_F(ExportHtmlTest, AFullDiskIsSaidWithTheFileAndWhyAndTheStatusLineIsReadyAgain)
{
    useLanguage("IT");
    useTemplate("x");
    answerName("full");
    // Files may grow no larger than a kilobyte: the picture does not fit, as on a full disk.
    NUX_STD_library::IgnoreFileSizeSignal();
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const rlimit small{1024, before.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto messages = run("FILE.EXPORT");
    setrlimit(RLIMIT_FSIZE, &before);

    ASSERT_EQ(messages.size(), 1u);
    const std::string picture = zvLib::ExportFolder + "full.jpg";
    EXPECT_NE(messages[0].find(picture), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("il disco è pieno o non è scrivibile"), std::string::npos)
        << messages[0];
    EXPECT_EQ(messages[0].find("error"), std::string::npos) << messages[0];
    EXPECT_EQ(tool("sbr", "pnlstatus").Caption(), "Pronto");
    EXPECT_FALSE(fs::exists(picture));
    EXPECT_FALSE(fs::exists(zvLib::ExportFolder + "full.htm"));
}

} // namespace
