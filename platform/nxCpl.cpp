// nxCpl: the button panel's slots and background. Buttons carry their array index in the
// "Index" property, the navigator is marked by the "nxDataNavADO" property; every other
// child is left where it is.
#include "platform/nxCpl.h"

#include "platform/cQtConvert.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

using cQtConvert::TwipsToPixels;

namespace {

constexpr int kPitch = 1245;       // button width and the gap of 30
constexpr int kLeftMargin = 60;    // before the first left-hand slot
constexpr int kRightEdge = 1275;   // from the right edge to the first right-hand slot
constexpr int kHiddenShift = 3000; // how far beyond the right edge hidden buttons go
constexpr int kLineGap = 15;       // the second line lies one pixel below the first

const char* const kIndex = "Index";
const char* const kNavigator = "nxDataNavADO";

QColor Grey246()
{
    return QColor(246, 246, 246);
}

// The 13 x 53 picture stretched over the panel in style 0: light at the top, darker below.
const QImage& PanelPicture()
{
    static const QImage img = [] {
        QImage i(13, 53, QImage::Format_RGB32);
        QPainter p(&i);
        QLinearGradient g(0, 0, 0, 53);
        g.setColorAt(0, QColor(252, 252, 252));
        g.setColorAt(1, QColor(214, 219, 229));
        p.fillRect(i.rect(), g);
        return i;
    }();
    return img;
}

// The 1 x 300 band along the top edge in style 2.
const QImage& TopBand()
{
    static const QImage img = [] {
        QImage i(1, 300, QImage::Format_RGB32);
        QPainter p(&i);
        QLinearGradient g(0, 0, 0, 300);
        g.setColorAt(0, QColor(200, 200, 200));
        g.setColorAt(1, QColor(246, 246, 246));
        p.fillRect(i.rect(), g);
        return i;
    }();
    return img;
}

} // namespace

nxCpl::nxCpl(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(TwipsToPixels(kPanelHeight));
}

std::intptr_t nxCpl::HWND()
{
    return static_cast<std::intptr_t>(winId());
}

void nxCpl::Mode(int v)
{
    mode_ = v;
    LayoutPanel();
}

void nxCpl::Style(int v)
{
    style_ = v;
    LayoutPanel();
}

void nxCpl::AddButton(QPushButton* button, int index)
{
    button->setParent(this);
    button->setProperty(kIndex, index);
    LayoutPanel();
}

void nxCpl::AddNavigator(QWidget* navigator)
{
    navigator->setParent(this);
    navigator->setProperty(kNavigator, true);
    LayoutPanel();
}

void nxCpl::ReadProperties(const QVariantMap& bag)
{
    Enabled(bag.value("Enabled", true).toBool());
    Mode(bag.value("Mode", 0).toInt());
    Style(bag.value("Style", 4).toInt());
    LayoutPanel();
}

void nxCpl::WriteProperties(QVariantMap& bag) const
{
    auto put = [&bag](const char* name, const QVariant& v, const QVariant& byDefault) {
        if (v == byDefault) {
            bag.remove(name);
        } else {
            bag.insert(name, v);
        }
    };
    put("Enabled", Enabled(), true);
    put("Mode", mode_, 0);
    put("Style", style_, 4);
}

int nxCpl::ButtonSlot(int mode, int index)
{
    switch (mode) {
    case 0:
        if (index == 0 || index == 1 || index == 2) {
            return index;
        }
        if (index == 4 || index == 5) {
            return index - 1;
        }
        if (index >= 6 && index <= 9) {
            return index;
        }
        return index == 3 ? kR2 : index == 99 ? kR1 : kHidden;
    case 1:
        if (index == 0 || index == 1) {
            return index;
        }
        if (index == 4 || index == 5) {
            return index - 2;
        }
        if (index >= 6 && index <= 9) {
            return index - 1;
        }
        return index == 3 ? kR2 : index == 99 ? kR1 : kHidden;
    case 2:
        return index == 0 ? kR2 : index == 99 ? kR1 : kHidden;
    case 3:
        return index == 0 ? kR3 : index == 99 ? kR2 : index == 1 ? kR1 : kHidden;
    case 10:
        return index == 1    ? 0
               : index == 10 ? 1
               : index == 4  ? 2
               : index == 5  ? 3
               : index == 3  ? kR2
               : index == 99 ? kR1
                             : kHidden;
    case 11:
        return index == 10 ? 0 : index == 4 ? 1 : index == 5 ? 2 : index == 99 ? kR1 : kHidden;
    default:
        return kHidden;
    }
}

