// cQtConvert: twips to pixels and colour values to QColor, system colours through the
// application's palette.
#include "platform/cQtConvert.h"

#include <QGuiApplication>
#include <QPalette>

namespace cQtConvert {

int TwipsToPixels(int twips)
{
    const int half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

namespace {

// The palette role that stands for a system colour index.
QPalette::ColorRole SystemRole(int index)
{
    switch (index) {
    case 2:  // active caption
    case 13: // highlight
        return QPalette::Highlight;
    case 5: // window background
        return QPalette::Base;
    case 8: // window text
        return QPalette::Text;
    case 9:  // caption text
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 16: // button shadow
        return QPalette::Dark;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // 3-D highlight
        return QPalette::Light;
    case 21: // 3-D dark shadow
        return QPalette::Shadow;
    case 22: // 3-D light
        return QPalette::Midlight;
    case 23: // tool tip text
        return QPalette::ToolTipText;
    case 24: // tool tip background
        return QPalette::ToolTipBase;
    case 15: // button face
        return QPalette::Button;
    default:
        return QPalette::Window;
    }
}

} // namespace

QColor ToQColor(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    if ((v & 0x80000000u) != 0) {
        return QGuiApplication::palette().color(SystemRole(static_cast<int>(v & 0xFFu)));
    }
    return QColor(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu),
                  static_cast<int>((v >> 16) & 0xFFu));
}

} // namespace cQtConvert
