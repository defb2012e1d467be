// Hostile input, bounded and seeded: mutated circuit files never crash, hang or throw out of
// FileOpen, and a refused one changes nothing; mutated definition texts raise nothing but
// cError, and a text the circuit accepted reads back as itself.
#include "CircuitFileFixture.h"
#include "foundation/cError.h"

#include <random>
#include <string>

using testsupport::dataPath;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

// Pieces of the formats that mutations splice in, so that they reach deep into the readers.
const std::vector<std::string> kTokens = {"<",
                               ">",
                               "</",
                               "<![CDATA[",
                               "]]>",
                               "&amp;",
                               "&#0;",
                               "&#x10FFFF;",
                               "<!-- c -->",
                               "\"",
                               "=",
                               ";",
                               ":",
                               ";;",
                               "\r\n",
                               "<objects>",
                               "</objects>",
                               "<line points=\"1:1;2:2\">",
                               "<text points=\"0:0\">x</text>",
                               "<track-1>",
                               "</track-1>",
                               "<tracks>4</tracks>",
                               "<dxf>",
                               "<filestream>QQ==</filestream>",
                               "size=\"-9\"",
                               "color=\"-2147483648\"",
                               "T:S500;",
                               "T:C90(L)[#][AB];",
                               "T:NONE;",
                               "Zorv:<START>;",
                               "1e308",
                               "-0",
                               "9223372036854775807",
                               "\xFF",
                               "\xC3",
                               "\t"};

} // namespace

class zvCircuitFuzzTest : public modeltest::CircuitFileTest {};

TEST_F(zvCircuitFuzzTest, MutatedFilesAreOpenedOrRefusedWithoutHarm)
{
    const auto current = sampleCircuit();
    const std::string def = current->DefString();
    const std::string full = readAll(dataPath("circuits/expected.zv6"));
    const std::string older = readAll(dataPath("circuits/older.zv5"));
    // Without its drawing the file is quicker to open; a few cases keep it.
    const std::string plain =
        full.substr(0, full.find("<dxf>")) + full.substr(full.find("<fileinfo>"));
    std::mt19937 rng(20240611);
    int openedCount = 0;
    for (int i = 0; i < 1500; ++i) {
        const std::string& seed = i % 10 == 0 ? full : (i % 3 == 0 ? older : plain);
        const std::string text = testsupport::Mutate(seed, rng, kTokens, 5);
        writeAll(tmp.file("f.zv6"), text);
        cDXF* drawing = zvLib::DXF.get();
        auto c = std::make_shared<zvCircuit>();
        zvFileOpenInfo info;
        std::int16_t r = 1;
        ASSERT_NO_THROW(r = c->FileOpen(tmp.file("f.zv6"), &info)) << text;
        ASSERT_TRUE(r == 0 || r == -1);
        if (r == 0) {
            ++openedCount;
            ASSERT_TRUE(c->tracks().Count() >= 1 && c->tracks().Count() <= 4) << text;
            ASSERT_GE(info.Skipped, 0);
            ASSERT_TRUE(c->FileSave(tmp.file("g.zv6")));
        } else {
            ASSERT_FALSE(info.Reason.empty());
            ASSERT_EQ(c->tracks().Count(), 0u) << text;
            ASSERT_EQ(c->objects().Count(), 0u) << text;
            ASSERT_EQ(zvLib::DXF.get(), drawing) << text;
        }
        ASSERT_EQ(current->DefString(), def);
    }
    // The mutations are mild enough that some files still open.
    EXPECT_GT(openedCount, 50);
}

TEST_F(zvCircuitFuzzTest, MutatedDefinitionTextsRaiseOnlyCErrorAndReadBackAsThemselves)
{
    auto c = newCircuit(4);
    track(*c, 1).append("T:S500;T:C90(L)[#];T:X200;T:W300(F);");
    track(*c, 2).append("T:C45(R)[AB][CD];T:S200;");
    const std::string seed = c->DefString();
    std::mt19937 rng(4711);
    int accepted = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = testsupport::Mutate(seed, rng, kTokens, 5);
        try {
            c->DefString(text);
        } catch (const cError&) {
            continue;
        }
        ++accepted;
        const std::string once = c->DefString();
        ASSERT_NO_THROW(c->DefString(once)) << text;
        ASSERT_EQ(c->DefString(), once) << text;
        ASSERT_TRUE(c->tracks().Count() >= 1 && c->tracks().Count() <= 4);
        try {
            track(*c, 1).append(testsupport::Mutate("T:S500;T:C90(R);", rng, kTokens, 5),
                                 c->CurItem());
        } catch (const cError&) {
        }
    }
    EXPECT_GT(accepted, 100);
}
