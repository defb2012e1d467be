// Printing: the circuit map printed to a one-page PDF file, the page set-up (frame, figures,
// map scale with y up) and the circuit's own drawing on a recording printer page, the save
// prompt before a print and the printer dialog of the File menu.
#include "DispatchFixture.h"
#include "app/zvLib_shell.h"
#include "foundation/cError.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/zvLang.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvObject.h"
#include "model/zvTrack.h"
#include "model/zvUI.h"
#include "platform/cQtSurface.h"
#include "reports/zvLib_print.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using apptest::DispatchFixture;

namespace fs = std::filesystem;
using Messages = std::vector<std::string>;

namespace {

// A printer page of A4 at 600 pixels per inch: no window, no device context.
cRecordSurface::Options PrinterOptions()
{
    cRecordSurface::Options o;
    o.width = 4800;
    o.height = 6600;
    o.window = false;
    o.hasDC = false;
    o.dpi = 600;
    return o;
}

// The whole content of a file ("" when it cannot be read).
std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// How many page objects a PDF file holds ("/Type /Page" not followed by "s").
int PdfPages(const std::string& pdf)
{
    int pages = 0;
    const std::string key = "/Type /Page";
    for (auto at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + 1)) {
        if (pdf.compare(at + key.size(), 1, "s") != 0) {
            ++pages;
        }
    }
    return pages;
}

// The number of pages pdfinfo (poppler) reads in a PDF file; -1 when pdfinfo is not installed.
int PdfInfoPages(const std::string& pdf)
{
    QProcess info;
    info.start("pdfinfo", {QString::fromStdString(pdf)});
    if (!info.waitForFinished(60000) || info.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch pages =
        QRegularExpression("^Pages:\\s+(\\d+)", QRegularExpression::MultilineOption).match(out);
    return pages.hasMatch() ? pages.captured(1).toInt() : 0;
}

// The recorded text calls, as "text" at x, y (in four decimals as recorded).
std::vector<std::string> Texts(const cRecordSurface& page)
{
    std::vector<std::string> texts;
    for (const auto& l : page.Lines()) {
        if (l.rfind("Print ", 0) == 0) {
            texts.push_back(l);
        }
    }
    return texts;
}

// A number in the recording's four decimals.
std::string Num(double v)
{
    return cFixed::fromDouble(v).str4();
}

class PrintTest : public DispatchFixture {
  protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        zvLib::CurrentFile = "oval.zv6";
        pdf_ = tempDir() + "map.pdf";
        fs::create_directories(tempDir());
        QPrinter& printer = zvLib::Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf_));
    }
    void TearDown() override
    {
        zvLib::Printer().setOutputFileName(QString());
        DispatchFixture::TearDown();
    }
    // The next printer dialog: the user types an output file into it and accepts it.
    void chooseOutputFile(const std::string& chosen)
    {
        user_->steps.push_back([chosen](QDialog& d) {
            auto* file = d.findChild<QLineEdit*>("filename");
            ASSERT_NE(file, nullptr);
            file->setText(QString::fromStdString(chosen));
            d.accept();
        });
    }
    // Lays a small circuit: two straights and a curve.
    void layCircuit()
    {
        circuit().CurTrack()->append("CL32:AS1;CL32:AS1;CL32:AC1-90(L);", circuit().CurItem());
    }

    std::string pdf_;
};

TEST_F(PrintTest, PrintsTheCircuitMapOnOnePdfPage)
{
    layCircuit();
    zvLib::PrintCircuit();
    const std::string bytes = FileBytes(pdf_);
    ASSERT_FALSE(bytes.empty()) << "no PDF written";
    EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
    EXPECT_EQ(PdfPages(bytes), 1);
    EXPECT_EQ(zvLib::PrinterPage, nullptr) << "the page is taken away after the job";
}

