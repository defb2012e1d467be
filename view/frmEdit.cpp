// frmEdit: the piece editor's controls as designed, the set chooser and piece-type grid filled
// from the catalogue and the piece table, the preview drawn through zvLib::EditPic, and the
// loaded instance the EDITOR view mode embeds.
#include "view/frmEdit.h"

#include "app/core/zvLib_catalogue.h"
#include "app/zvLib_shell.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/cFixed.h"
#include "foundation/zvBlob.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_text.h"
#include "model/zvItem.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"
#include "platform/cGridWidget.h"
#include "platform/cPictureBox.h"
#include "platform/cQtConvert.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

using cQtConvert::FromQString;
using zvBlob::FldValue;
using cQtConvert::ToQString;
using cQtConvert::TwipsToPixels;

namespace {

// The outline's colours and pen widths: a green line, cyan dots.
constexpr std::int32_t kOutlineColor = 0xFF00;
constexpr std::int32_t kCornerColor = 0xFFFF00;
constexpr std::int16_t kOutlineWidth = 1;
constexpr std::int16_t kCornerWidth = 8;
// The smallest window the layout places the slider and picture in, in twips.
constexpr int kMinLayoutWidth = 6000;
constexpr int kMinLayoutHeight = 3000;
// Where the layout puts the width slider and the picture, in twips.
constexpr int kLayoutTop = 600;
constexpr int kLayoutBottom = 240;
constexpr int kSliderLeft = 4020;
constexpr int kSliderWidth = 600;
constexpr int kPicLeft = 4620;

void Place(QWidget& w, int left, int top, int width, int height)
{
    w.setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                  TwipsToPixels(height));
}

std::string Format(const cVariant& value, const char* format)
{
    return NUX_STD_library::FormatEx(value, format, 0);
}

// The text without blanks or line ends before and after it.
std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Point-set lines as the piece table keeps them: ended by CR LF between lines.
std::string ToCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += "\r\n";
        } else if (c != '\r') {
            out += c;
        }
    }
    return out;
}

} // namespace

frmEdit::frmEdit(QWidget* parent) : QWidget(parent)
{
    setObjectName("frmEdit");
    setFont(QFont("Segoe UI", 8));
    BuildControls();
    zvLib::FormUnloader(zvForm::frmEdit,
                        [](QWidget& w) { static_cast<frmEdit&>(w).ReleaseSurface(); });
}

frmEdit::~frmEdit()
{
    ReleaseSurface();
}

