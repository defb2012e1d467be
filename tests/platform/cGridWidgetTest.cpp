// The Qt side of the grid control: the table shows the grid's cells, columns and looks, and
// the user's edits and row choices reach the grid.
#include "platform/cGridWidget.h"

#include "ControlsTestApp.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

class cGridWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        testsupport::ControlsApp();
        for (const char* key : {"Lane", "Len1", "Len2", "Field3"}) {
            grid.AddColumn(key).Caption(key);
        }
        grid.Column("Len2").ReadOnly(true);
        grid.Column("Field3").Hidden(true);
        grid.Column("Lane").Width(1125);
        grid.LoadArray({{"1", "2"}, {"12.35", "12.40"}, {"0.395", "0.397"}, {"3 mm", "4 mm"}});
        grid.Caption("Lanes");
        grid.Style("Caption").BackColor(0x000080);
        grid.RowStyle(2).BackColor(0x00FFFF);
        grid.AddStyle("warn").ForeColor(255);
        grid.AddCondition("warn", cGridCompare::Greater, "12.36", "Len1");
        view = std::make_unique<cGridWidget>(grid);
    }

    cGridModel grid;
    std::unique_ptr<cGridWidget> view;
};

TEST_F(cGridWidgetTest, TheTableShowsCellsColumnsAndLooks)
{
    QTableWidget* t = view->Table();
    ASSERT_EQ(t->rowCount(), 2);
    ASSERT_EQ(t->columnCount(), 4);
    EXPECT_EQ(t->item(1, 1)->text(), "12.40");
    EXPECT_EQ(t->horizontalHeaderItem(1)->text(), "Len1");
    EXPECT_EQ(t->columnWidth(0), 75);
    EXPECT_TRUE(t->isColumnHidden(3));
    EXPECT_FALSE(t->item(0, 2)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(t->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(t->item(1, 0)->background().color(), QColor(255, 255, 0));
    EXPECT_EQ(t->item(1, 1)->foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(t->item(0, 1)->foreground().style(), Qt::NoBrush);
    EXPECT_EQ(view->CaptionBar()->text(), "Lanes");
    EXPECT_EQ(view->CaptionBar()->palette().color(QPalette::Window), QColor(128, 0, 0));

    // Changes show on the next turn of the event loop, or at once on a refresh.
    grid.Value(0, 1, "12.50");
    grid.Column("Len1").Caption("Length");
    QApplication::processEvents();
    EXPECT_EQ(t->item(0, 1)->text(), "12.50");
    EXPECT_EQ(t->item(0, 1)->foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(t->horizontalHeaderItem(1)->text(), "Length");
    grid.RowCount(0);
    grid.Refresh();
    EXPECT_EQ(t->rowCount(), 0);
}

TEST_F(cGridWidgetTest, EditsAndRowChoicesReachTheGrid)
{
    int edits = 0;
    int chosen = 0;
    grid.AfterEdit = [&](int row, int) {
        ++edits;
        grid.Value(row - 1, 2, "recalculated");
    };
    grid.RowChosen = [&](int row) { chosen = row; };
    QTableWidget* t = view->Table();
    t->item(1, 1)->setText("13.00");
    EXPECT_EQ(grid.Value(1, 1), "13.00");
    EXPECT_EQ(edits, 1);
    QApplication::processEvents();
    EXPECT_EQ(t->item(1, 2)->text(), "recalculated");

    // A read-only cell changed behind the table's back is put back.
    t->item(0, 2)->setText("typed");
    QApplication::processEvents();
    EXPECT_EQ(t->item(0, 2)->text(), "0.395");
    EXPECT_EQ(edits, 1);

    t->setCurrentCell(1, 0);
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(grid.CurrentRow(), 2);
}

} // namespace
