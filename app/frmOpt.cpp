// frmOpt: the options dialog's controls as designed, its captions, the values shown on opening
// and after the default colours come back, the values put in force by OK and apply, and its
// place kept in the settings file.
#include "app/frmOpt.h"

#include "app/core/zvLib_options.h"
#include "app/core/zvLib_settings.h"
#include "app/zvLib_commands.h"
#include "app/zvLib_pickcolor.h"
#include "app/zvModal.h"
#include "foundation/cFixed.h"
#include "foundation/zvLang.h"
#include "model/zvLib_globals.h"
#include "model/zvUI.h"
#include "platform/cQtConvert.h"
#include "view/NUX_STD_forms.h"
#include "view/zvLang_forms.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

using cQtConvert::PixelsToTwips;
using cQtConvert::ToQString;
using cQtConvert::TwipsToPixels;

namespace {

const char* const kApp = "Zorv";

// The control name of an element of a control array, as "picLane(3)".
QString Indexed(const char* name, int index)
{
    return QString("%1(%2)").arg(name).arg(index);
}

// The colour value of a colour shown on screen: red in the low byte.
std::int32_t ColorValue(const QColor& c)
{
    return static_cast<std::int32_t>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

// A layout value of the settings in twips, or the default when missing or not a number.
int LayoutValue(const char* key, int def)
{
    const std::string text =
        zvLib::GetSetting(kApp, frmOpt::kLayoutSection, key, cVariant(static_cast<long>(def)));
    const std::optional<cFixed> v = cFixed::parse(text);
    if (!v || std::fabs(v->toDouble()) > 1e7) {
        return def;
    }
    return static_cast<int>(std::lround(v->toDouble()));
}

// The screen's size in twips; 0 by 0 when there is none.
QSize ScreenTwips(const QWidget& w)
{
    const QScreen* screen = w.screen() != nullptr ? w.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {0, 0};
    }
    return {PixelsToTwips(screen->geometry().width()), PixelsToTwips(screen->geometry().height())};
}

// The captions of the lane labels 1 to 8 and of the grid styles 0 to 3.
const char* const kLaneKeys[] = {"$options.col.lane1", "$options.col.lane2", "$options.col.lane3",
                                 "$options.col.lane4", "$options.col.lane5", "$options.col.lane6",
                                 "$options.col.lane7", "$options.col.lane8"};
const char* const kGridStyleKeys[] = {"$options.grid.style.0", "$options.grid.style.1",
                                      "$options.grid.style.2", "$options.grid.style.3"};

// The piece colours in the order of the piece pickers.
std::int32_t* TrackColor(int index)
{
    std::int32_t* const colours[] = {&zvLib::tracknormal, &zvLib::trackhilite, &zvLib::tracksketch,
                                     &zvLib::trackbanked, &zvLib::trackkerbs};
    return colours[index];
}

} // namespace

frmOpt::frmOpt(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmOpt");
    setWindowTitle("Options");
    setModal(true);
    BuildControls();
    setFixedSize(TwipsToPixels(kDesignWidth), TwipsToPixels(kDesignHeight));
    zvLang::FormTranslator(zvForm::frmOpt, [](QWidget& w) { static_cast<frmOpt&>(w).Translate(); });
    zvLib::FormUnloader(zvForm::frmOpt, [](QWidget& w) { static_cast<frmOpt&>(w).Form_Unload(); });
}

void frmOpt::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildColours());
    layout->addWidget(BuildGrid());
    layout->addStretch(1);
    layout->addWidget(BuildButtons());
}

