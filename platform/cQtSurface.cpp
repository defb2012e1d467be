// The Qt drawing surface: maps user units to device pixels, turns the drawing state into
// pens, brushes and fonts, and builds the device-pixel paths of filled shapes with
// QPainterPath. It hands Qt as little as it can: pens and brushes when they change, thin
// segments in batches, nothing that misses the image, and Cls only where it drew.
#include "platform/cQtSurface.h"

#include "foundation/cError.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPalette>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The palette colour standing for a system colour index.
QColor systemColor(unsigned index)
{
    const QPalette pal = qGuiApp ? QGuiApplication::palette() : QPalette();
    switch (index) {
    case 5: return pal.color(QPalette::Base);               // window background
    case 6: return pal.color(QPalette::Dark);               // window frame
    case 7: return pal.color(QPalette::WindowText);         // menu text
    case 8: return pal.color(QPalette::Text);               // window text
    case 13: return pal.color(QPalette::Highlight);         // selection
    case 14: return pal.color(QPalette::HighlightedText);   // selected text
    case 15: return pal.color(QPalette::Button);            // button face
    case 16: return pal.color(QPalette::Mid);               // button shadow
    case 17: return pal.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18: return pal.color(QPalette::ButtonText);        // button text
    case 20: return pal.color(QPalette::Light);             // button highlight
    case 21: return pal.color(QPalette::Shadow);            // dark shadow
    case 22: return pal.color(QPalette::Midlight);          // light 3D edge
    case 23: return pal.color(QPalette::ToolTipText);       // tooltip text
    case 24: return pal.color(QPalette::ToolTipBase);       // tooltip background
    case 26: return pal.color(QPalette::Link);              // hot-tracked item
    default: return pal.color(QPalette::Window);
    }
}

}  // namespace

cQtSurface::cQtSurface(int width, int height)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32), device_(&image_),
      printer_(false), fonts_(device_)
{
    image_.fill(ToQColor(BackColor()));
    clip_ = QRectF(image_.rect());
    clearColor_ = ToQColor(BackColor()).rgba();
    dirty_.Reset(image_.width(), image_.height());
    startBands();
    ScaleMode(1);
}

cQtSurface::cQtSurface(QPaintDevice* device, bool printer)
    : device_(device), printer_(printer), fonts_(device_)
{
    if (device_ == nullptr) {
        throw cError(91, "cQtSurface", "No paint device");
    }
    if (device_->devType() == QInternal::Image) {
        clip_ = QRectF(0, 0, device_->width(), device_->height());
    }
    dirty_.Reset(device_->width(), device_->height());
    dirty_.MarkAll();  // whatever the device holds
    ScaleMode(1);
}

cQtSurface::~cQtSurface()
{
    endPainting();
}

int cQtSurface::ClientWidth() const
{
    return printer_ ? 0 : device_->width();
}

int cQtSurface::ClientHeight() const
{
    return printer_ ? 0 : device_->height();
}

int cQtSurface::DeviceWidth() const
{
    // The own image answers without the paint device's metric call: every point drawn asks.
    return device_ == &image_ ? image_.width() : device_->width();
}

int cQtSurface::DeviceHeight() const
{
    return device_ == &image_ ? image_.height() : device_->height();
}

double cQtSurface::DeviceDpi() const
{
    int dpi = device_->logicalDpiX();
    return dpi > 0 ? dpi : 96;
}

double cQtSurface::TextWidth(const std::string& text)
{
    cQtFont& f = font();
    const double px = fonts_.Text(f, text).width;
    return DeviceWidth() > 0 ? px * ScaleWidth() / DeviceWidth() : 0;
}

double cQtSurface::TextHeight(const std::string&)
{
    const double px = font().height;
    return DeviceHeight() > 0 ? px * ScaleHeight() / DeviceHeight() : 0;
}

const QImage& cQtSurface::Image()
{
    if (device_ == &image_) {
        endPainting();  // a later drawing begins again
    }
    return image_;
}

