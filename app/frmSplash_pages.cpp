// frmSplash's four pages as designed: the picture strip, the splash, the start page with its
// set chooser, lane options and file list, the about page, and the language chooser with its
// small badges; each page's buttons sit in a button panel.
#include "app/frmSplash.h"

#include "app/core/zvLib_settings.h"
#include "app/core/zvLib_stock.h"
#include "app/zvLib_shell.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/cDateParts.h"
#include "foundation/zvLang.h"
#include "platform/cQtConvert.h"
#include "platform/nxCpl.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <functional>

using cQtConvert::ToQString;
using cQtConvert::TwipsToPixels;

namespace {

// Runs an action when the watched widget is clicked.
class ClickFilter : public QObject {
  public:
    ClickFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action))
    {
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            action_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> action_;
};

void OnClick(QWidget* w, std::function<void()> action)
{
    w->setCursor(Qt::PointingHandCursor);
    w->installEventFilter(new ClickFilter(w, std::move(action)));
}

// The picture strip down the left side: a dark green field with a small two-lane circuit.
QPixmap StripPicture(int width, int height)
{
    QPixmap pm(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, QColor(28, 74, 52));
    g.setColorAt(1, QColor(12, 36, 26));
    p.fillRect(pm.rect(), g);
    QPainterPath track;
    const QRectF loop(width * 0.2, height * 0.18, width * 0.6, height * 0.5);
    track.addRoundedRect(loop, width * 0.28, width * 0.28);
    p.setPen(QPen(QColor(90, 90, 96), width * 0.16));
    p.drawPath(track);
    p.setPen(QPen(QColor(230, 60, 50), 2));
    p.drawPath(track);
    p.setPen(QPen(QColor(40, 140, 240), 2, Qt::DashLine));
    p.drawRoundedRect(loop.adjusted(-width * 0.05, -width * 0.05, width * 0.05, width * 0.05),
                      width * 0.32, width * 0.32);
    p.setPen(QColor(235, 240, 236));
    QFont f = p.font();
    f.setPointSize(18);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, static_cast<int>(height * 0.76), width, 40), Qt::AlignCenter, "Zorv");
    return pm;
}

// The badge of a language in the chooser: the colours of its flag with its code.
QIcon LanguageBadge(const QString& code)
{
    QPixmap pm(24, 16);
    QPainter p(&pm);
    auto stripes = [&p](bool vertical, std::initializer_list<QColor> colours) {
        const int n = static_cast<int>(colours.size());
        int i = 0;
        for (const QColor& c : colours) {
            if (vertical) {
                p.fillRect(i * 24 / n, 0, 24 / n + 1, 16, c);
            } else {
                p.fillRect(0, i * 16 / n, 24, 16 / n + 1, c);
            }
            ++i;
        }
    };
    if (code == "IT") {
        stripes(true, {QColor(0, 146, 70), Qt::white, QColor(206, 43, 55)});
    } else if (code == "FR") {
        stripes(true, {QColor(0, 35, 149), Qt::white, QColor(237, 41, 57)});
    } else if (code == "ES") {
        stripes(false, {QColor(170, 21, 27), QColor(241, 191, 0), QColor(241, 191, 0),
                        QColor(170, 21, 27)});
    } else {
        p.fillRect(pm.rect(), QColor(1, 33, 105));
        p.fillRect(9, 0, 6, 16, Qt::white);
        p.fillRect(0, 5, 24, 6, Qt::white);
        p.fillRect(10, 0, 4, 16, QColor(200, 16, 46));
        p.fillRect(0, 6, 24, 4, QColor(200, 16, 46));
    }
    return QIcon(pm);
}

QString NativeName(const std::string& code)
{
    if (code == "IT") {
        return "Italiano";
    }
    if (code == "EN") {
        return "English";
    }
    if (code == "ES") {
        return QString::fromUtf8("Español");
    }
    if (code == "DE") {
        return "Deutsch";
    }
    if (code == "FR") {
        return QString::fromUtf8("Français");
    }
    return QString();
}

