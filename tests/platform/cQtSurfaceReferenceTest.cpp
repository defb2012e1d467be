// The Qt surface compared pixel for pixel with the plain QPainter calls it stands for: the
// caches and shortcuts that make it fast must leave every pixel as a direct drawing leaves it.
#include "platform/cQtSurface.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 120;

// A surface measured in pixels (ScaleMode 3: user units are device pixels, y down) beside a
// reference image of the same size painted directly with the same render hints.
class QtReferenceTest : public ::testing::TestWithParam<bool> {
protected:
    QtReferenceTest() : s(kWidth, kHeight), ref(kWidth, kHeight, QImage::Format_RGB32)
    {
        s.Antialiasing(smooth());
        s.ScaleMode(3);
        s.Cls();
        ref.fill(Qt::white);
    }
    bool smooth() const { return GetParam(); }
    // Begins painting on the reference image with the surface's hints.
    void begin(QPainter& p)
    {
        p.begin(&ref);
        p.setRenderHint(QPainter::Antialiasing, smooth());
        p.setRenderHint(QPainter::TextAntialiasing, smooth());
    }
    // Pixels in which the surface's image and the reference differ.
    int differences()
    {
        const QImage& img = s.Image();
        int n = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                n += img.pixel(x, y) != ref.pixel(x, y) ? 1 : 0;
            }
        }
        return n;
    }
    // Pixels of the reference that are not white.
    int ink() const
    {
        int n = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                n += ref.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        return n;
    }
    cQtSurface s;
    QImage ref;
};

struct Font {
    const char* name;
    double size;
    bool bold;
};

QFont qfont(const Font& f)
{
    QFont q(QString::fromUtf8(f.name));
    q.setPointSizeF(f.size);
    q.setBold(f.bold);
    return q;
}

}  // namespace

TEST_P(QtReferenceTest, PrintedTextMatchesDrawTextAtItsAscent)
{
    const std::vector<Font> fonts = {
        {"Sans Serif", 8, false}, {"Sans Serif", 8, true}, {"Sans Serif", 12.5, false}};
    // Piece codes, a text with spaces and one outside ASCII; each is printed twice, the second
    // time from what the first left in the caches.
    const std::vector<std::string> texts = {"S350", "C45(L)", "W 350", "\xC3\x84gj\xC3\xA9"};
    QPainter p;
    begin(p);
    double y = 3.3;
    for (const Font& f : fonts) {
        const QFont q = qfont(f);
        const QFontMetricsF fm(q, &ref);
        p.setFont(q);
        double x = 2.6;
        for (int pass = 0; pass < 2; ++pass) {
            for (const std::string& t : texts) {
                const std::int32_t color = pass == 0 ? 0x0000FF : 0x804000;
                p.setPen(cQtSurface::ToQColor(color));
                p.drawText(QPointF(x, y + fm.ascent()), QString::fromStdString(t));
                s.FontName(f.name);
                s.FontSize(f.size);
                s.FontBold(f.bold);
                s.ForeColor(color);
                s.CurrentX(x);
                s.CurrentY(y);
                s.Print(t, false);
                EXPECT_DOUBLE_EQ(s.CurrentX(), x + fm.horizontalAdvance(QString::fromStdString(t)));
                x += 28.37;
            }
            y += 0.45;  // a second pass a fraction of a pixel lower
        }
        y += fm.height() + 1.1;
    }
    p.end();
    EXPECT_GT(ink(), 300);
    EXPECT_EQ(differences(), 0);
}

TEST_P(QtReferenceTest, TextMeasuresFollowTheCurrentFont)
{
    const QFont plain = qfont({"Sans Serif", 8, false});
    const QFont bold = qfont({"Sans Serif", 8, true});
    const QFont large = qfont({"Sans Serif", 20, false});
    const QString code = QStringLiteral("W350(F)");
    s.FontSize(8);
    EXPECT_DOUBLE_EQ(s.TextWidth("W350(F)"), QFontMetricsF(plain, &ref).horizontalAdvance(code));
    EXPECT_DOUBLE_EQ(s.TextHeight("W350(F)"), QFontMetricsF(plain, &ref).height());
    s.FontBold(true);
    EXPECT_DOUBLE_EQ(s.TextWidth("W350(F)"), QFontMetricsF(bold, &ref).horizontalAdvance(code));
    s.FontBold(false);
    s.FontSize(20);
    EXPECT_DOUBLE_EQ(s.TextWidth("W350(F)"), QFontMetricsF(large, &ref).horizontalAdvance(code));
    EXPECT_DOUBLE_EQ(s.TextHeight("W350(F)"), QFontMetricsF(large, &ref).height());
    s.FontSize(8);
    EXPECT_DOUBLE_EQ(s.TextWidth("W350(F)"), QFontMetricsF(plain, &ref).horizontalAdvance(code));
    EXPECT_DOUBLE_EQ(s.TextWidth("S3"), QFontMetricsF(plain, &ref).horizontalAdvance("S3"));
    // Under a user scale the measures follow it.
    s.Scale(0, 0, kWidth * 10.0, kHeight * -10.0);
    EXPECT_NEAR(s.TextWidth("S3"), 10 * QFontMetricsF(plain, &ref).horizontalAdvance("S3"), 1e-4);
    EXPECT_NEAR(s.TextHeight("S3"), -10 * QFontMetricsF(plain, &ref).height(), 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Smoothing, QtReferenceTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Smooth" : "Sharp");
                         });
