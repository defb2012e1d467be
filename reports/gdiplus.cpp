// gdiplus: saving the canvas picture as an image file through Qt's image writers. The image is
// encoded in memory first and then written atomically, so a failed save never leaves a
// partial file behind.
#include "reports/gdiplus.h"

#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <cerrno>

namespace {

constexpr const char* kSource = "gdiplus.SavePicture";

// The token of the last start-up; 0 before any and after a failed one.
std::int32_t token_ = 0;
// The tokens handed out so far (each start-up gets a new one).
std::int32_t started_ = 0;

// Qt's name of the writer of a format code.
const char* WriterName(std::int32_t format)
{
    switch (format) {
    case gdiplus::kGif:
        return "gif";
    case gdiplus::kJpeg:
        return "jpeg";
    default:
        return "png";
    }
}

} // namespace

namespace gdiplus {

std::int32_t GdipInit()
{
    // Qt's image writers need no start-up; the token only marks that the caller started us.
    started_ = started_ == INT32_MAX ? 1 : started_ + 1;
    token_ = started_;
    return token_;
}

void GdipShutdown(std::int32_t token)
{
    // Nothing to release: Qt's writers hold no state between saves.
    static_cast<void>(token);
}

void ResetToken()
{
    token_ = 0;
}

bool CanWrite(std::int32_t format)
{
    if (format < kGif || format > kPng) {
        return false;
    }
    return QImageWriter::supportedImageFormats().contains(QByteArray(WriterName(format)));
}

void SavePicture(const QImage* picture, const std::string& fileName, std::int32_t format,
                 std::int32_t quality)
{
    if (token_ == 0) {
        throw cError(kErrNotStarted, kSource, "GDI+ failed to start");
    }
    if (picture == nullptr || picture->isNull() || format < kGif || format > kPng ||
        quality < 1 || quality > 100) {
        throw cError(5, kSource, "Invalid procedure call or argument");
    }
    // The picture as a plain 24-bit bitmap, as the encoders take it.
    const QImage bitmap = picture->convertToFormat(QImage::Format_RGB32);
    if (bitmap.isNull()) {
        throw cError(kErrBitmap, kSource, "GdipCreateBitmapFromHBITMAP error 3");
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, WriterName(format));
    if (format == kJpeg) {
        writer.setQuality(quality);
    }
    if (!writer.write(bitmap)) {
        throw cError(kErrEncoder, kSource,
                     "GdipSaveImageToStream error " +
                         std::to_string(static_cast<int>(writer.error())));
    }
    buffer.close();
    errno = 0;
    if (!NUX_STD_library::WriteFileText(fileName,
                                        std::string(bytes.constData(),
                                                    static_cast<std::size_t>(bytes.size())))) {
        const int e = errno != 0 ? errno : EIO;
        throw cError(kErrStream, kSource, "SHCreateStreamOnFile error " + std::to_string(e));
    }
}

} // namespace gdiplus
