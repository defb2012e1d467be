// Making a set current: the results 0, -3 and -4 with the state each leaves, the start
// records, what the item bar is handed, the piece tools with their separators and the
// snippet definitions read from the user file.
#include "CatalogueFixture.h"
#include "foundation/NUX_STD_ini.h"
#include "model/zvLib_factory.h"

#include <algorithm>
#include <memory>

using cataloguetest::CatalogueTest;

namespace {

// The item bar as LoadSet sees it: what it was told, in order.
class FakeItemBar : public zvItemBar {
  public:
    void SetChosen(const std::string& setID, const std::string& previousSetID) override
    {
        chosen.push_back(setID + "<-" + previousSetID);
    }
    void SetLoaded(const zvSetTools& tools) override { loaded.push_back(tools); }
    std::vector<std::string> chosen;
    std::vector<zvSetTools> loaded;
};

class LoadSetTest : public CatalogueTest {
  protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        build();
        bar = std::make_shared<FakeItemBar>();
        zvLib::ItemBar = bar;
    }
    std::size_t startRecords() const
    {
        return static_cast<std::size_t>(
            std::count_if(zvLib::PieceTable.begin(), zvLib::PieceTable.end(),
                          [](const zvPieceRecord& r) { return r.itemID == "<START>"; }));
    }
    std::shared_ptr<FakeItemBar> bar;
};

} // namespace

TEST_F(LoadSetTest, ALoadedSetIsCurrentAndGainsAStartRecordEachTime)
{
    const std::size_t before = zvLib::PieceTable.size();
    EXPECT_EQ(zvLib::LoadSet("A"), zvLib::kSetLoaded);
    EXPECT_EQ(zvLib::CurSetID, "A");
    EXPECT_EQ(zvLib::SetDescription, "Set A");
    EXPECT_EQ(zvLib::SetStdWidth, cFixed(156));
    EXPECT_EQ(zvLib::SetScale, 32);
    ASSERT_EQ(zvLib::PieceTable.size(), before + 1);
    EXPECT_EQ(zvLib::PieceTable.back().setID, "Zorv");
    EXPECT_EQ(zvLib::Catalogue.Filter(), "");

    EXPECT_EQ(zvLib::LoadSet("C"), zvLib::kSetLoaded);
    EXPECT_EQ(zvLib::SetScale, 24);
    EXPECT_EQ(startRecords(), 2u);
    EXPECT_EQ(zvLib::FindPieceRecord("zorv", "<start>"), static_cast<int>(before));
    const std::vector<std::string> chosen = {"A<-", "C<-A"};
    EXPECT_EQ(bar->chosen, chosen);
    ASSERT_EQ(bar->loaded.size(), 2u);
    EXPECT_EQ(bar->loaded[1].setID, "C");
}

TEST_F(LoadSetTest, FailedLoadsChangeOnlyWhatTheyReached)
{
    ASSERT_EQ(zvLib::LoadSet("A"), zvLib::kSetLoaded);
    const std::size_t size = zvLib::PieceTable.size();

    // No set row: the chooser and CurSetID move, the rest stays with set A.
    EXPECT_EQ(zvLib::LoadSet("O'Neil"), zvLib::kSetMissing);
    EXPECT_EQ(zvLib::CurSetID, "O'Neil");
    EXPECT_EQ(zvLib::SetDescription, "Set A");
    EXPECT_EQ(zvLib::SetScale, 32);
    EXPECT_EQ(zvLib::Catalogue.Filter(), "");

    // A header of scale 0 or width 0: its values are taken, the set is not loaded.
    EXPECT_EQ(zvLib::LoadSet("B"), zvLib::kSetBadHeader);
    EXPECT_EQ(zvLib::SetDescription, "Set B");
    EXPECT_EQ(zvLib::SetStdWidth, cFixed(100));
    EXPECT_EQ(zvLib::SetScale, 0);
    EXPECT_EQ(zvLib::LoadSet("D"), zvLib::kSetBadHeader);
    EXPECT_EQ(zvLib::SetScale, 43);

    EXPECT_EQ(zvLib::PieceTable.size(), size);
    EXPECT_EQ(bar->loaded.size(), 1u);
    EXPECT_EQ(bar->chosen.back(), "D<-B");
}