void cQtSurface::Resize(int width, int height)
{
    if (device_ != &image_) {
        return;
    }
    endPainting();
    QImage resized(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    resized.fill(ToQColor(BackColor()));
    QPainter p(&resized);
    p.drawImage(0, 0, image_);
    p.end();
    image_ = resized;
    clip_ = QRectF(image_.rect());
    dirty_.Reset(image_.width(), image_.height());
    dirty_.MarkAll();
    startBands();
    fonts_.Clear();  // measured against the old image
}

void cQtSurface::Antialiasing(bool on)
{
    flushSegments();
    antialiasing_ = on;
    applySmooth(on);
}

void cQtSurface::PaintPicture(const QImage& picture, double x, double y)
{
    double dpm = picture.dotsPerMeterX() > 0 ? picture.dotsPerMeterX() : 96 / 0.0254;
    double scale = DeviceDpi() / (dpm * 0.0254);
    QSizeF size(picture.width() * scale, picture.height() * scale);
    flushSegments();
    const QRectF area(toDevice(x, y), size);
    dirty_.Mark(area.adjusted(-1, -1, 1, 1));
    paintImage(area, picture);
}

void cQtSurface::EndDoc()
{
    if (!endPainting()) {
        throw cError(printer_ ? 482 : 5, "cQtSurface", "The drawing could not be finished");
    }
}

void cQtSurface::Grayscale(bool on)
{
    flushSegments();
    grayscale_ = on;
    penSet_ = false;
    brushSet_ = false;
}

QRgb cQtSurface::rgbOf(std::int32_t color)
{
    const auto v = static_cast<std::uint32_t>(color);
    if (v & 0x80000000u) {
        return ToQColor(color).rgba();
    }
    return qRgb(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu),
                static_cast<int>((v >> 16) & 0xFFu));
}

QColor cQtSurface::ToQColor(std::int32_t color)
{
    const auto v = static_cast<std::uint32_t>(color);
    if (v & 0x80000000u) {
        return systemColor(v & 0xFFu);
    }
    return QColor(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu),
                  static_cast<int>((v >> 16) & 0xFFu));
}

QPainter& cQtSurface::painter()
{
    if (!painter_.isActive()) {
        if (!painter_.begin(device_)) {
            throw cError(printer_ ? 482 : 5, "cQtSurface", "Cannot paint on the device");
        }
        painter_.setRenderHint(QPainter::Antialiasing, antialiasing_);
        painter_.setRenderHint(QPainter::TextAntialiasing, antialiasing_);
        painter_.setBackgroundMode(Qt::TransparentMode);
        if (!clip_.isEmpty()) {
            // Clipping to the image itself changes no pixel, but only under a rectangular clip
            // of its own does Qt write the pixels of thin lines straight into the image
            // instead of handing each one to its span functions.
            painter_.setClipRect(clip_);
        }
        penSet_ = false;
        brushSet_ = false;
    }
    return painter_;
}

bool cQtSurface::endPainting()
{
    flushSegments();
    if (bands_) {
        bands_->Flush();
    }
    // On a printer, ending is where the page is sent or the file completed, and may fail.
    return !painter_.isActive() || painter_.end();
}

void cQtSurface::flushSegments()
{
    if (!segments_.empty()) {
        paintLines(segments_.data(), static_cast<int>(segments_.size()), segmentsReach_);
        segments_.clear();
    }
}

double cQtSurface::pixelsPerUnitX() const
{
    return ScaleWidth() != 0 ? DeviceWidth() / static_cast<double>(ScaleWidth()) : 0;
}

double cQtSurface::pixelsPerUnitY() const
{
    return ScaleHeight() != 0 ? DeviceHeight() / static_cast<double>(ScaleHeight()) : 0;
}

QPointF cQtSurface::toDevice(double x, double y) const
{
    return QPointF((x - ScaleLeft()) * pixelsPerUnitX(), (y - ScaleTop()) * pixelsPerUnitY());
}

QPen cQtSurface::makePen(PenKind kind, const QColor& color) const
{
    if (kind == PenKind::text) {
        return QPen(color);
    }
    if (kind == PenKind::dot) {
        return QPen(color, DrawWidth(), Qt::SolidLine, Qt::RoundCap);
    }
    QPen p(color);
    p.setWidth(DrawWidth());
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::FlatCap);
    switch (penStyle()) {
    case 1: p.setStyle(Qt::DashLine); break;
    case 2: p.setStyle(Qt::DotLine); break;
    case 3: p.setStyle(Qt::DashDotLine); break;
    case 4: p.setStyle(Qt::DashDotDotLine); break;
    case 5: p.setStyle(Qt::NoPen); break;
    default: p.setCapStyle(Qt::RoundCap); break;  // solid (0) and inside solid (6)
    }
    if (kind == PenKind::segment && squareSegments()) {
        p.setCapStyle(Qt::SquareCap);
    }
    return p;
}

int cQtSurface::penStyle() const
{
    // As on a picture box, dashes and dots exist only for the one-pixel pen.
    return DrawStyle() >= 1 && DrawStyle() <= 4 && DrawWidth() > 1 ? 0 : DrawStyle();
}

