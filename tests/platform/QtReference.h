// Shared by the Qt surface's reference tests: a surface measured in pixels beside a reference
// image painted directly with QPainter, and a drawing that mixes every kind of call.
#pragma once

#include "platform/cQtSurface.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

inline constexpr int kWidth = 240;
inline constexpr int kHeight = 120;

// Pixels in which two images of the reference size differ.
int pixelsDiffering(const QImage& a, const QImage& b);

// The test parameters: smoothing on, and the most bands surfaces made during the test paint
// their own images in (1: none, the painter draws straight on the image).
using QtReferenceParam = std::tuple<bool, int>;

// Sets the most bands of new surfaces for as long as it lives.
class QtBandsSetting {
public:
    explicit QtBandsSetting(int bands) : before_(cQtSurface::Bands()) { cQtSurface::Bands(bands); }
    ~QtBandsSetting() { cQtSurface::Bands(before_); }
    QtBandsSetting(const QtBandsSetting&) = delete;
    QtBandsSetting& operator=(const QtBandsSetting&) = delete;

private:
    int before_;
};

// A surface measured in pixels (ScaleMode 3: user units are device pixels, y down) beside a
// reference image of the same size, both white.
class QtReferenceFixture : public ::testing::TestWithParam<QtReferenceParam> {
protected:
    QtReferenceFixture()
        : bands(std::get<1>(GetParam())), s(kWidth, kHeight),
          ref(kWidth, kHeight, QImage::Format_RGB32)
    {
        s.Antialiasing(smooth());
        s.ScaleMode(3);
        s.Cls();
        ref.fill(Qt::white);
    }
    bool smooth() const { return std::get<0>(GetParam()); }
    // Begins painting on the reference image with the surface's hints.
    void begin(QPainter& p)
    {
        p.begin(&ref);
        p.setRenderHint(QPainter::Antialiasing, smooth());
        p.setRenderHint(QPainter::TextAntialiasing, smooth());
    }
    // Pixels in which the surface's image and the reference differ.
    int differences() { return pixelsDiffering(s.Image(), ref); }
    // Pixels of the reference that are not white.
    int ink() const;
    QtBandsSetting bands;
    cQtSurface s;
    QImage ref;
};

// Every combination of smoothing and painting in bands, for INSTANTIATE_TEST_SUITE_P.
inline auto qtReferenceParams()
{
    return ::testing::Combine(::testing::Bool(), ::testing::Values(1, 3));
}

// Test names such as Smooth_3Bands.
inline std::string qtReferenceName(const ::testing::TestParamInfo<QtReferenceParam>& info)
{
    return std::string(std::get<0>(info.param) ? "Smooth_" : "Sharp_") +
           std::to_string(std::get<1>(info.param)) + "Bands";
}

// One step of a drawing on a surface.
using Step = std::function<void(cQtSurface&)>;

// Steps that change the pen, the brush and the kind of primitive between calls, with lines
// before and after each so that any line drawn late or with a stale pen shows; the
// smoothing is switched off and on again (from the given state) on the way.
std::vector<Step> mixedDrawing(bool smooth);
