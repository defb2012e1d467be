// The grid control as data: loading, cells and columns, styles and conditions, the user's
// edits and row choice, and the delimited-text and spreadsheet files.
#include "platform/cGridModel.h"

#include "foundation/cError.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// A bill of materials: seven designed columns, six fields loaded.
class cGridModelTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        for (const char* key : {"Set", "Reference", "Desc", "Qty", "Stock", "Delta", "fill"}) {
            grid.AddColumn(key).Caption(key);
        }
        grid.Column("Stock").ReadOnly(false);
        grid.Column("Qty").ReadOnly(true);
        grid.LoadArray({{"SCX", "SCX", "SCX"},
                        {"8201", "007", "8203"},
                        {"Straight, \"long\"", "Curve\nR1", "Crossing"},
                        {"7", "0", "2"},
                        {"5", "3", "12"},
                        {"-2", "3", "10"}});
    }

    template <typename F> long ErrorOf(F f)
    {
        try {
            f();
        } catch (const cError& e) {
            return e.Number();
        }
        return 0;
    }

    cGridModel grid;
};

TEST_F(cGridModelTest, LoadsFieldsByRowAndKeepsDesignedColumns)
{
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.FieldCount(), 6);
    EXPECT_EQ(grid.ColumnCount(), 7);
    EXPECT_EQ(grid.Value(1, 1), "007");
    EXPECT_EQ(grid.Value(2, 5), "10");
    EXPECT_EQ(grid.Value(0, 6), ""); // the designed column without a field
    EXPECT_EQ(&grid.Column("DELTA"), &grid.Column(6));
    EXPECT_EQ(ErrorOf([&] { grid.Column("none"); }), 9);
    EXPECT_EQ(ErrorOf([&] { grid.Column(8); }), 9);
    EXPECT_EQ(ErrorOf([&] { grid.Value(3, 0); }), 9);
    EXPECT_EQ(ErrorOf([&] { grid.Value(0, 7); }), 9);

    // More fields than columns adds columns with empty keys; short fields give empty cells.
    grid.LoadArray({{"a"}, {"b", "c"}, {}, {}, {}, {}, {}, {"h"}});
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.ColumnCount(), 8);
    EXPECT_EQ(grid.Column("").Key(), "");
    EXPECT_EQ(grid.Value(1, 0), "");
    EXPECT_EQ(grid.Value(1, 1), "c");

    grid.Value(0, 2, "typed");
    EXPECT_EQ(grid.Value(0, 2), "typed");
    grid.RowCount(0);
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_EQ(grid.ColumnCount(), 8);
}

TEST_F(cGridModelTest, StylesLayerColumnRowCellAndConditions)
{
    EXPECT_EQ(grid.Style("caption").Name(), "Caption");
    grid.AddStyle("warn").ForeColor(255);
    EXPECT_EQ(&grid.AddStyle("WARN"), &grid.Style("warn"));
    grid.AddCondition("warn", cGridCompare::Less, "0", "Delta");

    grid.Column("Delta").Style().ForeColor(0x00FF00);
    grid.Column("Delta").Style().TextAlignment(cGridAlign::RightCenter);
    grid.RowStyle(1).BackColor(0x0000FF);
    grid.CellStyle(1, 1).BackColor(0xFFFFFF);

    const cGridStyle shortage = grid.CellLook(1, 6); // Delta -2
    EXPECT_EQ(shortage.ForeColor(), 255);            // the condition wins over the column
    EXPECT_EQ(shortage.BackColor(), 0x0000FF);       // from the row
    EXPECT_EQ(shortage.TextAlignment(), cGridAlign::RightCenter);
    EXPECT_EQ(grid.CellLook(1, 1).BackColor(), 0xFFFFFF); // the cell over the row
    EXPECT_EQ(grid.CellLook(3, 6).ForeColor(), 0x00FF00); // 10 is no shortage, though "10" < "9"
    EXPECT_EQ(grid.CellLook(2, 6).ForeColor(), 0x00FF00); // 3
    EXPECT_FALSE(grid.CellLook(2, 5).ForeColor().has_value());
    EXPECT_FALSE(grid.CellLook(2, 1).BackColor().has_value());

    // Clearing keeps "Caption" and drops the other styles with their conditions, so a
    // reload that adds them again does not pile them up.
    grid.ClearStyles();
    EXPECT_EQ(ErrorOf([&] { grid.Style("warn"); }), 9);
    EXPECT_TRUE(grid.Conditions().empty());
    EXPECT_EQ(grid.Style("Caption").Name(), "Caption");
    EXPECT_EQ(grid.CellLook(1, 6).ForeColor(), 0x00FF00);

    // A reload drops row and cell styles.
    grid.LoadArray({{"x"}});
    EXPECT_FALSE(grid.CellLook(1, 1).BackColor().has_value());
    EXPECT_EQ(ErrorOf([&] { grid.RowStyle(2); }), 9);
    EXPECT_EQ(ErrorOf([&] { grid.CellStyle(1, 9); }), 9);
}

