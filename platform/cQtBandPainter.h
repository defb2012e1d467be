// cQtBandPainter: painting on a canvas image shared out among threads. The calls are recorded
// with the pen, brush and smoothing they use and the rows they can reach; Flush plays them
// back in horizontal bands, each band on a worker thread and an image of its own, and copies
// each band's rows into the canvas. A band's pixels depend only on the calls that reach it,
// drawn in order with the same state on an image whose band rows hold the canvas's pixels,
// so the canvas comes out exactly as one painter drawing everything in order leaves it.
#pragma once

#include "platform/cQtFontCache.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPainterPath>
#include <QPen>
#include <QRectF>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class cQtBandPainter {
public:
    // Painting on the canvas in the given number of bands (at least 2); the canvas must
    // outlive the painter and change only through it, Flush and Reset.
    cQtBandPainter(QImage& canvas, int bands);
    // Stops the worker threads; what was recorded and not flushed is dropped.
    ~cQtBandPainter();
    cQtBandPainter(const cQtBandPainter&) = delete;
    cQtBandPainter& operator=(const cQtBandPainter&) = delete;

    // The state later calls draw with.
    void setPen(const QPen& pen);
    void setBrush(const QBrush& brush);
    void setSmooth(bool on);

    // Drawing calls, each with the device rectangle it can reach (pen and smoothing included).
    void drawLines(const QLineF* lines, int count, const QRectF& reach);
    void drawRect(const QRectF& rect, const QRectF& reach);
    void drawEllipse(const QPointF& centre, double radius, const QRectF& reach);
    void drawPoint(const QPointF& at, const QRectF& reach);
    void drawPath(const QPainterPath& path, const QRectF& reach);
    // Fills a rectangle of pixels in a colour, the pen and brush aside.
    void fillRect(const QRect& rect, const QColor& color);
    // Draws a picture scaled into a device rectangle.
    void drawImage(const QRectF& area, const QImage& picture);
    // A text in the pen's colour in a font (as cQtFontCache::Font names it) with its top-left
    // corner at a device point.
    void drawText(const std::string& fontName, double size, bool bold, const std::string& text,
                  const QPointF& topLeft, const QRectF& reach);

    // Plays back everything recorded and brings the canvas up to date.
    void Flush();
    // Takes the canvas as it now is (after it was replaced, say resized), dropping anything
    // recorded and not flushed.
    void Reset();

private:
    enum class Op : std::uint8_t { lines, rect, ellipse, point, path, fill, image, text };
    // One recorded call: what it draws with, where it reaches and its geometry or an index
    // into the list that holds it.
    struct Call {
        Op op;
        bool smooth;
        int pen;
        int brush;
        int top;  // first and last row it can reach
        int bottom;
        QRectF geometry;
        int index = 0;
        int count = 0;
        QRgb color = 0;
    };
    struct Text {
        std::string fontName;
        double size;
        bool bold;
        std::string text;
    };
    // What one band keeps between flushes.
    struct Band {
        int top = 0;  // its rows, top to bottom - 1
        int bottom = 0;
        QImage image;
        std::unique_ptr<cQtFontCache> fonts;
    };

    // Appends a call reaching a device rectangle, with the current state.
    void record(Op op, const QRectF& reach, const QRectF& geometry, int index = 0,
                int count = 0, QRgb color = 0);
    // Plays the recorded calls back on one band and copies its rows into the canvas.
    void play(Band& band);
    // One call on a band's painter.
    void draw(QPainter& p, Band& band, const Call& call);
    // The loop of the worker thread of a band.
    void work(Band& band);

    QImage& canvas_;
    uchar* canvasBits_ = nullptr;
    qsizetype canvasStride_ = 0;
    std::vector<Band> bands_;

    // The state set last, and its index in the lists below once a call used it.
    QPen pen_;
    QBrush brush_;
    bool smooth_ = true;
    int penIndex_ = -1;
    int brushIndex_ = -1;
    // The recorded calls and what they hold.
    std::vector<Call> calls_;
    std::vector<QPen> pens_;
    std::vector<QBrush> brushes_;
    std::vector<QLineF> lines_;
    std::vector<QPainterPath> paths_;
    std::vector<QImage> images_;
    std::vector<Text> texts_;

    // The workers (one per band but the first, which the flushing thread plays itself).
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable start_;
    std::condition_variable done_;
    unsigned round_ = 0;
    int pending_ = 0;
    bool quit_ = false;
};
