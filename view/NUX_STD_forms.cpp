// NUX_STD_library, windows on the desktop: the work area from the primary screen's available
// geometry, and centring a window's frame in it.
#include "view/NUX_STD_forms.h"

#include "platform/cQtConvert.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

} // namespace NUX_STD_library
