// Reading drawings: every entity kind, layers and their colours, the extent, line ends,
// number and text forms, and broken files that must keep what could be read.
#include "dxf/cDXF.h"
#include "support/TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using testsupport::dataPath;
using testsupport::readAll;

namespace {

// Wraps entity groups (given one per line as code and value separated by a blank) in an
// ENTITIES section and an end mark, lines ended by CR LF.
std::string Drawing(const std::string& groups)
{
    std::string out = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    std::size_t pos = 0;
    while (pos < groups.size()) {
        std::size_t nl = groups.find('\n', pos);
        if (nl == std::string::npos) {
            nl = groups.size();
        }
        const std::string line = groups.substr(pos, nl - pos);
        const std::size_t sp = line.find(' ');
        out += line.substr(0, sp) + "\r\n" + line.substr(sp + 1) + "\r\n";
        pos = nl + 1;
    }
    return out + "0\r\nENDSEC\r\n0\r\nEOF\r\n";
}

std::string Replace(std::string s, const std::string& from, const std::string& to)
{
    for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) {
        s.replace(p, from.size(), to);
    }
    return s;
}

class cDXFEntitiesFile : public ::testing::Test {
  protected:
    void SetUp() override { d.fileLoad(dataPath("dxf/entities.dxf")); }
    cDXF d;
};

} // namespace

TEST_F(cDXFEntitiesFile, EveryKindIsReadInHundredths)
{
    EXPECT_TRUE(d.Diagnostics().empty());
    EXPECT_EQ(d.FileName(), dataPath("dxf/entities.dxf"));
    ASSERT_EQ(d.Points().size(), 2u);
    EXPECT_EQ(d.Points()[0].x, 150);
    EXPECT_EQ(d.Points()[0].y, 226); // 225.5 rounds to the even 226
    ASSERT_EQ(d.Lines().size(), 2u);
    EXPECT_EQ(d.Lines()[0].x2, 10000);
    EXPECT_EQ(d.Lines()[0].y2, 5000);
    ASSERT_EQ(d.Arcs().size(), 1u);
    EXPECT_EQ(d.Arcs()[0].radius, 1000);
    EXPECT_NEAR(d.Arcs()[0].startAngle, 350 * cDXF::kPi / 180, 1e-5);
    ASSERT_EQ(d.Circles().size(), 1u); // given by codes 11 and 21
    EXPECT_EQ(d.Circles()[0].x, 2000);
    EXPECT_EQ(d.Circles()[0].y, 3000);
    EXPECT_EQ(d.Circles()[0].radius, 500);
    ASSERT_EQ(d.Texts().size(), 2u);
    EXPECT_EQ(d.TextOf(d.Texts()[0]), "Pit lane, north");
    EXPECT_EQ(d.TextOf(d.Texts()[1]), "Virage \xC3\xA0 droite");
    ASSERT_EQ(d.Faces().size(), 2u);
    EXPECT_EQ(d.Faces()[0].lastCorner, 2); // the fourth corner repeats the third
    EXPECT_FALSE(d.Faces()[0].solid);
    // The SOLID's crosswise corners are kept in outline order.
    const auto& s = d.Faces()[1];
    EXPECT_TRUE(s.solid);
    EXPECT_EQ(s.lastCorner, 3);
    EXPECT_EQ((std::array<std::int32_t, 4>{7000, 8000, 8000, 7000}), s.x);
    EXPECT_EQ((std::array<std::int32_t, 4>{0, 0, 1000, 1000}), s.y);
}

TEST_F(cDXFEntitiesFile, PolylinesOwnTheirVerticesAndMeshesAreLeftOut)
{
    ASSERT_EQ(d.Polylines().size(), 2u);
    ASSERT_EQ(d.Vertices().size(), 5u); // the polyface mesh's vertex is not kept
    const auto& open = d.Polylines()[0];
    EXPECT_EQ(open.firstVertex, 0);
    EXPECT_EQ(open.lastVertex, 2);
    EXPECT_EQ(open.closed, 0);
    EXPECT_FLOAT_EQ(d.Vertices()[0].bulge, 1.0f);
    EXPECT_FLOAT_EQ(d.Vertices()[1].bulge, -0.5f);
    const auto& closed = d.Polylines()[1];
    EXPECT_EQ(closed.firstVertex, 3);
    EXPECT_EQ(closed.lastVertex, 4);
    EXPECT_EQ(closed.closed, -1);
}

