// The set list (row order, each set once whatever its case, development mode), the stock table
// (counts read, rounded, kept or reset, and written back; row order; descriptions; the empty
// table) and the entries of a set combo, over small catalogues of our own and a user file.
#include "app/core/zvLib_stock.h"

#include "app/core/zvLib_catalogue.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/cError.h"
#include "foundation/zvLang.h"
#include "model/zvLib_globals.h"
#include "support/TestSupport.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// A piece row of a test catalogue; an empty itemID or description stands for Null.
struct Piece {
    Piece(std::string set, std::string item, int offered = 1, std::string en = {},
          std::string it = {})
        : setID(std::move(set)), itemID(std::move(item)), online(offered), descEN(std::move(en)),
          descIT(std::move(it))
    {
    }
    std::string setID, itemID;
    int online;
    std::string descEN, descIT;
};

class StockTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        zvLib::ResetModelGlobals();
        zvLib::ResetCatalogue();
        zvLang::LangID("EN");
        zvLib::UserFile = tmp.file("user.def");
    }
    void TearDown() override
    {
        ::unsetenv("ZORV_DEVMODE");
        zvLib::ResetCatalogue();
        zvLib::ResetModelGlobals();
    }
    // Makes Catalogue a table of these piece rows, with a set row in front of each set.
    static void catalogue(const std::vector<Piece>& pieces)
    {
        cRecordset rs;
        for (const char* f : {"tipoinfo", "setID", "itemID", "desc_EN", "desc_it"}) {
            ASSERT_EQ(rs.AppendField(f, cFieldType::VarWChar), 0);
        }
        ASSERT_EQ(rs.AppendField("flgOnline", cFieldType::Int32), 0);
        const auto text = [](const std::string& s) { return s.empty() ? cVariant::Null() : s; };
        std::string lastSet;
        for (const Piece& p : pieces) {
            if (p.setID != lastSet) {
                ASSERT_EQ(rs.AddRow({"base", p.setID, "000", "", "", 1}), 0);
                lastSet = p.setID;
            }
            ASSERT_EQ(rs.AddRow({"item", p.setID, text(p.itemID), text(p.descEN), text(p.descIT),
                                 p.online}),
                      0);
        }
        zvLib::Catalogue = std::move(rs);
    }
    // One column of the stock table, row after row.
    static std::vector<std::string> column(std::size_t field)
    {
        std::vector<std::string> values;
        for (const zvTableRow& row : zvLib::StockTable) {
            values.push_back(row[field]);
        }
        return values;
    }
    testsupport::TempDir tmp;
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(StockTest, SetListHoldsEachSetWithOfferedPiecesOnceInRowOrder)
{
    // A, B, A in row order; a differs from A only in case; AB comes before A; C offers
    // nothing; a code that cannot stand in a piece definition is left out.
    catalogue({{"A", "S1"},
               {"B", "S1"},
               {"A", "S2"},
               {"AB", "S1"},
               {"a", "S3"},
               {"AB", "S2"},
               {"C", "S1", 0},
               {"P;Q", "S1"},
               {"A", "S4"}});
    EXPECT_EQ(zvLib::GetSetList(), "A;B;AB;");
    EXPECT_EQ(zvLib::Catalogue.Filter(), "");

    catalogue({{"AB", "S1"}, {"B", "S1", 0}, {"a", "S1"}, {"A", "S2"}});
    EXPECT_EQ(zvLib::GetSetList(), "AB;a;");

    // Development mode lists the sets of pieces not offered as well.
    ::setenv("ZORV_DEVMODE", "1", 1);
    EXPECT_EQ(zvLib::GetSetList(), "AB;B;a;");

    // Catalogue errors are raised, and the filter is left empty.
    zvLib::ResetCatalogue();
    EXPECT_THROW(zvLib::GetSetList(), cError);
    EXPECT_THROW(zvLib::LoadStock("A"), cError);
    EXPECT_EQ(zvLib::Catalogue.Filter(), "");
}

