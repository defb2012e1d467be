// The report view: the boxes, lanes and bill of materials of a small circuit of the shipped
// catalogue, stock counts the user types written to the user file, the window embedded by the
// REPORT view and unloaded by DESIGN, its captions in two languages, and the name and
// description it hands to a save.
#include "reports/frmReport.h"

#include "DispatchFixture.h"
#include "app/core/zvLib_stock.h"
#include "app/zvLib_documents.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/zvLang.h"
#include "model/cUndo.h"
#include "model/zvLib_globals.h"
#include "platform/cGridWidget.h"
#include "reports/zvLib_export.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_viewmode.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <cstdio>
#include <filesystem>

using apptest::DispatchFixture;

namespace {

class ReportTest : public DispatchFixture {
  protected:
    // Three straights and two left curves of 90 degrees on track 1.
    void makeSmallCircuit()
    {
        circuit().Name("Club oval");
        circuit().Description("first line\r\nsecond line");
        circuit().CurTrack()->append("CL32:AS1;CL32:AS1;CL32:AS1;CL32:AC1-90(L);CL32:AC1-90(L);",
                                     circuit().CurItem());
    }
    frmReport* loaded() { return qobject_cast<frmReport*>(zvLib::Form(zvForm::frmReport)); }
    // The bill-of-materials row (from 0) of a piece code; -1 when missing.
    int bomRow(const frmReport& r, const std::string& code)
    {
        for (int i = 0; i < r.grdBOM.RowCount(); ++i) {
            if (r.grdBOM.Value(i, 1) == code) {
                return i;
            }
        }
        return -1;
    }
    // The quantity the circuit's own bill of materials gives for a piece code.
    std::string usedOf(const std::string& code)
    {
        zvTextTable bom;
        circuit().GetBOM(bom);
        for (const zvTableRow& row : bom) {
            if (row[1] == code) {
                return row[3];
            }
        }
        return "0";
    }
    std::string stockInUserFile(const std::string& code)
    {
        return NUX_STD_library::IniRead("CL32.STOCK", code, zvLib::UserFile);
    }
    void unloadReport()
    {
        zvLib::Unload(zvForm::frmReport);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Replaces the text of a box by typing, as the user does.
    void typeInto(int box, const QString& text)
    {
        QWidget* w = loaded()->txt(box);
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Delete);
        const QStringList lines = text.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                QTest::keyClick(w, Qt::Key_Return);
            }
            QTest::keyClicks(w, lines[i]);
        }
    }
    static std::string Fixed2(double v)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", v);
        return text;
    }
};

TEST_F(ReportTest, BoxesShowTheCircuitsFigures)
{
    makeSmallCircuit();
    frmReport& r = zvLib::ReportWindow();
    EXPECT_EQ(r.Text(frmReport::kName), "Club oval");
    EXPECT_EQ(r.Text(frmReport::kDescription), "first line\r\nsecond line");
    EXPECT_EQ(r.Text(frmReport::kSets), circuit().getSet());
    EXPECT_EQ(r.Text(frmReport::kSets), "CL32;");
    EXPECT_EQ(r.Text(frmReport::kScale), "1/" + std::to_string(zvLib::SetScale));
    EXPECT_EQ(r.Text(frmReport::kLength), Fixed2(circuit().GetLength() / 1000) + " m.");
    const auto extent = circuit().GetExtent();
    EXPECT_EQ(r.Text(frmReport::kRoom), Fixed2(extent[4].toDouble() / 1000) + " x " +
                                            Fixed2(extent[5].toDouble() / 1000) + " m.");
    EXPECT_GT(circuit().GetLength(), 1000.0);
    // Only the name and description can be typed into.
    EXPECT_FALSE(static_cast<QLineEdit*>(r.txt(frmReport::kName))->isReadOnly());
    EXPECT_TRUE(static_cast<QLineEdit*>(r.txt(frmReport::kSets))->isReadOnly());
    EXPECT_TRUE(static_cast<QLineEdit*>(r.txt(frmReport::kRoom))->isReadOnly());
}

