// Bookkeeping of where an image was drawn on: each band of rows widens its span of columns to
// take in every rectangle marked across it.
#include "platform/cDirtyBands.h"

#include <algorithm>
#include <cmath>

void cDirtyBands::Reset(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    bands_.assign(static_cast<std::size_t>((height_ + kRows - 1) / kRows), Span{});
}

void cDirtyBands::Mark(const QRectF& area)
{
    const QRectF r = area.normalized();
    Mark(r.left(), r.top(), r.right(), r.bottom());
}

void cDirtyBands::Mark(double left, double top, double right, double bottom)
{
    if (std::isnan(left) || std::isnan(top) || std::isnan(right) || std::isnan(bottom)) {
        MarkAll();  // no telling where it went
        return;
    }
    // Whole pixels touched, clipped to the image.
    left = std::max(std::floor(left), 0.0);
    top = std::max(std::floor(top), 0.0);
    right = std::min(std::ceil(right), static_cast<double>(width_));
    bottom = std::min(std::ceil(bottom), static_cast<double>(height_));
    if (!(left < right) || !(top < bottom)) {
        return;
    }
    const int x0 = static_cast<int>(left);
    const int x1 = static_cast<int>(right) - 1;
    const int b0 = static_cast<int>(top) / kRows;
    const int b1 = (static_cast<int>(bottom) - 1) / kRows;
    for (int b = b0; b <= b1; ++b) {
        Span& s = bands_[static_cast<std::size_t>(b)];
        if (s.first > s.last) {
            s = Span{x0, x1};
        } else {
            s.first = std::min(s.first, x0);
            s.last = std::max(s.last, x1);
        }
    }
}

void cDirtyBands::MarkAll()
{
    std::fill(bands_.begin(), bands_.end(), Span{0, width_ - 1});
}

std::vector<QRect> cDirtyBands::Rects() const
{
    std::vector<QRect> rects;
    for (std::size_t b = 0; b < bands_.size(); ++b) {
        const Span& s = bands_[b];
        if (s.first <= s.last) {
            const int top = static_cast<int>(b) * kRows;
            rects.emplace_back(s.first, top, s.last - s.first + 1,
                               std::min(kRows, height_ - top));
        }
    }
    return rects;
}
