// The catalogue shipped in resources/ against the rules the program and the track builder rely
// on: it builds without a message in every language, its codes fit piece definitions and icon
// names, its radii agree, every set loads, and the standard closed loops close.
#include "CatalogueFixture.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"
#include "foundation/zvLib_text.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

// The values of a set row the pieces of that set must agree with.
struct SetHeader {
    double scale = 0;
    double width = 0;
    double lanes = 0;
    double radius = 0;
};

class ShippedCatalogue : public ::testing::Test {
  protected:
    void SetUp() override
    {
        zvLib::ResetModelGlobals();
        zvLib::ResetCatalogue();
        NUX_STD_library::AppPath(std::string(ZORV_SOURCE_DIR) + "/resources");
        load("EN");
    }
    void TearDown() override
    {
        zvLib::ResetCatalogue();
        zvLib::ResetModelGlobals();
        NUX_STD_library::AppPath("");
    }
    void load(const std::string& language)
    {
        zvLang::LangID(language);
        ASSERT_EQ(zvLang::LoadLanguageFile(), 0);
        std::vector<std::string> messages;
        ASSERT_EQ(zvLib::LoadCatalogue(messages), 0);
        EXPECT_TRUE(messages.empty()) << messages.front();
    }
    // The set rows by set code.
    static std::map<std::string, SetHeader> headers()
    {
        std::map<std::string, SetHeader> out;
        auto& c = zvLib::Catalogue;
        EXPECT_EQ(c.Filter("tipoinfo='base'"), 0);
        for (c.MoveFirst(); !c.Eof(); c.MoveNext()) {
            out[c.Fields("setID").Value().toText()] = {
                c.Fields("Scale").Value().toDouble(), c.Fields("stdWidth").Value().toDouble(),
                c.Fields("lanesGap").Value().toDouble(), c.Fields("stdRadius").Value().toDouble()};
        }
        c.Filter("");
        return out;
    }
};

// Where a chain of pieces ends: position and heading.
struct Pose {
    cFixed x, y, a;
};

Pose chain(const std::string& set, const std::vector<std::string>& keys)
{
    Pose p;
    for (std::string key : keys) {
        const auto piece = zvLib::CreateItem(set, key, p.x, p.y, p.a);
        if (!piece) {
            ADD_FAILURE() << "no piece " << set << ":" << key;
            return p;
        }
        p = {piece->xFine(), piece->yFine(), piece->aFine()};
    }
    return p;
}

// True when the chain came back to the origin within 0.00 mm, heading a whole turn round.
::testing::AssertionResult closes(const Pose& end)
{
    const double gap = std::max(end.x.abs().toDouble(), end.y.abs().toDouble());
    const double turns = end.a.toDouble() / 360;
    if (gap < 0.005 && turns == std::round(turns) && turns != 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "ends at (" << end.x.str() << ", " << end.y.str() << ") heading " << end.a.str();
}

std::vector<std::string> repeat(const std::string& key, int n)
{
    return std::vector<std::string>(static_cast<std::size_t>(n), key);
}

} // namespace

TEST_F(ShippedCatalogue, BuildsInEveryLanguageWithADescriptionForEveryPiece)
{
    for (const char* language : {"IT", "EN", "FR", "ES"}) {
        SCOPED_TRACE(language);
        load(language);
        ASSERT_GT(zvLib::PieceTable.size(), 40u);
        for (const auto& r : zvLib::PieceTable) {
            EXPECT_FALSE(r.description.empty()) << r.itemID;
            EXPECT_EQ(r.description.find("TODO"), std::string::npos) << r.description;
        }
    }
}

TEST_F(ShippedCatalogue, CodesAreSafeUniqueAndEveryPieceHasItsIcon)
{
    const auto sets = headers();
    std::set<double> scales;
    for (const auto& [id, h] : sets) {
        EXPECT_TRUE(zvLib::IsSafeCatalogueKey(id)) << id;
        scales.insert(h.scale);
    }
    EXPECT_GE(scales.size(), 3u);
    std::vector<std::string> codes;
    auto& c = zvLib::Catalogue;
    ASSERT_EQ(c.Filter("tipoinfo='item'"), 0);
    for (c.MoveFirst(); !c.Eof(); c.MoveNext()) {
        const std::string code = c.Fields("itemID").Value().toText();
        SCOPED_TRACE(code);
        EXPECT_TRUE(zvLib::IsSafeCatalogueKey(code));
        EXPECT_EQ(code.find_first_of("()./*?\"<>| "), std::string::npos);
        for (const auto& other : codes) {
            EXPECT_FALSE(zvLib::SameText(code, other)) << "twice";
        }
        codes.push_back(code);
        EXPECT_EQ(sets.count(c.Fields("setID").Value().toText()), 1u);
        EXPECT_EQ(c.Fields("flgOnline").Value().toDouble(), 1);
        for (const char* lang : {"desc_it", "desc_en", "desc_fr", "desc_es"}) {
            EXPECT_FALSE(c.Fields(lang).Value().toText().empty()) << lang;
        }
        const std::string icon = c.Fields("icona").Value().str();
        ASSERT_GE(icon.size(), 26u);
        EXPECT_EQ(icon.substr(0, 2), "BM");
        EXPECT_EQ(icon[18], 40);
        EXPECT_EQ(icon[22], 40);
    }
    c.Filter("");
}