TEST_F(ReportTest, TheCircuitIsDescribedByItsOwnSetWhicheverSetTheChooserShows)
{
    makeSmallCircuit();
    run("VIEW.FIT");
    // Status panel, info window lanes, report boxes and exported report of the 1:32 circuit.
    auto describe = [this] {
        zvTextTable lanes;
        circuit().GetLanes(lanes);
        std::string text = tool("sbr", "pnlinfo_2").Caption() + "|";
        for (const zvTableRow& row : lanes) {
            text += row[2] + "|";
        }
        frmReport& r = zvLib::ReportWindow();
        r.Form_Load();
        text += r.Text(frmReport::kSets) + "|" + r.Text(frmReport::kScale) + "|";
        return text + zvLib::ReportPage("$definition|$scale#", "r", circuit());
    };
    const std::string own = describe();
    ASSERT_NE(own.find("1/32"), std::string::npos) << own;

    cBarTool& chooser = tool("tbr", "cboSet");
    int gt24 = -1;
    for (int i = 0; i < chooser.ListCount(); ++i) {
        gt24 = chooser.List(i) == "GT24" ? i : gt24;
    }
    ASSERT_GE(gt24, 0);
    main().abr.ChooseComboEntry(chooser, gt24);
    ASSERT_EQ(zvLib::CurSetID, "GT24");
    run("VIEW.FIT");
    EXPECT_EQ(describe(), own) << "the item bar's set only offers pieces";
}

TEST_F(ReportTest, ACircuitWithoutPiecesShowsNoSetsAndZeroSizes)
{
    frmReport& r = zvLib::ReportWindow();
    EXPECT_EQ(r.Text(frmReport::kSets), "");
    EXPECT_EQ(r.Text(frmReport::kLength), "0.00 m.");
    EXPECT_EQ(r.Text(frmReport::kRoom), "0.00 x 0.00 m.");
    // The stock table of no sets: one empty row, and nothing written under an empty key.
    EXPECT_EQ(r.grdBOM.RowCount(), 1);
    EXPECT_EQ(r.grdBOM.Value(0, 1), "");
}

TEST_F(ReportTest, LanesGridListsEveryLaneInItsColour)
{
    makeSmallCircuit();
    zvLib::LaneColors[1] = 0; // lane 2 drawn in black
    frmReport& r = zvLib::ReportWindow();
    zvTextTable lanes;
    circuit().GetLanes(lanes);
    ASSERT_EQ(r.grdLanes.RowCount(), static_cast<int>(lanes.size()));
    ASSERT_EQ(lanes.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        for (int f = 0; f < 6; ++f) {
            EXPECT_EQ(r.grdLanes.Value(i, f),
                      lanes[static_cast<std::size_t>(i)][static_cast<std::size_t>(f)]);
        }
    }
    EXPECT_EQ(r.grdLanes.CellLook(1, 1).BackColor(), zvLib::LaneColors[0]);
    EXPECT_NE(r.grdLanes.CellLook(1, 1).ForeColor(), std::optional<std::int32_t>(0xFFFFFF));
    EXPECT_EQ(r.grdLanes.CellLook(2, 1).BackColor(), std::optional<std::int32_t>(0));
    EXPECT_EQ(r.grdLanes.CellLook(2, 1).ForeColor(), std::optional<std::int32_t>(0xFFFFFF));
    // End gaps and heading are hidden; the lane column keeps its width, the length takes half
    // of the rest.
    for (int c = 4; c <= 6; ++c) {
        EXPECT_TRUE(r.grdLanes.Column(c).Hidden());
    }
    EXPECT_FALSE(r.grdLanes.Column(2).Hidden());
    EXPECT_EQ(r.grdLanes.Column(2).Width(), (6435 - r.grdLanes.Column(1).Width()) / 2);
}

TEST_F(ReportTest, BillOfMaterialsJoinsTheUsedPiecesWithTheStock)
{
    makeSmallCircuit();
    NUX_STD_library::IniWrite("CL32.STOCK", "AS1", "5", zvLib::UserFile);
    NUX_STD_library::IniWrite("CL32.STOCK", "AS2", "4", zvLib::UserFile);
    frmReport& r = zvLib::ReportWindow();
    // Every catalogue piece of the set, used or not.
    zvLib::LoadStock("CL32;");
    EXPECT_EQ(r.grdBOM.RowCount(), static_cast<int>(zvLib::StockTable.size()));
    EXPECT_GT(r.grdBOM.RowCount(), 10);

    const int straight = bomRow(r, "AS1");
    ASSERT_GE(straight, 0);
    EXPECT_EQ(r.grdBOM.Value(straight, 0), "CL32");
    EXPECT_EQ(r.grdBOM.Value(straight, 3), usedOf("AS1"));
    EXPECT_EQ(r.grdBOM.Value(straight, 3), "3");
    EXPECT_EQ(r.grdBOM.Value(straight, 4), "5");
    EXPECT_EQ(r.grdBOM.Value(straight, 5), "2");
    EXPECT_NE(r.grdBOM.CellLook(straight + 1, 6).ForeColor(),
              std::optional<std::int32_t>(frmReport::kWarnColor));

    const int curve = bomRow(r, "AC1-90");
    ASSERT_GE(curve, 0);
    EXPECT_EQ(r.grdBOM.Value(curve, 3), usedOf("AC1-90"));
    EXPECT_EQ(r.grdBOM.Value(curve, 5), "-" + usedOf("AC1-90"));
    // A shortage is drawn in red.
    EXPECT_EQ(r.grdBOM.CellLook(curve + 1, 6).ForeColor(),
              std::optional<std::int32_t>(frmReport::kWarnColor));

    // A piece the circuit does not use: none used, all of its stock free.
    const int unused = bomRow(r, "AS2");
    ASSERT_GE(unused, 0);
    EXPECT_EQ(r.grdBOM.Value(unused, 3), "0");
    EXPECT_EQ(r.grdBOM.Value(unused, 5), "4");
    EXPECT_EQ(r.grdBOM.Column("Set").Caption(), "Set");
}