TEST_F(cDXFEntitiesFile, LayersAreNumberedInOrderOfFirstUseWithPresetColours)
{
    // Walls, Doors, Labels and Track; names in TABLES, BLOCKS, skipped entities and the
    // mesh count for nothing.
    ASSERT_EQ(d.LayerCount(), 4);
    EXPECT_EQ(d.Layers()[0].name, "Walls");
    EXPECT_EQ(d.Layers()[1].name, "Doors");
    EXPECT_EQ(d.Layers()[3].name, "Track");
    EXPECT_EQ(d.Layers()[0].color, 0x000000);
    EXPECT_EQ(d.Layers()[1].color, 0x0000FF);
    EXPECT_EQ(d.Points()[1].layer, 0); // no layer given
    EXPECT_EQ(d.Faces()[1].layer, 1);
}

TEST_F(cDXFEntitiesFile, ExtentHoldsWholeArcsAndBulges)
{
    // East point of the ARC (60, 50) is inside the drawing; the lower half circle reaches
    // y = -20, the closed polyline's closing half circle x = 110, the bare point x = -5, the
    // triangle y = 70.
    const DXFExtent& e = d.Extent();
    EXPECT_EQ(e.xmin, -500);
    EXPECT_EQ(e.ymin, -2000);
    EXPECT_EQ(e.xmax, 11000);
    EXPECT_EQ(e.ymax, 7000);
}

TEST(cDXFReader, AThinArcSpansItsEndPointsAndOnlyAWholeTurnIsACircle)
{
    // Radius 100 round the origin; the angles lie closer than single precision tells apart.
    const struct {
        const char* start;
        const char* end;
        std::int32_t xmin, ymin, xmax, ymax;
    } cases[] = {
        {"30", "30.000001", 8660, 5000, 8660, 5000},
        {"200", "200.000001", -9397, -3420, -9397, -3420},
        {"300", "299.999999", -10000, -10000, 10000, 10000},
        {"30", "390", -10000, -10000, 10000, 10000},
    };
    for (const auto& c : cases) {
        cDXF d;
        d.LoadBytes(
            Drawing(std::string("0 ARC\n10 0\n20 0\n40 100\n50 ") + c.start + "\n51 " + c.end));
        ASSERT_EQ(d.Arcs().size(), 1u) << c.end;
        // Within a hundredth, as the end points are rounded to hundredths.
        EXPECT_NEAR(d.Extent().xmin, c.xmin, 1) << c.start << " to " << c.end;
        EXPECT_NEAR(d.Extent().ymin, c.ymin, 1) << c.start << " to " << c.end;
        EXPECT_NEAR(d.Extent().xmax, c.xmax, 1) << c.start << " to " << c.end;
        EXPECT_NEAR(d.Extent().ymax, c.ymax, 1) << c.start << " to " << c.end;
    }
}

TEST(cDXFReader, LineEndsMayBeCrLfLfOrCr)
{
    const std::string crlf = readAll(dataPath("dxf/entities.dxf"));
    cDXF ref;
    ref.LoadBytes(crlf);
    for (const std::string& end : {std::string("\n"), std::string("\r")}) {
        cDXF d;
        d.LoadBytes(Replace(crlf, "\r\n", end));
        EXPECT_TRUE(d.Diagnostics().empty());
        EXPECT_EQ(d.Describe(), ref.Describe());
    }
    // A blank value line is a value, not a missing line.
    cDXF d;
    d.LoadBytes(Drawing("0 TEXT\n1 \n10 1\n20 1"));
    ASSERT_EQ(d.Texts().size(), 1u);
    EXPECT_EQ(d.TextOf(d.Texts()[0]), "");
}

TEST(cDXFReader, NumbersAreReadStrictlyWithAPointOrADecimalComma)
{
    cDXF d;
    d.LoadBytes(Drawing("0 POINT\n10 12,5\n20 -12.346\n0 POINT\n10 1.2\n20 1.21\n"
                        "0 POINT\n10 +3E1\n20   \t7\n0 POINT\n10 12.341\n20 .5"));
    ASSERT_EQ(d.Points().size(), 4u);
    EXPECT_EQ(d.Points()[0].x, 1250);  // 1250.5 rounds to even
    EXPECT_EQ(d.Points()[0].y, -1234); // -1234.6 + 0.5
    EXPECT_EQ(d.Points()[1].x, 120);
    EXPECT_EQ(d.Points()[1].y, 122);
    EXPECT_EQ(d.Points()[2].x, 3000);
    EXPECT_EQ(d.Points()[2].y, 700);
    EXPECT_EQ(d.Points()[3].x, 1235);
    EXPECT_EQ(d.Points()[3].y, 50);
    for (const char* bad : {"1,234.5", "12abc", "", "inf", "0x10", "1e", "--1", "1 2"}) {
        cDXF b;
        b.LoadBytes(Drawing(std::string("0 POINT\n10 ") + bad + "\n20 1"));
        EXPECT_TRUE(b.Points().empty()) << bad;
        EXPECT_EQ(b.Diagnostics().size(), 1u) << bad;
    }
}

