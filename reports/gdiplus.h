// gdiplus: the image files of the program. A picture held in memory (the canvas's image) is
// saved as a JPEG or PNG file through Qt's image writers, or as a GIF through giflib, replacing
// any file of the name; the HTML report saves its canvas picture with it.
#pragma once

#include <cstdint>
#include <string>

class QImage;

namespace gdiplus {

// The format codes SavePicture takes.
constexpr std::int32_t kGif = 0;
// JPEG, the only format the quality applies to.
constexpr std::int32_t kJpeg = 1;
// PNG.
constexpr std::int32_t kPng = 2;

// Error number: the image library was not started (token 0).
constexpr long kErrNotStarted = static_cast<long>(static_cast<std::int32_t>(0x80044800u));
// Error number: the picture could not be turned into a bitmap to encode.
constexpr long kErrBitmap = static_cast<long>(static_cast<std::int32_t>(0x80044848u));
// Error number: the file could not be written.
constexpr long kErrStream = static_cast<long>(static_cast<std::int32_t>(0x80044850u));
// Error number: the encoder failed (or the format cannot be written here).
constexpr long kErrEncoder = static_cast<long>(static_cast<std::int32_t>(0x80044858u));

// Starts the image library and returns its token (never 0 on success); 0 when it cannot be
// started. The token is kept for SavePicture.
std::int32_t GdipInit();
// Shuts the image library down for the token; the kept token stays as it is.
void GdipShutdown(std::int32_t token);
// Saves the picture to the file in the format of the code (kGif, kJpeg, kPng), a JPEG with
// the quality (1 to 100), replacing an existing file; the file is written atomically, so a
// failure leaves an old file untouched and no new one. Raises cError: kErrNotStarted before a
// successful GdipInit, 5 for a missing (null) picture, a code outside 0 to 2 or a quality
// outside 1 to 100 (whatever the format), kErrEncoder with the writer's error when the picture
// cannot be encoded, kErrStream with the system's error number when the file cannot be
// written. A GIF holds the picture reduced to at most 256 colours (cPalette).
void SavePicture(const QImage* picture, const std::string& fileName, std::int32_t format,
                 std::int32_t quality);
// Puts the module back as before any start-up (token 0); tests call it.
void ResetToken();
// True when files of the format code can be written here (GIF always, through giflib).
bool CanWrite(std::int32_t format);

} // namespace gdiplus