TEST_F(StockTest, CountsAreReadRoundedAndWrittenBackInOneSection)
{
    // Each piece with its user-file value ("-" for no entry) and the count it must give.
    const std::vector<std::array<std::string, 3>> cases = {
        {"S1", "12", "12"}, {"W", "word", "0"}, {"E", "", "0"},
        {"M", "-", "0"},    {"H1", "3.5", "4"}, {"H2", "2.5", "2"},
        {"H3", "2,5", "2"}, {"N", "-3", "-3"},  {"BIG", "40000", "40000"}};
    std::vector<Piece> pieces;
    std::string file = "[A.stock]\r\nOLD=5\r\n";
    for (const auto& [item, value, count] : cases) {
        pieces.push_back({"A", item, 1, item + " piece"});
        if (value != "-") {
            file += item + "=" + value + "\r\n";
        }
    }
    file += "[A.SNIPPETS]\r\nloop=S1;S1\r\n";
    catalogue(pieces);
    testsupport::writeAll(zvLib::UserFile, file);

    zvLib::LoadStock("A");
    ASSERT_EQ(zvLib::StockTable.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [item, value, count] = cases[i];
        EXPECT_EQ(zvLib::StockTable[i][zvLib::kStockCount], count) << item << "=" << value;
        EXPECT_EQ(NUX_STD_library::IniRead("A.STOCK", item, zvLib::UserFile), count) << item;
    }
    // Keys stay where they were, the missing one follows the last key, the rest is untouched.
    EXPECT_EQ(testsupport::readAll(zvLib::UserFile),
              "[A.stock]\r\nOLD=5\r\nS1=12\r\nW=0\r\nE=0\r\nH1=4\r\nH2=2\r\nH3=2\r\nN=-3\r\n"
              "BIG=40000\r\nM=0\r\n[A.SNIPPETS]\r\nloop=S1;S1\r\n");

    // A user file that cannot be written still gives the counts and stays as it was.
    namespace fs = std::filesystem;
    testsupport::writeAll(zvLib::UserFile, "[A.STOCK]\nS1=7\nW=x\n");
    fs::permissions(zvLib::UserFile, fs::perms::owner_read);
    zvLib::LoadStock("A");
    EXPECT_EQ(column(zvLib::kStockCount)[0], "7");
    EXPECT_EQ(testsupport::readAll(zvLib::UserFile), "[A.STOCK]\nS1=7\nW=x\n");
}

TEST_F(StockTest, StockCountsKeepTheThirtyTwoBitRange)
{
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 0},
        {"-2147483649", 0},
        {"1e12", 0},
        {" 7 ", 7},
        {"-2.5", -2},
        {"0.5", 0},
        {"1.5", 2},
        {"1e3", 1000},
        {"0x10", 0},
        {"1.2.3", 0},
        {"inf", 0},
        {"12 pieces", 0}};
    for (const auto& [text, count] : cases) {
        EXPECT_EQ(zvLib::ReadStockCount(text), count) << text;
    }
}

TEST_F(StockTest, RowsFollowTheListThenTheCatalogueWithDescriptionsInTheLanguage)
{
    catalogue({{"B", "X1", 1, "Cross", "Incrocio"},
               {"A", "S1", 1, "Straight", "Rettilineo"},
               {"A", "", 1, "No code"},
               {"A", "OFF", 0, "", "Fuori"},
               {"B", "S1", 1, "Short"}});
    testsupport::writeAll(zvLib::UserFile, "[A.STOCK]\nS1=2\n[B.STOCK]\nS1=9\n");

    zvLib::LoadStock(";a;;B;Z");
    EXPECT_EQ(column(zvLib::kStockSet), (Texts{"A", "A", "A", "B", "B"}));
    EXPECT_EQ(column(zvLib::kStockItem), (Texts{"S1", "", "OFF", "X1", "S1"}));
    EXPECT_EQ(column(zvLib::kStockDesc), (Texts{"Straight", "No code", "", "Cross", "Short"}));
    EXPECT_EQ(column(zvLib::kStockCount), (Texts{"2", "0", "0", "0", "9"}));
    EXPECT_EQ(column(zvLib::kStockUsed), Texts(5, "0"));
    EXPECT_EQ(column(zvLib::kStockFree), Texts(5, "0"));
    // The piece without a code leaves the user file alone: no key, the section kept.
    EXPECT_EQ(testsupport::readAll(zvLib::UserFile),
              "[A.STOCK]\nS1=2\nOFF=0\n[B.STOCK]\nS1=9\nX1=0\n");

    zvLang::LangID("IT");
    zvLib::LoadStock("B");
    EXPECT_EQ(column(zvLib::kStockDesc), (Texts{"Incrocio", ""}));
    zvLang::LangID("FR"); // no such field in this catalogue
    zvLib::LoadStock("B");
    EXPECT_EQ(column(zvLib::kStockDesc), (Texts{"", ""}));

    // No sets, or sets without piece rows: one row of empty texts, and no user file made.
    for (const char* list : {"", ";;", "Z;", "O'Neil"}) {
        zvLib::LoadStock(list);
        EXPECT_EQ(zvLib::StockTable, zvTextTable(1)) << list;
    }
    std::filesystem::remove(zvLib::UserFile);
    zvLib::LoadStock("Z");
    EXPECT_FALSE(std::filesystem::exists(zvLib::UserFile));
}

TEST_F(StockTest, SetComboGetsTheSetsWithTheirListIndexAsData)
{
    class FakeCombo : public zvSetCombo {
      public:
        void Clear() override { items.clear(); }
        void AddItem(const std::string& text, int data) override
        {
            items.push_back(text + "=" + std::to_string(data));
        }
        Texts items{"stale=7"};
    } combo;
    catalogue({{"A", "S1"}, {"B", "S1"}, {"a", "S2"}});
    zvLib::FillSetCombo(combo);
    EXPECT_EQ(combo.items, (Texts{"A=0", "B=1"}));

    Texts entries;
    for (const zvSetComboEntry& e : zvLib::SetComboEntries(";A;;B;")) {
        entries.push_back(e.text + "=" + std::to_string(e.data));
    }
    EXPECT_EQ(entries, (Texts{"A=1", "B=3"}));
    EXPECT_TRUE(zvLib::SetComboEntries("").empty());
}
