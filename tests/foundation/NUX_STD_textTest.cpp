// The small text helpers, the list search and the aligned printing on a page.
#include "foundation/NUX_STD_text.h"

#include "foundation/cError.h"
#include "foundation/cFixed.h"
#include "foundation/cRecordSurface.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace NUX_STD_library;

namespace {

// A list control of a given kind holding fixed texts.
class TestList : public cListModel {
  public:
    TestList(Kind kind, std::vector<std::string> items) : kind_(kind), items_(std::move(items)) {}
    Kind ListKind() const override { return kind_; }
    int ListCount() const override { return static_cast<int>(items_.size()); }
    std::string ListItem(int index) const override { return items_[index]; }

  private:
    Kind kind_;
    std::vector<std::string> items_;
};

} // namespace

TEST(NUX_STD_text, Quoting)
{
    EXPECT_EQ(DQuote("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(SqlQuote("it's"), "'it''s'");
}

TEST(NUX_STD_text, PadLeftCutsAndPads)
{
    std::string s = "F";
    EXPECT_EQ(PadLeft(s, "0", 2), "0F");
    s = "ABC";
    EXPECT_EQ(PadLeft(s, "0", 2), "AB");
    EXPECT_EQ(s, "AB");
    s = "7";
    EXPECT_EQ(PadLeft(s, "xy", 4), "xxx7");
    EXPECT_EQ(PadLeft(s, "", 1), "7");
    EXPECT_THROW(PadLeft(s, "", 3), cError);
    EXPECT_THROW(PadLeft(s, "0", -1), cError);
}

TEST(NUX_STD_text, FormatPlaceholders)
{
    EXPECT_EQ(FormatPlaceholders("{0} : {1}", {"12", "34"}), "12 : 34");
    EXPECT_EQ(FormatPlaceholders("{0}{0}-{2}", {"a"}), "aa-{2}");
    // A value holding a later placeholder is filled in again; an earlier one is not.
    EXPECT_EQ(FormatPlaceholders("{0}", {"{1}", "x"}), "x");
    EXPECT_EQ(FormatPlaceholders("{1}", {"y", "{0}"}), "{0}");
}

TEST(NUX_STD_text, ExtractBetween)
{
    std::string t = "x<zorv snippet>S:1;</zorv snippet>y";
    EXPECT_EQ(ExtractBetween(t, "<zorv snippet>", "</zorv snippet>", 0), "S:1;");
    EXPECT_EQ(t, "x<zorv snippet>S:1;</zorv snippet>y");
    EXPECT_EQ(ExtractBetween(t, "<zorv snippet>", "</zorv snippet>", -1), "S:1;");
    EXPECT_EQ(t, "x<zorv snippet>S:1;</zorv snippet>y");
    EXPECT_EQ(ExtractBetween(t, "<zorv snippet>", "</zorv snippet>", 1), "S:1;");
    EXPECT_EQ(t, "xy");

    t = "]a[b]"; // the first end tag lies before the start tag
    EXPECT_EQ(ExtractBetween(t, "[", "]", 1), "");
    EXPECT_EQ(t, "]a[b]");
    t = "a]b";
    EXPECT_EQ(ExtractBetween(t, "[", "]", 1), "");
    EXPECT_EQ(t, "a]b");
    t = "a[]b";
    EXPECT_EQ(ExtractBetween(t, "[", "]", 1), "");
    EXPECT_EQ(t, "ab");
}

TEST(NUX_STD_text, CountsAndBuffers)
{
    EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2);
    EXPECT_EQ(CountOccurrences("RGB(1,2,3)", ","), 2);
    EXPECT_EQ(CountOccurrences("", "a"), 0);
    EXPECT_EQ(CountOccurrences("abc", ""), 0);

    const std::string buf("  msg  \0junk", 12);
    EXPECT_EQ(TrimAtNull(buf), "msg");
    EXPECT_EQ(WStrFromPtr(buf), "  msg  ");
    EXPECT_EQ(AStrFromPtr("abc\0def"), "abc");
    EXPECT_EQ(AStrFromPtr(nullptr), "");
    const char raw[] = {'\x04', '\0', '\xB0', '\x09'};
    EXPECT_EQ(StrFromPtrLen(raw, 4), std::string(raw, 4));
    EXPECT_EQ(StrFromPtrLen(raw, 0), "");
}

TEST(NUX_STD_text, ListFindString)
{
    TestList combo(cListModel::Kind::Combo, {"Alpha", "beta", "Beta 2", "be"});
    EXPECT_EQ(ListFindString(combo, "BETA", 1), 1);
    EXPECT_EQ(ListFindString(combo, "be", 0), 1);
    EXPECT_EQ(ListFindString(combo, "be", 1), 3);
    EXPECT_EQ(ListFindString(combo, "beta 2", 1), 2);
    EXPECT_EQ(ListFindString(combo, "gamma", 0), -1);
    TestList list(cListModel::Kind::List, {"x"});
    EXPECT_EQ(ListFindString(list, "X", 1), 0);
    TestList other(cListModel::Kind::Other, {"x"});
    EXPECT_EQ(ListFindString(other, "x", 1), -1);
}

TEST(NUX_STD_text, AlignedPrinting)
{
    cRecordSurface page(cRecordSurface::Options{1000, 500, false, false, 96});
    page.Scale(0, 0, 100, 50);
    const double w5 = page.TextWidth("abcde");
    const double h = page.TextHeight("abcde");
    ASSERT_GT(w5, 0);
    PrintCentered(page, "abcde");
    ASSERT_EQ(page.Lines().size(), 1u);
    EXPECT_NE(page.Lines()[0].find(cFixed::fromDouble(static_cast<float>((100 - w5) / 2)).str4()),
              std::string::npos)
        << page.Lines()[0];
    EXPECT_DOUBLE_EQ(page.CurrentY(), h);  // a line end followed

    const double w2 = page.TextWidth("ab");
    PrintRightAligned(page, "ab", 80.0f, false);
    EXPECT_NE(page.Lines()[1].find(cFixed::fromDouble(80.0 - w2).str4()), std::string::npos)
        << page.Lines()[1];
    EXPECT_NEAR(page.CurrentX(), 80.0, 1e-4);  // single-precision x
    EXPECT_DOUBLE_EQ(page.CurrentY(), h);
    PrintRightAligned(page, "ab", 80.0f, true);
    EXPECT_DOUBLE_EQ(page.CurrentY(), 2 * h);
}
