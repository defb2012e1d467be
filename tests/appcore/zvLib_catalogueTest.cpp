// The piece table built from a small catalogue of our own: row order and mirror copies, the
// curve radii and the custom radius counter, hands and descriptions per language, rows left
// out with a message, the icon steps, and catalogues that cannot be used at all.
#include "CatalogueFixture.h"
#include "foundation/cError.h"
#include "model/zvLib_factory.h"

#include <algorithm>

using cataloguetest::CatalogueTest;

namespace {

std::vector<std::string> keys()
{
    std::vector<std::string> out;
    for (const auto& r : zvLib::PieceTable) {
        out.push_back(r.itemID);
    }
    return out;
}

} // namespace

TEST_F(CatalogueTest, RecordsFollowTheRowsWithEachMirrorRightAfterItsRecord)
{
    build();
    const std::vector<std::string> expected = {
        "S1",    "C2(R)", "C2(L)", "C10(R)", "C10(L)", "M1(R)", "M1(L)",  "M2(R)",  "M2(L)",
        "T1(F)", "T1(B)", "Q5",    "OFF1",   "M3(R)",  "M3(L)", "M4(R)",  "M4(L)",  "M5(R)",
        "M5(L)", "M6(R)", "M6(L)", "M7(R)",  "M7(L)",  "X1",    "CC1(R)", "CC1(L)", "CS1"};
    EXPECT_EQ(keys(), expected);
    // A second build starts from an empty table.
    zvLib::BuildPieceTable();
    EXPECT_EQ(keys(), expected);
    EXPECT_EQ(zvLib::Catalogue.Filter(), "");
}

TEST_F(CatalogueTest, CurveRadiiAndTheCustomRadiusCounter)
{
    build();
    struct Expect {
        const char* key;
        int r;
        double radius;
    };
    // Radius numbers: stdRadius 90 + 78 = 168 for number 1, one track width (156) per step;
    // radii in mm (above 10) gain half the width and take 9, 10, ... per set, restarting when
    // the rows of another set come in between.
    const Expect expected[] = {{"C2(R)", 2, 324},   {"C10(L)", 10, 1572}, {"M1(R)", 9, 292},
                               {"M2(L)", 10, 88.5}, {"M3(R)", 9, 350},    {"M4(R)", 9, 478},
                               {"M5(R)", 10, 578},  {"M7(L)", 12, 778},   {"CC1(R)", 1, 300}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.key);
        EXPECT_EQ(rec(e.key).r, e.r);
        EXPECT_EQ(rec(e.key).sng2, cFixed::fromDouble(e.radius));
    }
    EXPECT_EQ(rec("C2(L)").R1, cFixed(285));
    EXPECT_EQ(rec("S1").r, 0);
    EXPECT_EQ(rec("S1").stdRadius, cFixed(168));
    EXPECT_EQ(rec("S1").lanesGap, cFixed(39));
    EXPECT_EQ(rec("T1(B)").sng2, cFixed(90));
}

TEST_F(CatalogueTest, HandsAndDescriptionsInTheStartUpLanguage)
{
    build("FR");
    EXPECT_EQ(rec("S1").Orientation, 2);
    EXPECT_EQ(rec("S1").description, "Droite");
    EXPECT_EQ(rec("C2(R)").Orientation, -1);
    EXPECT_EQ(rec("C2(L)").Orientation, 1);
    EXPECT_EQ(rec("C2(R)").description, "Courbe (droite)");
    EXPECT_EQ(rec("C2(L)").description, "Courbe (à gauche)");
    EXPECT_EQ(rec("C2(L)").code, "C2");
    EXPECT_EQ(rec("C10(R)").description, " (droite)");
    EXPECT_EQ(rec("T1(F)").Orientation, 2);
    EXPECT_EQ(rec("T1(B)").Orientation, -2);
    EXPECT_EQ(rec("T1(F)").description, "Adaptateur");
    // The reversed adapter reads the English text in every language but Italian.
    EXPECT_EQ(rec("T1(B)").description, "Adapter");
    EXPECT_EQ(rec("Q5").Orientation, 0);
    EXPECT_EQ(rec("Q5").description, "");

    build("IT");
    EXPECT_EQ(rec("T1(B)").description, "Adattatore");
    EXPECT_EQ(rec("C2(L)").description, "Curva (sinistra)");
}

TEST_F(CatalogueTest, PointSetsAreUpperCasedAndTrimmedAndReachThePiece)
{
    build();
    EXPECT_EQ(rec("X1").extra, "L1=0:39;350:-39\r\nL2=0:-39;350:39");
    EXPECT_TRUE(rec("X1").flgSwap);
    std::string key = "X1";
    const auto piece = zvLib::CreateItem("A", key, 0, 0, 0);
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(piece->Points("L2"), "0:-39;350:39;");
}