QWidget* frmOpt::BuildColours()
{
    auto* fra = new QGroupBox("Colors", this);
    fra->setObjectName(Indexed("fra", 0));
    auto* grid = new QGridLayout(fra);
    // One picker with its label beside it; the label names the colour it edits.
    auto addPicker = [&](int picker, const QString& name, const QString& label, int row, int col) {
        auto* box = new QFrame(fra);
        box->setObjectName(name);
        box->setFrameShape(QFrame::Box);
        box->setFixedSize(TwipsToPixels(480), TwipsToPixels(300));
        box->setAutoFillBackground(true);
        box->setCursor(Qt::PointingHandCursor);
        box->installEventFilter(this);
        pickers_[static_cast<std::size_t>(picker)] = box;
        auto* lbl = new QLabel(fra);
        lbl->setObjectName(label);
        grid->addWidget(box, row, col);
        grid->addWidget(lbl, row, col + 1);
    };
    const char* const trackTexts[] = {"Normal",     "Selected", "Preview",
                                      "Background", "Banked",   "Kerbs"};
    addPicker(0, "picBack", Indexed("lblTrack", 3), 0, 0);
    for (int i = 0; i < kTrackPickers; ++i) {
        // The background's label sits among the piece labels as number 3.
        const int label = i < 3 ? i : i + 1;
        addPicker(kFirstTrack + i, Indexed("picTrack", i), Indexed("lblTrack", label), i + 1, 0);
    }
    for (int i = 1; i <= kLanePickers; ++i) {
        addPicker(kFirstLane + i - 1, Indexed("picLane", i), Indexed("lblLane", i), i - 1, 2);
        fra->findChild<QLabel*>(Indexed("lblLane", i))->setText(QString("Lane %1").arg(i));
    }
    for (int i = 0; i < 6; ++i) {
        fra->findChild<QLabel*>(Indexed("lblTrack", i))->setText(trackTexts[i]);
    }
    auto* lblWidth = new QLabel("Lane width", fra);
    lblWidth->setObjectName(Indexed("lblLane", 0));
    cboLane_ = new QComboBox(fra);
    cboLane_->setObjectName("cboLane");
    cboLane_->addItems({"1", "2", "3"});
    grid->addWidget(lblWidth, kLanePickers, 2);
    grid->addWidget(cboLane_, kLanePickers, 3);
    return fra;
}

QWidget* frmOpt::BuildGrid()
{
    auto* fra = new QGroupBox("Grid", this);
    fra->setObjectName(Indexed("fra", 1));
    auto* grid = new QGridLayout(fra);
    auto* lblStyle = new QLabel("Style", fra);
    lblStyle->setObjectName(Indexed("lblGrid", 0));
    cboGridStyle_ = new QComboBox(fra);
    cboGridStyle_->setObjectName("cboGridStyle");
    cboGridStyle_->addItems({"Simple", "Lines", "Dashes", "Dots"});
    auto* lblWidth = new QLabel("Width", fra);
    lblWidth->setObjectName(Indexed("lblGrid", 1));
    hscGridWidth_ = new QScrollBar(Qt::Horizontal, fra);
    hscGridWidth_->setObjectName("hscGridWidth");
    hscGridWidth_->setRange(kGridWidthMin, kGridWidthMax);
    hscGridWidth_->setSingleStep(10);
    hscGridWidth_->setPageStep(100);
    txtGridWidth_ = new QLineEdit(fra);
    txtGridWidth_->setObjectName("txtGridWidth");
    txtGridWidth_->setReadOnly(true);
    connect(hscGridWidth_, &QScrollBar::valueChanged, this, [this] { hscGridWidth_Change(); });
    grid->addWidget(lblStyle, 0, 0);
    grid->addWidget(cboGridStyle_, 0, 1, 1, 2);
    grid->addWidget(lblWidth, 1, 0);
    grid->addWidget(hscGridWidth_, 1, 1);
    grid->addWidget(txtGridWidth_, 1, 2);
    return fra;
}

QWidget* frmOpt::BuildButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    // The buttons in their place from left to right, with their design captions.
    const std::pair<int, const char*> buttons[] = {
        {10, "Default colors"}, {0, "OK"}, {1, "Apply"}, {99, "Cancel"}};
    for (const auto& [index, caption] : buttons) {
        auto* cmd = new QPushButton(caption, row);
        cmd->setObjectName(Indexed("cmd", index));
        cmd->setAutoDefault(false);
        connect(cmd, &QPushButton::clicked, this, [this, i = index] { cmd_Click(i); });
        if (index == 10) {
            layout->addWidget(cmd);
            layout->addStretch(1);
        } else {
            layout->addWidget(cmd);
        }
    }
    return row;
}

