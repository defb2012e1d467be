// cQtSurface: the drawing surface over a QPainter. It draws either on an image of its own
// (the canvas and the image exports: the drawing stays until Cls, as on a picture box that
// keeps its picture) or on an external paint device such as a printer page. User units are
// mapped to device pixels by the surface's scale; pens are measured in device pixels, and
// dashed or dotted pens are drawn solid when wider than one pixel, as on a picture box. An
// own image of some height is painted in bands on worker threads (cQtBandPainter), with the
// very pixels one painter would give.
#pragma once

#include "foundation/cSurface.h"
#include "platform/cDirtyBands.h"
#include "platform/cQtBandPainter.h"
#include "platform/cQtFontCache.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;

class cQtSurface : public cSurface {
public:
    // A window surface over an image of its own, width by height pixels, cleared to the
    // background colour; the scale starts in twips.
    cQtSurface(int width, int height);
    // A surface over an external device that must outlive it. A printer page has no window
    // and no device context: its client size is 0, pixel conversions and path calls are
    // refused, Cls raises error 438; lines, circles, dots and text are drawn as usual.
    cQtSurface(QPaintDevice* device, bool printer);
    // Ends painting (on a printer, that ends the document).
    ~cQtSurface() override;
    cQtSurface(const cQtSurface&) = delete;
    cQtSurface& operator=(const cQtSurface&) = delete;

    // Sizes and capabilities of the device.
    int ClientWidth() const override;
    int ClientHeight() const override;
    bool HasDC() const override { return !printer_; }
    int DeviceWidth() const override;
    int DeviceHeight() const override;
    double DeviceDpi() const override;

    // Text measures of the current font on this device, in user units (signed as the scale).
    double TextWidth(const std::string& text) override;
    double TextHeight(const std::string& text) override;

    // A line, or the outline of a box, drawn in invert mode with a one-pixel pen in the pen
    // style: every pixel under the pen is inverted, whatever the colour, so drawing the same
    // figure again restores the picture below (the rubber bands of the canvas tools).
    void InvertLine(double x1, double y1, double x2, double y2) { doInvert(x1, y1, x2, y2, false); }
    void InvertBox(double x1, double y1, double x2, double y2) { doInvert(x1, y1, x2, y2, true); }

    // The own image with everything drawn so far (a null image over an external device).
    const QImage& Image();
    // Gives the own image a new size; the drawing stays at the top-left corner and new area
    // takes the background colour. Sizes below 1 become 1.
    void Resize(int width, int height);
    // Smoothed edges (on by default); tests turn them off to probe exact pixels.
    bool Antialiasing() const { return antialiasing_; }
    void Antialiasing(bool on);
    // Draws a picture at its natural size (its own resolution) with its top-left corner at
    // (x, y) in user units.
    void PaintPicture(const QImage& picture, double x, double y);
    // Ends painting on the device; on a printer this ends the document and sends the page.
    // Drawing on an own image afterwards simply resumes. Raises cError (482 on a printer)
    // when the device reports that the drawing could not be finished.
    void EndDoc();
    // Draws every colour (pens, fills, text, pictures) as its shade of grey, as a printer
    // set to grayscale does; off by default.
    void Grayscale(bool on);