TEST_F(PrintTest, AnEmptyCircuitPrintsNothing)
{
    zvLib::PrintCircuit();
    EXPECT_FALSE(fs::exists(pdf_));
    cRecordSurface page(PrinterOptions());
    zvLib::PrinterPage = &page;
    EXPECT_FALSE(zvLib::PrintCircuitPage(page, circuit()));
    zvLib::PrinterPage = nullptr;
    EXPECT_TRUE(page.Lines().empty()) << "not even the frame";
}

TEST_F(PrintTest, FrameAndFiguresTakeTheirPlacesInMillimetres)
{
    layCircuit();
    cRecordSurface page(PrinterOptions());
    zvLib::PrinterPage = &page;
    ASSERT_TRUE(zvLib::PrintCircuitPage(page, circuit()));
    zvLib::PrinterPage = nullptr;

    const double w = 4800 / 600.0 * 25.4;
    const double h = 6600 / 600.0 * 25.4;
    // The recording's text measure: half the font size a character, in points.
    auto width = [](const std::string& text, double points) {
        return static_cast<double>(text.size()) * points / 2 / 72 * 25.4;
    };
    auto line = [](double points) { return points * 1.25 / 72 * 25.4; };
    const std::vector<std::string> texts = Texts(page);
    ASSERT_GE(texts.size(), 8u);
    auto at = [](const std::string& l) { return l.substr(0, l.find(" \"")); };
    const std::string credit =
        std::string("Designed with NUX Zorv ") + NUX_STD_library::AppVersion();
    EXPECT_EQ(at(texts[0]), "Print " + Num((w - width("oval.zv6", 12)) / 2) + " 0.0000");
    EXPECT_NE(texts[0].find("\"oval.zv6\""), std::string::npos);
    EXPECT_NE(texts[0].find("font=\"Tahoma\" size=12.0000 bold=1"), std::string::npos);
    EXPECT_EQ(at(texts[1]), "Print 0.0000 " + Num(h - 9));
    EXPECT_NE(texts[1].find("\"" + credit + "\""), std::string::npos);
    EXPECT_NE(texts[1].find("size=8.0000 bold=0"), std::string::npos);
    EXPECT_EQ(at(texts[2]), "Print " + Num(w - width("Filename: oval.zv6", 8)) + " " +
                                Num(h - 9));
    EXPECT_NE(texts[3].find("\"Printed on: "), std::string::npos);
    EXPECT_EQ(at(texts[3]).substr(at(texts[3]).rfind(' ') + 1), Num(h - 9 + line(8)));
    EXPECT_EQ(at(texts[4]), "Print " + Num((w - width("Page 1", 8)) / 2) + " " + Num(h - 9));
    EXPECT_NE(texts[4].find("\"Page 1\""), std::string::npos);
    EXPECT_EQ(at(texts[5]), "Print 0.0000 10.0000");
    EXPECT_NE(texts[5].find("\"Circuit map\" color=&H000000 font=\"Tahoma\" size=16.0000 bold=1"),
              std::string::npos);
    const double length = circuit().GetLength() / 1000;
    const auto e = circuit().GetExtent();
    std::ostringstream figures;
    figures.precision(2);
    figures << std::fixed << "\"Length: " << length << " mt\"";
    EXPECT_EQ(at(texts[6]), "Print 0.0000 " + Num(10 + line(16)));
    EXPECT_NE(texts[6].find(figures.str()), std::string::npos) << texts[6];
    std::ostringstream size;
    size.precision(2);
    size << std::fixed << "\"Size: " << e[4].toDouble() / 1000 << " x " << e[5].toDouble() / 1000
         << " mt\"";
    EXPECT_EQ(at(texts[7]), "Print 0.0000 " + Num(10 + line(16) + line(8)));
    EXPECT_NE(texts[7].find(size.str()), std::string::npos) << texts[7];

    // The rules: 4 pixels wide, black, 10 mm from the bottom and from the top.
    std::vector<std::string> rules;
    for (const auto& l : page.Lines()) {
        if (l.rfind("Line 0.0000 ", 0) == 0 && l.find("width=4") != std::string::npos) {
            rules.push_back(l.substr(0, l.find(" color")));
        }
    }
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0], "Line 0.0000 " + Num(h - 10) + " " + Num(w) + " " + Num(h - 10));
    EXPECT_EQ(rules[1], "Line 0.0000 10.0000 " + Num(w) + " 10.0000");
}

