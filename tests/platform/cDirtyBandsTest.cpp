// Where an image was drawn on: the bands of rows and the spans of columns that Cls clears.
#include "platform/cDirtyBands.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// A 100 by 40 image: bands of rows 0-15, 16-31 and 32-39.
class DirtyBandsTest : public ::testing::Test {
protected:
    DirtyBandsTest() { d.Reset(100, 40); }
    cDirtyBands d;
};

}  // namespace

TEST_F(DirtyBandsTest, ACleanImageHasNothingToClear)
{
    EXPECT_TRUE(d.Rects().empty());
}

TEST_F(DirtyBandsTest, AMarkCoversItsWholePixelsInEachBandItCrosses)
{
    d.Mark(QRectF(10.5, 12.2, 5, 6));  // pixels 10-15 across, rows 12-18
    const auto r = d.Rects();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], QRect(10, 0, 6, 16));
    EXPECT_EQ(r[1], QRect(10, 16, 6, 16));
}

TEST_F(DirtyBandsTest, MarksInOneBandWidenItsSpan)
{
    d.Mark(QRectF(20, 2, 4, 4));
    d.Mark(QRectF(60, 8, 3, 3));
    d.Mark(QRectF(40, 5, 1, 1));
    const auto r = d.Rects();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], QRect(20, 0, 43, 16));
}

TEST_F(DirtyBandsTest, EdgesOnPixelBoundariesTakeNoExtraPixel)
{
    d.Mark(QRectF(16, 16, 16, 16));  // exactly the pixels 16-31 of the second band
    const auto r = d.Rects();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], QRect(16, 16, 16, 16));
}

TEST_F(DirtyBandsTest, MarksAreClippedToTheImageAndTheLastBandIsShort)
{
    d.Mark(QRectF(-50, 30, 500, 100));
    d.Mark(QRectF(200, 0, 10, 10));  // wholly outside: nothing
    d.Mark(QRectF(10, -20, 5, 10));  // wholly above: nothing
    const auto r = d.Rects();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], QRect(0, 16, 100, 16));
    EXPECT_EQ(r[1], QRect(0, 32, 100, 8));
}

TEST_F(DirtyBandsTest, MarksGivenInEitherOrderAndEmptyOnes)
{
    d.Mark(QRectF(QPointF(30, 10), QPointF(20, 4)));  // right to left, upwards
    d.Mark(QRectF(70, 20, 0, 0));                     // a point on a pixel corner
    const auto r = d.Rects();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], QRect(20, 0, 10, 16));
}

TEST_F(DirtyBandsTest, AnUnknownPlaceOrMarkAllCoverTheWholeImage)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    d.Mark(nan, 5, 10, 8);
    auto r = d.Rects();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], QRect(0, 0, 100, 16));
    EXPECT_EQ(r[2], QRect(0, 32, 100, 8));
    d.Reset(100, 40);
    EXPECT_TRUE(d.Rects().empty());
    d.MarkAll();
    r = d.Rects();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[1], QRect(0, 16, 100, 16));
    const double inf = std::numeric_limits<double>::infinity();
    d.Reset(100, 40);
    d.Mark(-inf, 3, inf, 4);  // a line across everything
    r = d.Rects();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], QRect(0, 0, 100, 16));
}
