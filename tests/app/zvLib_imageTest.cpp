// The image files: the canvas of a small circuit saved as JPEG and PNG reads back at the
// canvas's size with the canvas's pixels, a GIF reads back in its palette, a save replaces the
// old file, and a missing start-up, bad arguments and an unwritable path fail with their errors.
#include "CanvasFixture.h"

#include "foundation/cError.h"
#include "foundation/zvLib_canvas.h"
#include "platform/cQtSurface.h"
#include "reports/gdiplus.h"
#include "support/TestSupport.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"

#include <QApplication>
#include <QImage>
#include <QImageReader>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>

using apptest::kStraight;

namespace fs = std::filesystem;

namespace {

class ImageTest : public apptest::CanvasFixture {
  protected:
    void SetUp() override
    {
        CanvasFixture::SetUp();
        useLanguage("EN");
        main_ = new frmMain;
        zvLib::LoadForm(zvForm::frmMain, main_);
        main_->resize(640, 480);
        main_->show(); // offscreen
        QApplication::processEvents();
        folder_ = tempDir() + "images/";
        fs::create_directories(folder_);
    }
    // The canvas with a small circuit fitted into it.
    const QImage& drawnCanvas()
    {
        auto c = makeCircuit(times(kStraight, 3) + "CL32:AC1-90(L);");
        zvLib::ZoomExtents();
        c->Draw();
        QApplication::processEvents();
        return dynamic_cast<cQtSurface&>(*zvLib::MainPic).Image();
    }
    // The error number a call raises; 0 when it raises none.
    static long errorOf(const std::function<void()>& call, std::string* description = nullptr)
    {
        try {
            call();
        } catch (const cError& e) {
            if (description != nullptr) {
                *description = e.Description();
            }
            return e.Number();
        }
        return 0;
    }
    // The mean difference of the colour channels between two images of the same size, and
    // the number of pixels that are not white in the first.
    static double meanDifference(const QImage& a, const QImage& b, int* inked)
    {
        double sum = 0;
        *inked = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                const QColor p = a.pixelColor(x, y);
                const QColor q = b.pixelColor(x, y);
                *inked += p != QColor(Qt::white) ? 1 : 0;
                sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                       std::abs(p.blue() - q.blue());
            }
        }
        return sum / (3.0 * a.width() * a.height());
    }

    frmMain* main_ = nullptr;
    std::string folder_;
};

TEST_F(ImageTest, PngOfTheCanvasHasItsSizeAndEveryPixel)
{
    const QImage canvas = drawnCanvas().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(canvas.isNull());
    ASSERT_NE(gdiplus::GdipInit(), 0);
    const std::string file = folder_ + "canvas.png";
    gdiplus::SavePicture(&canvas, file, gdiplus::kPng, 100);
    QImageReader reader(QString::fromStdString(file));
    EXPECT_EQ(reader.format(), "png");
    const QImage saved = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), main_->pic->size()) << "the canvas's size";
    EXPECT_EQ(saved, canvas) << "PNG keeps every pixel";
    int inked = 0;
    EXPECT_EQ(meanDifference(canvas, saved, &inked), 0.0);
    EXPECT_GT(inked, 500) << "the circuit is on the picture";
}

TEST_F(ImageTest, JpegOfTheCanvasIsCloseToItAndQualityMatters)
{
    const QImage canvas = drawnCanvas().convertToFormat(QImage::Format_RGB32);
    const std::int32_t token = gdiplus::GdipInit();
    const std::string best = folder_ + "best.jpg";
    const std::string worst = folder_ + "worst.jpg";
    gdiplus::SavePicture(&canvas, best, gdiplus::kJpeg, 100);
    gdiplus::SavePicture(&canvas, worst, gdiplus::kJpeg, 1);
    gdiplus::GdipShutdown(token);

    QImageReader reader(QString::fromStdString(best));
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage saved = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.size(), canvas.size());
    int inked = 0;
    // JPEG blurs the colours of one-pixel lines a little, so the picture as a whole is compared.
    EXPECT_LT(meanDifference(canvas, saved, &inked), 1.5) << "quality 100 is near the canvas";
    EXPECT_GT(inked, 500);
    const QImage rough = QImage(QString::fromStdString(worst)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rough.size(), canvas.size());
    EXPECT_GT(meanDifference(canvas, rough, &inked), meanDifference(canvas, saved, &inked))
        << "quality 1 loses more than quality 100";
    EXPECT_LT(fs::file_size(worst), fs::file_size(best));
}