TEST(cDXFReader, EveryNumberFormReadsLikeTheCLibraryReadsIt)
{
    // Short decimals take a fast road; long ones, exponents and signs the general one.
    std::mt19937 rng(99);
    std::string groups;
    std::vector<double> expected;
    for (int i = 0; i < 2000; ++i) {
        char buf[64];
        const double v = std::uniform_real_distribution<double>(-1e6, 1e6)(rng);
        const char* formats[] = {"%.0f", "%.3f", "%.9f", "%.15f", "%.4e", "%+.2f"};
        std::snprintf(buf, sizeof buf, formats[i % 6], v);
        groups += std::string(i == 0 ? "" : "\n") + "0 POINT\n10 " + buf + "\n20 0";
        expected.push_back(std::strtod(buf, nullptr));
    }
    cDXF d;
    d.LoadBytes(Drawing(groups));
    ASSERT_EQ(d.Points().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(d.Points()[i].x, RoundHalfEven(expected[i] * 100 + 0.5)) << i;
    }
}

TEST(cDXFReader, TextsAndLayerNamesAreUtf8OrWindows1252)
{
    cDXF d;
    // "\x80" and "\xE9" are the euro sign and e-acute in Windows-1252.
    d.LoadBytes(Drawing("8 x\n0 TEXT\n8 Caf\xE9\n1 5 \x80, a,b\tc\n10 0\n20 0\n"
                        "0 TEXT\n8 Caf\xC3\xA9\n1 ok\n10 0\n20 0"));
    ASSERT_EQ(d.Texts().size(), 2u);
    EXPECT_EQ(d.TextOf(d.Texts()[0]), "5 \xE2\x82\xAC, a,b c");
    ASSERT_EQ(d.LayerCount(), 1); // both spellings name the same layer
    EXPECT_EQ(d.Layers()[0].name, "Caf\xC3\xA9");
}

TEST(cDXFReader, LayerNamesAreCaseSensitiveAndPresetsRunOut)
{
    std::string groups;
    for (int i = 0; i < 18; ++i) {
        groups += "0 POINT\n8 L" + std::to_string(i) + "\n10 0\n20 0\n";
    }
    groups += "0 POINT\n8 l1\n10 0\n20 0\n0 POINT\n8 L1\n10 0\n20 0";
    cDXF d;
    d.LoadBytes(Drawing(groups));
    ASSERT_EQ(d.LayerCount(), 19);
    EXPECT_EQ(d.Points()[18].layer, 18); // "l1" is not "L1"
    EXPECT_EQ(d.Points()[19].layer, 1);
    EXPECT_EQ(d.Layers()[6].color, 0xFFFF00); // the seventh is cyan
    EXPECT_EQ(d.Layers()[16].color, 0);
    EXPECT_EQ(d.Layers()[16].lineWidth, 1);
}

TEST(cDXFReader, TooManyLayersStopTheReading)
{
    std::string bytes = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i <= cDXF::kMaxLayers; ++i) {
        bytes += "0\nPOINT\n8\nL" + std::to_string(i) + "\n";
    }
    bytes += "0\nEOF\n";
    cDXF d;
    d.LoadBytes(bytes);
    EXPECT_EQ(d.LayerCount(), cDXF::kMaxLayers);
    EXPECT_EQ(d.Points().size(), static_cast<std::size_t>(cDXF::kMaxLayers));
    ASSERT_EQ(d.Diagnostics().size(), 1u);
}

TEST(cDXFReader, BrokenFilesKeepWhatWasReadAndSayWhy)
{
    struct Case {
        const char* file;
        std::size_t lines;
        std::size_t polylines;
        const char* diagnostic;
    };
    const Case cases[] = {
        {"truncated.dxf", 1, 0, "File Error: "},
        {"badcode.dxf", 1, 0, "The group code on line 23 is not a number"},
        {"noeof.dxf", 1, 0, "File Error: "},
        {"noseqend.dxf", 1, 1, nullptr},
        {"unknownsection.dxf", 1, 0, "Unkown section found THUMBNAILIMAGE"},
    };
    for (const auto& c : cases) {
        cDXF d;
        d.fileLoad(dataPath(std::string("dxf/") + c.file));
        EXPECT_EQ(d.Lines().size(), c.lines) << c.file;
        EXPECT_EQ(d.Polylines().size(), c.polylines) << c.file;
        if (c.diagnostic == nullptr) {
            EXPECT_TRUE(d.Diagnostics().empty()) << c.file;
        } else {
            ASSERT_EQ(d.Diagnostics().size(), 1u) << c.file;
            EXPECT_EQ(d.Diagnostics()[0].rfind(c.diagnostic, 0), 0u) << d.Diagnostics()[0];
        }
    }
    cDXF u;
    u.fileLoad(dataPath("dxf/unknownsection.dxf"));
    EXPECT_EQ(u.Lines()[0].x2, 200); // the line inside the unknown section is not read
    cDXF p;
    p.fileLoad(dataPath("dxf/noseqend.dxf"));
    EXPECT_EQ(p.Polylines()[0].lastVertex, 1);
    EXPECT_THROW(p.fileLoad(dataPath("dxf/missing.dxf")), std::exception);
}

