// frmDXF: the placement dialog of the background drawing (zvLib::DXF). The offset bars are put
// in force as they move, the scale factor when Enter is pressed in its box; every change redraws
// the circuit, and cancel puts back the placement the dialog opened with.
#include "reports/frmDXF.h"

#include "app/zvModal.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/cVariant.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvCircuit.h"
#include "model/zvLib_dxfproblems.h"
#include "platform/cQtConvert.h"
#include "platform/cScrollBar.h"
#include "view/zvLang_forms.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

struct frmDXF::Placement {
    cFixed scale;
    cFixed x;
    cFixed y;
};

namespace {

// The value rounded to a whole number (halves to even) and held within the bar's range.
std::int16_t BarValue(cFixed value, const cScrollBar& bar)
{
    const std::int64_t lo = std::min(bar.Min(), bar.Max());
    const std::int64_t hi = std::max(bar.Min(), bar.Max());
    return static_cast<std::int16_t>(std::clamp(value.toWhole(), lo, hi));
}

// A number typed in the user's format: grouping separators passed over, the user's decimal
// sign (or ".") as the decimal sign.
std::optional<cFixed> ReadUserNumber(const std::string& text)
{
    const std::string decimal = NUX_STD_library::GetLocaleValue(9).toText();
    const std::string thousands = NUX_STD_library::GetLocaleValue(10).toText();
    std::string plain;
    for (std::size_t i = 0; i < text.size();) {
        if (!thousands.empty() && thousands != decimal && text.compare(i, thousands.size(), thousands) == 0) {
            i += thousands.size();
        } else if (!decimal.empty() && text.compare(i, decimal.size(), decimal) == 0) {
            plain += '.';
            i += decimal.size();
        } else {
            plain += text[i++];
        }
    }
    return cFixed::parse(plain);
}

} // namespace

frmDXF::frmDXF(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmDXF");
    setWindowTitle("DXF placement");
    scrScale_ = new cScrollBar(Qt::Horizontal, this);
    scrScale_->setObjectName("scrScale");
    scrX_ = new cScrollBar(Qt::Horizontal, this);
    scrX_->setObjectName("scrX");
    scrY_ = new cScrollBar(Qt::Vertical, this);
    scrY_->setObjectName("scrY");
    for (cScrollBar* bar : {scrX_, scrY_}) {
        bar->Min(static_cast<std::int16_t>(kOffsetMin));
        bar->Max(static_cast<std::int16_t>(kOffsetMax));
        bar->SmallChange(10);
        bar->LargeChange(100);
    }
    txtScale_ = new QLineEdit(this);
    txtScale_->setObjectName("txtScale");
    txtScale_->installEventFilter(this);
    txtOffset_ = new QLineEdit(this);
    txtOffset_->setObjectName("txtOffset");
    txtOffset_->setReadOnly(true);
    cmdOK_ = new QPushButton("OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setAutoDefault(false);
    cmdCancel_ = new QPushButton("Cancel", this);
    cmdCancel_->setObjectName("cmdCancel");
    cmdCancel_->setAutoDefault(false);

    scrScale_->Change = [this] { scrScale_Change(); };
    scrX_->Change = [this] { scrX_Change(); };
    scrY_->Change = [this] { scrY_Change(); };
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmDXF::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Scale", this), 0, 0);
    grid->addWidget(txtScale_, 0, 1);
    grid->addWidget(scrScale_, 1, 0, 1, 2);
    grid->addWidget(new QLabel("Offset", this), 2, 0);
    grid->addWidget(txtOffset_, 2, 1);
    grid->addWidget(scrX_, 3, 0, 1, 2);
    grid->addWidget(scrY_, 0, 2, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void frmDXF::Form_Load()
{
    if (!zvLib::DXF) {
        return;
    }
    const cDXF& dxf = *zvLib::DXF;
    loading_ = true;
    saved_ = std::make_shared<Placement>(Placement{dxf.scaleFactor(), dxf.OffsetX(), dxf.OffsetY()});
    scrScale_->Value(BarValue(saved_->scale, *scrScale_));
    scrX_->Value(BarValue(saved_->x, *scrX_));
    scrY_->Value(BarValue(saved_->y, *scrY_));
    ShowTexts();
    loading_ = false;
}

void frmDXF::scrX_Change()
{
    ApplyPlacement();
}

void frmDXF::scrY_Change()
{
    ApplyPlacement();
}

void frmDXF::scrScale_Change() {}

void frmDXF::ApplyPlacement()
{
    if (loading_ || !zvLib::DXF) {
        return;
    }
    zvLib::DXF->OffsetX(cFixed::fromWhole(scrX_->Value()));
    zvLib::DXF->OffsetY(cFixed::fromWhole(scrY_->Value()));
    Redraw();
    ShowTexts();
}

void frmDXF::txtScale_KeyDown(int keyCode)
{
    if (keyCode != kKeyEnter || !zvLib::DXF) {
        return;
    }
    // A text that is no number leaves the scale as it is and shows it again.
    if (const auto scale = ReadUserNumber(cQtConvert::FromQString(txtScale_->text()))) {
        zvLib::DXF->scaleFactor(*scale);
        Redraw();
    }
    ShowTexts();
}

void frmDXF::reject()
{
    if (zvLib::DXF && saved_) {
        cDXF& dxf = *zvLib::DXF;
        const Placement& was = *saved_;
        if (dxf.scaleFactor() != was.scale || dxf.OffsetX() != was.x || dxf.OffsetY() != was.y) {
            dxf.scaleFactor(was.scale);
            dxf.OffsetX(was.x);
            dxf.OffsetY(was.y);
            Redraw();
        }
    }
    QDialog::reject();
}

bool frmDXF::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtScale_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            txtScale_KeyDown(kKeyEnter);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmDXF::ShowTexts()
{
    const cDXF& dxf = *zvLib::DXF;
    txtScale_->setText(cQtConvert::ToQString(
        NUX_STD_library::FormatEx(cVariant(dxf.scaleFactor()), "#,0.0000", 0)));
    txtOffset_->setText(cQtConvert::ToQString(NUX_STD_library::FormatPlaceholders(
        "{0} : {1}", {dxf.OffsetX().str(), dxf.OffsetY().str()})));
}

void frmDXF::Redraw()
{
    if (const auto circuit = zvLib::Circuit(); circuit && zvLib::MainPic != nullptr) {
        circuit->Draw();
    }
}

namespace zvLib {

void ShowDXFPlacement()
{
    if (!NUX_STD_library::IsInIDE() || !DXF) {
        return;
    }
    ShowDXFProblems();
    auto* dialog = new frmDXF(Form(zvForm::frmMain));
    LoadForm(zvForm::frmDXF, dialog);
    dialog->Form_Load();
    ShowModal(*dialog);
    Unload(zvForm::frmDXF);
}

} // namespace zvLib