bool cQtSurface::squareSegments() const
{
    // Qt outlines a round cap and fills the outline, three times the work of the square cap
    // it rasterises directly. The square's corners reach at most half a pixel further than
    // the round end of a two-pixel pen; printer pages keep their round caps.
    const int style = penStyle();
    return DrawWidth() == 2 && (style < 1 || style > 5) && !printer_ && !clip_.isEmpty();
}

void cQtSurface::usePen(PenKind kind, std::int32_t color)
{
    if (!bands_) {
        painter();  // beginning to paint forgets the pen
    }
    const PenKey key{rgbOf(color), DrawWidth(), DrawStyle(), kind};
    if (penSet_ && key == penKey_) {
        return;
    }
    flushSegments();  // they wait for the pen the painter holds
    auto made = std::find_if(pens_.begin(), pens_.end(),
                             [&key](const MadePen& m) { return m.key == key; });
    if (made == pens_.end()) {
        constexpr std::size_t kPens = 8;
        const QColor c = ToQColor(color);
        if (pens_.size() < kPens) {
            made = pens_.insert(pens_.end(), MadePen{key, makePen(kind, c)});
        } else {
            made = pens_.begin() + static_cast<std::ptrdiff_t>(nextPen_);
            *made = MadePen{key, makePen(kind, c)};
            nextPen_ = (nextPen_ + 1) % kPens;
        }
    }
    applyPen(made->pen);
    penKey_ = key;
    penSet_ = true;
}

