// The loosely typed value: number reading and the conversions callers rely on.
#include "foundation/cError.h"
#include "foundation/cVariant.h"

#include <gtest/gtest.h>

namespace {

TEST(cVariant, ParseNumberIsStrictAndLocaleFree)
{
    EXPECT_EQ(cVariant::parseNumber(" 12.5 "), 12.5);
    EXPECT_EQ(cVariant::parseNumber("12,5"), 12.5);
    EXPECT_EQ(cVariant::parseNumber("+.5"), 0.5);
    EXPECT_EQ(cVariant::parseNumber("-1e3"), -1000);
    for (const char* bad : {"", " ", "-", "abc", "1.2.3", "12a", "inf", "nan", "0x10", "1e400",
                            "1 2"}) {
        EXPECT_FALSE(cVariant::parseNumber(bad)) << bad;
    }
}

TEST(cVariant, ConversionsBetweenKinds)
{
    EXPECT_EQ(cVariant(0.1).toText(), "0.1");
    EXPECT_EQ(cVariant(cFixed::fromRaw(15000)).toText(), "1.5");
    EXPECT_EQ(cVariant(true).toText(), "True");
    EXPECT_EQ(cVariant::Null().toText(), "");
    EXPECT_EQ(cVariant("2,5").toFixed(), cFixed::fromRaw(25000));
    EXPECT_EQ(cVariant("0.00005").toFixed().raw(), 0);  // exact half, to even
    EXPECT_EQ(cVariant(2.5).toInteger(), 2);
    EXPECT_EQ(cVariant(true).toDouble(), -1);
    EXPECT_EQ(cVariant().toDouble(), 0);
    EXPECT_TRUE(cVariant("TRUE").toBool());
    EXPECT_FALSE(cVariant("0").toBool());
    EXPECT_TRUE(cVariant(cFixed::fromRaw(1)).toBool());

    try {
        cVariant::Null().toDouble();
        ADD_FAILURE();
    } catch (const cError& e) {
        EXPECT_EQ(e.Number(), 94);
    }
    try {
        cVariant("x").toInteger();
        ADD_FAILURE();
    } catch (const cError& e) {
        EXPECT_EQ(e.Number(), 13);
    }
    EXPECT_THROW(cVariant::Bytes("1").toDouble(), cError);
}

TEST(cVariant, KindsAreKeptApart)
{
    EXPECT_NE(cVariant("ab"), cVariant::Bytes("ab"));
    EXPECT_NE(cVariant(1), cVariant(1.0));
    EXPECT_NE(cVariant(), cVariant::Null());
    EXPECT_EQ(cVariant::Bytes("ab").str(), "ab");
    EXPECT_TRUE(cVariant(3).isNumeric());
    EXPECT_FALSE(cVariant("3").isNumeric());
}

}  // namespace