void frmEdit::BuildControls()
{
    cboID = new QComboBox(this);
    Place(*cboID, 180, 120, 3735, 315);
    txtDesc = new QLineEdit(this);
    Place(*txtDesc, 180, 540, 3735, 315);
    auto* lblWidth = new QLabel("Track width", this);
    Place(*lblWidth, 180, 1020, 930, 195);
    auto* lblGap = new QLabel("Lanes gap", this);
    Place(*lblGap, 180, 1440, 810, 195);
    txtStdWidth = new QLineEdit(this);
    Place(*txtStdWidth, 2400, 960, 1515, 315);
    txtGap = new QLineEdit(this);
    Place(*txtGap, 2400, 1320, 1515, 315);
    txtR1 = new QLineEdit(this);
    Place(*txtR1, 2400, 1680, 1515, 315);

    grd.AddColumn("Field0").Caption("Field0");
    grd.AddColumn("Field1").Caption("Field1");
    grd.AddColumn("Field2");
    for (int c = 1; c <= grd.ColumnCount(); ++c) {
        grd.Column(c).ReadOnly(true);
    }
    grd.RowChosen = [this](int row) { grd_RowChosen(row); };
    grdView_ = new cGridWidget(grd, this);
    grdView_->setObjectName("grd");
    Place(*grdView_, 120, 2460, 3735, 4155);

    const QFont mono("Consolas", 8);
    txtExtra = new QPlainTextEdit(this);
    txtExtra->setFont(mono);
    Place(*txtExtra, 120, 6840, 3735, 1455);
    cmdApply = new QPushButton("Command1", this);
    Place(*cmdApply, 1260, 8460, 1095, 435);
    txtPts = new QPlainTextEdit(this);
    txtPts->setFont(mono);
    Place(*txtPts, 120, 8940, 3735, 1455);

    sldAngle = new QSlider(Qt::Horizontal, this);
    sldAngle->setRange(-120, 120);
    sldAngle->setValue(0);
    sldAngle->setSingleStep(1);
    sldAngle->setPageStep(10);
    sldAngle->setTickInterval(5);
    sldAngle->setTickPosition(QSlider::TicksBelow);
    Place(*sldAngle, 4860, 120, 3435, 375);
    txtAngle = new QLineEdit(this);
    Place(*txtAngle, 8220, 180, 375, 315);
    cmdAngle = new QPushButton("0", this);
    Place(*cmdAngle, 8580, 180, 435, 315);

    sld = new QSlider(Qt::Vertical, this);
    sld->setRange(50, 2000);
    sld->setValue(1000);
    sld->setSingleStep(10);
    sld->setPageStep(50);
    sld->setTickInterval(10);
    sld->setTickPosition(QSlider::NoTicks);
    Place(*sld, kSliderLeft, kLayoutTop, kSliderWidth, 4155);
    pic = new cPictureBox(this);
    Place(*pic, kPicLeft, kLayoutTop, 4155, 4155);

    connect(cboID, &QComboBox::activated, this, [this](int) { toGrid(); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdAngle, &QPushButton::clicked, this, [this] { cmdAngle_Click(); });
    sld->installEventFilter(this);
    sldAngle->installEventFilter(this);
    pic->MouseDown = [this](int, int, double x, double y) { pic_MouseDown(x, y); };
    pic->MouseMove = [this](int, int, double x, double y) { pic_MouseMove(x, y); };
    pic->Resize = [this] { pic_Resize(); };
}

void frmEdit::ReleaseSurface()
{
    if (pic != nullptr && zvLib::EditPic == &pic->Surface()) {
        zvLib::EditPic = nullptr;
    }
}

void frmEdit::Form_Load()
{
    zvLib::EditPic = &pic->Surface();
    loadDefID();
    SetupView(2000);
}

void frmEdit::Form_Resize()
{
    const int width = cQtConvert::PixelsToTwips(this->width());
    const int height = cQtConvert::PixelsToTwips(this->height());
    if (width < kMinLayoutWidth || height < kMinLayoutHeight) {
        return;
    }
    const int low = height - kLayoutBottom - kLayoutTop;
    Place(*sld, kSliderLeft, kLayoutTop, kSliderWidth, low);
    Place(*pic, kPicLeft, kLayoutTop, width - kPicLeft, low);
}

void frmEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool frmEdit::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == sld || watched == sldAngle) && event->type() == QEvent::MouseButtonRelease) {
        // The slider takes the release first, so the preview shows the value it ends at.
        watched->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, event);
        watched->installEventFilter(this);
        doItem();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmEdit::loadDefID()
{
    cboID->clear();
    cRecordset& cat = zvLib::Catalogue;
    if (!cat.IsOpen()) {
        return;
    }
    cat.Filter("");
    cat.Filter("itemID='000' and tipoinfo='base'");
    const QSignalBlocker quiet(cboID);
    for (cat.MoveFirst(); !cat.Eof(); cat.MoveNext()) {
        cboID->addItem(ToQString(FldValue(cat.Fields("setID")).toText()));
    }
    if (cboID->count() > 0) {
        cboID->setCurrentIndex(0);
        toGrid();
    }
}

void frmEdit::toGrid()
{
    set_ = FromQString(cboID->currentText());
    cRecordset& cat = zvLib::Catalogue;
    cat.Filter("");
    cat.Filter("setID='" + set_ + "' and tipoinfo='base'");
    if (cat.MoveFirst() == 0 && !cat.Eof()) {
        txtDesc->setText(ToQString(Trimmed(FldValue(cat.Fields("desc_en")).toText())));
        txtGap->setText(ToQString(Format(FldValue(cat.Fields("lanesGap")), "0.0000")));
        txtStdWidth->setText(ToQString(Format(FldValue(cat.Fields("stdWidth")), "0.0000")));
        txtR1->setText(ToQString(Format(FldValue(cat.Fields("stdRadius")), "0.0000")));
    }
    cat.Filter("");

    cGridArray fields(3);
    for (std::size_t i = 0; i < zvLib::PieceTable.size(); ++i) {
        const zvPieceRecord& rec = zvLib::PieceTable[i];
        if (zvLib::SameText(rec.setID, set_) && rec.classe != 0) {
            fields[0].push_back(rec.itemID);
            fields[1].push_back(rec.description);
            fields[2].push_back(std::to_string(i));
        }
    }
    grd.LoadArray(fields);
}

