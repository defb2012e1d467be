// frmSplash: the pages' life (each use builds them afresh and ends by throwing them away), the
// modes, the language chooser and the buttons that set the answers.
#include "app/frmSplash.h"

#include "app/core/zvLib_settings.h"
#include "app/core/zvLib_stock.h"
#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/zvLang.h"
#include "platform/cQtConvert.h"
#include "view/NUX_STD_forms.h"
#include "view/zvLang_forms.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <sstream>
#include <vector>

using cQtConvert::ToQString;
using cQtConvert::TwipsToPixels;

namespace {

// The dialog's size in pixels for the pages and for the language chooser (in twips).
constexpr int kWidth = 640;
constexpr int kHeight = 400;
constexpr int kLangWidthTwips = 5550;
constexpr int kLangHeightTwips = 2340;
// The width of the picture strip at the left, in twips.
constexpr int kStripTwips = 1800;

std::vector<std::string> SplitAt(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, sep);) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == sep) {
        parts.emplace_back();
    }
    return parts;
}

} // namespace

frmSplash::frmSplash(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmSplash");
    setModal(true);
}

void frmSplash::Load()
{
    content_ = new QWidget(this);
    content_->setObjectName("content");
    img_ = new QLabel(content_);
    img_->setObjectName("img");
    for (int i = 0; i < 4; ++i) {
        fra_[i] = new QFrame(content_);
        fra_[i]->setObjectName(QString("fra(%1)").arg(i));
        fra_[i]->setAutoFillBackground(true);
        fra_[i]->hide();
    }
    BuildSplashPage();
    BuildStartPage();
    BuildAboutPage();
    BuildLanguagePage();
}

void frmSplash::Unload()
{
    hide();
    if (content_ != nullptr) {
        // Taken out of the dialog at once (the next use builds its own), destroyed once the
        // button whose click unloads the pages has returned.
        content_->hide();
        content_->setParent(nullptr);
        content_->deleteLater();
    }
    content_ = nullptr;
    img_ = nullptr;
    cbo_ = nullptr;
    fil_ = nullptr;
    lblAbout4_ = nullptr;
    txtCredits_ = nullptr;
    cboLang_ = nullptr;
    lblLegend_ = nullptr;
    for (int i = 0; i < 4; ++i) {
        fra_[i] = nullptr;
        opt_[i] = nullptr;
    }
    cmd_.clear();
    page_ = -1;
}

void frmSplash::LayOut(int width, int height)
{
    resize(width, height);
    NUX_STD_library::CenterForm(*this);
    content_->setGeometry(0, 0, width, height);
    const int strip = TwipsToPixels(kStripTwips);
    img_->setGeometry(0, 0, strip, height);
    DrawStrip(strip, height);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    for (int i = 0; i < 4; ++i) {
        fra_[i]->setPalette(white);
        if (i < 3) {
            fra_[i]->setGeometry(strip, 0, width - strip, height);
        }
    }
}

void frmSplash::setMode(int mode)
{
    Unload();
    if (mode != kSplash && mode != kStartPage && mode != kAbout) {
        QApplication::processEvents();
        return;
    }
    setWindowFlags(mode == kSplash ? Qt::SplashScreen | Qt::FramelessWindowHint : Qt::Dialog);
    Load();
    LayOut(kWidth, kHeight);
    page_ = mode;
    if (mode == kSplash) {
        fra_[0]->show();
        cmd_[2]->hide();
        setModal(false);
        show();
        QApplication::processEvents();
        return;
    }
    setModal(true);
    if (mode == kStartPage) {
        PrepareStartPage();
    } else {
        PrepareAboutPage();
    }
    zvLib::ShowModal(*this);
}

std::string frmSplash::getLanguage()
{
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
    Unload();
    setWindowFlags(Qt::Dialog);
    Load();
    LayOut(TwipsToPixels(kLangWidthTwips), TwipsToPixels(kLangHeightTwips));
    page_ = 3;
    fra_[3]->setGeometry(0, 0, width(), height());
    fra_[3]->show();
    fra_[3]->raise();
    const std::string& current = zvLang::LangID();
    if (!current.empty()) {
        setWindowTitle(ToQString(zvLang::Translate("$lang.caption")));
        lblLegend_->setText(ToQString(zvLang::Translate("$lang.legend")));
        cmd_[98]->setText(ToQString(zvLang::Translate("$cmd.cancel")));
        cboLang_->setCurrentIndex(cboLang_->findData(ToQString(current)));
    } else {
        setWindowTitle("Select language");
        lblLegend_->setText("Please select the language you wish to run Zorv.");
        cmd_[98]->setText("Cancel");
        cboLang_->setCurrentIndex(0);
    }
    setModal(true);
    zvLib::ShowModal(*this);
    const std::string code = ret_scode;
    Unload();
    return code;
}

void frmSplash::reject()
{
    switch (page_) {
    case kStartPage:
        cmd_Click(99);
        break;
    case kAbout:
        cmd_Click(2);
        break;
    case 3:
        cmd_Click(98);
        break;
    default:
        QDialog::reject();
        break;
    }
}

void frmSplash::cmd_Click(int index)
{
    if (index < 0 || index >= 100) {
        return;
    }
    switch (index) {
    case 0:
        if (fil_ == nullptr || fil_->currentItem() == nullptr) {
            return;
        }
        ret_action = "OPEN";
        ret_file = filFolder_ + cQtConvert::FromQString(fil_->currentItem()->text());
        break;
    case 1:
        ChooseNew();
        break;
    case 3:
        ret_scode = cQtConvert::FromQString(cboLang_->currentData().toString());
        break;
    case 98:
    case 99:
        ret_scode.clear();
        ret_action = "CANCEL";
        break;
    default:
        break;
    }
    hide();
    QApplication::processEvents();
    Unload();
}

void frmSplash::ChooseNew()
{
    ret_action = "NEW";
    int lane = 0;
    while (lane < 3 && !opt_[lane]->isChecked()) {
        ++lane;
    }
    zvLib::SaveSetting("Zorv", "options", "Last_Def", cQtConvert::FromQString(cbo_->currentText()));
    zvLib::SaveSetting("Zorv", "options", "Last_Tkn", lane);
    ret_angle = -180;
    ret_lanes = static_cast<std::int16_t>((lane + 1) * 2);
    const std::vector<std::string> sets = SplitAt(zvLib::GetSetList(), ';');
    const int at = cbo_->currentIndex() >= 0 ? cbo_->currentData().toInt() : -1;
    ret_scode = at >= 0 && at < static_cast<int>(sets.size()) ? sets[at] : std::string();
}

void frmSplash::imgSplash_Click(int index)
{
    if (index == 1) {
        lblNux_Click();
    }
}

void frmSplash::lbl_Click(int index)
{
    if (index == 99) {
        lblNux_Click();
    }
}

void frmSplash::lblNux_Click()
{
    if (!zvLib::MakerSite.empty()) {
        NUX_STD_library::ShellOpen(0, zvLib::MakerSite, 1);
    }
}

namespace zvLib {

frmSplash& Splash()
{
    auto* form = qobject_cast<frmSplash*>(Form(zvForm::frmSplash));
    if (form == nullptr) {
        form = new frmSplash;
        LoadForm(zvForm::frmSplash, form);
    }
    return *form;
}

} // namespace zvLib
