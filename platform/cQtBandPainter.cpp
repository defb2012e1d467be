// The band painter: records drawing calls in plain lists and plays them back on worker
// threads, one horizontal band of the canvas each. The workers only read what was recorded;
// the few things Qt fills in lazily inside shared objects (a pen's dash pattern, a path's
// drawing form, the hatch pattern images) are filled in on the recording thread or never
// shared, and every band has its own fonts, as Qt keeps font engines per thread.
#include "platform/cQtBandPainter.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

// The first and last rows a device rectangle can reach, within 0 to height - 1; a rectangle
// of unknown place reaches every row.
std::pair<int, int> rowsOf(const QRectF& reach, int height)
{
    const double top = std::min(reach.top(), reach.bottom());
    const double bottom = std::max(reach.top(), reach.bottom());
    if (std::isnan(top) || std::isnan(bottom)) {
        return {0, height - 1};
    }
    const double first = std::clamp(std::floor(top), -1.0, static_cast<double>(height));
    const double last = std::clamp(std::ceil(bottom), -1.0, static_cast<double>(height));
    return {static_cast<int>(first), static_cast<int>(last)};
}

// A path of its own for one thread: Qt builds the form it draws a path from inside the
// path's shared data, so a path drawn on several threads at once must not share it.
QPainterPath ownCopy(const QPainterPath& path)
{
    QPainterPath copy = path;
    if (copy.elementCount() > 0) {
        const QPainterPath::Element first = copy.elementAt(0);
        copy.setElementPositionAt(0, first.x, first.y);  // detaches, changing nothing
    }
    return copy;
}

}  // namespace

cQtBandPainter::cQtBandPainter(QImage& canvas, int bands) : canvas_(canvas)
{
    // Qt makes the images of its hatch patterns when first asked; ask here, on one thread.
    QImage warmUp(8, 8, QImage::Format_RGB32);
    QPainter p(&warmUp);
    for (int style = Qt::Dense1Pattern; style <= Qt::DiagCrossPattern; ++style) {
        p.fillRect(warmUp.rect(), QBrush(Qt::black, static_cast<Qt::BrushStyle>(style)));
    }
    p.end();

    const int n = std::max(bands, 2);
    bands_.resize(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        bands_[i].fonts = std::make_unique<cQtFontCache>(&bands_[i].image);
    }
    Reset();
    for (std::size_t i = 1; i < bands_.size(); ++i) {
        threads_.emplace_back([this, i] { work(bands_[i]); });
    }
}

cQtBandPainter::~cQtBandPainter()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    start_.notify_all();
    for (std::thread& t : threads_) {
        t.join();
    }
}

void cQtBandPainter::setPen(const QPen& pen)
{
    pen_ = pen;
    penIndex_ = -1;
}

void cQtBandPainter::setBrush(const QBrush& brush)
{
    brush_ = brush;
    brushIndex_ = -1;
}

void cQtBandPainter::setSmooth(bool on)
{
    smooth_ = on;
}

void cQtBandPainter::drawLines(const QLineF* lines, int count, const QRectF& reach)
{
    const int first = static_cast<int>(lines_.size());
    lines_.insert(lines_.end(), lines, lines + count);
    record(Op::lines, reach, QRectF(), first, count);
}

void cQtBandPainter::drawRect(const QRectF& rect, const QRectF& reach)
{
    record(Op::rect, reach, rect);
}

void cQtBandPainter::drawEllipse(const QPointF& centre, double radius, const QRectF& reach)
{
    // The centre and radius as given: a box would not give them back to the last bit.
    record(Op::ellipse, reach, QRectF(centre.x(), centre.y(), radius, radius));
}

void cQtBandPainter::drawPoint(const QPointF& at, const QRectF& reach)
{
    record(Op::point, reach, QRectF(at, QSizeF()));
}

void cQtBandPainter::drawPath(const QPainterPath& path, const QRectF& reach)
{
    paths_.push_back(path);
    record(Op::path, reach, QRectF(), static_cast<int>(paths_.size()) - 1);
}

void cQtBandPainter::fillRect(const QRect& rect, const QColor& color)
{
    record(Op::fill, QRectF(rect), QRectF(rect), 0, 0, color.rgba());
}

void cQtBandPainter::drawImage(const QRectF& area, const QImage& picture)
{
    images_.push_back(picture);
    record(Op::image, area.adjusted(-1, -1, 1, 1), area, static_cast<int>(images_.size()) - 1);
}

void cQtBandPainter::drawText(const std::string& fontName, double size, bool bold,
                              const std::string& text, const QPointF& topLeft,
                              const QRectF& reach)
{
    texts_.push_back(Text{fontName, size, bold, text});
    record(Op::text, reach, QRectF(topLeft, QSizeF()), static_cast<int>(texts_.size()) - 1);
}

