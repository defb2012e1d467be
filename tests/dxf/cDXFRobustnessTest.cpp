// Hostile and large input: seeded mutations of sound drawings must neither crash, hang nor
// throw, and must leave consistent tables; the tables stay within a small multiple of the
// drawing's size; the JSON description escapes what the drawing brings.
#include "dxf/cDXF.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_canvas.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <random>

using testsupport::dataPath;
using testsupport::readAll;

namespace {

// Pieces of the format that mutations splice in, so that they reach deep into the reader.
const std::vector<std::string> kTokens = {
    "0\r\n",    "\r\n",    "\n",   "\r",    "POLYLINE", "VERTEX", "SEQEND",     "42",      "70",
    "1e308",    "-1e-300", "nan",  "1,5",   "999",      "EOF",    "ENDSEC",     "SECTION", "2",
    "ENTITIES", "8",       "\xE9", "SOLID", "13",       "-",      "2147483647", "\t"};

// The invariants every load must leave, whatever the input.
void ExpectConsistent(const cDXF& d)
{
    const auto vertices = static_cast<std::int32_t>(d.Vertices().size());
    for (const auto& p : d.Polylines()) {
        ASSERT_GE(p.firstVertex, 0);
        ASSERT_LE(p.lastVertex, vertices - 1);
        ASSERT_GE(p.lastVertex, p.firstVertex - 1);
    }
    const auto layers = static_cast<std::int32_t>(d.Layers().size());
    ASSERT_GE(layers, d.LayerCount());
    for (const auto& l : d.Lines()) {
        ASSERT_TRUE(l.layer >= 0 && l.layer < layers);
    }
    for (const auto& t : d.Texts()) {
        ASSERT_EQ(d.TextOf(t).size(), t.textLength);
    }
    const auto& e = d.Extent();
    ASSERT_TRUE(!e.hasX || e.xmin <= e.xmax);
    ASSERT_TRUE(!e.hasY || e.ymin <= e.ymax);
    ASSERT_LE(d.Diagnostics().size(), cDXF::kMaxDiagnostics + 1);
}

} // namespace

TEST(cDXFRobustness, SeededMutationsOfSoundDrawingsAreReadSafely)
{
    cRecordSurface pic;
    zvLib::MainPic = &pic;
    std::mt19937 rng(20240611);
    int diagnosed = 0;
    for (const char* name : {"entities.dxf", "noseqend.dxf", "huge.dxf"}) {
        const std::string seed = readAll(dataPath(std::string("dxf/") + name));
        ASSERT_FALSE(seed.empty());
        for (int i = 0; i < 5000; ++i) {
            const std::string input = testsupport::Mutate(seed, rng, kTokens, 6);
            cDXF d;
            ASSERT_NO_THROW({
                d.LoadBytes(input);
                pic.Clear();
                d.Draw();
                (void)d.Describe();
            }) << name
               << " mutation " << i;
            ExpectConsistent(d);
            diagnosed += d.Diagnostics().empty() ? 0 : 1;
        }
    }
    zvLib::MainPic = nullptr;
    EXPECT_GT(diagnosed, 100); // the mutations did reach the error paths
}

TEST(cDXFRobustness, TablesStayWithinASmallMultipleOfTheDrawing)
{
    // The smallest entity of each kind costs the most table bytes per file byte.
    for (const char* entity : {"POINT", "LINE", "ARC", "CIRCLE", "TEXT", "SOLID", "3DFACE",
                               "POLYLINE\n0\nVERTEX\n0\nVERTEX"}) {
        std::string bytes = "0\nSECTION\n2\nENTITIES\n";
        for (int i = 0; i < 20000; ++i) {
            bytes += std::string("0\n") + entity + "\n";
        }
        bytes += "0\nEOF\n";
        cDXF d;
        d.LoadBytes(bytes);
        EXPECT_TRUE(d.Diagnostics().empty()) << entity;
        EXPECT_LE(d.TableBytes(), 6 * bytes.size() + 8192) << entity;
    }
}

TEST(cDXFRobustness, DescriptionIsOneJsonObjectWithEscapedTexts)
{
    cDXF d;
    d.LoadBytes("0\nSECTION\n2\nBAD\"\\\x01\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
                "0\nLINE\n8\nA\n10\n-1.5\n20\n2\n11\n3\n21\n4.25\n0\nSOLID\n0\nENDSEC\n0\nEOF\n");
    d.OffsetX(cFixed::fromRaw(-5));
    EXPECT_EQ(d.Describe(),
              "{\"counts\":{\"POINT\":0,\"LINE\":1,\"ARC\":0,\"CIRCLE\":0,\"TEXT\":0,"
              "\"POLYLINE\":0,\"VERTEX\":0,\"3DFACE\":0,\"SOLID\":1},\"layers\":1,"
              "\"extent\":{\"xmin\":-1.5000,\"ymin\":2.0000,\"xmax\":3.0000,\"ymax\":4.2600},"
              "\"scale\":0.0100,\"offsetx\":-0.0005,\"offsety\":0.0000,"
              "\"diagnostics\":[\"Unkown section found BAD\\\"\\\\\\u0001\"]}");
}
