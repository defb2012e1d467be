// cDirtyBands: the part of an image drawn on since it was last cleared, kept as one span of
// columns per band of rows. A circuit covers little of its canvas, so clearing only where the
// last drawing went saves writing the whole image again on every redraw.
#pragma once

#include <QRect>
#include <QRectF>

#include <vector>

class cDirtyBands {
public:
    // Rows per band.
    static constexpr int kRows = 16;

    // A clean image of the size: nothing drawn yet.
    void Reset(int width, int height);
    // Records that a device rectangle was drawn on (the part inside the image).
    void Mark(const QRectF& area);
    // The same for the rectangle from (left, top) to (right, bottom), edges in order.
    void Mark(double left, double top, double right, double bottom);
    // Records that the whole image may have been drawn on.
    void MarkAll();
    // The rectangles that cover everything drawn since the last Reset, one per band at most.
    std::vector<QRect> Rects() const;

private:
    // Columns drawn on in one band, from first to last (first > last when none).
    struct Span {
        int first = 0;
        int last = -1;
    };
    int width_ = 0;
    int height_ = 0;
    std::vector<Span> bands_;
};