TEST_F(LoadSetTest, NoCatalogueMeansNoSet)
{
    zvLib::Catalogue.Close();
    EXPECT_EQ(zvLib::LoadSet("A"), zvLib::kSetMissing);
    EXPECT_EQ(startRecords(), 0u);
}

TEST_F(LoadSetTest, TheItemBarGetsThePiecesOfTheSetOnly)
{
    ASSERT_EQ(zvLib::LoadSet("C"), zvLib::kSetLoaded);
    ASSERT_EQ(bar->loaded.size(), 1u);
    const auto& items = bar->loaded[0].items;
    ASSERT_EQ(items.size(), 5u);
    // The set's first piece is a curve: a separator opens the band.
    EXPECT_TRUE(items[0].separator);
    EXPECT_EQ(items[0].name, "CC1(R)");
    EXPECT_EQ(items[1].name, "C:CC1(R)");
    EXPECT_EQ(items[1].category, "item.append");
    EXPECT_EQ(items[1].tooltip, " (right)  [CC1]");
    EXPECT_EQ(zvLib::PieceTable[items[2].record].itemID, "CC1(L)");
    EXPECT_TRUE(items[3].separator);
    EXPECT_EQ(items[4].name, "C:CS1");
}

TEST(ItemTools, SeparatorsStandWhereTheClassChanges)
{
    zvLib::ResetModelGlobals();
    auto add = [](const std::string& set, const std::string& key, int classe) {
        zvPieceRecord r;
        r.setID = set;
        r.itemID = key;
        r.code = key;
        r.classe = classe;
        zvLib::PieceTable.push_back(r);
    };
    add("S", "a", 1);
    add("S", "b", 1);
    add("s", "other", 5);
    add("S", "c(R)", 2);
    add("S", "c(L)", 2);
    add("S", "t(F)", 8);
    add("S", "late", 1);
    std::string kinds;
    std::vector<std::string> names;
    for (const auto& t : zvLib::ItemTools("S", 6)) {
        kinds += t.separator ? "|" : "p";
        names.push_back(t.name);
    }
    EXPECT_EQ(kinds, "pp|pp|p");
    EXPECT_EQ(names[2], "c(R)");
    EXPECT_EQ(names[5], "t(F)");
    EXPECT_EQ(names[6], "S:t(F)");
    zvLib::ResetModelGlobals();
}

TEST(SnippetTools, DefinitionsGainTheSetCodeWhereTheyHaveNone)
{
    EXPECT_EQ(zvLib::SnippetDefinition(";C2(R);S1", "B"), ";B:C2(R);B:S1");
    EXPECT_EQ(zvLib::SnippetDefinition("S1;;S1;", "B"), "B:S1;;B:S1;");
    EXPECT_EQ(zvLib::SnippetDefinition(";A:S1;C2(R)", "B"), ";A:S1;C2(R)");
    EXPECT_EQ(zvLib::SnippetDefinition("", "B"), "");

    testsupport::TempDir dir;
    zvLib::ResetModelGlobals();
    zvLib::UserFile = dir.file("user.def");
    EXPECT_TRUE(zvLib::SnippetTools("A").empty());
    NUX_STD_library::IniWrite("A.SNIPPETS", "Hairpin", ";C2(R);C2(R)", zvLib::UserFile);
    NUX_STD_library::IniWrite("A.SNIPPETS", "Mixed", ";A:S1;B:M3(L)", zvLib::UserFile);
    NUX_STD_library::IniWrite("B.SNIPPETS", "Other", ";S1", zvLib::UserFile);
    const auto tools = zvLib::SnippetTools("A");
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[0].name, "K1");
    EXPECT_EQ(tools[0].caption, "Hairpin");
    EXPECT_EQ(tools[0].definition, ";A:C2(R);A:C2(R)");
    EXPECT_EQ(tools[1].name, "K2");
    EXPECT_EQ(tools[1].definition, ";A:S1;B:M3(L)");
    zvLib::ResetModelGlobals();
}