int nxCpl::NavigatorSlot(int mode)
{
    switch (mode) {
    case 0:
        return 5;
    case 1:
    case 10:
        return 4;
    case 11:
        return 3;
    default:
        return kHidden;
    }
}

int nxCpl::ButtonLeft(int& slot, int panelWidth)
{
    if (slot == kHidden) {
        return panelWidth + kHiddenShift;
    }
    if (slot < 0) {
        slot += 99;
        return panelWidth - kRightEdge - kPitch * slot;
    }
    return kLeftMargin + kPitch * slot;
}

void nxCpl::LayoutPanel()
{
    if (style_ >= 0 && style_ <= 5) {
        look_ = style_;
    }
    update();
    if (mode_ == kModeNone) {
        return;
    }
    for (QObject* o : children()) {
        auto* child = qobject_cast<QWidget*>(o);
        if (child == nullptr || child->isWindow()) {
            continue;
        }
        if (qobject_cast<QPushButton*>(child) != nullptr) {
            const QVariant index = child->property(kIndex);
            PlaceChild(child, index.isValid() ? ButtonSlot(mode_, index.toInt()) : kHidden, true);
        } else if (child->property(kNavigator).toBool()) {
            const int slot = NavigatorSlot(mode_);
            if (slot == kHidden) {
                child->setVisible(false);
            } else {
                PlaceChild(child, slot, false);
            }
        }
    }
}

void nxCpl::PlaceChild(QWidget* child, int slot, bool button)
{
    const bool shown = slot != kHidden;
    const int left = ButtonLeft(slot, cQtConvert::PixelsToTwips(width()));
    child->setGeometry(TwipsToPixels(left), TwipsToPixels(kButtonTop), TwipsToPixels(kButtonWidth),
                       TwipsToPixels(kButtonHeight));
    if (button) {
        child->setVisible(shown);
    }
}

void nxCpl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    setFixedHeight(TwipsToPixels(kPanelHeight));
    LayoutPanel();
}

void nxCpl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::PaletteChange) {
        LayoutPanel();
    }
}

void nxCpl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QWidget* container = parentWidget() != nullptr ? parentWidget() : this;
    const QColor ambient = container->palette().color(container->backgroundRole());
    const int w = width();
    const int lineDown = TwipsToPixels(kLineGap);
    switch (look_) {
    case 0:
        p.drawImage(rect(), PanelPicture());
        break;
    case 1:
        p.fillRect(rect(), ambient);
        p.setPen(cQtConvert::ToQColor(static_cast<std::int32_t>(0x80000016u)));
        p.drawLine(0, 0, w, 0);
        p.setPen(cQtConvert::ToQColor(static_cast<std::int32_t>(0x80000014u)));
        p.drawLine(0, lineDown, w, lineDown);
        break;
    case 2:
        p.fillRect(rect(), Grey246());
        p.drawImage(QRect(0, 0, w, lineDown), TopBand());
        p.setPen(cQtConvert::ToQColor(static_cast<std::int32_t>(0x80000016u)));
        p.drawLine(0, 0, w, 0);
        break;
    case 4:
        p.fillRect(rect(), Qt::white);
        p.setPen(Grey246());
        p.drawLine(0, 0, w, 0);
        break;
    case 5:
        p.fillRect(rect(), Grey246());
        break;
    default: // 3
        p.fillRect(rect(), ambient);
        break;
    }
}
