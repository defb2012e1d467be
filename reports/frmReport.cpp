// frmReport: the window's controls as designed, its captions from the language table, the boxes
// and the lanes grid filled from the current circuit, the grids laid out over the window, and
// the loaded instance the save and the exports reach.
#include "reports/frmReport.h"

#include "foundation/NUX_STD_locale.h"
#include "foundation/cFixed.h"
#include "foundation/zvLang.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "platform/cGridWidget.h"
#include "platform/cQtConvert.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

using cQtConvert::FromQString;
using cQtConvert::ToQString;
using cQtConvert::TwipsToPixels;

namespace {

// A control's designed place in twips.
struct Place {
    int left, top, width, height;
};
constexpr Place kLabels[6] = {{150, 540, 1635, 195},  {150, 900, 1635, 195},
                              {150, 1680, 1635, 195}, {5130, 1680, 375, 195},
                              {150, 2040, 1635, 195}, {3630, 2040, 750, 195}};
constexpr Place kBoxes[6] = {{1860, 480, 4635, 315},  {1860, 840, 4635, 735},
                             {1860, 1620, 2955, 315}, {5640, 1620, 855, 315},
                             {1860, 1980, 1635, 315}, {4800, 1980, 1695, 315}};
// The lanes grid's designed width and its lane column's width, in twips.
constexpr int kLanesWidth = 6435;
constexpr int kLaneColumn = 1125;
// The least room, in pixels, between a caption and its box.
constexpr int kLabelGap = 4;
// White, for the number of a lane drawn in black.
constexpr std::int32_t kWhite = 0xFFFFFF;

void SetGeometryTwips(QWidget& w, const Place& p)
{
    w.setGeometry(TwipsToPixels(p.left), TwipsToPixels(p.top), TwipsToPixels(p.width),
                  TwipsToPixels(p.height));
}

std::string Format(double value)
{
    return NUX_STD_library::FormatEx(cVariant(value), "0.00", 0);
}

// A size in millimetres as metres; values below 0.001 mm count as 0.
double Metres(const cFixed& mm)
{
    return mm < cFixed::fromDouble(0.001) ? 0.0 : mm.toDouble() / 1000;
}

void CaptionColours(cGridModel& grid)
{
    cGridStyle& caption = grid.Style("Caption");
    caption.BackColor(frmReport::kCaptionBack);
    caption.ForeColor(frmReport::kCaptionText);
}

} // namespace

frmReport::frmReport(QWidget* parent) : QWidget(parent)
{
    setObjectName("frmReport");
    setFont(QFont("Segoe UI", 8));
    BuildControls();
    BuildGrids();
    zvLang::FormTranslator(zvForm::frmReport,
                           [](QWidget& w) { static_cast<frmReport&>(w).Translate(); });
    zvLib::FormUnloader(zvForm::frmReport,
                        [](QWidget& w) { static_cast<frmReport&>(w).CommitTexts(); });
}

frmReport::~frmReport() = default;

void frmReport::BuildControls()
{
    for (int i = 0; i < 6; ++i) {
        lbl_[i] = new QLabel(this);
        lbl_[i]->setObjectName(QString("lbl%1").arg(i));
        SetGeometryTwips(*lbl_[i], kLabels[i]);
        if (i == kDescription) {
            auto* box = new QPlainTextEdit(this);
            box->setTabChangesFocus(true);
            connect(box, &QPlainTextEdit::textChanged, this, [this] { txt_Change(kDescription); });
            box->installEventFilter(this);
            txt_[i] = box;
        } else {
            auto* box = new QLineEdit(this);
            box->setReadOnly(i != kName);
            if (i == kName) {
                connect(box, &QLineEdit::textEdited, this, [this] { txt_Change(kName); });
                connect(box, &QLineEdit::editingFinished, this, [this] { CommitTexts(); });
            }
            if (i == kLength || i == kRoom) {
                box->setAlignment(Qt::AlignRight);
            }
            txt_[i] = box;
        }
        txt_[i]->setObjectName(QString("txt%1").arg(i));
        SetGeometryTwips(*txt_[i], kBoxes[i]);
    }
}

