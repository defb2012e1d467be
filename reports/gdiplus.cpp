// gdiplus: saving the canvas picture as an image file: JPEG and PNG through Qt's image
// writers, GIF through giflib after the picture is reduced to a palette of 256 colours. The
// image is encoded in memory first and then written atomically, so a failed save never leaves
// a partial file behind.
#include "reports/gdiplus.h"

#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "platform/cPalette.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <gif_lib.h>

#include <cerrno>
#include <vector>

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

// giflib's writer: appends the encoded bytes to the string in the file's user data.
int AppendGifBytes(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* out = static_cast<std::string*>(gif->UserData);
    out->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
    return count;
}

// The picture as a GIF file's bytes: reduced to at most 256 colours (cPalette), the palette
// padded to the power of two GIF needs.
// False with giflib's error code when the encoder fails.
bool EncodeGif(const QImage& bitmap, std::string& out, int& error)
{
    const QImage indexed = cPalette::Reduce(bitmap);
    std::vector<GifColorType> colours(256, GifColorType{0, 0, 0});
    const QList<QRgb> table = indexed.colorTable();
    for (qsizetype i = 0; i < table.size() && i < 256; ++i) {
        colours[static_cast<std::size_t>(i)] = {static_cast<GifByteType>(qRed(table[i])),
                                                static_cast<GifByteType>(qGreen(table[i])),
                                                static_cast<GifByteType>(qBlue(table[i]))};
    }
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGifBytes, &error);
    bool ok = gif != nullptr && map != nullptr;
    if (ok) {
        ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), 8, 0, map) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) ==
                 GIF_OK;
        for (int y = 0; ok && y < indexed.height(); ++y) {
            // giflib takes the line as writable memory but only reads it.
            auto* line = const_cast<GifPixelType*>(indexed.constScanLine(y));
            ok = EGifPutLine(gif, line, indexed.width()) == GIF_OK;
        }
        if (!ok) {
            error = gif->Error;
        }
    }
    if (gif != nullptr) {
        int closeError = 0;
        if (EGifCloseFile(gif, &closeError) != GIF_OK && ok) {
            ok = false;
            error = closeError;
        }
    }
    GifFreeMapObject(map);
    return ok;
}

// The picture as a JPEG or PNG file's bytes through Qt's writer (the quality for a JPEG);
// raises the encoder error when the writer fails.
std::string EncodeWithQt(const QImage& bitmap, std::int32_t format, std::int32_t quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, WriterName(format));
    if (format == gdiplus::kJpeg) {
        writer.setQuality(quality);
    }
    if (!writer.write(bitmap)) {
        throw cError(gdiplus::kErrEncoder, kSource,
                     "GdipSaveImageToStream error " +
                         std::to_string(static_cast<int>(writer.error())));
    }
    buffer.close();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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
    return format == kGif ||
           QImageWriter::supportedImageFormats().contains(QByteArray(WriterName(format)));
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
    std::string encoded;
    if (format == kGif) {
        int error = 0;
        if (!EncodeGif(bitmap, encoded, error)) {
            throw cError(kErrEncoder, kSource, "GdipSaveImageToStream error " + std::to_string(error));
        }
    } else {
        encoded = EncodeWithQt(bitmap, format, quality);
    }
    errno = 0;
    if (!NUX_STD_library::WriteFileText(fileName, encoded)) {
        const int e = errno != 0 ? errno : EIO;
        throw cError(kErrStream, kSource, "SHCreateStreamOnFile error " + std::to_string(e));
    }
}

} // namespace gdiplus