void frmOpt::Translate()
{
    auto set = [this](const QString& name, const char* key) {
        if (auto* w = findChild<QWidget*>(name)) {
            const QString text = ToQString(zvLang::Translate(key));
            if (auto* b = qobject_cast<QPushButton*>(w)) {
                b->setText(text);
            } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
                g->setTitle(text);
            } else if (auto* l = qobject_cast<QLabel*>(w)) {
                l->setText(text);
            }
        }
    };
    setWindowTitle(ToQString(zvLang::Translate("$options")));
    set(Indexed("cmd", 0), "$cmd.ok");
    set(Indexed("cmd", 1), "$cmd.apply");
    set(Indexed("cmd", 99), "$cmd.cancel");
    set(Indexed("cmd", 10), "$options.col.reset");
    set(Indexed("fra", 0), "$options.colors");
    for (int i = 1; i <= kLanePickers; ++i) {
        ShowColor(kFirstLane + i - 1, zvLib::LaneColors[static_cast<std::size_t>(i - 1)]);
        set(Indexed("lblLane", i), kLaneKeys[i - 1]);
    }
    set(Indexed("lblLane", 0), "$options.lanewidth");
    const char* const trackKeys[] = {"$options.col.normal",  "$options.col.selected",
                                     "$options.col.preview", "$options.col.background",
                                     "$options.col.banked",  "$options.col.kerbs"};
    for (int i : {3, 0, 1, 2, 4, 5}) {
        set(Indexed("lblTrack", i), trackKeys[i]);
    }
    set(Indexed("lblGrid", 1), "$options.grid.width");
    set(Indexed("lblGrid", 0), "$options.grid.style");
    set(Indexed("fra", 1), "$options.grid");
    for (int i = 0; i < cboGridStyle_->count(); ++i) {
        cboGridStyle_->setItemText(i, ToQString(zvLang::Translate(kGridStyleKeys[i])));
    }
}

void frmOpt::Form_Load()
{
    zvLang::TranslateForm(*this);
    RestoreLayout();
    ShowValues();
}

void frmOpt::RestoreLayout()
{
    const QSize screen = ScreenTwips(*this);
    const int top = LayoutValue("top", (screen.height() - kDesignHeight) / 2);
    const int left = LayoutValue("left", (screen.width() - kDesignWidth) / 2);
    move(TwipsToPixels(left), TwipsToPixels(top));
    NUX_STD_library::KeepOnWorkArea(*this);
}

void frmOpt::ShowValues()
{
    ShowColor(0, zvLib::background);
    for (int i = 0; i < kTrackPickers; ++i) {
        ShowColor(kFirstTrack + i, *TrackColor(i));
    }
    for (int i = 0; i < kLanePickers; ++i) {
        ShowColor(kFirstLane + i, zvLib::LaneColors[static_cast<std::size_t>(i)]);
    }
    // A lane width the list does not offer shows as the nearest it does.
    cboLane_->setCurrentIndex(std::clamp<int>(zvLib::LaneWidth, 1, 3) - 1);
    // Too fine a grid shows as the default spacing; the scroll bar holds a wider one to its end.
    const cFixed width = zvLib::GridWidth;
    hscGridWidth_->setValue(width < cFixed(kGridWidthMin)
                                ? 100
                                : static_cast<int>(std::clamp<std::int64_t>(
                                      width.toWhole(), kGridWidthMin, kGridWidthMax)));
    hscGridWidth_Change();
    // The plain style is shown as lines, and so is a style the list does not hold.
    const int style = zvLib::GridStyle;
    cboGridStyle_->setCurrentIndex(style >= 1 && style <= 3 ? style : 1);
}

