// NUX_STD_library, windows on the desktop: the work area from the primary screen's available
// geometry, centring a window's frame in it and keeping a window's frame inside it.
#include "view/NUX_STD_forms.h"

#include "platform/cQtConvert.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace NUX_STD_library {

std::array<int, 4> GetWorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {0, 0, 0, 0};
    }
    const QRect r = screen->availableGeometry();
    return {cQtConvert::PixelsToTwips(r.left()), cQtConvert::PixelsToTwips(r.top()),
            cQtConvert::PixelsToTwips(r.width()), cQtConvert::PixelsToTwips(r.height())};
}

void CenterForm(QWidget& form)
{
    const std::array<int, 4> area = GetWorkArea();
    const QRect frame = form.frameGeometry();
    const int width = cQtConvert::PixelsToTwips(frame.width());
    const int height = cQtConvert::PixelsToTwips(frame.height());
    const int left = area[0] + (area[2] - width) / 2;
    const int top = area[1] + (area[3] - height) / 2;
    form.move(cQtConvert::TwipsToPixels(left), cQtConvert::TwipsToPixels(top));
}

namespace {

// The window manager's border around a window: its own once it has one, else (not shown yet)
// that of a shown window that has one, which it will get alike.
QMargins Border(const QWidget& form)
{
    const QRect own = form.frameGeometry();
    if (own != form.geometry()) {
        return {form.geometry().left() - own.left(), form.geometry().top() - own.top(),
                own.right() - form.geometry().right(), own.bottom() - form.geometry().bottom()};
    }
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w != &form && w->isVisible() && w->frameGeometry() != w->geometry()) {
            return Border(*w);
        }
    }
    return {};
}

// Keeps a window restored while hidden inside the work area once more when the window
// manager has given it its own border (after it is shown), then goes.
class OnOwnBorder : public QObject {
  public:
    static constexpr const char* kName = "keepOnWorkArea";
    explicit OnOwnBorder(QWidget& form) : QObject(&form), form_(form)
    {
        setObjectName(kName);
        form.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        if (watched == &form_ && !done_ && (t == QEvent::Show || t == QEvent::Move) &&
            form_.isVisible() && form_.frameGeometry() != form_.geometry()) {
            done_ = true;
            form_.removeEventFilter(this);
            deleteLater();
            KeepOnWorkArea(form_);
        }
        return false;
    }

  private:
    QWidget& form_;
    bool done_ = false;
};

} // namespace

void KeepOnWorkArea(QWidget& form)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // The frame's place: a window's position is that of its frame's top left corner.
    const QRect frame(form.pos(), form.size().grownBy(Border(form)));
    const int left =
        std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (left != frame.left() || top != frame.top()) {
        form.move(left, top);
    }
    if (!form.isVisible() &&
        form.findChild<QObject*>(OnOwnBorder::kName, Qt::FindDirectChildrenOnly) == nullptr) {
        new OnOwnBorder(form);
    }
}

} // namespace NUX_STD_library
