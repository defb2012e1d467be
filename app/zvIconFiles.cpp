// zvIconFiles: piece icons written, mirrored and checked as 24-bit bitmap files.
#include "app/zvIconFiles.h"

#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "foundation/zvBlob.h"
#include "platform/cQtConvert.h"

#include <QBuffer>
#include <QPainter>

namespace {

// Icon fields are written whole, in pieces of this many bytes at most at once.
constexpr long kThreshold = 1048576;

QImage Blank()
{
    QImage image(zvIconFiles::kSide, zvIconFiles::kSide, QImage::Format_RGB888);
    image.fill(Qt::white);
    return image;
}

} // namespace

zvIconFiles::zvIconFiles(std::string folder) : folder_(std::move(folder)) {}

std::string zvIconFiles::IconPath(const zvPieceRecord& record) const
{
    return folder_ + record.itemID + ".bmp";
}

QImage zvIconFiles::StockPicture()
{
    QImage image(kSide, kSide, QImage::Format_RGB888);
    image.fill(QColor(236, 236, 236));
    QPainter p(&image);
    p.setPen(QColor(150, 150, 150));
    p.drawRect(0, 0, kSide - 1, kSide - 1);
    p.drawLine(6, kSide / 2, kSide - 7, kSide / 2);
    return image;
}

void zvIconFiles::Save(const QImage& image, const std::string& path) const
{
    // The bitmap is made in memory and its file created anew, so that nothing planted under
    // the icon's name is ever written through.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP") ||
        !NUX_STD_library::WriteNewFile(path, bytes.toStdString())) {
        throw cError(75, "zvIconFiles", "cannot write " + path);
    }
}

void zvIconFiles::WriteIcon(const zvPieceRecord& record, cField* icona)
{
    const std::string path = IconPath(record);
    long length = 0;
    if (icona != nullptr) {
        length = zvBlob::FieldToFile(*icona, path, -1, kThreshold);
    }
    if (length == 0) {
        Save(StockPicture(), path);
    }
}

void zvIconFiles::MirrorIcon(const zvPieceRecord& source, const zvPieceRecord& copy)
{
    QImage src;
    if (!src.load(cQtConvert::ToQString(IconPath(source)))) {
        return;
    }
    QImage dst = Blank();
    QPainter p(&dst);
    p.drawImage(QRect(0, 0, kSide, kSide), src.mirrored(true, false));
    p.end();
    Save(dst, IconPath(copy));
}

void zvIconFiles::CheckIcon(const zvPieceRecord& record)
{
    const std::string path = IconPath(record);
    QImage image;
    if (image.load(cQtConvert::ToQString(path))) {
        return;
    }
    image = Blank();
    QPainter p(&image);
    QFont f = p.font();
    f.setPixelSize(9);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, kSide, kSide), Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere,
               cQtConvert::ToQString(record.itemID));
    p.end();
    Save(image, path);
}
