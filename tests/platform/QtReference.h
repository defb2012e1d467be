// Shared by the Qt surface's reference tests: a surface measured in pixels beside a reference
// image painted directly with QPainter, and a drawing that mixes every kind of call.
#pragma once

#include "platform/cQtSurface.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

inline constexpr int kWidth = 240;
inline constexpr int kHeight = 120;

// Pixels in which two images of the reference size differ.
int pixelsDiffering(const QImage& a, const QImage& b);

// A surface measured in pixels (ScaleMode 3: user units are device pixels, y down) beside a
// reference image of the same size, both white; the parameter turns smoothing on.
class QtReferenceFixture : public ::testing::TestWithParam<bool> {
protected:
    QtReferenceFixture() : s(kWidth, kHeight), ref(kWidth, kHeight, QImage::Format_RGB32)
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
    int differences() { return pixelsDiffering(s.Image(), ref); }
    // Pixels of the reference that are not white.
    int ink() const;
    cQtSurface s;
    QImage ref;
};

// One step of a drawing on a surface.
using Step = std::function<void(cQtSurface&)>;

// Steps that change the pen, the brush and the kind of primitive between calls, with lines
// before and after each so that any line drawn late or with a stale pen shows; the
// smoothing is switched off and on again (from the given state) on the way.
std::vector<Step> mixedDrawing(bool smooth);