// A combo box as the set list fills it.
class SetCombo : public zvSetCombo {
  public:
    explicit SetCombo(QComboBox& box) : box_(box) {}
    void Clear() override { box_.clear(); }
    void AddItem(const std::string& text, int data) override
    {
        box_.addItem(ToQString(text), data);
    }

  private:
    QComboBox& box_;
};

// The date value of a local time, for the locale's date and time formats.
double DateValue(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime c = t.time();
    const auto v = DateFromParts({d.year(), d.month(), d.day(), c.hour(), c.minute(), c.second()});
    return v.value_or(0.0);
}

QLabel* Label(QWidget* parent, const char* name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

void frmSplash::DrawStrip(int width, int height)
{
    img_->setPixmap(StripPicture(width, height));
}

QPushButton* frmSplash::AddButton(QWidget* parent, int index, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString("cmd(%1)").arg(index));
    connect(b, &QPushButton::clicked, this, [this, index] { cmd_Click(index); });
    cmd_[index] = b;
    return b;
}

void frmSplash::BuildSplashPage()
{
    auto* box = new QVBoxLayout(fra_[0]);
    box->setContentsMargins(24, 40, 24, 24);
    QLabel* title = Label(fra_[0], "lblTitle", "Zorv");
    QFont f = title->font();
    f.setPointSize(30);
    f.setBold(true);
    title->setFont(f);
    box->addWidget(title);
    box->addWidget(Label(fra_[0], "lblSubtitle", "Slot-car circuit designer"));
    box->addWidget(Label(fra_[0], "lblVersion", ToQString(NUX_STD_library::AppVersion())));
    box->addStretch();
    QLabel* nux = Label(fra_[0], "lblNux", "NUX");
    OnClick(nux, [this] { lblNux_Click(); });
    box->addWidget(nux);
}

void frmSplash::BuildStartPage()
{
    auto* page = new QVBoxLayout(fra_[1]);
    page->setContentsMargins(0, 0, 0, 0);
    auto* box = new QVBoxLayout;
    box->setContentsMargins(16, 16, 16, 4);
    page->addLayout(box, 1);
    box->addWidget(Label(fra_[1], "lbl(2)"));
    cbo_ = new QComboBox(fra_[1]);
    cbo_->setObjectName("cbo");
    box->addWidget(cbo_);
    auto* lanes = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        opt_[i] = new QRadioButton(fra_[1]);
        opt_[i]->setObjectName(QString("opt(%1)").arg(i));
        lanes->addWidget(opt_[i]);
    }
    box->addLayout(lanes);
    box->addWidget(Label(fra_[1], "lbl(0)"));
    fil_ = new QListWidget(fra_[1]);
    fil_->setObjectName("fil");
    connect(fil_, &QListWidget::itemDoubleClicked, this, [this] { cmd_Click(0); });
    box->addWidget(fil_, 1);
    auto* panel = new nxCpl(fra_[1]);
    panel->setObjectName("cpl");
    panel->Mode(3);
    panel->AddButton(AddButton(panel, 0, "Open"), 0);
    panel->AddButton(AddButton(panel, 99, "Cancel"), 99);
    panel->AddButton(AddButton(panel, 1, "New"), 1);
    page->addWidget(panel);
}

