// frmTest: the canvas test window's controls at their design places, the canvas wired to the
// picture box's mouse, key and size events, and the buttons and options that drive it.
#include "view/frmTest.h"

#include "model/zvLib_colors.h"
#include "platform/cPictureBox.h"
#include "platform/cQtConvert.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"

#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

// The test canvas zooms within the main canvas's bounds.
static_assert(cCanvas::kMinWidth == zvLib::kMinViewWidth &&
              cCanvas::kMaxWidth == zvLib::kMaxViewWidth);

namespace {

using cQtConvert::PixelsToTwips;
using cQtConvert::ToQString;
using cQtConvert::TwipsToPixels;

// The least room between two options, in twips.
constexpr int kOptionGap = 60;

// Puts a control at a place given in twips.
void Place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                   TwipsToPixels(height));
}

} // namespace

frmTest::frmTest(QWidget* owner) : QWidget(owner, Qt::Tool)
{
    setWindowTitle("Form1");
    resize(TwipsToPixels(10000), TwipsToPixels(7000));
    txtXY = new QLineEdit(this);
    Place(txtXY, 120, 240, 1215, 315);
    static const char* const captions[] = {"<", ">", "^", "v", "+", "-"};
    static const int lefts[] = {1440, 2100, 2760, 3480, 4500, 5160};
    for (int i = 0; i < 6; ++i) {
        cmd[static_cast<std::size_t>(i)] = new QPushButton(captions[i], this);
        Place(cmd[static_cast<std::size_t>(i)], lefts[i], 180, 615, 555);
        connect(cmd[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmd_Click(i); });
    }
    // Indexes in screen order: View 0, Point 2, Line 1, Meas 3.
    static const char* const options[] = {"View", "Line", "Point", "Meas"};
    static const int optLefts[] = {6420, 7860, 7140, 8880};
    for (int i = 0; i < 4; ++i) {
        auto* o = new QRadioButton(options[i], this);
        opt[static_cast<std::size_t>(i)] = o;
        connect(o, &QRadioButton::clicked, this, [this, i] { opt_Click(i); });
    }
    // Left to right, each option at least as wide as its caption in the window's font, and
    // moved right past the one before when that has grown.
    int right = 0;
    for (const int i : {0, 2, 1, 3}) {
        QRadioButton* o = opt[static_cast<std::size_t>(i)];
        Place(o, optLefts[i], 240, 555, 495);
        o->setGeometry(std::max(o->x(), right), o->y(), std::max(o->width(), o->sizeHint().width()),
                       o->height());
        right = o->geometry().right() + 1 + TwipsToPixels(kOptionGap);
    }
    pic = new cPictureBox(this);
    pic->setFocusPolicy(Qt::ClickFocus);
    pic->installEventFilter(this);
    txtInput = new QLineEdit(this);
    txtInput->setFont(QFont("Consolas"));
}

frmTest::~frmTest() = default;

void frmTest::Form_Load()
{
    cnv.MousePosition = [this](cFixed x, cFixed y, const std::string& text) {
        cnv_MousePosition(x, y, text);
    };
    cnv.ActionChange = [this](const std::string& previous, const std::string& next) {
        cnv_ActionChange(previous, next);
    };
    cnv.SetMousePointer = [this](int pointer) {
        if (pointer == cCanvas::kCrosshair) {
            pic->setCursor(Qt::CrossCursor);
        } else {
            pic->unsetCursor();
        }
    };
    cnv.outdevice(&pic->Surface());
    pic->MouseDown = [this](int, int, double x, double y) { cnv.pic_MouseDown(x, y); };
    pic->MouseMove = [this](int, int, double x, double y) { cnv.pic_MouseMove(x, y); };
    pic->Resize = [this] {
        cnv.pic_Resize();
        pic->update();
    };
    cnv.BackColor(zvLib::Colors.ToRGB("white"));
    cnv.GridFont("Calibri", 7, zvLib::Colors.ToRGB("gray"));
    Form_Resize();
    cnv.ViewPort(2000);
    pic->update();
}

void frmTest::Form_Resize()
{
    const int w = PixelsToTwips(width());
    const int h = PixelsToTwips(height());
    if (w < kMinLayoutTwips || h < kMinLayoutTwips) {
        return;
    }
    Place(pic, 0, 960, w, h - 960 - 600);
    const int picBottom = 960 + (h - 960 - 600);
    Place(txtInput, static_cast<int>(w * 0.66), picBottom + 60, static_cast<int>(w * 0.33), 315);
}

void frmTest::cmd_Click(int index)
{
    switch (index) {
    case 0: cnv.ViewPort(std::nullopt, cnv.CenterX() + kMoveStep); break;
    case 1: cnv.ViewPort(std::nullopt, cnv.CenterX() - kMoveStep); break;
    case 2: cnv.ViewPort(std::nullopt, std::nullopt, cnv.CenterY() - kMoveStep); break;
    case 3: cnv.ViewPort(std::nullopt, std::nullopt, cnv.CenterY() + kMoveStep); break;
    case 4: cnv.ViewPort(cnv.Width().toDouble() * kZoomFactor); break;
    case 5: cnv.ViewPort(cnv.Width().toDouble() / kZoomFactor); break;
    default: return;
    }
    pic->update();
}

void frmTest::opt_Click(int index)
{
    cnv.Action("");
    if (index == 3 && opt[3]->isChecked()) {
        cnv.Action("measure");
    }
}

void frmTest::cnv_MousePosition(cFixed, cFixed, const std::string& text)
{
    txtXY->setText(ToQString(text));
    pic->update();
}

void frmTest::cnv_ActionChange(const std::string&, const std::string&) {}

void frmTest::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool frmTest::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pic && event->type() == QEvent::KeyRelease && cnv.Picture()) {
        cnv.pic_KeyUp(static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape
                          ? cCanvas::kKeyEscape
                          : static_cast<QKeyEvent*>(event)->key());
        pic->update();
    }
    return QWidget::eventFilter(watched, event);
}

namespace zvLib {

frmTest& TestWindow()
{
    if (auto* loaded = qobject_cast<frmTest*>(Form(zvForm::frmTest))) {
        return *loaded;
    }
    auto* test = new frmTest(Form(zvForm::frmMain));
    LoadForm(zvForm::frmTest, test);
    test->Form_Load();
    return *test;
}

} // namespace zvLib