TEST_F(cGridModelTest, ConditionsCompareNumbersAsNumbersAndTextsAsTexts)
{
    grid.AddStyle("hit").Bold(true);
    grid.AddCondition("hit", cGridCompare::GreaterOrEqual, "3", "Stock");
    grid.AddCondition("hit", cGridCompare::Equal, "Crossing", "desc");
    EXPECT_EQ(grid.CellLook(1, 5).Bold(), true); // 5
    grid.Value(0, 4, "2");
    EXPECT_FALSE(grid.CellLook(1, 5).Bold().has_value());
    EXPECT_EQ(grid.CellLook(2, 5).Bold(), true); // 3
    EXPECT_EQ(grid.CellLook(3, 5).Bold(), true); // 12
    EXPECT_EQ(grid.CellLook(3, 3).Bold(), true); // Crossing
    EXPECT_FALSE(grid.CellLook(1, 3).Bold().has_value());
}

TEST_F(cGridModelTest, UserEditsAndRowChoicesAreReported)
{
    std::vector<std::pair<int, int>> edits;
    int chosen = 0;
    grid.AfterEdit = [&](int r, int c) { edits.emplace_back(r, c); };
    grid.RowChosen = [&](int r) { chosen = r; };

    EXPECT_TRUE(grid.EditCell(2, 5, "9"));
    EXPECT_EQ(grid.Value(1, 4), "9");
    EXPECT_FALSE(grid.EditCell(2, 4, "1")); // Qty is read-only
    EXPECT_FALSE(grid.EditCell(4, 5, "1"));
    EXPECT_EQ(grid.Value(1, 3), "0");
    EXPECT_EQ(edits, (std::vector<std::pair<int, int>>{{2, 5}}));

    grid.ChooseRow(3);
    grid.ChooseRow(4); // no such row
    EXPECT_EQ(chosen, 3);
    EXPECT_EQ(grid.CurrentRow(), 3);
    grid.RowCount(2);
    EXPECT_EQ(grid.CurrentRow(), 0);
}

TEST_F(cGridModelTest, DelimitedTextQuotesAsRfc4180)
{
    const std::string text = grid.DelimitedText(cGridFile::WithCaptions, ";");
    const std::string expected = "\xEF\xBB\xBF"
                                 "Set;Reference;Desc;Qty;Stock;Delta\r\n"
                                 "SCX;8201;\"Straight, \"\"long\"\"\";7;5;-2\r\n"
                                 "SCX;007;\"Curve\nR1\";0;3;3\r\n"
                                 "SCX;8203;Crossing;2;12;10\r\n";
    EXPECT_EQ(text, expected);
    // A comma separator quotes fields holding commas; without captions there is no header.
    const std::string plain = grid.DelimitedText(0, ",");
    EXPECT_EQ(plain.substr(3, plain.find("\r\n") - 3),
              "SCX,8201,\"Straight, \"\"long\"\"\",7,5,-2");
}

