// World to pixel: the conversions of the canvas's user units to device pixels, their rounding
// and the surfaces and scales they refuse.
#include "foundation/cError.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_pixels.h"

#include <gtest/gtest.h>

namespace {

// The number of the error a call raises, or 0 when it raises none.
template <typename F>
long errorOf(F f)
{
    try {
        f();
    } catch (const cError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace

TEST(zvLibPixels, ViewCornersAndOriginOfAYUpCanvas)
{
    cRecordSurface s({.width = 1600, .height = 1000});
    s.Scale(-1000, 625, 1000, -625);
    cPixel tl = zvLib::PointToPixel(s, -1000, 625);
    cPixel br = zvLib::PointToPixel(s, 1000, -625);
    cPixel o = zvLib::PointToPixel(s, 0, 0);
    cPixel up = zvLib::PointToPixel(s, 250, 100);
    EXPECT_EQ(tl.x, 0);
    EXPECT_EQ(tl.y, 0);
    EXPECT_EQ(br.x, 1600);
    EXPECT_EQ(br.y, 1000);
    EXPECT_EQ(o.x, 800);
    EXPECT_EQ(o.y, 500);
    EXPECT_EQ(up.x, 1000);
    EXPECT_EQ(up.y, 420);  // y up on the world is up on the screen
    EXPECT_EQ(zvLib::ScaleToPixels(s, 100), 80);
    EXPECT_EQ(zvLib::ScaleToPixels(s, -100), 80);
}

TEST(zvLibPixels, HalvesRoundToEven)
{
    cRecordSurface s({.width = 10, .height = 10});
    s.Scale(0, 0, 4, -4);  // 2.5 pixels per unit on both axes
    EXPECT_EQ(zvLib::PointToPixel(s, 1, -1).x, 2);
    EXPECT_EQ(zvLib::PointToPixel(s, 1, -1).y, 2);
    EXPECT_EQ(zvLib::PointToPixel(s, 3, -3).x, 8);
    EXPECT_EQ(zvLib::PointToPixel(s, 3, -3).y, 8);
    EXPECT_EQ(zvLib::PointToPixel(s, -1, 1).x, -2);
    EXPECT_EQ(zvLib::PointToPixel(s, cFixed::fromRaw(10001), 0).x, 3);
    EXPECT_EQ(zvLib::ScaleToPixels(s, 1), 2);
    EXPECT_EQ(zvLib::ScaleToPixels(s, 3), 8);
}

TEST(zvLibPixels, LengthsFollowTheVerticalScaleOnly)
{
    cRecordSurface s({.width = 200, .height = 100});
    s.Scale(0, 0, 1000, -10);  // 0.2 pixels per unit across, 10 down
    EXPECT_EQ(zvLib::ScaleToPixels(s, 3), 30);
    EXPECT_EQ(zvLib::PointToPixel(s, 3, 0).x, 1);
}

TEST(zvLibPixels, RefusedSurfacesAndScales)
{
    cRecordSurface printer({.width = 4000, .height = 6000, .window = false, .hasDC = false});
    printer.Scale(0, 0, 100, -100);
    EXPECT_EQ(errorOf([&] { zvLib::PointToPixel(printer, 1, 1); }), 438);
    EXPECT_EQ(errorOf([&] { zvLib::ScaleToPixels(printer, 1); }), 438);

    cRecordSurface s({.width = 100, .height = 100});
    s.Scale(0, 0, 100, 0);
    EXPECT_EQ(errorOf([&] { zvLib::ScaleToPixels(s, 1); }), 11);
    EXPECT_EQ(errorOf([&] { zvLib::PointToPixel(s, 1, 1); }), 11);
    s.Scale(0, 0, 0.0001, -0.0001);  // a million pixels per unit
    EXPECT_EQ(errorOf([&] { zvLib::PointToPixel(s, 1, 0); }), 0);
    EXPECT_EQ(errorOf([&] { zvLib::PointToPixel(s, 10000, 0); }), 6);
    EXPECT_EQ(errorOf([&] { zvLib::ScaleToPixels(s, 10000); }), 6);
}