void frmOpt::ApplyValues()
{
    zvLib::background = colors_[0];
    for (int i = 0; i < kTrackPickers; ++i) {
        *TrackColor(i) = colors_[static_cast<std::size_t>(kFirstTrack + i)];
    }
    zvLib::LaneWidth = static_cast<std::int16_t>(cboLane_->currentIndex() + 1);
    for (int i = 0; i < kLanePickers; ++i) {
        zvLib::LaneColors[static_cast<std::size_t>(i)] =
            colors_[static_cast<std::size_t>(kFirstLane + i)];
    }
    zvLib::GridWidth = cFixed(hscGridWidth_->value());
    zvLib::GridStyle = static_cast<std::int16_t>(cboGridStyle_->currentIndex());
}

void frmOpt::ShowColor(int picker, std::int32_t value)
{
    colors_[static_cast<std::size_t>(picker)] = value;
    QFrame* box = pickers_[static_cast<std::size_t>(picker)];
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, cQtConvert::ToQColor(value));
    box->setPalette(palette);
}

std::int32_t frmOpt::PickerColor(const QFrame& picker) const
{
    for (std::size_t i = 0; i < pickers_.size(); ++i) {
        if (pickers_[i] == &picker) {
            return colors_[i];
        }
    }
    return 0;
}

void frmOpt::Pick(int picker)
{
    QFrame* box = pickers_[static_cast<std::size_t>(picker)];
    const QColor before = box->palette().color(QPalette::Window);
    zvLib::PickColor(*box);
    const QColor after = box->palette().color(QPalette::Window);
    // A system colour stays one unless another colour was chosen.
    if (after != before) {
        colors_[static_cast<std::size_t>(picker)] = ColorValue(after);
    }
}

void frmOpt::picBack_Click()
{
    Pick(0);
}

void frmOpt::picTrack_Click(int index)
{
    if (index >= 0 && index < kTrackPickers) {
        Pick(kFirstTrack + index);
    }
}

void frmOpt::picLane_Click(int index)
{
    if (index >= 1 && index <= kLanePickers) {
        Pick(kFirstLane + index - 1);
    }
}

void frmOpt::hscGridWidth_Change()
{
    txtGridWidth_->setText(QString::number(hscGridWidth_->value()) + " mm");
}

void frmOpt::cmd_Click(int index)
{
    switch (index) {
    case 0:
    case 1:
        ApplyValues();
        if (index == 0) {
            // The options chosen stay in force even when they cannot be kept for next time.
            if (!zvLib::OptionsSave()) {
                zvLib::MsgBox(zvLang::NotSavedMessage(zvLib::IniFile), vbMsg::Exclamation);
            }
            QDialog::accept();
        }
        break;
    case 10:
        zvLib::DeleteSetting(kApp, "colors", "");
        zvLib::ColorsLoad();
        ShowValues();
        break;
    case 99:
        QDialog::reject();
        break;
    default:
        break;
    }
    std::string command = "view.design";
    zvLib::ExecCommand(command);
}

void frmOpt::Form_Unload()
{
    zvLib::SaveSettings(kLayoutSection, {{"top", std::to_string(PixelsToTwips(y()))},
                                         {"left", std::to_string(PixelsToTwips(x()))},
                                         {"width", std::to_string(PixelsToTwips(width()))},
                                         {"height", std::to_string(PixelsToTwips(height()))}});
}

void frmOpt::reject()
{
    cmd_Click(99);
}

bool frmOpt::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (std::size_t i = 0; i < pickers_.size(); ++i) {
            if (pickers_[i] != watched) {
                continue;
            }
            const int picker = static_cast<int>(i);
            if (picker == 0) {
                picBack_Click();
            } else if (picker < kFirstLane) {
                picTrack_Click(picker - kFirstTrack);
            } else {
                picLane_Click(picker - kFirstLane + 1);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

namespace zvLib {

void ShowOptions()
{
    auto* dialog = new frmOpt(Form(zvForm::frmMain));
    LoadForm(zvForm::frmOpt, dialog);
    dialog->Form_Load();
    ShowModal(*dialog);
    Unload(zvForm::frmOpt);
}

} // namespace zvLib
