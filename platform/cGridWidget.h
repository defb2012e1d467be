// cGridWidget: shows a cGridModel as a caption bar over a table, follows the model's changes
// (at once on a refresh, otherwise on the next turn of the event loop) and hands the user's
// committed edits and row choices back to the model.
#pragma once

#include "platform/cGridModel.h"

#include <QWidget>

class QLabel;
class QTableWidget;

class cGridWidget : public QWidget, private cGridObserver {
    Q_OBJECT
  public:
    // Shows the grid; the widget is the grid's observer while it lives.
    explicit cGridWidget(cGridModel& grid, QWidget* parent = nullptr);
    ~cGridWidget() override;
    cGridWidget(const cGridWidget&) = delete;
    cGridWidget& operator=(const cGridWidget&) = delete;

    // The table that shows the cells.
    QTableWidget* Table() const { return table_; }
    // True while the widget shows the grid anew: a column it widens to fit its texts is no
    // width the user chose.
    bool Syncing() const { return syncing_; }
    // The caption bar.
    QLabel* CaptionBar() const { return caption_; }
    // Brings the display in step with the grid now.
    void Sync();

  private:
    void GridChanged() override;
    void GridRefresh() override;
    void SyncColumns();
    void SyncCells();
    // Widens each shown column that is narrower than its caption or one of its cells in the
    // table's fonts, so that no caption is cut and no value breaks onto a second line.
    void FitColumns();
    void OnItemChanged(int row, int column);
    void OnCurrentCellChanged(int row, int previousRow);

    cGridModel& grid_;
    QLabel* caption_;
    QTableWidget* table_;
    bool syncing_ = false;
    bool queued_ = false;
};
