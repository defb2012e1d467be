// Geometry helpers: the exact constants the piece coordinates depend on.
#include "foundation/zvLib_geometry.h"

#include <gtest/gtest.h>

#include <string>

TEST(zvLibGeometry, DegToRadUsesTheFourteenDecimalConstant)
{
    EXPECT_DOUBLE_EQ(zvLib::DegToRad(180), 3.14159265358979);
    EXPECT_DOUBLE_EQ(zvLib::DegToRad(90), 1.570796326794895);
    EXPECT_NE(zvLib::DegToRad(180), 3.141592653589793);
}

TEST(zvLibGeometry, VectorAngleDirectionsAndZeroGuard)
{
    double b = 0;
    float r = zvLib::VectorAngle(1, b);
    EXPECT_EQ(b, 1E-9);
    EXPECT_NEAR(r, 3.3e-7, 2e-7);
    EXPECT_NE(r, 0.0f);
    b = 1;
    EXPECT_NEAR(zvLib::VectorAngle(0, b), -1.570796, 1e-6);
    EXPECT_NEAR(zvLib::VectorAngle(1, b), -0.785398, 1e-6);
    b = -1;
    EXPECT_NEAR(zvLib::VectorAngle(1, b), 0.785398, 1e-6);
}

TEST(zvLibGeometry, DistanceMidPointSwap)
{
    EXPECT_EQ(zvLib::Distance(0, 0, 3, 4), cFixed(5));
    EXPECT_EQ(zvLib::Distance(2, 2, 2, 2), cFixed(0));
    EXPECT_EQ(zvLib::Distance(0, 0, 1, 1).raw(), 14142);
    auto m = zvLib::MidPoint(0, 0, 1, 1);
    EXPECT_DOUBLE_EQ(m[0], 0.5);
    EXPECT_DOUBLE_EQ(m[1], 0.5);
    std::string a = "1", t = "text";
    zvLib::Swap(a, t);
    EXPECT_EQ(a, "text");
    EXPECT_EQ(t, "1");
}
