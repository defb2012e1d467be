// Locale values, culture identifiers and FormatEx in the user's and in fixed locales.
#include "foundation/NUX_STD_library.h"
#include "foundation/cDateParts.h"
#include "foundation/cError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

using namespace NUX_STD_library;

namespace {

// Sets the user's locale through the environment for one test and restores it afterwards.
class UserLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* v : kVars) {
            const char* old = std::getenv(v);
            saved_.push_back(old ? std::optional<std::string>(old) : std::nullopt);
            ::unsetenv(v);
        }
    }
    void TearDown() override
    {
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            saved_[i] ? ::setenv(kVars[i], saved_[i]->c_str(), 1) : ::unsetenv(kVars[i]);
        }
    }
    static void use(const char* name) { ::setenv("LC_ALL", name, 1); }

    static constexpr const char* kVars[] = {"LC_ALL", "LC_NUMERIC", "LC_MONETARY", "LC_TIME",
                                            "LANG"};
    std::vector<std::optional<std::string>> saved_;
};

std::string text(const cVariant& v)
{
    return v.toText();
}

double dateOf(int y, int m, int d, int h = 0, int n = 0, int s = 0)
{
    return *DateFromParts({y, m, d, h, n, s});
}

TEST(CultureToLCID, NamesOfTheTableInAnyCase)
{
    EXPECT_EQ(CultureToLCID("en-US"), 1033);
    EXPECT_EQ(CultureToLCID("EN-us"), 1033);
    EXPECT_EQ(CultureToLCID("It"), 1040);
    EXPECT_EQ(CultureToLCID("it-ch"), 2064);
    EXPECT_EQ(CultureToLCID("en-UK"), 2057);
    EXPECT_EQ(CultureToLCID("en-GB"), 0);
    EXPECT_EQ(CultureToLCID("ru-RU"), 0);
    EXPECT_EQ(CultureToLCID(""), 0);
}

TEST_F(UserLocale, ValuesFollowTheUsersLocale)
{
    use("it_IT.UTF-8");
    EXPECT_EQ(text(GetLocaleValue(9)), ",");
    EXPECT_EQ(text(GetLocaleValue(10)), ".");
    EXPECT_EQ(text(GetLocaleValue(4)), ",");
    EXPECT_EQ(text(GetLocaleValue(0)), ";");
    EXPECT_EQ(text(GetLocaleValue(1)), "/");
    EXPECT_EQ(text(GetLocaleValue(2)), ":");
    EXPECT_EQ(text(GetLocaleValue(8)), "0410");
    EXPECT_EQ(text(GetLocaleValue(11)), "3;0");
    EXPECT_EQ(GetLocaleValue(5).kind(), cVariant::Kind::Double);
    EXPECT_EQ(GetLocaleValue(5).toDouble(), 2);

    use("de_DE");
    EXPECT_EQ(text(GetLocaleValue(1)), ".");
    use("en_GB.UTF-8");
    EXPECT_EQ(text(GetLocaleValue(9)), ".");
    EXPECT_EQ(text(GetLocaleValue(0)), ",");

    // The C locale still gives a decimal sign for money and a list separator.
    use("C");
    EXPECT_EQ(text(GetLocaleValue(9)), ".");
    EXPECT_EQ(text(GetLocaleValue(4)), ".");
    EXPECT_EQ(text(GetLocaleValue(0)), ",");

    for (int index : {12, -1, 1000}) {
        EXPECT_EQ(GetLocaleValue(index), cVariant(""));
    }
}

TEST_F(UserLocale, CategoriesAreReadSeparately)
{
    ::setenv("LANG", "en_US.UTF-8", 1);
    ::setenv("LC_NUMERIC", "fr_FR.UTF-8", 1);
    EXPECT_EQ(text(GetLocaleValue(9)), ",");
    EXPECT_EQ(text(GetLocaleValue(4)), ".");
    EXPECT_EQ(text(GetLocaleValue(1)), "/");
}

TEST_F(UserLocale, LocaleZeroFormatsInTheUsersLocale)
{
    use("it_IT.UTF-8");
    EXPECT_EQ(FormatEx(1.5, "0.0000", 0), "1,5000");
    EXPECT_EQ(FormatEx(1234567.891, "#,0", 0), "1.234.568");
    EXPECT_EQ(FormatEx(dateOf(2024, 3, 7, 9, 5, 0), "short date", 0), "07/03/2024");
    use("en_US.UTF-8");
    EXPECT_EQ(FormatEx(1.5, "0.0000", 0), "1.5000");
    EXPECT_EQ(FormatEx(dateOf(2024, 3, 7, 9, 5, 0), "short time", 0), "09:05");
}

