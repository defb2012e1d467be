// The grid control as data: loading, cells and columns, styles and conditions, the user's
// edits and row choice, and the delimited-text and spreadsheet files.
#include "platform/cGridModel.h"

#include "foundation/cError.h"
#include "support/TestSupport.h"

#include <QString>
#include <QXmlStreamReader>

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

TEST_F(cGridModelTest, SpreadsheetIsWellFormedWithTypedCells)
{
    QXmlStreamReader xml(QString::fromStdString(grid.SpreadsheetText(cGridFile::WithCaptions)));
    std::vector<std::string> cells;
    std::vector<std::string> types;
    int rows = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Row")) {
            ++rows;
        }
        if (xml.isStartElement() && xml.name() == QLatin1String("Data")) {
            types.push_back(xml.attributes().value("ss:Type").toString().toStdString());
            cells.push_back(xml.readElementText().toStdString());
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(rows, 4);
    ASSERT_EQ(cells.size(), 24u);
    EXPECT_EQ(cells[0], "Set");
    EXPECT_EQ(cells[8], "Straight, \"long\"");
    EXPECT_EQ(cells[14], "Curve\nR1");
    EXPECT_EQ(types[7], "Number");  // 8201
    EXPECT_EQ(types[11], "Number"); // -2
    EXPECT_EQ(types[13], "String"); // 007 keeps its zeros
    EXPECT_EQ(types[3], "String");  // captions are texts
}

TEST_F(cGridModelTest, SavesReplaceFilesWholeAndRaiseWhenTheyCannot)
{
    testsupport::TempDir dir;
    const std::string csv = dir.file("bom.csv");
    const std::string xls = dir.file("bom.xls");
    grid.SaveAs(csv, cGridFile::DelimitedText, cGridFile::WithCaptions, ";");
    grid.SaveAs(xls, cGridFile::Spreadsheet, cGridFile::WithCaptions);
    EXPECT_EQ(testsupport::readAll(csv), grid.DelimitedText(cGridFile::WithCaptions, ";"));
    EXPECT_EQ(testsupport::readAll(xls), grid.SpreadsheetText(cGridFile::WithCaptions));

    // A file that may not be written keeps its old content.
    testsupport::writeAll(csv, "old");
    chmod(csv.c_str(), 0444);
    EXPECT_EQ(ErrorOf([&] { grid.SaveAs(csv, cGridFile::DelimitedText, 2, ";"); }), 75);
    EXPECT_EQ(testsupport::readAll(csv), "old");
    EXPECT_EQ(ErrorOf([&] { grid.SaveAs(dir.file("none/bom.xls"), cGridFile::Spreadsheet, 2); }),
              75);
    EXPECT_EQ(ErrorOf([&] { grid.SaveAs(xls, 7, 2); }), 5);
    EXPECT_EQ(testsupport::readAll(xls), grid.SpreadsheetText(cGridFile::WithCaptions));
}

} // namespace
