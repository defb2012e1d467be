// Shared set-up of the model tests: fresh application state around each test and a small
// piece table of our own ("T" set, track 100 mm wide, lanes 25 mm off the centre line).
#pragma once

#include "model/zvItem.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace modeltest {

// A record of the test set with the common widths filled in.
inline zvPieceRecord record(const std::string& itemID, int classe, double sng1, double sng2 = 0,
                            int orientation = 2)
{
    zvPieceRecord rec;
    rec.setID = "T";
    rec.itemID = itemID;
    rec.code = itemID.substr(0, itemID.find('('));
    rec.description = "Test piece " + itemID;
    rec.stdWidth = 100;
    rec.lanesGap = 25;
    rec.kerbsWidth = 10;
    rec.classe = classe;
    rec.sng1 = cFixed::fromDouble(sng1);
    rec.sng2 = cFixed::fromDouble(sng2);
    rec.Orientation = orientation;
    return rec;
}

// A curve record: sweep in degrees, centre-line radius, hand -1 right or +1 left, radius number.
inline zvPieceRecord curve(const std::string& itemID, double sweep, double radius, int hand, int r)
{
    zvPieceRecord rec = record(itemID, 2, sweep, radius, hand);
    rec.r = static_cast<std::int16_t>(r);
    rec.R0 = cFixed::fromDouble(radius);
    rec.R1 = cFixed::fromDouble(radius - 25);
    rec.R2 = cFixed::fromDouble(radius + 25);
    return rec;
}

// Resets the application state before and after each test and fills the test piece table.
class ModelTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        zvLib::ResetModelGlobals();
        zvLib::SetStdWidth = 156;
        auto& t = zvLib::PieceTable;
        t.push_back(record("S500", 1, 500));
        t.push_back(record("S200", 1, 200));
        t.push_back(curve("C90(R)", 90, 300, -1, 2));
        t.push_back(curve("C90(L)", 90, 300, 1, 2));
        t.push_back(curve("C45(R)", 45, 300, -1, 2));
        t.push_back(curve("C45(L)", 45, 300, 1, 2));
        zvPieceRecord narrowStart = record("W300(F)", 8, 300, 80, 2);
        narrowStart.sng3 = 40;
        zvPieceRecord narrowEnd = narrowStart;
        narrowEnd.itemID = "W300(B)";
        narrowEnd.Orientation = -2;
        t.push_back(narrowStart);
        t.push_back(narrowEnd);
        zvPieceRecord crossing = record("X200", 1, 200);
        crossing.flgSwap = true;
        t.push_back(crossing);
        t.push_back(record("Q5", 5, 100));
        t.push_back(zvLib::StartRecord());
    }
    void TearDown() override { zvLib::ResetModelGlobals(); }

    // A piece of the test set (or another set) at a pose; fails the test when not found.
    static std::shared_ptr<zvItem> make(std::string item, double x = 0, double y = 0,
                                        double angle = 0, const std::string& set = "T")
    {
        auto p = zvLib::CreateItem(set, item, cFixed::fromDouble(x), cFixed::fromDouble(y),
                                   cFixed::fromDouble(angle));
        EXPECT_NE(p, nullptr) << item;
        return p;
    }
    // The next piece of a chain, starting where prev ends.
    static std::shared_ptr<zvItem> next(const zvItem& prev, std::string item)
    {
        auto p = zvLib::CreateItem("T", item, prev.xFine(), prev.yFine(), prev.aFine());
        EXPECT_NE(p, nullptr) << item;
        return p;
    }
};

// A fixed number from a decimal literal (four decimals at most).
inline cFixed fx(double v)
{
    return cFixed::fromDouble(v);
}

} // namespace modeltest