TEST_F(ReportTest, OnlyTheStockColumnCanBeEdited)
{
    makeSmallCircuit();
    frmReport& r = zvLib::ReportWindow();
    const int row = bomRow(r, "AS1") + 1;
    for (int c = 1; c <= 7; ++c) {
        EXPECT_EQ(r.grdBOM.EditCell(row, c, "9"), c == 5) << "column " << c;
    }
}

TEST_F(ReportTest, AStockEditRecalculatesAndIsWrittenToTheUserFile)
{
    makeSmallCircuit();
    circuit().CurTrack()->append("CL32:AS1;CL32:AS1;CL32:AS1;CL32:AS1;", circuit().CurItem());
    frmReport& r = zvLib::ReportWindow();
    const int row = bomRow(r, "AS1");
    ASSERT_EQ(r.grdBOM.Value(row, 3), "7");

    ASSERT_TRUE(r.grdBOM.EditCell(row + 1, 5, "5"));
    EXPECT_EQ(r.grdBOM.Value(row, 5), "-2");
    EXPECT_EQ(stockInUserFile("AS1"), "5");

    r.grdBOM.EditCell(row + 1, 5, "12abc");
    EXPECT_EQ(r.grdBOM.Value(row, 4), "12");
    EXPECT_EQ(r.grdBOM.Value(row, 5), "5");
    EXPECT_EQ(stockInUserFile("AS1"), "12");

    r.grdBOM.EditCell(row + 1, 5, "");
    EXPECT_EQ(r.grdBOM.Value(row, 4), "0");
    EXPECT_EQ(stockInUserFile("AS1"), "0");
    // Every row's count is in the file after a change, not only the edited one.
    EXPECT_EQ(stockInUserFile("AS2"), "0");
}

TEST_F(ReportTest, AStockCountBeyondTheWholeNumberRangeIsRefusedAndTheOldOneStays)
{
    makeSmallCircuit();
    frmReport& r = zvLib::ReportWindow();
    const int row = bomRow(r, "AS1");
    ASSERT_TRUE(r.grdBOM.EditCell(row + 1, 5, "6"));
    user_->messages.clear();

    EXPECT_FALSE(r.grdBOM.EditCell(row + 1, 5, "99999999999"));
    ASSERT_EQ(user_->messages.size(), 1u) << "the user is told why";
    EXPECT_NE(user_->messages[0].find("99999999999"), std::string::npos) << user_->messages[0];
    EXPECT_EQ(r.grdBOM.Value(row, 4), "6");
    EXPECT_EQ(stockInUserFile("AS1"), "6");
    EXPECT_FALSE(r.grdBOM.EditCell(row + 1, 5, "-3000000000 pieces"));
    EXPECT_EQ(stockInUserFile("AS1"), "6");
    // The ends of the range are counts like any other.
    EXPECT_TRUE(r.grdBOM.EditCell(row + 1, 5, "2147483647"));
    EXPECT_EQ(stockInUserFile("AS1"), "2147483647");
}

TEST_F(ReportTest, AStockCountThatCannotBeWrittenIsSaidAndStaysAsTyped)
{
    makeSmallCircuit();
    // A user file that cannot be written, for root as well: its folder is gone.
    zvLib::UserFile = dataDir() + "gone/user.def";
    frmReport& r = zvLib::ReportWindow();
    const int row = bomRow(r, "AS1");
    user_->messages.clear();

    EXPECT_TRUE(r.grdBOM.EditCell(row + 1, 5, "5"));
    ASSERT_EQ(user_->messages.size(), 1u) << "the lost count is said";
    EXPECT_NE(user_->messages[0].find(zvLib::UserFile), std::string::npos) << user_->messages[0];
    EXPECT_NE(user_->messages[0].find(zvLang::Translate("$msg.savefailed.nofolder")),
              std::string::npos)
        << user_->messages[0];
    EXPECT_EQ(r.grdBOM.Value(row, 4), "5");
    EXPECT_FALSE(std::filesystem::exists(zvLib::UserFile));
}