TEST_F(PrintTest, TheMapFitsTheExtentEnlargedToThePageWithYUp)
{
    layCircuit();
    cRecordSurface page(PrinterOptions());
    zvLib::PrinterPage = &page;
    ASSERT_TRUE(zvLib::PrintCircuitPage(page, circuit()));
    zvLib::PrinterPage = nullptr;

    const auto e = circuit().GetExtent();
    const double xmin = e[0].toDouble(), ymin = e[1].toDouble();
    const double xmax = e[2].toDouble(), ymax = e[3].toDouble();
    const double sw = page.ScaleWidth(), sh = page.ScaleHeight();
    EXPECT_EQ(page.ScaleMode(), 0);
    EXPECT_LT(sh, 0) << "y up";
    EXPECT_NEAR(-sh / sw, 6600.0 / 4800.0, 1e-5) << "the page's proportions";
    EXPECT_NEAR(page.ScaleLeft() + sw / 2, (xmin + xmax) / 2, 1e-2) << "centred across";
    EXPECT_NEAR(page.ScaleTop() + sh / 2, (ymin + ymax) / 2, 1e-2) << "centred down";
    // Both axes hold the extent 1.1 times; one of them exactly.
    EXPECT_GE(sw, 1.1 * (xmax - xmin) - 1e-2);
    EXPECT_GE(-sh, 1.1 * (ymax - ymin) - 1e-2);
    EXPECT_TRUE(std::abs(sw - 1.1 * (xmax - xmin)) < 1e-2 ||
                std::abs(-sh - 1.1 * (ymax - ymin)) < 1e-2);

    // After the figures come the circuit's own drawing calls, as Printout makes them on a
    // page of that scale and font.
    cRecordSurface alone(PrinterOptions());
    alone.Scale(page.ScaleLeft(), page.ScaleTop(), page.ScaleLeft() + sw,
                page.ScaleTop() + sh);
    alone.FontName("Tahoma");
    alone.FontSize(8);
    alone.FontBold(false);
    alone.DrawWidth(4);
    alone.CurrentX(0);
    zvLib::PrinterPage = &alone;
    circuit().Printout();
    zvLib::PrinterPage = nullptr;
    ASSERT_FALSE(alone.Lines().empty());
    ASSERT_GT(page.Lines().size(), alone.Lines().size());
    const std::vector<std::string> tail(page.Lines().end() - static_cast<long>(alone.Lines().size()),
                                        page.Lines().end());
    EXPECT_EQ(tail, alone.Lines());
    EXPECT_NE(page.Lines()[page.Lines().size() - alone.Lines().size() - 1].find("\"Size: "),
              std::string::npos)
        << "the map follows the figures directly";
}

TEST_F(PrintTest, PieceCodesPrintInBlackOverARoom)
{
    layCircuit();
    // A room in the window-face system colour, as the rooms of the samples are.
    auto room = std::make_shared<zvObject>();
    room->Class("room");
    room->Points("-100:-100;2000:-100;2000:2000;-100:2000");
    room->Color(static_cast<std::int32_t>(0x8000000Fu));
    circuit().objects().Add(room);
    cRecordSurface page(PrinterOptions());
    zvLib::PrinterPage = &page;
    ASSERT_TRUE(zvLib::PrintCircuitPage(page, circuit()));
    zvLib::PrinterPage = nullptr;

    int codes = 0;
    for (const auto& t : circuit().tracks()) {
        for (const auto& p : t->items()) {
            if (p->code().empty()) {
                continue;
            }
            for (const std::string& l : Texts(page)) {
                if (l.find(" \"" + p->code() + "\" ") != std::string::npos) {
                    ++codes;
                    EXPECT_NE(l.find(" color=&H000000 "), std::string::npos) << l;
                }
            }
        }
    }
    EXPECT_GE(codes, 3) << "every piece's code is printed";
}

