// Painting in bands on worker threads against one QPainter drawing the same calls in order:
// every pixel must agree, whatever the number of bands and wherever shapes cross them.
#include "platform/cQtBandPainter.h"

#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kWidth = 160;

// Both ways of painting, fed the same calls.
class Both {
public:
    Both(int height, int bands, bool smooth)
        : canvas_(kWidth, height, QImage::Format_RGB32), ref_(kWidth, height, QImage::Format_RGB32)
    {
        canvas_.fill(Qt::white);
        ref_.fill(Qt::white);
        banded_ = std::make_unique<cQtBandPainter>(canvas_, bands);
        banded_->setSmooth(smooth);
        painter_.begin(&ref_);
        painter_.setClipRect(ref_.rect());
        painter_.setBackgroundMode(Qt::TransparentMode);
        smooth_ = smooth;
        applySmooth();
    }
    ~Both() { painter_.end(); }
    void pen(const QPen& p)
    {
        banded_->setPen(p);
        painter_.setPen(p);
    }
    void brush(const QBrush& b)
    {
        banded_->setBrush(b);
        painter_.setBrush(b);
    }
    void smooth(bool on)
    {
        banded_->setSmooth(on);
        smooth_ = on;
        applySmooth();
    }
    // Reach: the shape's box grown by a margin, as the surface hands it over.
    static QRectF grown(const QRectF& r, double m = 2) { return r.adjusted(-m, -m, m, m); }
    void lines(const std::vector<QLineF>& l)
    {
        QRectF box;
        for (const QLineF& x : l) {
            box = box.united(QRectF(x.p1(), x.p2()).normalized());
        }
        banded_->drawLines(l.data(), static_cast<int>(l.size()), grown(box));
        painter_.drawLines(l.data(), static_cast<int>(l.size()));
    }
    void rect(const QRectF& r)
    {
        banded_->drawRect(r, grown(r));
        painter_.drawRect(r);
    }
    void ellipse(const QPointF& c, double radius)
    {
        banded_->drawEllipse(c, radius, grown(QRectF(c, c).adjusted(-radius, -radius, radius, radius)));
        painter_.drawEllipse(c, radius, radius);
    }
    void point(const QPointF& at)
    {
        banded_->drawPoint(at, grown(QRectF(at, at), 8));
        painter_.drawPoint(at);
    }
    void path(const QPainterPath& p)
    {
        banded_->drawPath(p, grown(p.controlPointRect()));
        painter_.drawPath(p);
    }
    void fill(const QRect& r, const QColor& c)
    {
        banded_->fillRect(r, c);
        painter_.fillRect(r, c);
    }
    void image(const QRectF& area, const QImage& picture)
    {
        banded_->drawImage(area, picture);
        painter_.drawImage(area, picture);
    }
    void text(const std::string& t, const QPointF& topLeft, double size)
    {
        QFont f(QStringLiteral("Sans Serif"));
        f.setPointSizeF(size);
        const QFontMetricsF fm(f, &ref_);
        banded_->drawText("Sans Serif", size, false, t, topLeft,
                          grown(QRectF(topLeft, QSizeF(fm.horizontalAdvance(QString::fromStdString(t)),
                                                       fm.height())),
                                fm.height()));
        painter_.setFont(f);
        painter_.drawText(QPointF(topLeft.x(), topLeft.y() + fm.ascent()),
                          QString::fromStdString(t));
    }
    // Flushes the bands and counts the pixels that differ from the direct painting.
    int differences()
    {
        banded_->Flush();
        int n = 0;
        for (int y = 0; y < canvas_.height(); ++y) {
            for (int x = 0; x < kWidth; ++x) {
                n += canvas_.pixel(x, y) != ref_.pixel(x, y) ? 1 : 0;
            }
        }
        return n;
    }
    // Pixels of the direct painting that are not white.
    int ink() const
    {
        int n = 0;
        for (int y = 0; y < ref_.height(); ++y) {
            for (int x = 0; x < kWidth; ++x) {
                n += ref_.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        return n;
    }
    QImage& canvas() { return canvas_; }
    cQtBandPainter& banded() { return *banded_; }

private:
    void applySmooth()
    {
        painter_.setRenderHint(QPainter::Antialiasing, smooth_);
        painter_.setRenderHint(QPainter::TextAntialiasing, smooth_);
    }
    QImage canvas_;
    QImage ref_;
    std::unique_ptr<cQtBandPainter> banded_;
    QPainter painter_;
    bool smooth_ = false;
};

// Smoothing, canvas height, bands.
using Param = std::tuple<bool, int, int>;

class BandPainterTest : public ::testing::TestWithParam<Param> {
protected:
    bool smooth() const { return std::get<0>(GetParam()); }
    int height() const { return std::get<1>(GetParam()); }
    int bands() const { return std::get<2>(GetParam()); }
};

// A star of segments through the middle, crossing every band border at many angles.
std::vector<QLineF> star(double cx, double cy, double r)
{
    std::vector<QLineF> l;
    for (int i = 0; i < 24; ++i) {
        const double a = i * 0.2617993877991494 + 0.05;
        l.emplace_back(cx, cy, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    return l;
}

QPen makePen(const QColor& c, int width, Qt::PenStyle style, Qt::PenCapStyle cap)
{
    QPen p(c);
    p.setWidth(width);
    p.setStyle(style);
    p.setCapStyle(cap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

}  // namespace

TEST_P(BandPainterTest, EveryCallComesOutAsFromOnePainter)
{
    Both b(height(), bands(), smooth());
    const double h = height();
    b.pen(makePen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap));
    b.lines(star(80.3, h / 2 + 0.4, h / 2 - 3));
    b.pen(makePen(Qt::red, 2, Qt::SolidLine, Qt::SquareCap));
    b.lines(star(40.6, h / 3, h / 4));
    b.pen(makePen(Qt::blue, 3, Qt::SolidLine, Qt::RoundCap));
    b.lines({QLineF(5, 3, 150, h - 4), QLineF(150, 3, 5, h - 6)});
    // The dash pattern of a pen is worked out when first asked; several bands use it at once.
    b.pen(makePen(Qt::darkGreen, 1, Qt::DashDotLine, Qt::FlatCap));
    b.lines({QLineF(2, 2, 158, h - 2), QLineF(2, h - 2, 158, 2), QLineF(80, 0, 81, h)});
    b.pen(makePen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap));
    b.brush(QBrush(QColor(0, 160, 0), Qt::FDiagPattern));
    b.rect(QRectF(100.5, h / 4, 50, h / 2));
    b.brush(QBrush(QColor(220, 200, 0)));
    b.ellipse(QPointF(120.2, h / 2), h / 3);
    QPainterPath arc;
    arc.arcMoveTo(QRectF(10, 10, 60, h - 20), 30);
    arc.arcTo(QRectF(10, 10, 60, h - 20), 30, 250);
    b.brush(Qt::NoBrush);
    b.pen(makePen(QColor(200, 0, 200), 2, Qt::SolidLine, Qt::RoundCap));
    b.path(arc);
    b.path(arc);  // the same path twice, drawn by several bands
    QPainterPath body;
    body.setFillRule(Qt::OddEvenFill);
    body.addPolygon(QPolygonF({{30, 5}, {70, h / 2}, {30, h - 5}, {50, h / 2}}));
    body.closeSubpath();
    b.brush(QBrush(QColor(100, 100, 255)));
    b.pen(makePen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap));
    b.path(body);
    b.pen(makePen(Qt::red, 5, Qt::SolidLine, Qt::RoundCap));
    for (double y = 1.5; y < h; y += 7.3) {
        b.point(QPointF(150.5, y));
    }
    b.fill(QRect(60, static_cast<int>(h / 2) - 3, 30, 6), QColor(0, 200, 200));
    QImage picture(9, 14, QImage::Format_ARGB32);
    picture.fill(QColor(255, 0, 0, 128));
    b.image(QRectF(12.5, h / 2 - 7.2, 9, 14), picture);
    b.smooth(!smooth());
    b.pen(makePen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap));
    b.lines({QLineF(3, h / 2 + 2.3, 157, h / 2 - 1.1)});
    b.smooth(smooth());
    for (double y = 0; y < h; y += 11.7) {
        b.text("S350 C45", QPointF(40.3, y - 4.2), 8);
    }
    b.text("\xC3\x84gj", QPointF(90, h / 2 - 6.5), 12);
    EXPECT_GT(b.ink(), 2000);
    EXPECT_EQ(b.differences(), 0);
}

TEST_P(BandPainterTest, FlushesFollowOneAnotherAndResetTakesTheCanvasAsItIs)
{
    Both b(height(), bands(), smooth());
    b.pen(makePen(Qt::blue, 2, Qt::SolidLine, Qt::SquareCap));
    for (int round = 0; round < 5; ++round) {
        b.lines(star(30.0 + 25 * round, height() / 2.0, height() / 2.5));
        EXPECT_EQ(b.differences(), 0) << round;
    }
    EXPECT_EQ(b.differences(), 0);  // nothing recorded: nothing happens

    // The canvas changed behind the painter's back and is taken up again.
    b.canvas().fill(Qt::yellow);
    b.banded().Reset();
    b.banded().setPen(makePen(Qt::blue, 2, Qt::SolidLine, Qt::SquareCap));
    const QLineF l(3, 3, 150, height() - 3.0);
    b.banded().drawLines(&l, 1, QRectF(l.p1(), l.p2()).adjusted(-3, -3, 3, 3));
    b.banded().Flush();
    QImage expected(kWidth, height(), QImage::Format_RGB32);
    expected.fill(Qt::yellow);
    QPainter p(&expected);
    p.setRenderHint(QPainter::Antialiasing, smooth());
    p.setPen(makePen(Qt::blue, 2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(l);
    p.end();
    EXPECT_EQ(b.canvas(), expected);
}

INSTANTIATE_TEST_SUITE_P(Bands, BandPainterTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(64, 97, 250),
                                            ::testing::Values(2, 3, 5)),
                         [](const ::testing::TestParamInfo<Param>& info) {
                             return std::string(std::get<0>(info.param) ? "Smooth" : "Sharp") +
                                    "_" + std::to_string(std::get<1>(info.param)) + "Rows_" +
                                    std::to_string(std::get<2>(info.param)) + "Bands";
                         });