TEST_F(ReportTest, TheUsersEditInTheTableReachesTheUserFile)
{
    makeSmallCircuit();
    frmReport& r = zvLib::ReportWindow();
    r.grdBOMView().Sync();
    const int row = bomRow(r, "AS2");
    QTableWidgetItem* cell = r.grdBOMView().Table()->item(row, 4);
    ASSERT_NE(cell, nullptr);
    cell->setText("8");
    EXPECT_EQ(stockInUserFile("AS2"), "8");
    EXPECT_EQ(r.grdBOM.Value(row, 5), "8");
}

TEST_F(ReportTest, LeadingCountTakesTheNumberAtTheStart)
{
    EXPECT_EQ(zvLib::LeadingCount("12abc"), 12);
    EXPECT_EQ(zvLib::LeadingCount("  7"), 7);
    EXPECT_EQ(zvLib::LeadingCount("-3"), -3);
    EXPECT_EQ(zvLib::LeadingCount("3.5 pieces"), 4);
    EXPECT_EQ(zvLib::LeadingCount("2,5"), 2);
    EXPECT_EQ(zvLib::LeadingCount("4."), 4);
    EXPECT_EQ(zvLib::LeadingCount(""), 0);
    EXPECT_EQ(zvLib::LeadingCount("abc"), 0);
    EXPECT_EQ(zvLib::LeadingCount("-"), 0);
    EXPECT_EQ(zvLib::LeadingCount("99999999999"), 0);
}

TEST_F(ReportTest, ReportViewEmbedsTheWindowAndDesignUnloadsIt)
{
    makeSmallCircuit();
    run("VIEW.REPORT");
    frmReport* r = loaded();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->parentWidget(), main().pag);
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->geometry(), QRect(QPoint(0, 0), main().pag->size()));
    EXPECT_TRUE(main().abr.Band("vbr").Tool("report").Checked());
    EXPECT_FALSE(main().abr.Band("vbr").Tool("design").Checked());

    // Only what the user types reaches the circuit: loaded afresh, the window shows the circuit's.
    r->Text(frmReport::kName, "set, not typed");
    run("VIEW.REPORT");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(loaded(), nullptr);
    EXPECT_EQ(loaded()->Text(frmReport::kName), "Club oval");

    run("VIEW.DESIGN");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(loaded(), nullptr);
    EXPECT_TRUE(main().pag->isHidden());
    EXPECT_TRUE(main().abr.Band("vbr").Tool("design").Checked());
}

TEST_F(ReportTest, TheEmbeddedWindowFollowsThePageContainersSize)
{
    run("VIEW.REPORT");
    main().resize(900, 600);
    QCoreApplication::processEvents();
    ASSERT_NE(loaded(), nullptr);
    EXPECT_EQ(loaded()->size(), main().pag->size());
}

TEST_F(ReportTest, CaptionsComeFromTheLanguageTable)
{
    std::string english;
    for (const char* language : {"EN", "IT"}) {
        useLanguage(language);
        frmReport& r = zvLib::ReportWindow();
        const std::string name = zvLang::Translate("$report.name");
        EXPECT_EQ(r.lbl(0)->text().toStdString(), name);
        EXPECT_EQ(r.lbl(5)->text().toStdString(), zvLang::Translate("$report.reqroom"));
        EXPECT_EQ(r.grdFake.Caption(), zvLang::Translate("$report.track"));
        EXPECT_EQ(r.grdLanes.Caption(), zvLang::Translate("$report.lanes.info"));
        EXPECT_EQ(r.grdLanes.Column(2).Caption(), zvLang::Translate("$report.lanes.len1"));
        EXPECT_EQ(r.grdBOM.Caption(), zvLang::Translate("$report.bom"));
        EXPECT_EQ(r.grdBOM.Column(6).Caption(), zvLang::Translate("$report.bom.free"));
        EXPECT_EQ(r.grdBOM.Column(1).Caption(), "Set");
        EXPECT_EQ(name.find("[TODO]"), std::string::npos);
        if (english.empty()) {
            english = name;
        } else {
            EXPECT_NE(name, english);
        }
        unloadReport();
    }
}