// The Python that has the spreadsheet reader xlrd (Debian's own first, where its package puts
// it); "" when none has.
QString PythonWithXlrd()
{
    for (const char* python : {"/usr/bin/python3", "python3"}) {
        QProcess probe;
        probe.start(python, {"-c", "import xlrd"});
        if (probe.waitForFinished(60000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0) {
            return python;
        }
    }
    return {};
}

// Reads a workbook with xlrd and gives back, per row, each cell's type (0 empty, 1 text,
// 2 number), value and boldness as JSON.
QJsonObject ReadWithXlrd(const QString& python, const std::string& path)
{
    const char* script = R"(import json, sys
import xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
rows = []
for r in range(sheet.nrows):
    cells = []
    for c in range(sheet.ncols):
        cell = sheet.cell(r, c)
        font = book.font_list[book.xf_list[cell.xf_index].font_index]
        cells.append([cell.ctype, cell.value, bool(font.bold)])
    rows.append(cells)
print(json.dumps({"sheets": book.nsheets, "rows": rows}))
)";
    QProcess reader;
    reader.start(python, {"-c", script, QString::fromStdString(path)});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0) {
        ADD_FAILURE() << reader.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

TEST_F(cGridModelTest, SpreadsheetIsAWorkbookThatAnExcelReaderReadsBack)
{
    const QString python = PythonWithXlrd();
    if (python.isEmpty()) {
        GTEST_SKIP() << "python3-xlrd is not installed";
    }
    // Texts beyond Latin-1, and enough of them that the shared strings need more than one
    // record.
    grid.Value(1, 2, "Curva \xCE\xA9 gr\xC3\xBCn");
    grid.RowCount(900);
    for (int r = 3; r < grid.RowCount(); ++r) {
        grid.Value(r, 0, "SCX");
        grid.Value(r, 1, "A" + std::to_string(r));
        grid.Value(r, 2, "Piece \xE2\x80\x94 number " + std::to_string(r));
        grid.Value(r, 3, std::to_string(r * 3) + ".5");
    }
    testsupport::TempDir dir;
    const std::string xls = dir.file("bom.xls");
    grid.SaveAs(xls, cGridFile::Spreadsheet, cGridFile::WithCaptions);

    const QJsonObject book = ReadWithXlrd(python, xls);
    EXPECT_EQ(book["sheets"].toInt(), 1);
    const QJsonArray rows = book["rows"].toArray();
    ASSERT_EQ(rows.size(), grid.RowCount() + 1);
    auto expectCell = [&](int row, int field, const std::string& text, bool bold) {
        const QJsonArray cell = rows[row].toArray()[field].toArray();
        // The counts, and the piece codes written without leading zeros.
        const bool number = row > 0 && (field >= 3 || text == "8201" || text == "8203");
        if (text.empty()) {
            EXPECT_EQ(cell[0].toInt(), 0) << row << "," << field;
        } else if (number) {
            EXPECT_EQ(cell[0].toInt(), 2) << row << "," << field;
            EXPECT_DOUBLE_EQ(cell[1].toDouble(), std::stod(text)) << row << "," << field;
        } else {
            EXPECT_EQ(cell[0].toInt(), 1) << row << "," << field;
            EXPECT_EQ(cell[1].toString().toStdString(), text) << row << "," << field;
        }
        EXPECT_EQ(cell[2].toBool(), bold) << row << "," << field;
    };
    for (int f = 0; f < 6; ++f) {
        expectCell(0, f, grid.Column(f + 1).Caption(), true);
    }
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int f = 0; f < 6; ++f) {
            if (r < 3 || f < 4) {
                expectCell(r + 1, f, grid.Value(r, f), false);
            }
        }
    }
    // Numbers stay numbers, codes with leading zeros stay texts.
    EXPECT_EQ(rows[1].toArray()[1].toArray()[0].toInt(), 2);
    EXPECT_EQ(rows[2].toArray()[1].toArray()[1].toString(), "007");
}

TEST_F(cGridModelTest, SavesReplaceFilesWholeAndRaiseWhenTheyCannot)
{
    testsupport::TempDir dir;
    const std::string csv = dir.file("bom.csv");
    const std::string xls = dir.file("bom.xls");
    grid.SaveAs(csv, cGridFile::DelimitedText, cGridFile::WithCaptions, ";");
    grid.SaveAs(xls, cGridFile::Spreadsheet, cGridFile::WithCaptions);
    EXPECT_EQ(testsupport::readAll(csv), grid.DelimitedText(cGridFile::WithCaptions, ";"));
    EXPECT_EQ(testsupport::readAll(xls), grid.SpreadsheetBytes(cGridFile::WithCaptions));

    // A file that may not be written keeps its old content.
    testsupport::writeAll(csv, "old");
    chmod(csv.c_str(), 0444);
    EXPECT_EQ(ErrorOf([&] { grid.SaveAs(csv, cGridFile::DelimitedText, 2, ";"); }), 75);
    EXPECT_EQ(testsupport::readAll(csv), "old");
    EXPECT_EQ(ErrorOf([&] { grid.SaveAs(dir.file("none/bom.xls"), cGridFile::Spreadsheet, 2); }),
              75);
    EXPECT_EQ(ErrorOf([&] { grid.SaveAs(xls, 7, 2); }), 5);
    EXPECT_EQ(testsupport::readAll(xls), grid.SpreadsheetBytes(cGridFile::WithCaptions));
}

} // namespace
