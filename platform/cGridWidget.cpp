// cGridWidget: the Qt side of the grid control: a caption bar in the colours of the
// "Caption" style over a QTableWidget whose cells take their text, editability and look from
// the grid.
#include "platform/cGridWidget.h"

#include "foundation/cFixed.h"
#include "platform/cQtConvert.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using cQtConvert::ToQColor;
using cQtConvert::ToQString;

namespace {

// The Qt alignment of an alignment code; general puts numbers right and texts left.
Qt::Alignment AlignmentOf(int code, const std::string& text)
{
    if (code < 1 || code > 9) {
        const bool number = cFixed::parse(text).has_value();
        return Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft);
    }
    static const Qt::Alignment kH[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment kV[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return kH[(code - 1) % 3] | kV[(code - 1) / 3];
}

} // namespace

cGridWidget::cGridWidget(cGridModel& grid, QWidget* parent)
    : QWidget(parent), grid_(grid), caption_(new QLabel(this)), table_(new QTableWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    caption_->setAutoFillBackground(true);
    caption_->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(caption_);
    layout->addWidget(table_);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(table_, &QTableWidget::cellChanged, this, &cGridWidget::OnItemChanged);
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) { OnCurrentCellChanged(row, previousRow); });
    grid_.Observer(this);
    Sync();
}

cGridWidget::~cGridWidget()
{
    if (grid_.Observer() == this) {
        grid_.Observer(nullptr);
    }
}

void cGridWidget::GridChanged()
{
    if (!queued_ && !syncing_) {
        queued_ = true;
        QTimer::singleShot(0, this, [this] {
            if (queued_) {
                Sync();
            }
        });
    }
}

void cGridWidget::GridRefresh()
{
    Sync();
    table_->viewport()->repaint();
}

void cGridWidget::Sync()
{
    queued_ = false;
    syncing_ = true;
    const cGridStyle& cap = grid_.Style("Caption");
    QPalette pal = caption_->palette();
    if (cap.BackColor()) {
        pal.setColor(QPalette::Window, ToQColor(*cap.BackColor()));
    }
    if (cap.ForeColor()) {
        pal.setColor(QPalette::WindowText, ToQColor(*cap.ForeColor()));
    }
    caption_->setPalette(pal);
    caption_->setText(ToQString(grid_.Caption()));
    caption_->setVisible(!grid_.Caption().empty());
    // A grid without columns is only its caption bar, which then has the whole height.
    table_->setVisible(grid_.ColumnCount() > 0);
    SyncColumns();
    SyncCells();
    FitColumns();
    syncing_ = false;
}

void cGridWidget::SyncColumns()
{
    table_->setColumnCount(grid_.ColumnCount());
    for (int c = 1; c <= grid_.ColumnCount(); ++c) {
        const cGridColumn& col = grid_.Column(c);
        auto* head = table_->horizontalHeaderItem(c - 1);
        if (head == nullptr) {
            head = new QTableWidgetItem;
            table_->setHorizontalHeaderItem(c - 1, head);
        }
        head->setText(ToQString(col.Caption()));
        table_->setColumnWidth(c - 1, cQtConvert::TwipsToPixels(col.Width()));
        table_->setColumnHidden(c - 1, col.Hidden());
    }
}

void cGridWidget::FitColumns()
{
    QHeaderView* header = table_->horizontalHeader();
    // The widest cell of a column measured in the cells' fonts, through the view's own hint.
    const QAbstractItemView* view = table_;
    for (int c = 0; c < table_->columnCount(); ++c) {
        if (table_->isColumnHidden(c)) {
            continue;
        }
        const int needed = std::max(header->sectionSizeHint(c), view->sizeHintForColumn(c));
        if (table_->columnWidth(c) < needed) {
            table_->setColumnWidth(c, needed);
        }
    }
}

void cGridWidget::SyncCells()
{
    table_->setRowCount(grid_.RowCount());
    for (int r = 1; r <= grid_.RowCount(); ++r) {
        for (int c = 1; c <= grid_.ColumnCount(); ++c) {
            auto* item = table_->item(r - 1, c - 1);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                table_->setItem(r - 1, c - 1, item);
            }
            const std::string& text = grid_.Value(r - 1, c - 1);
            item->setText(ToQString(text));
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (!grid_.Column(c).ReadOnly()) {
                flags |= Qt::ItemIsEditable;
            }
            item->setFlags(flags);
            const cGridStyle look = grid_.CellLook(r, c);
            item->setBackground(look.BackColor() ? QBrush(ToQColor(*look.BackColor())) : QBrush());
            item->setForeground(look.ForeColor() ? QBrush(ToQColor(*look.ForeColor())) : QBrush());
            item->setTextAlignment(AlignmentOf(look.TextAlignment().value_or(0), text));
            QFont font = table_->font();
            font.setBold(look.Bold().value_or(false));
            item->setFont(font);
        }
    }
}

void cGridWidget::OnItemChanged(int row, int column)
{
    if (syncing_) {
        return;
    }
    const QTableWidgetItem* item = table_->item(row, column);
    if (item == nullptr) {
        return;
    }
    const std::string text = cQtConvert::FromQString(item->text());
    if (!grid_.EditCell(row + 1, column + 1, text)) {
        GridChanged(); // refused: show the grid's value again
    }
}

void cGridWidget::OnCurrentCellChanged(int row, int previousRow)
{
    if (!syncing_ && row >= 0 && row != previousRow) {
        grid_.ChooseRow(row + 1);
    }
}
