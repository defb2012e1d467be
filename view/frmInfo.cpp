// frmInfo: the lanes window: its grid as designed, its captions, the layout restored at load
// (with the default beside the main window's right edge) and saved at unload, the size limits
// kept at every resize, and the toolbar's info tool released when it goes.
#include "view/frmInfo.h"

#include "app/core/zvLib_settings.h"
#include "foundation/cFixed.h"
#include "foundation/zvLang.h"
#include "platform/cGridWidget.h"
#include "platform/cQtConvert.h"
#include "view/NUX_STD_forms.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_info.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <optional>

using cQtConvert::PixelsToTwips;
using cQtConvert::TwipsToPixels;

namespace {

// The grid's design columns: key, width in twips, caption.
struct DesignColumn {
    const char* key;
    int width;
    const char* caption;
};
constexpr DesignColumn kColumns[] = {
    {"Lane", 600, "Lane"},      {"Len1", 1005, "Length (mt)"}, {"Len2", 1005, "Length (km)"},
    {"Field3", 1005, "± X"},    {"Field4", 1005, "± Y"},       {"Field5", 1200, "+/- angle"},
};

frmMain* MainWindow()
{
    return qobject_cast<frmMain*>(zvLib::Form(zvForm::frmMain));
}

// A stored number of twips, or nothing when the text is not a number or not a usable size.
std::optional<int> Twips(const std::string& text)
{
    const std::optional<cFixed> v = cFixed::parse(text);
    if (!v || std::fabs(v->toDouble()) > 1e7) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(v->toDouble()));
}

// A layout value of the settings, or the default when it is missing or not a number.
int LayoutValue(const char* key, int def)
{
    const std::string text =
        zvLib::GetSetting("Zorv", frmInfo::kLayoutSection, key, cVariant(static_cast<long>(def)));
    return Twips(text).value_or(def);
}

// The screen the window opens on, in twips; 0 when there is none.
int ScreenWidthTwips(const QWidget& w)
{
    const QScreen* screen = w.screen() != nullptr ? w.screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? PixelsToTwips(screen->geometry().width()) : 0;
}

} // namespace

frmInfo::frmInfo(QWidget* owner) : QWidget(owner, Qt::Tool)
{
    // Shown beside the canvas, it leaves the keys with the main window until it is clicked.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName("frmInfo");
    setWindowTitle("Track info");
    setFont(QFont("Segoe UI"));
    setMinimumWidth(TwipsToPixels(kMinWidth));
    setMaximumHeight(TwipsToPixels(kMaxHeight));
    BuildGrid();
    zvLang::FormTranslator(zvForm::frmInfo, [](QWidget& w) { static_cast<frmInfo&>(w).Translate(); });
    zvLib::FormUnloader(zvForm::frmInfo, [](QWidget& w) { static_cast<frmInfo&>(w).Form_Unload(); });
}

frmInfo::~frmInfo() = default;

void frmInfo::BuildGrid()
{
    for (const DesignColumn& c : kColumns) {
        cGridColumn& col = grd.AddColumn(c.key);
        col.Width(c.width);
        col.Caption(c.caption);
    }
    grd.Column("Len2").ReadOnly(true);
    grdView_ = new cGridWidget(grd, this);
    grdView_->setObjectName("grd");
    // Widths the user drags stay with the grid, so that they are saved with the layout.
    connect(grdView_->Table()->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int index, int, int size) {
                // A width shown as designed keeps its twips, and a column widened to fit its
                // texts keeps the width it had; only a width the user gives is taken.
                if (!grdView_->Syncing() && index < grd.ColumnCount() &&
                    TwipsToPixels(grd.Column(index + 1).Width()) != size) {
                    grd.Column(index + 1).Width(PixelsToTwips(size));
                }
                // Once all columns are fitted, a window of the default width follows them.
                if (grdView_->Syncing() && !fitQueued_) {
                    fitQueued_ = true;
                    QTimer::singleShot(0, this, [this] { FitDefaultWidth(); });
                }
            });
}

void frmInfo::Translate()
{
    setWindowTitle(cQtConvert::ToQString(zvLang::Translate("$report.lanes")));
    const std::string captions[] = {zvLang::Translate("$report.lane"),
                                    zvLang::Translate("$report.lanes.len1"),
                                    zvLang::Translate("$report.lanes.len2"),
                                    "Delta X",
                                    "Delta Y",
                                    "Delta \xC2\xBB"};
    for (int i = 0; i < 6; ++i) {
        grd.Column(i + 1).Caption(captions[i]);
    }
    grd.Refresh();
}

void frmInfo::Form_Load()
{
    zvLang::TranslateForm(*this);
    // The grid is filled first: the window's default width is the one its texts need.
    ColumnWidths(zvLib::GetSetting("Zorv", kLayoutSection, "columns", ""));
    zvLib::UpdateInfo();
    RestoreLayout();
}

