// The arc of a bulged polyline segment and the axis points an arc adds to the extent.
#include "dxf/cDXF.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Arc {
    std::int32_t dx = -1;
    std::int32_t dy = -1;
    std::int32_t r = -1;
    float start = -1;
    float end = -1;
    bool ok = false;
};

Arc Bulge(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, float b)
{
    Arc a;
    a.ok = cDXF::BulgeToArc(x1, y1, x2, y2, b, a.dx, a.dy, a.r, a.start, a.end);
    return a;
}

constexpr double kPi = cDXF::kPi;

} // namespace

TEST(cDXFGeometry, BulgeGivesCentreRadiusAndCounterClockwiseAngles)
{
    // Less than a half circle, counter-clockwise: the arc passes below the chord.
    Arc a = Bulge(0, 0, 2000, 0, 0.5f);
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.r, 1250);
    EXPECT_EQ(a.dx, 1000);
    EXPECT_EQ(a.dy, 750);
    EXPECT_NEAR(a.start, kPi + std::atan(0.75), 1e-5);
    EXPECT_NEAR(a.end, 5.6397, 1e-4);

    // Half circles: bulge 1 runs below the chord, -1 above it, with the angles exchanged.
    a = Bulge(0, 0, 2000, 0, 1.0f);
    EXPECT_EQ(a.r, 1000);
    EXPECT_EQ(a.dx, 1000);
    EXPECT_EQ(a.dy, 0);
    EXPECT_NEAR(a.start, kPi, 1e-5);
    EXPECT_NEAR(a.end, 2 * kPi, 1e-5);
    a = Bulge(0, 0, 2000, 0, -1.0f);
    EXPECT_EQ(a.dx, 1000);
    EXPECT_EQ(a.dy, 0);
    EXPECT_NEAR(a.start, 0, 1e-5);
    EXPECT_NEAR(a.end, kPi, 1e-5);

    // A vertical chord: the half circle lies on the +x side.
    a = Bulge(0, 0, 0, 2000, 1.0f);
    EXPECT_EQ(a.dx, 0);
    EXPECT_EQ(a.dy, 1000);
    EXPECT_NEAR(a.start, 3 * kPi / 2, 1e-5);
    EXPECT_NEAR(a.end, kPi / 2, 1e-5);
}

TEST(cDXFGeometry, BulgeBeyondAHalfCircleAndNegativeBulgesPutTheCentreRight)
{
    // bulge 2 (more than a half circle): centre to the right of the chord, below it here.
    Arc a = Bulge(0, 0, 2000, 0, 2.0f);
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.dx, 1000);
    EXPECT_EQ(a.dy, -750);
    EXPECT_EQ(a.r, 1250);
    // bulge -0.5 mirrors bulge 0.5 across the chord.
    a = Bulge(0, 0, 2000, 0, -0.5f);
    EXPECT_EQ(a.dy, -750);
    EXPECT_EQ(a.r, 1250);
    // Every arc's end points lie on its circle.
    for (float b : {0.1f, 0.5f, 0.99f, 1.0f, 1.01f, 3.0f, -0.1f, -0.99f, -1.0f, -1.01f, -3.0f}) {
        a = Bulge(300, -200, 4100, 900, b);
        ASSERT_TRUE(a.ok) << b;
        const double cx = 300 + a.dx;
        const double cy = -200 + a.dy;
        EXPECT_NEAR(std::hypot(300 - cx, -200 - cy), a.r, 1.5) << b;
        EXPECT_NEAR(std::hypot(4100 - cx, 900 - cy), a.r, 1.5) << b;
        EXPECT_GE(a.start, 0);
        EXPECT_LE(a.end, 2 * kPi + 1e-5);
    }
}

TEST(cDXFGeometry, BulgeOfZeroOrOutOfRangeWritesNothing)
{
    Arc a = Bulge(0, 0, 2000, 0, 0.0f);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.dx, -1);
    EXPECT_EQ(a.r, -1);
    // A nearly straight arc on a long chord has a radius no coordinate can hold.
    EXPECT_FALSE(Bulge(-900000000, 0, 900000000, 0, 1e-6f).ok);
    EXPECT_FALSE(Bulge(0, 0, 10, 0, 1e-30f).ok);
    // A chord of no length gives an arc of no size, not a failure.
    a = Bulge(50, 50, 50, 50, 0.5f);
    EXPECT_TRUE(a.ok);
    EXPECT_EQ(a.r, 0);
}

TEST(cDXFGeometry, ArcExtentAddsOnlyAxisPointsStrictlyInsideTheSweep)
{
    const auto deg = [](double d) { return static_cast<float>(d / 180 * kPi); };
    {
        cDXF d;
        d.ArcExtent(0, 0, 100, deg(350), deg(20));
        EXPECT_TRUE(d.Extent().hasX);
        EXPECT_EQ(d.Extent().xmin, 100);
        EXPECT_EQ(d.Extent().xmax, 100);
        EXPECT_EQ(d.Extent().ymin, 0);
    }
    {
        cDXF d;
        d.ArcExtent(0, 0, 100, deg(10), deg(70));
        d.ArcExtent(0, 0, 100, deg(0), deg(90));
        EXPECT_FALSE(d.Extent().hasX);
        EXPECT_FALSE(d.Extent().hasY);
    }
    {
        // A whole turn adds north, west and south; east is its end.
        cDXF d;
        d.ArcExtent(1000, 2000, 100, 0, 2 * kPi);
        EXPECT_EQ(d.Extent().xmin, 900);
        EXPECT_EQ(d.Extent().xmax, 1000);
        EXPECT_EQ(d.Extent().ymin, 1900);
        EXPECT_EQ(d.Extent().ymax, 2100);
    }
}