TEST_F(ImageTest, ASecondSaveReplacesTheFile)
{
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue(20, 10, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    gdiplus::GdipInit();
    const std::string file = folder_ + "twice.png";
    gdiplus::SavePicture(&red, file, gdiplus::kPng, 50);
    gdiplus::SavePicture(&blue, file, gdiplus::kPng, 50);
    const QImage saved(QString::fromStdString(file));
    EXPECT_EQ(saved.size(), QSize(20, 10));
    EXPECT_EQ(saved.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
        << "no temporary file is left";
}

TEST_F(ImageTest, BadArgumentsRaiseError5WhateverTheFormat)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    gdiplus::GdipInit();
    const std::string file = folder_ + "bad";
    EXPECT_EQ(errorOf([&] { gdiplus::SavePicture(&picture, file, 3, 100); }), 5);
    EXPECT_EQ(errorOf([&] { gdiplus::SavePicture(&picture, file, -1, 100); }), 5);
    EXPECT_EQ(errorOf([&] { gdiplus::SavePicture(&picture, file, gdiplus::kPng, 0); }), 5);
    EXPECT_EQ(errorOf([&] { gdiplus::SavePicture(&picture, file, gdiplus::kGif, 101); }), 5);
    EXPECT_EQ(errorOf([&] { gdiplus::SavePicture(nullptr, file, gdiplus::kJpeg, 100); }), 5);
    const QImage none;
    EXPECT_EQ(errorOf([&] { gdiplus::SavePicture(&none, file, gdiplus::kJpeg, 100); }), 5);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(errorOf([&] { gdiplus::SavePicture(&picture, file, gdiplus::kJpeg, 1); }), 0);
    EXPECT_TRUE(fs::exists(file));
}

TEST_F(ImageTest, AMissingFolderRaisesTheStreamError)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    gdiplus::GdipInit();
    std::string text;
    const std::string file = folder_ + "missing/picture.jpg";
    EXPECT_EQ(errorOf([&] { gdiplus::SavePicture(&picture, file, gdiplus::kJpeg, 100); }, &text),
              gdiplus::kErrStream);
    EXPECT_EQ(text.rfind("SHCreateStreamOnFile error ", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("SHCreateStreamOnFile error ").size()) << "with a code";
    EXPECT_FALSE(fs::exists(folder_ + "missing"));
}

TEST_F(ImageTest, GifOfTheCanvasReadsBackInAPaletteOfAtMost256Colours)
{
    const QImage canvas = drawnCanvas().convertToFormat(QImage::Format_RGB32);
    // A picture of far more colours than a GIF palette holds.
    QImage shades(128, 64, QImage::Format_RGB32);
    for (int y = 0; y < shades.height(); ++y) {
        for (int x = 0; x < shades.width(); ++x) {
            shades.setPixelColor(x, y, QColor(x * 2, y * 4, 255 - x));
        }
    }
    ASSERT_NE(gdiplus::GdipInit(), 0);
    EXPECT_TRUE(gdiplus::CanWrite(gdiplus::kGif));
    EXPECT_FALSE(gdiplus::CanWrite(3));
    for (const QImage* picture : std::initializer_list<const QImage*>{&canvas, &shades}) {
        const std::string file = folder_ + "picture.gif";
        std::string text;
        ASSERT_EQ(errorOf([&] { gdiplus::SavePicture(picture, file, gdiplus::kGif, 100); }, &text),
                  0)
            << text;
        QImageReader reader(QString::fromStdString(file));
        EXPECT_EQ(reader.format(), "gif");
        const QImage saved = reader.read();
        ASSERT_FALSE(saved.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(saved.size(), picture->size());
        const QImage pixels = saved.convertToFormat(QImage::Format_RGB32);
        std::set<QRgb> used;
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x) {
                used.insert(pixels.pixel(x, y));
            }
        }
        EXPECT_LE(used.size(), 256u);
        int inked = 0;
        EXPECT_LT(meanDifference(*picture, pixels, &inked), 5.0)
            << "the palette stands close to the picture's colours";
    }
}

TEST_F(ImageTest, TheTokenMarksTheStartUp)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::black);
    gdiplus::ResetToken();
    std::string text;
    EXPECT_EQ(errorOf([&] {
                  gdiplus::SavePicture(&picture, folder_ + "before.png", gdiplus::kPng, 100);
              },
                      &text),
              gdiplus::kErrNotStarted);
    EXPECT_EQ(text, "GDI+ failed to start");
    EXPECT_FALSE(fs::exists(folder_ + "before.png"));
    const std::int32_t first = gdiplus::GdipInit();
    const std::int32_t second = gdiplus::GdipInit();
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(first, second) << "each start-up has a token of its own";
    gdiplus::GdipShutdown(second);
    EXPECT_EQ(errorOf([&] {
                  gdiplus::SavePicture(&picture, folder_ + "after.png", gdiplus::kPng, 100);
              }),
              0)
        << "shutting down keeps the module's token";
}

} // namespace