void frmInfo::RestoreLayout()
{
    const frmMain* main = MainWindow();
    const int mainLeft = main != nullptr ? PixelsToTwips(main->x()) : 0;
    const int mainTop = main != nullptr ? PixelsToTwips(main->y()) : 0;
    const int mainWidth = main != nullptr ? PixelsToTwips(main->frameGeometry().width()) : 0;
    // By default the window shows every column whole, its right edge on the main window's.
    defaultWidth_ = !Twips(zvLib::GetSetting("Zorv", kLayoutSection, "Width", "")).has_value();
    const int width = LayoutValue("Width", std::max(kDesignWidth, GridWidthTwips()));
    const int defaultLeft = mainLeft + mainWidth - width;
    const int top = LayoutValue("Top", mainTop + 900);
    int left = LayoutValue("Left", defaultLeft);
    if (left > ScreenWidthTwips(*this)) {
        left = defaultLeft;
    }
    move(TwipsToPixels(left), TwipsToPixels(top));
    resize(TwipsToPixels(width), TwipsToPixels(LayoutValue("Height", kDesignHeight)));
    // A stored place off the screen (another monitor, a hand-edited file) comes back on it.
    NUX_STD_library::KeepOnWorkArea(*this);
}

void frmInfo::Form_Resize()
{
    // The size limits are the window's own constraints, so every resize already keeps them.
    grdView_->setGeometry(0, 0, width(), height());
}

void frmInfo::Form_Unload()
{
    const char* const app = "Zorv";
    zvLib::SaveSetting(app, kLayoutSection, "Top", cVariant(static_cast<long>(TopTwips())));
    zvLib::SaveSetting(app, kLayoutSection, "Left", cVariant(static_cast<long>(LeftTwips())));
    zvLib::SaveSetting(app, kLayoutSection, "Width", cVariant(static_cast<long>(WidthTwips())));
    zvLib::SaveSetting(app, kLayoutSection, "Height", cVariant(static_cast<long>(HeightTwips())));
    zvLib::SaveSetting(app, kLayoutSection, "Columns", ColumnWidths());
    if (frmMain* main = MainWindow()) {
        main->abr.Band("tbr").Tool("info").Checked(false);
    }
}

int frmInfo::GridWidthTwips()
{
    grdView_->Sync();
    return PixelsToTwips(GridWidthPixels());
}

int frmInfo::GridWidthPixels() const
{
    const QTableWidget* table = grdView_->Table();
    const QScrollBar* bar = table->verticalScrollBar();
    return table->horizontalHeader()->length() + 2 * table->frameWidth() +
           (bar->isVisible() ? bar->width() : 0);
}

void frmInfo::FitDefaultWidth()
{
    fitQueued_ = false;
    const int need = GridWidthPixels();
    if (!defaultWidth_ || width() >= need) {
        return;
    }
    // Wider by what the columns need, within the screen, its right edge where it was.
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const int most = screen != nullptr ? screen->availableGeometry().width() : need;
    const int grown = std::min(need, most);
    move(x() - (grown - width()), y());
    resize(grown, height());
    NUX_STD_library::KeepOnWorkArea(*this);
}

int frmInfo::TopTwips() const
{
    return PixelsToTwips(y());
}

int frmInfo::LeftTwips() const
{
    return PixelsToTwips(x());
}

int frmInfo::WidthTwips() const
{
    return PixelsToTwips(width());
}

int frmInfo::HeightTwips() const
{
    return PixelsToTwips(height());
}

std::string frmInfo::ColumnWidths()
{
    std::string text;
    for (int c = 1; c <= grd.ColumnCount(); ++c) {
        text += std::to_string(grd.Column(c).Width()) + ";";
    }
    return text;
}

void frmInfo::ColumnWidths(const std::string& text)
{
    int column = 1;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t semi = text.find(';', from);
        const std::string entry = text.substr(from, semi - from);
        const std::optional<int> width = Twips(entry);
        if (width && *width >= 0 && column <= grd.ColumnCount()) {
            grd.Column(column).Width(*width);
        }
        if (semi == std::string::npos) {
            break;
        }
        from = semi + 1;
        ++column;
    }
}

void frmInfo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmInfo::closeEvent(QCloseEvent* event)
{
    event->accept();
    zvLib::Unload(zvForm::frmInfo);
}

namespace zvLib {

frmInfo& InfoWindow()
{
    if (auto* loaded = qobject_cast<frmInfo*>(Form(zvForm::frmInfo))) {
        return *loaded;
    }
    auto* info = new frmInfo(MainWindow());
    LoadForm(zvForm::frmInfo, info);
    info->Form_Load();
    return *info;
}

} // namespace zvLib
