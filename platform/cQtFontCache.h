// cQtFontCache: the fonts a Qt drawing surface prints in, kept per face, size and boldness with
// their metrics, so that the many short labels of a circuit are measured and shaped once. Each
// font remembers the widths of the texts measured in it and the glyphs of the texts printed.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QList>
#include <QPointF>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QPaintDevice;
class QPainter;

// A text of one font: its advance width and, once printed, its glyphs laid out on one line.
struct cQtText {
    double width = 0;
    // True once the glyphs below have been laid out.
    bool laidOut = false;
    // The glyphs with the line's top-left corner at the origin.
    QList<QGlyphRun> glyphs;
    // How far the glyphs move down so that their baseline lies one font ascent below the top
    // (the line of a text in a fallback font may be taller than the font itself).
    double baselineShift = 0;
};

// One font on the device with its metrics and the texts met so far.
struct cQtFont {
    std::string name;
    double size = 0;
    bool bold = false;
    QFont font;
    QFontMetricsF metrics;
    // The line height and the ascent in pixels, read once from the metrics.
    double height = 0;
    double ascent = 0;
    std::unordered_map<std::string, cQtText> texts;
};

class cQtFontCache {
public:
    // A cache for the fonts on the device, which must outlive it.
    explicit cQtFontCache(QPaintDevice* device) : device_(device) {}

    // The font of a face name, size in points (at most 0 is taken as 1) and boldness.
    cQtFont& Font(const std::string& name, double size, bool bold);
    // A text of a font with its width measured (and nothing laid out yet).
    cQtText& Text(cQtFont& font, const std::string& text);
    // The same text with its glyphs laid out for drawing; nullptr when the text needs the
    // painter's own text layout (control characters, anything outside printable ASCII).
    const cQtText* Glyphs(cQtFont& font, const std::string& text);
    // Draws a text of a font with its top-left corner at a device point in the painter's pen
    // colour: on an image the glyphs laid out once, on other devices (a printer, a PDF page)
    // the text itself.
    void Draw(QPainter& painter, cQtFont& font, const std::string& text, const QPointF& topLeft);
    // Forgets every font and text (after the device's resolution may have changed).
    void Clear();

    // Most fonts and most texts per font kept; beyond them the cache starts afresh.
    static constexpr std::size_t kMaxFonts = 32;
    static constexpr std::size_t kMaxTexts = 2048;

private:
    QPaintDevice* device_;
    std::vector<std::unique_ptr<cQtFont>> fonts_;
    cQtFont* last_ = nullptr;
};
