// cPalette: the palette of a picture. Its exact colours when there are at most 256; otherwise
// the histogram of its colours (5 bits a channel) cut at the weighted median of the widest
// channel of the most populous box until there are 256 boxes, each box's mean colour an entry.
#include "platform/cPalette.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kColours = 256;
constexpr int kBins = 1 << 15;

// One colour of the histogram: its 5-bit channels and how many pixels have it.
struct Bin {
    std::array<int, 3> rgb{};
    std::int64_t count = 0;
    std::array<std::int64_t, 3> sum{}; // the full channels of its pixels added up
};

int BinOf(QRgb c)
{
    return ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3);
}

// A box of bins: the channel whose values spread widest, and that spread.
std::pair<int, int> Widest(const std::vector<const Bin*>& box)
{
    std::array<int, 3> lo{31, 31, 31};
    std::array<int, 3> hi{0, 0, 0};
    for (const Bin* b : box) {
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], b->rgb[c]);
            hi[c] = std::max(hi[c], b->rgb[c]);
        }
    }
    int channel = 0;
    for (int c = 1; c < 3; ++c) {
        if (hi[c] - lo[c] > hi[channel] - lo[channel]) {
            channel = c;
        }
    }
    return {channel, hi[channel] - lo[channel]};
}

std::int64_t Pixels(const std::vector<const Bin*>& box)
{
    std::int64_t n = 0;
    for (const Bin* b : box) {
        n += b->count;
    }
    return n;
}

// Cuts the boxes until there are 256 or none can be cut.
std::vector<std::vector<const Bin*>> MedianCut(std::vector<const Bin*> all)
{
    std::vector<std::vector<const Bin*>> boxes{std::move(all)};
    while (static_cast<int>(boxes.size()) < kColours) {
        int pick = -1;
        std::int64_t most = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const std::int64_t weight = Pixels(boxes[i]) * Widest(boxes[i]).second;
            if (boxes[i].size() > 1 && weight > most) {
                most = weight;
                pick = static_cast<int>(i);
            }
        }
        if (pick < 0) {
            break;
        }
        std::vector<const Bin*>& box = boxes[static_cast<std::size_t>(pick)];
        const int channel = Widest(box).first;
        std::sort(box.begin(), box.end(),
                  [channel](const Bin* a, const Bin* b) { return a->rgb[channel] < b->rgb[channel]; });
        const std::int64_t half = Pixels(box) / 2;
        std::size_t cut = 1;
        for (std::int64_t seen = box[0]->count; cut + 1 < box.size() && seen < half; ++cut) {
            seen += box[cut]->count;
        }
        std::vector<const Bin*> upper(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end());
        box.resize(cut);
        boxes.push_back(std::move(upper));
    }
    return boxes;
}

QRgb Mean(const std::vector<const Bin*>& box)
{
    std::array<std::int64_t, 3> sum{};
    const std::int64_t n = std::max<std::int64_t>(1, Pixels(box));
    for (const Bin* b : box) {
        for (int c = 0; c < 3; ++c) {
            sum[c] += b->sum[c];
        }
    }
    return qRgb(static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n),
                static_cast<int>(sum[2] / n));
}

int Nearest(const QList<QRgb>& palette, QRgb c)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (qsizetype i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(c);
        const int dg = qGreen(palette[i]) - qGreen(c);
        const int db = qBlue(palette[i]) - qBlue(c);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// The picture on the palette of its exact colours; null when it has more than 256.
QImage ExactColours(const QImage& rgb)
{
    std::unordered_map<QRgb, int> index;
    QList<QRgb> palette;
    QImage out(rgb.size(), QImage::Format_Indexed8);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* target = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            auto [at, added] = index.emplace(c, static_cast<int>(palette.size()));
            if (added) {
                if (palette.size() == kColours) {
                    return {};
                }
                palette.push_back(c);
            }
            target[x] = static_cast<uchar>(at->second);
        }
    }
    out.setColorTable(palette);
    return out;
}

} // namespace

QImage cPalette::Reduce(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage exact = ExactColours(rgb);
    if (!exact.isNull()) {
        return exact;
    }
    std::vector<Bin> bins(kBins);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            Bin& b = bins[static_cast<std::size_t>(BinOf(line[x]))];
            b.count += 1;
            b.sum[0] += qRed(line[x]);
            b.sum[1] += qGreen(line[x]);
            b.sum[2] += qBlue(line[x]);
        }
    }
    std::vector<const Bin*> used;
    for (int i = 0; i < kBins; ++i) {
        Bin& b = bins[static_cast<std::size_t>(i)];
        b.rgb = {i >> 10, (i >> 5) & 31, i & 31};
        if (b.count > 0) {
            used.push_back(&b);
        }
    }
    QList<QRgb> palette;
    for (const auto& box : MedianCut(used)) {
        palette.push_back(Mean(box));
    }
    std::vector<int> entry(kBins, -1);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(palette);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* target = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            int& e = entry[static_cast<std::size_t>(BinOf(line[x]))];
            if (e < 0) {
                e = Nearest(palette, line[x]);
            }
            target[x] = static_cast<uchar>(e);
        }
    }
    return out;
}