void cQtBandPainter::record(Op op, const QRectF& reach, const QRectF& geometry, int index,
                            int count, QRgb color)
{
    const auto [top, bottom] = rowsOf(reach, canvas_.height());
    if (bottom < 0 || top >= canvas_.height()) {
        return;  // no row of the canvas
    }
    const bool usesPen = op != Op::fill && op != Op::image;
    const bool usesBrush = op == Op::rect || op == Op::ellipse || op == Op::path;
    if (usesPen && penIndex_ < 0) {
        pens_.push_back(pen_);
        (void)pens_.back().dashPattern();  // Qt fills it in on first asking
        penIndex_ = static_cast<int>(pens_.size()) - 1;
    }
    if (usesBrush && brushIndex_ < 0) {
        brushes_.push_back(brush_);
        brushIndex_ = static_cast<int>(brushes_.size()) - 1;
    }
    calls_.push_back(Call{op, smooth_, usesPen ? penIndex_ : -1, usesBrush ? brushIndex_ : -1,
                          top, bottom, geometry, index, count, color});
}

void cQtBandPainter::Flush()
{
    if (calls_.empty()) {
        return;
    }
    // Detached here, on one thread; the workers write their rows through these.
    canvasBits_ = canvas_.bits();
    canvasStride_ = canvas_.bytesPerLine();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = static_cast<int>(threads_.size());
        ++round_;
    }
    start_.notify_all();
    play(bands_[0]);
    {
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return pending_ == 0; });
    }
    calls_.clear();
    pens_.clear();
    brushes_.clear();
    lines_.clear();
    paths_.clear();
    images_.clear();
    texts_.clear();
    penIndex_ = -1;
    brushIndex_ = -1;
}

void cQtBandPainter::Reset()
{
    calls_.clear();
    pens_.clear();
    brushes_.clear();
    lines_.clear();
    paths_.clear();
    images_.clear();
    texts_.clear();
    penIndex_ = -1;
    brushIndex_ = -1;
    const int h = canvas_.height();
    const int n = static_cast<int>(bands_.size());
    for (int i = 0; i < n; ++i) {
        Band& band = bands_[static_cast<std::size_t>(i)];
        band.top = h * i / n;
        band.bottom = h * (i + 1) / n;
        band.image = canvas_.copy();  // the same resolution: the fonts stay good
    }
}

void cQtBandPainter::work(Band& band)
{
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            start_.wait(lock, [this, seen] { return quit_ || round_ != seen; });
            if (quit_) {
                band.fonts->Clear();  // let go of the fonts on the thread that made them
                return;
            }
            seen = round_;
        }
        play(band);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (--pending_ == 0) {
                done_.notify_one();
            }
        }
    }
}

void cQtBandPainter::play(Band& band)
{
    QPainter p(&band.image);
    // As on the surface's own painter: the clip lets Qt write thin lines straight in.
    p.setClipRect(band.image.rect());
    p.setBackgroundMode(Qt::TransparentMode);
    int pen = -1;
    int brush = -1;
    int smooth = -1;
    for (const Call& call : calls_) {
        if (call.bottom < band.top || call.top >= band.bottom) {
            continue;
        }
        if (static_cast<int>(call.smooth) != smooth) {
            smooth = call.smooth ? 1 : 0;
            p.setRenderHint(QPainter::Antialiasing, call.smooth);
            p.setRenderHint(QPainter::TextAntialiasing, call.smooth);
        }
        if (call.pen >= 0 && call.pen != pen) {
            pen = call.pen;
            p.setPen(pens_[static_cast<std::size_t>(pen)]);
        }
        if (call.brush >= 0 && call.brush != brush) {
            brush = call.brush;
            p.setBrush(brushes_[static_cast<std::size_t>(brush)]);
        }
        draw(p, band, call);
    }
    p.end();
    const auto bytes = static_cast<std::size_t>(canvasStride_);
    for (int y = band.top; y < band.bottom; ++y) {
        std::memcpy(canvasBits_ + static_cast<qsizetype>(y) * canvasStride_,
                    band.image.constScanLine(y), bytes);
    }
}

void cQtBandPainter::draw(QPainter& p, Band& band, const Call& call)
{
    const QRectF& g = call.geometry;
    switch (call.op) {
    case Op::lines:
        p.drawLines(&lines_[static_cast<std::size_t>(call.index)], call.count);
        break;
    case Op::rect:
        p.drawRect(g);
        break;
    case Op::ellipse:
        p.drawEllipse(QPointF(g.x(), g.y()), g.width(), g.height());
        break;
    case Op::point:
        p.drawPoint(g.topLeft());
        break;
    case Op::path:
        p.drawPath(ownCopy(paths_[static_cast<std::size_t>(call.index)]));
        break;
    case Op::fill:
        p.fillRect(g.toRect(), QColor::fromRgba(call.color));
        break;
    case Op::image:
        p.drawImage(g, images_[static_cast<std::size_t>(call.index)]);
        break;
    case Op::text: {
        const Text& t = texts_[static_cast<std::size_t>(call.index)];
        band.fonts->Draw(p, band.fonts->Font(t.fontName, t.size, t.bold), t.text, g.topLeft());
        break;
    }
    }
}