TEST(FormatEx, NumbersInFixedLocales)
{
    const std::int16_t us = CultureToLCID("en-us");
    EXPECT_EQ(FormatEx(0.25, "0.0000", us), "0.2500");
    EXPECT_EQ(FormatEx(cFixed::fromRaw(-12345), "0.0000", us), "-1.2345");
    EXPECT_EQ(FormatEx(2.5, "0", us), "3");
    EXPECT_EQ(FormatEx(-2.5, "0", us), "-3");
    EXPECT_EQ(FormatEx(-0.4, "0", us), "0");
    EXPECT_EQ(FormatEx(1.005, "0.00", us), "1.01");
    EXPECT_EQ(FormatEx(9.999, "0.00", us), "10.00");
    EXPECT_EQ(FormatEx(cVariant(1234567), "#,0", us), "1,234,567");
    EXPECT_EQ(FormatEx(999.5, "#,0", us), "1,000");
    EXPECT_EQ(FormatEx(12.5, "#,##0.00", 1040), "12,50");
    EXPECT_EQ(FormatEx(1234.5, "#,0.0000", 2064), "1'234.5000");
    EXPECT_EQ(FormatEx(0.5, "#.##", us), ".5");
    EXPECT_EQ(FormatEx(5, "0.0#", us), "5.0");
    EXPECT_EQ(FormatEx(5.125, "0.0#", us), "5.13");
    EXPECT_EQ(FormatEx(0, "0000", us), "0000");
    EXPECT_EQ(FormatEx(42, "\"n=\"0\\!", us), "n=42!");
    EXPECT_EQ(FormatEx(0.125, "0.0%", us), "12.5%");
    EXPECT_EQ(FormatEx(-3, "0;(0);\"zero\"", us), "(3)");
    EXPECT_EQ(FormatEx(0, "0;(0);\"zero\"", us), "zero");
    EXPECT_EQ(FormatEx(true, "0", us), "-1");
}

TEST(FormatEx, OtherValuesAndTheGeneralForm)
{
    EXPECT_EQ(FormatEx(cVariant("2.50"), "0.0", 1033), "2.5");
    EXPECT_EQ(FormatEx(cVariant("abc"), "0.0", 1033), "abc");
    EXPECT_EQ(FormatEx(cVariant::Null(), "0.0", 1033), "");
    EXPECT_EQ(FormatEx(cVariant(), "0", 1033), "");
    EXPECT_EQ(FormatEx(0.1, "", 1040), "0,1");
    EXPECT_EQ(FormatEx(cVariant(-7), "", 1033), "-7");
    EXPECT_EQ(FormatEx(false, "", 1033), "False");
    EXPECT_THROW(FormatEx(cVariant::Bytes("x"), "0", 1033), cError);
}

TEST(FormatEx, DatesAndTimes)
{
    const double t = dateOf(2024, 2, 9, 14, 3, 7);
    EXPECT_EQ(FormatEx(t, "YYYY-MM-DD", 1033), "2024-02-09");
    EXPECT_EQ(FormatEx(t, "d/m/yy hh:mm:ss", 1031), "9.2.24 14:03:07");
    EXPECT_EQ(FormatEx(t, "short date", 2057), "09/02/2024");
    EXPECT_EQ(FormatEx(t, "mm:ss", 1033), "03:07");
    EXPECT_EQ(FormatEx(-1.25, "yyyy-mm-dd hh:nn", 1033), "1899-12-29 06:00");
    EXPECT_THROW(FormatEx(1e12, "yyyy", 1033), cError);
}

TEST(FormatEx, BadFormatsAndLocalesRaiseError5)
{
    for (const char* fmt : {"0.00\"", "0\\", "0;0;0;0;0", "0.00E+00", "dddd", "yyy"}) {
        try {
            FormatEx(1.0, fmt, 1033);
            ADD_FAILURE() << fmt;
        } catch (const cError& e) {
            EXPECT_EQ(e.Number(), 5);
            EXPECT_EQ(e.Source(), "FormatEx");
        }
    }
    EXPECT_THROW(FormatEx(1.0, "0", 1234), cError);
    // A long format is no trouble.
    std::string longFormat = "0.";
    longFormat += std::string(300, '0');
    EXPECT_EQ(FormatEx(0.5, longFormat, 1033).size(), 302u);
}

}  // namespace