TEST(PrintMapSize, EnlargesBothAxesAndKeepsThePageProportions)
{
    // Wide: the width decides, the height follows the page.
    auto wide = zvLib::MapSize(300, 100, 1.5);
    EXPECT_DOUBLE_EQ(wide[0], 330);
    EXPECT_DOUBLE_EQ(wide[1], 495);
    // Tall: the height decides, with the same margin.
    auto tall = zvLib::MapSize(100, 600, 1.5);
    EXPECT_DOUBLE_EQ(tall[1], 660);
    EXPECT_DOUBLE_EQ(tall[0], 440);
    // Already in proportion: both are just enlarged.
    auto same = zvLib::MapSize(200, 300, 1.5);
    EXPECT_DOUBLE_EQ(same[0], 220);
    EXPECT_DOUBLE_EQ(same[1], 330);
}

TEST_F(PrintTest, ThePrintCommandAsksToSaveFirst)
{
    run("ITEM.APPEND.CL32:AS1");
    run("ITEM.APPEND.CL32:AS1");
    user_->answers = {vbMsg::Cancel};
    EXPECT_EQ(run("FILE.PRINT").size(), 1u);
    EXPECT_FALSE(fs::exists(pdf_)) << "Cancel prints nothing";
    user_->answers = {vbMsg::No};
    EXPECT_EQ(run("FILE.PRINT").size(), 1u);
    EXPECT_EQ(PdfPages(FileBytes(pdf_)), 1);
}

TEST_F(PrintTest, AFailedPrintSaysWhyAndThePrinterStaysReadyForTheNext)
{
    layCircuit();
    // No printer: the printer object has no device and no output file, as on a machine
    // without printers.
    zvLib::Printer().setOutputFileName(QString());
    Messages messages = run("FILE.PRINT");
    ASSERT_EQ(messages.size(), 1u) << "the user is told why";
    EXPECT_EQ(messages[0], zvLang::Translate("$msg.printnoprinter"));
    EXPECT_EQ(zvLib::PrinterPage, nullptr);

    // Right after it, print setup chooses a PDF file and the print writes it.
    const std::string chosen = tempDir() + "after.pdf";
    chooseOutputFile(chosen);
    EXPECT_EQ(run("FILE.PRINTSETUP"), Messages{});
    EXPECT_EQ(run("FILE.PRINT"), Messages{});
    EXPECT_EQ(PdfPages(FileBytes(chosen)), 1);
    const int pages = PdfInfoPages(chosen);
    if (pages >= 0) {
        EXPECT_EQ(pages, 1) << "pdfinfo reads the page";
    }

    // A file that cannot be written fails with its name, and the next print works again.
    const std::string missing = tempDir() + "no/such/folder/map.pdf";
    zvLib::Printer().setOutputFileName(QString::fromStdString(missing));
    messages = run("FILE.PRINT");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(missing), std::string::npos) << messages[0];
    zvLib::Printer().setOutputFileName(QString::fromStdString(pdf_));
    EXPECT_EQ(run("FILE.PRINT"), Messages{});
    EXPECT_EQ(PdfPages(FileBytes(pdf_)), 1);
}

TEST_F(PrintTest, APdfPrintNeverWritesThroughALinkAnotherUserPlanted)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "planting a link as another user needs root";
    }
    // In a folder everybody may write, sticky as /tmp, another user put a link named as the
    // chosen PDF file, aimed at a file of ours.
    constexpr uid_t kOther = 12345;
    const std::string ours = tempDir() + "notes.txt";
    testsupport::writeAll(ours, "our notes\n");
    const std::string shared = tempDir() + "shared/";
    fs::create_directories(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const std::string planted = shared + "map.pdf";
    fs::create_symlink(ours, planted);
    ASSERT_EQ(lchown(planted.c_str(), kOther, kOther), 0);
    zvLib::Printer().setOutputFileName(QString::fromStdString(planted));
    layCircuit();

    // The folder lets this user replace the link, so the PDF takes the link's place.
    EXPECT_EQ(run("FILE.PRINT"), Messages{});
    EXPECT_EQ(testsupport::readAll(ours), "our notes\n") << "printed through the link";
    EXPECT_FALSE(fs::is_symlink(planted));
    EXPECT_EQ(PdfPages(FileBytes(planted)), 1);
}

