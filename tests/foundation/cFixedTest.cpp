// The fixed-point number: rounding rules, arithmetic and its text forms.
#include "foundation/cError.h"
#include "foundation/cFixed.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(cFixed, DoubleConversionRoundsHalvesToEven)
{
    EXPECT_EQ(cFixed::fromDouble(1.23456).raw(), 12346);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(cFixed::fromDouble(1.0 / 3.0).raw(), 3333);
    EXPECT_EQ(cFixed::fromDouble(-2.0 / 3.0).raw(), -6667);
    EXPECT_EQ(cFixed::fromDouble(12.5).toWhole(), 12);
    EXPECT_EQ(cFixed::fromDouble(13.5).toWhole(), 14);
    EXPECT_EQ(cFixed::fromDouble(-2.5).toWhole(), -2);
    EXPECT_EQ(cFixed::fromDouble(-2.5001).toWhole(), -3);
    EXPECT_EQ(cFixed::fromDouble(std::nan("")).raw(), 0);
    EXPECT_EQ(cFixed::fromDouble(1e300), cFixed::max());
}

TEST(cFixed, ArithmeticIsExactOrRoundedToTenThousandths)
{
    cFixed a = cFixed::fromRaw(15);  // 0.0015
    cFixed half = cFixed::fromRaw(5000);
    EXPECT_EQ((a * half).raw(), 8);   // 7.5 ten-thousandths: even 8
    EXPECT_EQ((cFixed::fromRaw(25) * half).raw(), 12);  // 12.5 -> 12
    EXPECT_EQ((cFixed(1) / cFixed(3)).raw(), 3333);
    EXPECT_EQ((cFixed(2) / cFixed(3)).raw(), 6667);
    EXPECT_EQ((cFixed(-2) / cFixed(3)).raw(), -6667);
    EXPECT_EQ((cFixed(7) + cFixed::fromRaw(1) - cFixed(3)).raw(), 40001);
    EXPECT_THROW(cFixed(1) / cFixed(), cError);
    EXPECT_LT(cFixed(-1), cFixed());
}

TEST(cFixed, SumsBeyondTheRangeRaiseOverflow)
{
    const cFixed top = cFixed::max();
    EXPECT_THROW(top + cFixed::fromRaw(1), cError);
    EXPECT_THROW(cFixed::min() - cFixed::fromRaw(1), cError);
    EXPECT_THROW(-cFixed::min(), cError);
    EXPECT_THROW(cFixed::fromWhole(INT64_MAX / 1000), cError);
    cFixed sum = top;
    EXPECT_THROW(sum += top, cError);
    EXPECT_EQ(sum, top) << "left as it was";
    EXPECT_EQ(top - cFixed::fromRaw(1) + cFixed::fromRaw(1), top);
}

TEST(cFixed, TextForms)
{
    EXPECT_EQ(cFixed::fromDouble(12.5).str(), "12.5");
    EXPECT_EQ(cFixed(-3).str(), "-3");
    EXPECT_EQ(cFixed::fromRaw(1).str(), "0.0001");
    EXPECT_EQ(cFixed::fromRaw(-1).str4(), "-0.0001");
    EXPECT_EQ(cFixed::fromDouble(12.5).str4(), "12.5000");
    EXPECT_EQ(cFixed::fromRaw(125).strDecimals(2), "0.01");  // 1.25 hundredths: even
    EXPECT_EQ(cFixed::fromRaw(135).strDecimals(2), "0.01");  // 1.35 hundredths -> 1
    EXPECT_EQ(cFixed::fromRaw(150).strDecimals(2), "0.02");
    EXPECT_EQ(cFixed::fromRaw(-49).strDecimals(2), "0.00");
    EXPECT_EQ(cFixed::fromRaw(-51).strDecimals(2), "-0.01");
}

TEST(cFixed, ParseAcceptsDotOrCommaAndRefusesJunk)
{
    EXPECT_EQ(cFixed::parse("12.5")->raw(), 125000);
    EXPECT_EQ(cFixed::parse(" -0,25 ")->raw(), -2500);
    EXPECT_EQ(cFixed::parse("1.23455")->raw(), 12346);  // half to even: 12345.5 -> 12346
    EXPECT_EQ(cFixed::parse("1.23445")->raw(), 12344);
    EXPECT_EQ(cFixed::parse("1e3")->raw(), 10000000);
    EXPECT_EQ(cFixed::parse("2.5E-2")->raw(), 250);
    EXPECT_EQ(cFixed::parse(".5")->raw(), 5000);
    EXPECT_FALSE(cFixed::parse(""));
    EXPECT_FALSE(cFixed::parse("abc"));
    EXPECT_FALSE(cFixed::parse("1.2.3"));
    EXPECT_FALSE(cFixed::parse("-"));
    EXPECT_FALSE(cFixed::parse("99999999999999999999"));
    for (std::int64_t raw : {0LL, 1LL, -1LL, 123456789LL, -987654321012LL}) {
        EXPECT_EQ(cFixed::parse(cFixed::fromRaw(raw).str())->raw(), raw);
    }
}