void frmEdit::grd_RowChosen(int row)
{
    if (row < 1 || row > grd.RowCount()) {
        return;
    }
    key_ = grd.Value(row - 1, 0);
    index_ = static_cast<int>(cVariant(grd.Value(row - 1, 2)).toDouble());
    chosen_ = true;
    doItem();
}

void frmEdit::SetupView(double size)
{
    cSurface& s = zvLib::Need(zvLib::EditPic, "piece editor");
    // A box not laid out yet shows a square world.
    const double e = pic->width() > 0 ? pic->height() * size / pic->width() : size;
    viewSize_ = size;
    s.Cls();
    s.Scale(-0.1 * size, e / 2, 0.9 * size, -e / 2);
    s.DrawWidth(1);
    s.DrawStyle(2);
    s.Line(s.ScaleLeft(), 0, s.ScaleWidth(), 0, 0);
    s.Line(0, s.ScaleTop(), 0, s.ScaleHeight(), 0);
    s.DrawStyle(0);
}

void frmEdit::doItem()
{
    viewSize_ = sld->value();
    previewAngle_ = sldAngle->value();
    txtAngle->setText(QString::number(previewAngle_));
    DrawPreview();
    if (index_ >= 0 && static_cast<std::size_t>(index_) < zvLib::PieceTable.size()) {
        txtExtra->setPlainText(
            ToQString(zvLib::PieceTable[static_cast<std::size_t>(index_)].extra));
    }
}

void frmEdit::pic_Resize()
{
    if (zvLib::EditPic != nullptr) {
        DrawPreview();
    }
}

void frmEdit::DrawPreview()
{
    SetupView(viewSize_);
    std::string key = key_;
    std::shared_ptr<zvItem> piece =
        zvLib::CreateItem(set_, key, cFixed(), cFixed(), cFixed::fromDouble(previewAngle_));
    if (!piece || piece->Class() == 0) {
        return;
    }
    piece->TrackIndex(1);
    piece->Display();
    cSurface& s = zvLib::Need(zvLib::EditPic, "piece editor");
    const std::vector<zvPoint> outline = piece->GetOutline();
    zvLib::DrawPolyline(s, outline, kOutlineColor, kOutlineWidth);
    zvLib::DrawPoints(s, outline, kCornerColor, kCornerWidth);
    pic->update();
}

void frmEdit::cmdApply_Click()
{
    // Nothing is written before a piece type has been chosen.
    if (!chosen_ || index_ < 0 || static_cast<std::size_t>(index_) >= zvLib::PieceTable.size()) {
        return;
    }
    zvLib::PieceTable[static_cast<std::size_t>(index_)].extra =
        ToCrLf(Trimmed(FromQString(txtExtra->toPlainText())));
    doItem();
}

void frmEdit::cmdAngle_Click()
{
    sldAngle->setValue(0);
}

void frmEdit::pic_MouseDown(double x, double y)
{
    const std::string point = Format(cVariant(x), "0") + ":" + Format(cVariant(y), "0") + ";";
    txtPts->setPlainText(txtPts->toPlainText() + ToQString(point));
}

void frmEdit::pic_MouseMove(double x, double y)
{
    std::string text = Format(cVariant(x), "0") + ":" + Format(cVariant(y), "0");
    zvLib::SetStatus(text, false);
}

namespace zvLib {

frmEdit& EditWindow()
{
    if (auto* loaded = qobject_cast<frmEdit*>(Form(zvForm::frmEdit))) {
        return *loaded;
    }
    auto* editor = new frmEdit(Form(zvForm::frmMain));
    editor->hide();
    LoadForm(zvForm::frmEdit, editor);
    editor->Form_Load();
    return *editor;
}

} // namespace zvLib