void frmReport::BuildGrids()
{
    const char* lanesKeys[] = {"Lane", "Len1", "Len2", "Field3", "Field4", "Field5"};
    for (const char* key : lanesKeys) {
        // Lanes are measured, not typed.
        grdLanes.AddColumn(key).ReadOnly(true);
    }
    const char* bomKeys[] = {"Set", "Reference", "Desc", "Qty", "Stock", "Delta", "fill"};
    for (const char* key : bomKeys) {
        grdBOM.AddColumn(key).ReadOnly(std::string(key) != "Stock");
    }
    grdBOM.Column("Set").Caption("Set");
    grdBOM.ValidateEdit = [this](int row, int column, const std::string& text) {
        return grdBOM_ValidateEdit(row, column, text);
    };
    grdBOM.AfterEdit = [this](int row, int column) { grdBOM_AfterEdit(row, column); };
    cGridModel* grids[] = {&grdFake, &grdLanes, &grdBOM};
    const char* names[] = {"grdFake", "grdLanes", "grdBOM"};
    for (int i = 0; i < 3; ++i) {
        views_[i] = new cGridWidget(*grids[i], this);
        views_[i]->setObjectName(names[i]);
    }
}

std::string frmReport::Text(int index) const
{
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(txt(index))) {
        // The box breaks lines with LF alone; the program's texts with CR LF.
        QString text = box->toPlainText();
        text.replace(QChar('\n'), QStringLiteral("\r\n"));
        return FromQString(text);
    }
    return FromQString(static_cast<const QLineEdit*>(txt(index))->text());
}

void frmReport::Text(int index, const std::string& text)
{
    const bool was = filling_;
    filling_ = true;
    if (auto* box = qobject_cast<QPlainTextEdit*>(txt(index))) {
        QString shown = ToQString(text);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        box->setPlainText(shown);
    } else {
        static_cast<QLineEdit*>(txt(index))->setText(ToQString(text));
    }
    filling_ = was;
}

void frmReport::txt_Change(int index)
{
    const std::shared_ptr<zvCircuit> circuit = zvLib::Circuit();
    if (filling_ || !circuit) {
        return;
    }
    if (index == kName) {
        circuit->Name(Text(kName));
    } else if (index == kDescription) {
        circuit->Description(Text(kDescription));
    }
}

void frmReport::CommitTexts()
{
    const std::shared_ptr<zvCircuit> circuit = zvLib::Circuit();
    if (!circuit) {
        return;
    }
    cUndo& undo = zvLib::Undo();
    if (undo.position() == 0 || *undo.State(undo.position()).text != circuit->DefString()) {
        undo.Push();
    }
}