TEST_F(ReportTest, CaptionsAndLabelsAreReadableInEveryLanguage)
{
    for (const char* language : {"EN", "IT", "FR", "ES"}) {
        useLanguage(language);
        run("VIEW.REPORT");
        QCoreApplication::processEvents();
        frmReport* r = loaded();
        ASSERT_NE(r, nullptr);
        QLabel* bar = r->grdFakeView().CaptionBar();
        EXPECT_GE(bar->height(), bar->sizeHint().height()) << language << ": the caption bar";
        EXPECT_EQ(bar->text().toStdString(), zvLang::Translate("$report.track"));
        for (int i = 0; i < 6; ++i) {
            const QLabel* label = r->lbl(i);
            EXPECT_GE(label->width(), label->sizeHint().width())
                << language << ": " << label->text().toStdString() << " is cut";
            EXPECT_GE(label->height(), label->fontMetrics().height()) << language << " " << i;
            for (int b = 0; b < 6; ++b) {
                EXPECT_FALSE(label->geometry().intersects(r->txt(b)->geometry()))
                    << language << ": " << label->text().toStdString() << " covers box " << b;
            }
        }
        run("VIEW.DESIGN");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ReportTest, SavingInTheReportViewStoresTheTypedNameAndDescription)
{
    makeSmallCircuit();
    run("VIEW.REPORT");
    typeInto(frmReport::kName, "Typed name");
    typeInto(frmReport::kDescription, "typed\ndescription");
    std::string path = documentsDir() + "typed.zv6";
    ASSERT_TRUE(zvLib::SaveCircuit(path));
    EXPECT_EQ(circuit().Name(), "Typed name");
    EXPECT_EQ(circuit().Description(), "typed\r\ndescription");
}

TEST_F(ReportTest, ATypedLineBreakIsSavedWithTheFilesEscapeAndComesBack)
{
    makeSmallCircuit();
    run("VIEW.REPORT");
    typeInto(frmReport::kDescription, "first\nsecond");
    EXPECT_EQ(circuit().Description(), "first\r\nsecond") << "the program's own line break";
    std::string path = documentsDir() + "lines.zv6";
    ASSERT_TRUE(zvLib::SaveCircuit(path));
    EXPECT_NE(testsupport::readAll(path).find("<description>first\\nsecond</description>"),
              std::string::npos)
        << testsupport::readAll(path);

    run("VIEW.DESIGN");
    ASSERT_TRUE(zvLib::OpenCircuit(path));
    EXPECT_EQ(circuit().Description(), "first\r\nsecond");
    run("VIEW.REPORT");
    ASSERT_NE(loaded(), nullptr);
    EXPECT_EQ(loaded()->Text(frmReport::kDescription), "first\r\nsecond");
}

TEST_F(ReportTest, TypedNameAndDescriptionGoIntoTheCircuitAsTheyChange)
{
    makeSmallCircuit();
    zvLib::Undo().Clear();
    zvLib::Undo().Push();
    run("VIEW.REPORT");
    typeInto(frmReport::kName, "Club \\oval\\");
    EXPECT_EQ(circuit().Name(), "Club \\oval\\") << "in the circuit as it is typed";
    typeInto(frmReport::kDescription, "one\ntwo");
    run("VIEW.DESIGN");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(circuit().Name(), "Club \\oval\\") << "kept after the view is left";
    EXPECT_EQ(circuit().Description(), "one\r\ntwo");
    EXPECT_TRUE(zvLib::Undo().isdirty()) << "a change the exit asks about";
    EXPECT_EQ(zvLib::Undo().count(), 2u) << "one undo state for the edit";

    // Typed and the program ended at once: the exit still finds the circuit changed.
    zvLib::Undo().Clear();
    zvLib::Undo().Push();
    run("VIEW.REPORT");
    typeInto(frmReport::kName, "Last");
    user_->answers.push_back(vbMsg::Cancel);
    EXPECT_FALSE(zvLib::QuerySave());
    EXPECT_EQ(user_->messages.size(), 1u) << "Save changes to ... ?";
    EXPECT_EQ(circuit().Name(), "Last");
}

TEST_F(ReportTest, TheReportViewShowsTheCircuitAsItIsEachTimeItIsShown)
{
    makeSmallCircuit();
    const std::string before = zvLib::ReportWindow().Text(frmReport::kLength); // as an export
    run("item.append.CL32:AS1");
    run("VIEW.REPORT");
    ASSERT_NE(loaded(), nullptr);
    EXPECT_NE(loaded()->Text(frmReport::kLength), before) << "the new straight counts";
    const int row = bomRow(*loaded(), "AS1");
    ASSERT_GE(row, 0);
    EXPECT_EQ(loaded()->grdBOM.Value(row, 3), usedOf("AS1"));
}

} // namespace