void cQtSurface::useBrush(int fillStyle, std::int32_t color)
{
    static constexpr Qt::BrushStyle kStyles[] = {
        Qt::SolidPattern, Qt::NoBrush,     Qt::HorPattern,   Qt::VerPattern,
        Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    if (!bands_) {
        painter();  // beginning to paint forgets the brush
    }
    const bool none = fillStyle < 0 || fillStyle > 7 || fillStyle == 1;
    const BrushKey key{none ? 0 : rgbOf(color), none ? 1 : fillStyle};
    if (brushSet_ && key == brushKey_) {
        return;
    }
    if (none) {
        applyBrush(Qt::NoBrush);
    } else {
        applyBrush(QBrush(ToQColor(color), kStyles[fillStyle]));
    }
    brushKey_ = key;
    brushSet_ = true;
}

bool cQtSurface::reaches(const QRectF& bounds, double margin)
{
    if (clip_.isEmpty()) {
        return true;
    }
    const double left = std::min(bounds.left(), bounds.right()) - margin;
    const double right = std::max(bounds.left(), bounds.right()) + margin;
    const double top = std::min(bounds.top(), bounds.bottom()) - margin;
    const double bottom = std::max(bounds.top(), bounds.bottom()) + margin;
    if (right < clip_.left() || left > clip_.right() || bottom < clip_.top() ||
        top > clip_.bottom()) {
        return false;
    }
    dirty_.Mark(left, top, right, bottom);
    reach_ = QRectF(QPointF(left, top), QPointF(right, bottom));
    return true;
}

cQtFont& cQtSurface::font()
{
    return fonts_.Font(FontName(), FontSize(), FontBold());
}

void cQtSurface::doInvert(double x1, double y1, double x2, double y2, bool box)
{
    // Inverting reads the pixels below, so everything drawn so far must be on the image.
    endPainting();
    const QPointF a = toDevice(x1, y1);
    const QPointF b = toDevice(x2, y2);
    if (!reaches(QRectF(a, b), 2.0)) {
        return;
    }
    QPainter p(device_);
    if (!clip_.isEmpty()) {
        p.setClipRect(clip_);
    }
    // White exclusive-or inverts red, green and blue; a second pass gives them back.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white);
    pen.setWidth(1);
    pen.setStyle(DrawStyle() >= 1 && DrawStyle() <= 4 ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (box) {
        p.drawRect(QRectF(a, b).normalized());
    } else {
        p.drawLine(a, b);
    }
}

void cQtSurface::doCls()
{
    flushSegments();
    if (printer_) {
        throw cError(438, "cQtSurface", "Object doesn't support this property or method: Cls");
    }
    const QColor back = ToQColor(BackColor());
    if (device_ == &image_ && back.rgba() == clearColor_) {
        // The rest of the own image still has this colour from the last clear.
        for (const QRect& r : dirty_.Rects()) {
            paintFill(r, back);
        }
    } else {
        paintFill(QRect(0, 0, DeviceWidth(), DeviceHeight()), back);
        clearColor_ = back.rgba();
    }
    dirty_.Reset(DeviceWidth(), DeviceHeight());
}

void cQtSurface::doLine(double x1, double y1, double x2, double y2, std::int32_t color)
{
    const QLineF line(toDevice(x1, y1), toDevice(x2, y2));
    if (!reaches(QRectF(line.p1(), line.p2()), penMargin())) {
        return;
    }
    usePen(PenKind::segment, color);
    if (batchedSegments()) {
        segmentsReach_ = segments_.empty() ? reach_ : segmentsReach_.united(reach_);
        segments_.push_back(line);
    } else {
        paintLines(&line, 1, reach_);
    }
}

void cQtSurface::doBox(double x1, double y1, double x2, double y2, std::int32_t color,
                       bool filled)
{
    flushSegments();
    const QRectF box = QRectF(toDevice(x1, y1), toDevice(x2, y2)).normalized();
    if (!reaches(box, penMargin())) {
        return;
    }
    usePen(PenKind::stroke, color);
    if (filled) {
        useBrush(0, color);
    } else {
        useBrush(FillStyle(), FillColor());
    }
    paintRect(box);
}

void cQtSurface::doCircle(double x, double y, double radius, std::int32_t color)
{
    flushSegments();
    const double r = std::fabs(radius * pixelsPerUnitX());
    const QPointF c = toDevice(x, y);
    if (!reaches(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), penMargin())) {
        return;
    }
    usePen(PenKind::stroke, color);
    useBrush(FillStyle(), FillColor());
    paintEllipse(c, r);
}

void cQtSurface::doArc(double x, double y, double radius, std::int32_t color, double start,
                       double end)
{
    flushSegments();
    // The sweep from start to end turning left, in (0, 2 pi]: equal angles are a full turn.
    constexpr double kTurn = 2 * std::numbers::pi;
    double sweep = std::fmod(end - start, kTurn);
    if (sweep <= 0) {
        sweep += kTurn;
    }
    // A user direction (cos a, sin a) lands on the device mirrored by the signs of the scale;
    // Qt measures angles counter-clockwise on the screen, whose y grows downwards.
    const double sx = pixelsPerUnitX() < 0 ? -1 : 1;
    const double sy = pixelsPerUnitY() < 0 ? -1 : 1;
    const double deviceStart = std::atan2(-std::sin(start) * sy, std::cos(start) * sx);
    const double deviceSweep = sweep * sx * -sy;
    const double r = std::fabs(radius * pixelsPerUnitX());
    const QPointF c = toDevice(x, y);
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    if (!reaches(box, penMargin())) {
        return;
    }
    QPainterPath arc;
    arc.arcMoveTo(box, deviceStart * 180 / std::numbers::pi);
    arc.arcTo(box, deviceStart * 180 / std::numbers::pi, deviceSweep * 180 / std::numbers::pi);
    usePen(PenKind::stroke, color);
    useBrush(1, 0);
    paintPath(arc);
}

void cQtSurface::doPSet(double x, double y, std::int32_t color)
{
    flushSegments();
    const QPointF at = toDevice(x, y);
    if (!reaches(QRectF(at, at), penMargin())) {
        return;
    }
    usePen(PenKind::dot, color);
    paintPoint(at);
}

void cQtSurface::doPrint(double x, double y, const std::string& text)
{
    flushSegments();
    cQtFont& f = font();
    const QPointF topLeft = toDevice(x, y);
    // A text reaches at most a line height beyond its advance box (overhangs, italics).
    const double h = f.height;
    if (!reaches(QRectF(topLeft, QSizeF(fonts_.Text(f, text).width, h)), h)) {
        return;
    }
    usePen(PenKind::text, ForeColor());
    paintText(f, text, topLeft);
}

void cQtSurface::closeFigure()
{
    if (figureOpen_) {
        path_.closeSubpath();
    }
    figureOpen_ = false;
    figureStarted_ = false;
}

void cQtSurface::startFigure()
{
    if (!figureStarted_) {
        path_.moveTo(pos_);
        figureStarted_ = true;
    }
}

void cQtSurface::drawNow(const QPainterPath& figure, bool fill)
{
    flushSegments();
    if (!reaches(figure.controlPointRect(), penMargin())) {
        return;
    }
    usePen(PenKind::stroke, ForeColor());
    useBrush(fill ? FillStyle() : 1, FillColor());
    paintPath(figure);
}

void cQtSurface::doBeginPath()
{
    path_ = QPainterPath();
    path_.setFillRule(Qt::OddEvenFill);
    inPath_ = true;
    pathEnded_ = false;
    figureStarted_ = false;
    figureOpen_ = false;
}

void cQtSurface::doMoveToEx(int x, int y)
{
    pos_ = QPointF(x, y);
    if (inPath_) {
        closeFigure();
        path_.moveTo(pos_);
        figureStarted_ = true;
    }
}

void cQtSurface::doLineToPx(int x, int y)
{
    const QPointF to(x, y);
    if (inPath_) {
        startFigure();
        path_.lineTo(to);
        figureOpen_ = true;
    } else {
        QPainterPath line(pos_);
        line.lineTo(to);
        drawNow(line, false);
    }
    pos_ = to;
}

void cQtSurface::doAngleArc(int x, int y, int radius, float start, float sweep)
{
    if (radius < 0) {
        return;
    }
    if (radius == 0) {
        doLineToPx(x, y);  // the arc shrinks to its centre
        return;
    }
    const QRectF box(x - radius, y - radius, 2.0 * radius, 2.0 * radius);
    if (inPath_) {
        startFigure();
        path_.arcTo(box, start, sweep);  // joins the current point to the arc's start
        figureOpen_ = true;
        pos_ = path_.currentPosition();
    } else {
        QPainterPath arc(pos_);
        arc.arcTo(box, start, sweep);
        drawNow(arc, false);
        pos_ = arc.currentPosition();
    }
}

void cQtSurface::doPolygon(const std::vector<cPixel>& points)
{
    if (points.size() < 2) {
        return;
    }
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const auto& pt : points) {
        poly << QPointF(pt.x, pt.y);
    }
    if (inPath_) {
        closeFigure();
        path_.addPolygon(poly);
        path_.closeSubpath();
    } else {
        QPainterPath figure;
        figure.addPolygon(poly);
        figure.closeSubpath();
        drawNow(figure, true);
    }
}