bool frmReport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txt(kDescription) && event->type() == QEvent::FocusOut) {
        CommitTexts();
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* frmReport::txt(int index) const
{
    return txt_.at(static_cast<std::size_t>(index));
}

QLabel* frmReport::lbl(int index) const
{
    return lbl_.at(static_cast<std::size_t>(index));
}

void frmReport::Translate()
{
    const char* labels[] = {"$report.name",  "$report.description", "$report.set",
                            "$report.scale", "$report.avglenght",   "$report.reqroom"};
    for (int i = 0; i < 6; ++i) {
        lbl_[i]->setText(ToQString(zvLang::Translate(labels[i])));
    }
    grdFake.Caption(zvLang::Translate("$report.track"));
    grdLanes.Caption(zvLang::Translate("$report.lanes.info"));
    const char* lanes[] = {"$report.lane", "$report.lanes.len1", "$report.lanes.len2"};
    for (int c = 1; c <= 3; ++c) {
        grdLanes.Column(c).Caption(zvLang::Translate(lanes[c - 1]));
    }
    grdBOM.Caption(zvLang::Translate("$report.bom"));
    const char* bom[] = {"$report.bom.code", "$report.bom.desc", "$report.bom.used",
                         "$report.bom.stock", "$report.bom.free"};
    for (int c = 2; c <= 6; ++c) {
        grdBOM.Column(c).Caption(zvLang::Translate(bom[c - 2]));
    }
    grdLanes.Refresh();
    grdBOM.Refresh();
    FitLabels();
    Form_Resize();
}

void frmReport::FitLabels()
{
    for (int i = 0; i < 6; ++i) {
        QLabel& label = *lbl_[i];
        SetGeometryTwips(label, kLabels[i]);
        const QSize need = label.sizeHint();
        QRect r = label.geometry();
        r.setHeight(std::max(r.height(), need.height()));
        if (need.width() > r.width()) {
            // A longer caption grows towards its box, up to a small gap before it, and to the
            // left as far as it must.
            const int right = TwipsToPixels(kBoxes[i].left) - kLabelGap;
            r.setLeft(std::max(0, std::min(r.left(), right - need.width())));
            r.setRight(right - 1);
        }
        label.setGeometry(r);
    }
}

void frmReport::Form_Load()
{
    zvLang::TranslateForm(*this);
    CaptionColours(grdFake);
    CaptionColours(grdLanes);
    grdLanes.Column(1).Width(kLaneColumn);
    grdLanes.Column(2).Width((kLanesWidth - kLaneColumn) / 2);
    grdLanes.Column(3).Width(1500);
    for (int c = 4; c <= 6; ++c) {
        grdLanes.Column(c).Hidden(true);
    }
    FillBoxes();
    FillLanes();
    grdBomLoad();
}

void frmReport::FillBoxes()
{
    const std::shared_ptr<zvCircuit> circuit = zvLib::Circuit();
    if (!circuit) {
        return;
    }
    const std::array<cFixed, 6> extent = circuit->GetExtent();
    Text(kName, circuit->Name());
    Text(kDescription, circuit->Description());
    Text(kSets, circuit->getSet());
    Text(kScale, "1/" + std::to_string(circuit->OwnSet().scale));
    Text(kLength, Format(circuit->GetLength() / 1000) + " m.");
    Text(kRoom, Format(Metres(extent[4])) + " x " + Format(Metres(extent[5])) + " m.");
}

void frmReport::FillLanes()
{
    const std::shared_ptr<zvCircuit> circuit = zvLib::Circuit();
    if (!circuit) {
        return;
    }
    zvTextTable lanes;
    circuit->GetLanes(lanes);
    grdLanes.LoadArray(FieldsByRow(lanes));
    // Lanes beyond the colour table keep the grid's own colours.
    const int coloured = std::min(grdLanes.RowCount(), static_cast<int>(zvLib::LaneColors.size()));
    for (int r = 1; r <= coloured; ++r) {
        const std::int32_t colour = zvLib::LaneColors[static_cast<std::size_t>(r - 1)];
        cGridStyle& cell = grdLanes.CellStyle(r, 1);
        cell.BackColor(colour);
        if (colour == 0) {
            cell.ForeColor(kWhite);
        }
    }
}

void frmReport::Form_Resize()
{
    // The caption bar is never lower than its text.
    views_[0]->setGeometry(TwipsToPixels(120), TwipsToPixels(120), TwipsToPixels(6435),
                           std::max(TwipsToPixels(315), views_[0]->sizeHint().height()));
    views_[1]->setGeometry(TwipsToPixels(120), TwipsToPixels(2520), TwipsToPixels(6435),
                           TwipsToPixels(2595));
    const int left = TwipsToPixels(6720);
    const int top = TwipsToPixels(120);
    // A window too small for the grid leaves it as it was.
    const int w = width() - left - TwipsToPixels(60);
    const int h = height() - top - TwipsToPixels(60);
    if (w > 0 && h > 0) {
        views_[2]->setGeometry(left, top, w, h);
    }
}

void frmReport::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

namespace zvLib {

frmReport& ReportWindow()
{
    if (auto* loaded = qobject_cast<frmReport*>(Form(zvForm::frmReport))) {
        return *loaded;
    }
    auto* report = new frmReport(Form(zvForm::frmMain));
    report->hide();
    LoadForm(zvForm::frmReport, report);
    report->Form_Load();
    return *report;
}

} // namespace zvLib