void frmSplash::BuildAboutPage()
{
    auto* box = new QVBoxLayout(fra_[2]);
    box->setContentsMargins(16, 16, 16, 0);
    QLabel* image = Label(fra_[2], "imgSplash(1)", "Zorv");
    QFont f = image->font();
    f.setPointSize(20);
    f.setBold(true);
    image->setFont(f);
    OnClick(image, [this] { imgSplash_Click(1); });
    box->addWidget(image);
    lblAbout4_ = Label(fra_[2], "lblAbout(4)");
    box->addWidget(lblAbout4_);
    txtCredits_ = new QTextEdit(fra_[2]);
    txtCredits_->setObjectName("txtCredits");
    txtCredits_->setReadOnly(true);
    txtCredits_->setPlainText("Zorv lays out slot-car racing circuits from catalogues of track "
                              "pieces, draws them to scale and lists lane lengths, size and the "
                              "pieces needed.\n\nPiece catalogue, language table and report "
                              "template: the Zorv team.");
    box->addWidget(txtCredits_, 1);
    // The maker's site by its host name; no link at all when the build names none.
    std::string host = zvLib::MakerSite;
    host = host.substr(host.find("://") == std::string::npos ? 0 : host.find("://") + 3);
    QLabel* web = Label(fra_[2], "lbl(99)", cQtConvert::ToQString(host.substr(0, host.find('/'))));
    web->setVisible(!zvLib::MakerSite.empty());
    OnClick(web, [this] { lbl_Click(99); });
    box->addWidget(web);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 8);
    buttons->addStretch();
    buttons->addWidget(AddButton(fra_[2], 2, "OK"));
    box->addLayout(buttons);
}

void frmSplash::BuildLanguagePage()
{
    auto* box = new QVBoxLayout(fra_[3]);
    box->setContentsMargins(12, 12, 12, 8);
    lblLegend_ = Label(fra_[3], "lblLegend");
    lblLegend_->setWordWrap(true);
    box->addWidget(lblLegend_);
    cboLang_ = new QComboBox(fra_[3]);
    cboLang_->setObjectName("cboLang");
    for (const QString& code : QString(kLanguages).split(';')) {
        cboLang_->insertItem(0, LanguageBadge(code), NativeName(code.toStdString()), code);
    }
    box->addWidget(cboLang_);
    box->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(AddButton(fra_[3], 3, "OK"));
    buttons->addWidget(AddButton(fra_[3], 98, "Cancel"));
    box->addLayout(buttons);
}

void frmSplash::PrepareStartPage()
{
    setWindowTitle(ToQString(zvLang::Translate("$splash.caption.new")));
    static const char* const kLanes[] = {"$splash.2lanes", "$splash.4lanes", "$splash.6lanes",
                                         "$splash.8lanes"};
    for (int i = 0; i < 4; ++i) {
        opt_[i]->setText(ToQString(zvLang::Translate(kLanes[i])));
    }
    findChild<QLabel*>("lbl(2)")->setText(ToQString(zvLang::Translate("$splash.cbo")));
    findChild<QLabel*>("lbl(0)")->setText(ToQString(zvLang::Translate("$splash.fil")));
    FillFileList();
    SetCombo sets(*cbo_);
    zvLib::FillSetCombo(sets);
    const QString last = ToQString(zvLib::GetSetting("Zorv", "options", "Last_Def", ""));
    const int entry = cbo_->findText(last, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cbo_->setCurrentIndex(entry >= 0 ? entry : 0);
    const std::string tkn = zvLib::GetSetting("Zorv", "options", "Last_Tkn", 0);
    const auto lane = cVariant::parseNumber(tkn);
    const int i = lane && *lane >= 0 && *lane <= 3 ? static_cast<int>(*lane) : 0;
    opt_[i]->setChecked(true);
    fra_[1]->show();
}

void frmSplash::FillFileList()
{
    filFolder_ = zvLib::DocsFolder;
    const QDir dir(ToQString(filFolder_));
    const QStringList files =
        dir.entryList({"*.zv5", "*.zv6", "*.zvd"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    fil_->addItems(files);
}

void frmSplash::PrepareAboutPage()
{
    setWindowTitle("Info");
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const double t = DateValue(program.lastModified().toLocalTime());
    const std::string line = zvLang::Translate("$version") + ": " +
                             NUX_STD_library::AppVersion() + " (" +
                             NUX_STD_library::FormatEx(t, "short date", 0) + " " +
                             NUX_STD_library::FormatEx(t, "short time", 0) + ")";
    lblAbout4_->setText(ToQString(line));
    fra_[2]->show();
}