TEST_F(PrintTest, PrinterSetupShowsThePrinterDialogOnTheProgramsPrinter)
{
    const QPrinter* seen = nullptr;
    user_->steps.push_back([&seen](QDialog& d) {
        auto* dialog = qobject_cast<QPrintDialog*>(&d);
        ASSERT_NE(dialog, nullptr);
        seen = dialog->printer();
        d.reject();
    });
    EXPECT_EQ(run("FILE.PRINTSETUP"), Messages{});
    EXPECT_EQ(seen, &zvLib::Printer());
    EXPECT_EQ(zvLib::Printer().outputFileName().toStdString(), pdf_) << "cancel changes nothing";
}

TEST_F(PrintTest, WhatThePrinterDialogKeepsIsWhereTheNextPrintGoes)
{
    layCircuit();
    const std::string chosen = tempDir() + "chosen.pdf";
    chooseOutputFile(chosen);
    EXPECT_EQ(run("FILE.PRINTSETUP"), Messages{});
    EXPECT_EQ(zvLib::Printer().outputFileName().toStdString(), chosen);
    EXPECT_EQ(run("FILE.PRINT"), Messages{});
    EXPECT_EQ(PdfPages(FileBytes(chosen)), 1);
    EXPECT_FALSE(fs::exists(pdf_)) << "not where the printer was before";
}

TEST_F(PrintTest, ThePageFramePrintsTheProgramsLogoInItsTopLeftCorner)
{
    // The logo the program ships, at its natural size, stays above the top rule (10 mm down).
    const QImage& logo = zvLib::PrintLogo();
    ASSERT_FALSE(logo.isNull()) << "the program has a logo";
    ASSERT_GT(logo.dotsPerMeterY(), 0);
    EXPECT_LT(logo.height() * 1000.0 / logo.dotsPerMeterY(), 10.0) << "millimetres high";
    EXPECT_GT(logo.width(), logo.height());

    // A page of 800 by 1100 pixels at 100 per inch, painted white.
    QImage sheet(800, 1100, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(static_cast<int>(100 / 0.0254));
    sheet.setDotsPerMeterY(static_cast<int>(100 / 0.0254));
    sheet.fill(Qt::white);
    {
        cQtSurface page(&sheet, true);
        zvLib::PrintPageFrame(page, "Circuit map");
        page.EndDoc();
    }
    // Ink in the corner where only the logo prints (left of the centred document line).
    int inked = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 150; ++x) {
            inked += sheet.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 200);
}

TEST_F(PrintTest, TheLogoStandsInThePagesTopLeftCorner)
{
    // A page of 800 by 1100 pixels at 100 per inch, painted white.
    QImage sheet(800, 1100, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(static_cast<int>(100 / 0.0254));
    sheet.setDotsPerMeterY(static_cast<int>(100 / 0.0254));
    sheet.fill(Qt::white);
    QImage logo(50, 20, QImage::Format_RGB32);
    logo.setDotsPerMeterX(sheet.dotsPerMeterX());
    logo.setDotsPerMeterY(sheet.dotsPerMeterY());
    logo.fill(QColor(0, 0, 255));
    const QImage shipped = zvLib::PrintLogo();
    zvLib::PrintLogo() = logo;
    {
        cQtSurface page(&sheet, true);
        page.Antialiasing(false);
        zvLib::PrintPageFrame(page, "Circuit map");
        page.EndDoc();
    }
    zvLib::PrintLogo() = shipped;
    EXPECT_EQ(sheet.pixelColor(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(sheet.pixelColor(49, 19), QColor(0, 0, 255)) << "natural size";
    EXPECT_EQ(sheet.pixelColor(60, 19), QColor(Qt::white));
    EXPECT_EQ(sheet.pixelColor(10, 30), QColor(Qt::white));
}

} // namespace
