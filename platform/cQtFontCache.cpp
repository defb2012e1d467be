// The font cache of the Qt drawing surface: fonts are built and resolved once per face, size and
// boldness; widths and glyph runs once per text. Glyphs come from a one-line QTextLayout, which
// places them exactly where QPainter::drawText would.
#include "platform/cQtFontCache.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QString>
#include <QTextLayout>

#include <algorithm>

namespace {

// True when every byte is printable ASCII: such a text runs left to right on one line in the
// font itself, so its laid-out glyphs draw exactly as the painter's own text drawing does.
bool plainText(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// The font of the drawing state.
QFont makeFont(const std::string& name, double size, bool bold)
{
    QFont f(QString::fromStdString(name));
    f.setPointSizeF(size > 0 ? size : 1);
    f.setBold(bold);
    return f;
}

}  // namespace

cQtFont& cQtFontCache::Font(const std::string& name, double size, bool bold)
{
    if (last_ != nullptr && last_->size == size && last_->bold == bold && last_->name == name) {
        return *last_;
    }
    for (const auto& f : fonts_) {
        if (f->size == size && f->bold == bold && f->name == name) {
            last_ = f.get();
            return *last_;
        }
    }
    if (fonts_.size() >= kMaxFonts) {
        Clear();
    }
    QFont font = makeFont(name, size, bold);
    QFontMetricsF metrics(font, device_);
    fonts_.push_back(std::make_unique<cQtFont>(
        cQtFont{name, size, bold, font, metrics, metrics.height(), metrics.ascent(), {}}));
    last_ = fonts_.back().get();
    return *last_;
}

cQtText& cQtFontCache::Text(cQtFont& font, const std::string& text)
{
    auto it = font.texts.find(text);
    if (it != font.texts.end()) {
        return it->second;
    }
    if (font.texts.size() >= kMaxTexts) {
        font.texts.clear();
    }
    cQtText entry;
    entry.width = font.metrics.horizontalAdvance(QString::fromStdString(text));
    return font.texts.emplace(text, std::move(entry)).first->second;
}

const cQtText* cQtFontCache::Glyphs(cQtFont& font, const std::string& text)
{
    if (!plainText(text)) {
        return nullptr;
    }
    cQtText& entry = Text(font, text);
    if (!entry.laidOut) {
        QTextLayout layout(QString::fromStdString(text), font.font, device_);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid()) {
            line.setPosition(QPointF(0, 0));
        }
        layout.endLayout();
        if (line.isValid()) {
            entry.glyphs = layout.glyphRuns();
            entry.baselineShift = font.ascent - line.ascent();
        }
        entry.laidOut = true;
    }
    return &entry;
}

void cQtFontCache::Draw(QPainter& painter, cQtFont& font, const std::string& text,
                        const QPointF& topLeft)
{
    const cQtText* glyphs = painter.paintEngine()->type() == QPaintEngine::Raster
                                ? Glyphs(font, text)
                                : nullptr;
    if (glyphs != nullptr) {
        const QPointF origin(topLeft.x(), topLeft.y() + glyphs->baselineShift);
        for (const QGlyphRun& run : glyphs->glyphs) {
            painter.drawGlyphRun(origin, run);
        }
        return;
    }
    painter.setFont(font.font);
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + font.ascent),
                     QString::fromStdString(text));
}

void cQtFontCache::Clear()
{
    fonts_.clear();
    last_ = nullptr;
}
