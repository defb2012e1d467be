// Where the Qt surface's drawing goes: straight onto its painter, or, for an own image high
// enough, recorded by the band painter and played back on worker threads when the image is
// read.
#include "platform/cQtSurface.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

// The most bands an own image is painted in.
std::atomic<int> gBands{std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4)};

// Rows a band has at least.
constexpr int kBandRows = 32;

// The shade of grey of a colour, its transparency kept.
QColor Grey(const QColor& c)
{
    const int g = qGray(c.rgb());
    return QColor(g, g, g, c.alpha());
}

// A picture in the shades of grey of its colours, its transparency kept.
QImage Grey(const QImage& picture)
{
    QImage grey = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = qGray(row[x]);
            row[x] = qRgba(g, g, g, qAlpha(row[x]));
        }
    }
    return grey;
}

}  // namespace

int cQtSurface::Bands()
{
    return gBands.load();
}

void cQtSurface::Bands(int most)
{
    gBands.store(std::max(most, 1));
}

void cQtSurface::startBands()
{
    bands_.reset();
    penSet_ = false;
    brushSet_ = false;
    const int n = std::min(Bands(), image_.height() / kBandRows);
    if (device_ != &image_ || n < 2) {
        return;
    }
    bands_ = std::make_unique<cQtBandPainter>(image_, n);
    bands_->setSmooth(antialiasing_);
}

void cQtSurface::applyPen(const QPen& given)
{
    QPen pen = given;
    if (grayscale_) {
        pen.setColor(Grey(pen.color()));
    }
    if (bands_) {
        bands_->setPen(pen);
    } else {
        painter().setPen(pen);
    }
}

void cQtSurface::applyBrush(const QBrush& given)
{
    QBrush brush = given;
    if (grayscale_ && brush.style() != Qt::NoBrush) {
        brush.setColor(Grey(brush.color()));
    }
    if (bands_) {
        bands_->setBrush(brush);
    } else {
        painter().setBrush(brush);
    }
}

void cQtSurface::applySmooth(bool on)
{
    if (bands_) {
        bands_->setSmooth(on);
    } else if (painter_.isActive()) {
        painter_.setRenderHint(QPainter::Antialiasing, on);
        painter_.setRenderHint(QPainter::TextAntialiasing, on);
    }
}

void cQtSurface::paintLines(const QLineF* lines, int count, const QRectF& reach)
{
    if (bands_) {
        bands_->drawLines(lines, count, reach);
    } else {
        painter().drawLines(lines, count);
    }
}

void cQtSurface::paintRect(const QRectF& rect)
{
    if (bands_) {
        bands_->drawRect(rect, reach_);
    } else {
        painter().drawRect(rect);
    }
}

void cQtSurface::paintEllipse(const QPointF& centre, double radius)
{
    if (bands_) {
        bands_->drawEllipse(centre, radius, reach_);
    } else {
        painter().drawEllipse(centre, radius, radius);
    }
}

void cQtSurface::paintPoint(const QPointF& at)
{
    if (bands_) {
        bands_->drawPoint(at, reach_);
    } else {
        painter().drawPoint(at);
    }
}

void cQtSurface::paintPath(const QPainterPath& path)
{
    if (bands_) {
        bands_->drawPath(path, reach_);
    } else {
        painter().drawPath(path);
    }
}

void cQtSurface::paintFill(const QRect& rect, const QColor& given)
{
    const QColor color = grayscale_ ? Grey(given) : given;
    if (bands_) {
        bands_->fillRect(rect, color);
    } else {
        painter().fillRect(rect, color);
    }
}

void cQtSurface::paintImage(const QRectF& area, const QImage& given)
{
    const QImage picture = grayscale_ ? Grey(given) : given;
    if (bands_) {
        bands_->drawImage(area, picture);
    } else {
        painter().drawImage(area, picture);
    }
}

void cQtSurface::paintText(cQtFont& font, const std::string& text, const QPointF& topLeft)
{
    if (bands_) {
        bands_->drawText(FontName(), FontSize(), FontBold(), text, topLeft, reach_);
    } else {
        fonts_.Draw(painter(), font, text, topLeft);
    }
}
