// cQtConvert: the small conversions between the program's values and Qt's: lengths in twips
// and pixels, colour values (red in the low byte, system colours with the high bit set) and
// UTF-8 texts.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

namespace cQtConvert {

// Twips in one pixel on the 96-dots-per-inch screen the layouts were designed for.
constexpr int kTwipsPerPixel = 15;

// A length in twips as whole pixels, rounded to the nearest.
int TwipsToPixels(int twips);
// A length in pixels as twips.
constexpr int PixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

// The colour of a colour value: red in the low byte, then green, then blue; a value with the
// high bit set names a system colour by its low byte (window, button face, caption, ...),
// taken from the application's palette.
QColor ToQColor(std::int32_t value);

// A UTF-8 text as a QString.
inline QString ToQString(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
// A QString as UTF-8 text.
inline std::string FromQString(const QString& s)
{
    return s.toStdString();
}

} // namespace cQtConvert