TEST_F(CatalogueTest, BadRowsAreReportedAndLeftOut)
{
    const auto messages = build();
    ASSERT_EQ(messages.size(), 5u);
    const char* named[] = {"A:BAD1)", "A:BAD;2)", "A:BAD3)", "A:BAD4)", "A:M8)"};
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_NE(messages[i].find(named[i]), std::string::npos) << messages[i];
    }
    EXPECT_NE(messages[0].find("stdWidth"), std::string::npos) << messages[0];
    EXPECT_NE(messages[4].find("radius"), std::string::npos) << messages[4];
    for (const auto& r : zvLib::PieceTable) {
        EXPECT_NE(r.code.rfind("BAD", 0), 0u) << r.code;
        EXPECT_NE(r.code, "M8");
    }
}

TEST_F(CatalogueTest, AFullTableTakesNoMoreRows)
{
    zvLib::Catalogue.Close();
    for (const char* name :
         {"setID", "itemID", "stdWidth", "lanesGap", "stdRadius", "kerbsWidth", "kerbsOn", "classe",
          "sng1", "sng2", "sng3", "flgSwap", "flags", "extra", "R0", "R1", "R2"}) {
        const std::string n = name;
        const int type = n == "setID" || n == "itemID" || n == "extra" ? cFieldType::VarWChar
                         : n == "flgSwap"                              ? cFieldType::Boolean
                                                                       : cFieldType::Double;
        ASSERT_EQ(zvLib::Catalogue.AppendField(name, type), 0);
    }
    auto row = [](const std::string& key, int classe) {
        ASSERT_EQ(zvLib::Catalogue.AddRow(
                      {"A", key, 100, 50, 100, 10, 0, classe, 45, 1, 0, false, 0, "", 0, 0, 0}),
                  0);
    };
    for (std::size_t i = 0; i + 1 < zvLib::kMaxCatalogueRecords; ++i) {
        row("S" + std::to_string(i), 1);
    }
    row("CURVE", 2);
    row("LAST", 1);
    const auto messages = zvLib::BuildPieceTable();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("A:CURVE"), std::string::npos) << messages[0];
    ASSERT_EQ(zvLib::PieceTable.size(), zvLib::kMaxCatalogueRecords);
    EXPECT_EQ(zvLib::PieceTable.back().itemID, "LAST");
}

namespace {

// Records the icon steps in the order the build takes them.
class FakeIcons : public zvPieceIcons {
  public:
    void WriteIcon(const zvPieceRecord& record, cField* icona) override
    {
        calls.push_back("write " + record.itemID + " " +
                        (icona ? icona->Value().toText() : std::string("<none>")));
        if (record.itemID == "Q5") {
            throw cError(75, "test", "disk full");
        }
    }
    void MirrorIcon(const zvPieceRecord& source, const zvPieceRecord& copy) override
    {
        calls.push_back("mirror " + source.itemID + " " + copy.itemID);
    }
    void CheckIcon(const zvPieceRecord& record) override
    {
        calls.push_back("check " + record.itemID);
    }
    std::vector<std::string> calls;
};

} // namespace

TEST_F(CatalogueTest, IconStepsPerRecordMirrorForCopiesAndCheckOnTheLastRecord)
{
    ASSERT_EQ(zvLib::OpenCatalogue(), 0);
    FakeIcons icons;
    const auto messages = zvLib::BuildPieceTable(&icons);
    const std::vector<std::string> head(icons.calls.begin(), icons.calls.begin() + 6);
    const std::vector<std::string> expected = {"write S1 BM",  "check S1",
                                               "write C2(R) ", "mirror C2(R) C2(L)",
                                               "check C2(L)",  "write C10(R) "};
    EXPECT_EQ(head, expected);
    EXPECT_EQ(std::count(icons.calls.begin(), icons.calls.end(), "check T1(B)"), 1);
    // A failing icon is reported; the piece stays in the table.
    EXPECT_EQ(messages.size(), 6u);
    EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [](const std::string& m) {
        return m.find("A:Q5") != std::string::npos && m.find("disk full") != std::string::npos;
    }));
    EXPECT_EQ(rec("Q5").classe, 5);
}

TEST_F(CatalogueTest, CataloguesThatCannotBeUsed)
{
    std::vector<std::string> messages;
    zvLib::PieceTable.push_back(zvLib::StartRecord());
    NUX_STD_library::AppPath(testsupport::dataPath("lang"));
    EXPECT_EQ(zvLib::LoadCatalogue(messages), cRecordset::kErrFileNotFound);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Zorv.dat"), std::string::npos);
    EXPECT_TRUE(zvLib::PieceTable.empty());

    ASSERT_EQ(zvLib::OpenCatalogue(testsupport::dataPath("catalogue/nofield.dat")), 0);
    messages = zvLib::BuildPieceTable();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("\"lanesGap\""), std::string::npos) << messages[0];
    EXPECT_TRUE(zvLib::PieceTable.empty());
}

TEST(CatalogueKey, UnsafeCharactersAreRefused)
{
    EXPECT_TRUE(zvLib::IsSafeCatalogueKey("AC1-90"));
    EXPECT_TRUE(zvLib::IsSafeCatalogueKey("Zorv"));
    for (const char* bad : {"", "A;B", "A:B", "A[#]", "B]", "../x", "a\\b", "tab\there", "\x7f"}) {
        EXPECT_FALSE(zvLib::IsSafeCatalogueKey(bad)) << bad;
    }
}