TEST_F(ShippedCatalogue, RadiiAndWidthsAgreeWithTheirSet)
{
    const auto sets = headers();
    for (const auto& r : zvLib::PieceTable) {
        SCOPED_TRACE(r.itemID);
        const SetHeader& h = sets.at(r.setID);
        EXPECT_EQ(r.stdWidth.toDouble(), h.width);
        EXPECT_EQ(r.lanesGap.toDouble(), h.lanes / 2);
        EXPECT_EQ(r.stdRadius.toDouble(), h.radius + h.width / 2);
        if (r.classe == 8) {
            const bool leadsToASet = std::any_of(sets.begin(), sets.end(), [&](const auto& s) {
                return s.second.width == r.sng2.toDouble() && s.second.lanes == r.sng3.toDouble();
            });
            EXPECT_TRUE(leadsToASet);
        }
        if (r.classe != 2) {
            continue;
        }
        // Lanes lie half the lane distance either side of the centre line.
        EXPECT_EQ(r.R0, r.sng2);
        EXPECT_EQ(r.R1, r.sng2 - r.lanesGap);
        EXPECT_EQ(r.R2, r.sng2 + r.lanesGap);
        EXPECT_GE(r.r, 1);
        EXPECT_LE(r.r, 12);
        // Standard radius numbers lie one track width apart; 9 to 12 are radii given in mm.
        if (r.r < 9) {
            EXPECT_EQ(r.sng2, r.stdRadius + cFixed(r.r - 1) * r.stdWidth);
        }
        const double pieces = 360 / r.sng1.toDouble();
        EXPECT_EQ(pieces, std::round(pieces));
        EXPECT_GT(r.sng2 - r.stdWidth / cFixed(2), cFixed(0));
    }
}

TEST_F(ShippedCatalogue, EverySetLoadsAndBuildsEachOfItsPieces)
{
    for (const auto& [id, h] : headers()) {
        SCOPED_TRACE(id);
        ASSERT_EQ(zvLib::LoadSet(id), zvLib::kSetLoaded);
        EXPECT_EQ(zvLib::SetScale, h.scale);
        std::size_t pieces = 0;
        for (const auto& r : zvLib::PieceTable) {
            if (r.setID != id) {
                continue;
            }
            ++pieces;
            std::string key = r.itemID;
            const auto piece = zvLib::CreateItem(id, key, 0, 0, 0);
            ASSERT_NE(piece, nullptr) << key;
            EXPECT_GT(piece->Len0(), cFixed(0)) << key;
        }
        const auto tools = zvLib::ItemTools(id, zvLib::PieceTable.size());
        EXPECT_EQ(std::count_if(tools.begin(), tools.end(),
                                [](const zvItemTool& t) { return !t.separator; }),
                  static_cast<long>(pieces));
    }
}

TEST_F(ShippedCatalogue, StandardLoopsClose)
{
    std::map<std::string, std::string> ovalStraight;
    std::map<std::string, const zvPieceRecord*> tightest;
    for (const auto& r : zvLib::PieceTable) {
        SCOPED_TRACE(r.itemID);
        if (r.classe == 2) {
            // A full circle of every curve, either hand.
            const int n = static_cast<int>(std::lround(360 / r.sng1.toDouble()));
            EXPECT_TRUE(closes(chain(r.setID, repeat(r.itemID, n))));
            const auto t = tightest.find(r.setID);
            if (r.r == 1 && r.Orientation == 1 &&
                (t == tightest.end() || r.sng1 > t->second->sng1)) {
                tightest[r.setID] = &r;
            }
        } else if (r.classe == 1 && r.flags == 0 && !r.flgSwap && r.extra.empty() &&
                   !ovalStraight.count(r.setID)) {
            ovalStraight[r.setID] = r.itemID;
        }
    }
    ASSERT_GE(tightest.size(), 3u);
    for (const auto& [set, curve] : tightest) {
        SCOPED_TRACE(set);
        const int half = static_cast<int>(std::lround(180 / curve->sng1.toDouble()));
        std::vector<std::string> oval = {ovalStraight.at(set)};
        for (int lap = 0; lap < 2; ++lap) {
            const auto turn = repeat(curve->itemID, half);
            oval.insert(oval.end(), turn.begin(), turn.end());
            if (lap == 0) {
                oval.push_back(ovalStraight.at(set));
            }
        }
        EXPECT_TRUE(closes(chain(set, oval)));
    }
}