void cQtSurface::doEndPath()
{
    if (!inPath_) {
        return;
    }
    closeFigure();
    inPath_ = false;
    pathEnded_ = true;
}

void cQtSurface::doFlattenPath()
{
    // Qt turns the curves of a path into line segments itself when it fills and strokes it.
}

std::optional<QRect> cQtSurface::pathRect() const
{
    // One closed figure of four corners: a move, four lines, the last back to the first.
    if (path_.elementCount() != 5 || !path_.elementAt(0).isMoveTo()) {
        return std::nullopt;
    }
    QPointF corner[5];
    for (int i = 0; i < 5; ++i) {
        const QPainterPath::Element& e = path_.elementAt(i);
        if (i > 0 && !e.isLineTo()) {
            return std::nullopt;
        }
        corner[i] = QPointF(e.x, e.y);
        if (corner[i].x() != std::round(corner[i].x()) ||
            corner[i].y() != std::round(corner[i].y())) {
            return std::nullopt;
        }
    }
    if (corner[4] != corner[0]) {
        return std::nullopt;
    }
    // Each side runs along the grid, across and down in turn.
    const bool acrossFirst = corner[0].y() == corner[1].y();
    for (int i = 0; i < 4; ++i) {
        const bool across = (i % 2 == 0) == acrossFirst;
        const QPointF& a = corner[i];
        const QPointF& b = corner[i + 1];
        if (across ? a.y() != b.y() : a.x() != b.x()) {
            return std::nullopt;
        }
    }
    const QRectF r = QRectF(corner[0], corner[2]).normalized();
    return QRect(static_cast<int>(r.left()), static_cast<int>(r.top()),
                 static_cast<int>(r.width()), static_cast<int>(r.height()));
}

void cQtSurface::doStrokeAndFillPath()
{
    if (!pathEnded_) {
        return;
    }
    flushSegments();
    if (reaches(path_.controlPointRect(), penMargin())) {
        usePen(PenKind::stroke, ForeColor());
        const std::optional<QRect> rect = FillStyle() == 0 ? pathRect() : std::nullopt;
        if (rect) {
            // A rectangle on the pixel grid covers whole pixels: filled as a rectangle it
            // takes the same pixels, without scanning its outline, smoothed or not. Only
            // its outline is left to the path, so the painter's brush can stay empty.
            paintFill(*rect, ToQColor(FillColor()));
            useBrush(1, 0);
        } else {
            useBrush(FillStyle(), FillColor());
        }
        paintPath(path_);
    }
    path_ = QPainterPath();
    pathEnded_ = false;
}