TEST(cDXFReader, ValuesBeyondTheRangeLeaveTheirEntityOut)
{
    cDXF d;
    d.fileLoad(dataPath("dxf/huge.dxf"));
    EXPECT_EQ(d.Diagnostics().size(), 4u);
    ASSERT_EQ(d.Lines().size(), 1u);
    EXPECT_EQ(d.Lines()[0].x1, -100);
    ASSERT_EQ(d.Points().size(), 1u);
    EXPECT_EQ(d.Points()[0].x, 1250);
    EXPECT_TRUE(d.Circles().empty());
    // The bulge of 1e300 drops its polyline; the tiny bulge on a long chord is a straight
    // segment, its polyline kept whole.
    ASSERT_EQ(d.Polylines().size(), 1u);
    ASSERT_EQ(d.Vertices().size(), 2u);
    EXPECT_EQ(d.Vertices()[0].x, -900000000);
    ASSERT_EQ(d.Arcs().size(), 1u);
    EXPECT_GE(d.Arcs()[0].startAngle, 0);
    EXPECT_NEAR(d.Arcs()[0].endAngle, 3 * cDXF::kPi / 2, 1e-5);
    // The dropped polyline widened nothing; the straight one only by its end points.
    EXPECT_EQ(d.Extent().xmin, -900000000);
    EXPECT_EQ(d.Extent().xmax, 900000000);
    EXPECT_EQ(d.Extent().ymax, 400);
}

TEST(cDXFReader, ABulgeOfMoreThanAHalfTurnWithoutAnArcInRangeLeavesItsPolylineOut)
{
    // A bulge of 500000 (or -500000) on a chord of 100 units turns nearly a whole circle, whose
    // radius lies beyond every coordinate: no straight segment may stand for it.
    cDXF d;
    d.LoadBytes(Drawing("0 POLYLINE\n0 VERTEX\n10 0\n20 0\n42 500000\n0 VERTEX\n10 100\n20 0\n"
                        "0 SEQEND\n0 POLYLINE\n0 VERTEX\n10 0\n20 0\n42 -500000\n0 VERTEX\n"
                        "10 100\n20 0\n0 SEQEND\n0 LINE\n10 1\n20 2\n11 3\n21 4"));
    EXPECT_TRUE(d.Polylines().empty());
    EXPECT_TRUE(d.Vertices().empty());
    ASSERT_EQ(d.Diagnostics().size(), 2u);
    for (const auto& m : d.Diagnostics()) {
        EXPECT_EQ(m.rfind("The POLYLINE on line ", 0), 0u) << m;
        EXPECT_NE(m.find("out of range"), std::string::npos) << m;
    }
    // The polylines left out widened nothing.
    EXPECT_EQ(d.Extent().xmin, 100);
    EXPECT_EQ(d.Extent().xmax, 300);
    EXPECT_EQ(d.Extent().ymin, 200);
}

TEST(cDXFReader, EndMarkEndsTheDrawingAndLeavesTheLastEntityWhole)
{
    cDXF d;
    d.LoadBytes("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nPOINT\r\n10\r\n1\r\n20\r\n2\r\n"
                "0\r\nEOF\r\n\r\n0\r\nPOINT\r\n");
    EXPECT_EQ(d.Points().size(), 1u);
    EXPECT_TRUE(d.Diagnostics().empty());
    // Hundreds of bad sections give a bounded list of messages.
    std::string many;
    for (int i = 0; i < 300; ++i) {
        many += "0\nSECTION\n2\nX" + std::to_string(i) + "\n0\nENDSEC\n";
    }
    cDXF m;
    m.LoadBytes(many + "0\nEOF\n");
    EXPECT_EQ(m.Diagnostics().size(), cDXF::kMaxDiagnostics + 1);
}