    // The colour of a colour value (red in the low byte); a value with the high bit set names
    // a system colour by the index in its low byte, taken from the application palette.
    static QColor ToQColor(std::int32_t color);
    // The most horizontal bands (and threads) an own image of a new or resized surface is
    // drawn in; 1 draws on the calling thread alone. By default up to 4, as the processor
    // allows; bands are at least 32 rows high.
    static int Bands();
    static void Bands(int most);

protected:
    // Inverts the pixels under a line or a box outline (see InvertLine).
    virtual void doInvert(double x1, double y1, double x2, double y2, bool box);
    void doCls() override;
    void doLine(double x1, double y1, double x2, double y2, std::int32_t color) override;
    void doBox(double x1, double y1, double x2, double y2, std::int32_t color,
               bool filled) override;
    void doCircle(double x, double y, double radius, std::int32_t color) override;
    void doArc(double x, double y, double radius, std::int32_t color, double start,
               double end) override;
    void doPSet(double x, double y, std::int32_t color) override;
    void doPrint(double x, double y, const std::string& text) override;
    void doBeginPath() override;
    void doMoveToEx(int x, int y) override;
    void doLineToPx(int x, int y) override;
    void doAngleArc(int x, int y, int radius, float start, float sweep) override;
    void doPolygon(const std::vector<cPixel>& points) override;
    void doEndPath() override;
    void doFlattenPath() override;
    void doStrokeAndFillPath() override;

private:
    // The painter, begun on the device when first needed (not used for drawing on an own
    // image painted in bands).
    QPainter& painter();
    // Paints the own image in bands from now on, when it is high enough for two; otherwise
    // the painter draws straight on it.
    void startBands();
    // The painting calls, straight on the painter or recorded for the bands. Shapes reach the
    // device rectangle that reaches() found for them last.
    void applyPen(const QPen& pen);
    void applyBrush(const QBrush& brush);
    void applySmooth(bool on);
    void paintLines(const QLineF* lines, int count, const QRectF& reach);
    void paintRect(const QRectF& rect);
    void paintEllipse(const QPointF& centre, double radius);
    void paintPoint(const QPointF& at);
    void paintPath(const QPainterPath& path);
    void paintFill(const QRect& rect, const QColor& color);
    void paintImage(const QRectF& area, const QImage& picture);
    void paintText(cQtFont& font, const std::string& text, const QPointF& topLeft);
    // Draws the segments waiting for their pen, then ends painting on the device; false when
    // the device reports that it could not finish.
    bool endPainting();
    // Draws the segments waiting for their pen in one call.
    void flushSegments();
    // A point in user units as a device point.
    QPointF toDevice(double x, double y) const;
    // Pixels per user unit across and down (signed).
    double pixelsPerUnitX() const;
    double pixelsPerUnitY() const;
    // The pens the primitives draw with: the pen of the drawing state (outlines, arcs,
    // paths), the same for straight segments, a round dot of the pen width, and the plain
    // pen of text.
    enum class PenKind { stroke, segment, dot, text };
    // What the painter's pen or brush was last made from.
    struct PenKey {
        QRgb rgb = 0;
        int width = 0;
        int style = 0;
        PenKind kind = PenKind::stroke;
        bool operator==(const PenKey&) const = default;
    };
    struct BrushKey {
        QRgb rgb = 0;
        int style = 0;
        bool operator==(const BrushKey&) const = default;
    };
    // The colour of a colour value as a QRgb, without building a QColor for plain colours.
    static QRgb rgbOf(std::int32_t color);
    // Gives the painter the pen of a kind in a colour, unless it has it already.
    void usePen(PenKind kind, std::int32_t color);
    // Gives the painter a brush of a fill style (numbered as FillStyle) in a colour, unless it
    // has it already.
    void useBrush(int fillStyle, std::int32_t color);
    // The pen of a kind in a colour under the drawing state.
    QPen makePen(PenKind kind, const QColor& color) const;
    // The pen style drawn: DrawStyle, with dashes and dots of a wider pen drawn solid.
    int penStyle() const;
    // True when a straight segment of the current pen ends in a square cap instead of a
    // round one: a solid two-pixel pen (the lanes) drawing on an image.
    bool squareSegments() const;
    // True when segments of the current pen may wait and be drawn together: Qt draws each
    // segment of a one-pixel or square-capped pen on its own even in one call, so the pixels
    // stay the same, while a wider round-capped pen would merge the outlines of overlapping
    // segments.
    bool batchedSegments() const { return DrawWidth() == 1 || squareSegments(); }
    // False when a shape lying within the device rectangle cannot touch the image, even with
    // a margin of pixels around it for the pen and smoothing; otherwise records where it may
    // draw, for Cls. Only an image is known to clip: on other devices everything reaches.
    bool reaches(const QRectF& bounds, double margin);
    // The device rectangle of an ended path when it is one rectangle along the pixel grid.
    std::optional<QRect> pathRect() const;
    // Room around the geometry of a stroke for the pen and smoothing, in pixels.
    double penMargin() const { return DrawWidth() + 2.0; }
    // The current font with its metrics, from the cache.
    cQtFont& font();
    // Closes the open figure of the path being built.
    void closeFigure();
    // Starts a figure at the current point when none is started.
    void startFigure();
    // Strokes (and with fill, fills) a figure drawn outside a path at once.
    void drawNow(const QPainterPath& figure, bool fill);

    QImage image_;
    QPaintDevice* device_;
    bool printer_;
    bool antialiasing_ = true;
    bool grayscale_ = false;
    QPainter painter_;
    // The pen and brush the painter holds, valid while the flags are set (painting begins
    // with Qt's defaults).
    PenKey penKey_;
    BrushKey brushKey_;
    bool penSet_ = false;
    bool brushSet_ = false;
    // The area that can be painted when the device is an image; empty otherwise.
    QRectF clip_;
    // Where the own image was drawn on since it was last cleared in the colour below.
    cDirtyBands dirty_;
    QRgb clearColor_ = 0;
    // A few pens made before, for pens the drawing switches between again and again.
    struct MadePen {
        PenKey key;
        QPen pen;
    };
    std::vector<MadePen> pens_;
    std::size_t nextPen_ = 0;
    // Segments drawn with the painter's current pen, not yet handed to it, and the device
    // rectangle they reach together.
    std::vector<QLineF> segments_;
    QRectF segmentsReach_;
    // The device rectangle the shape last found to reach the image can reach.
    QRectF reach_;
    // The own image's painting in bands, when it is.
    std::unique_ptr<cQtBandPainter> bands_;
    cQtFontCache fonts_;
    // The device context's current point and the path being built.
    QPointF pos_;
    QPainterPath path_;
    bool inPath_ = false;
    bool pathEnded_ = false;
    bool figureStarted_ = false;
    bool figureOpen_ = false;
};
