// Circuit file: the exact bytes a save writes, save and open giving the same file again, older
// files without set codes, every refusal leaving the program as it was, objects and the
// background drawing surviving, texts and numbers that must not change on the way, and saves
// that fail without harming the file already there.
#include "CircuitFileFixture.h"
#include "foundation/NUX_STD_files.h"

#include <cctype>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using modeltest::fx;
using testsupport::dataPath;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

// The text with every occurrence of from replaced by to; the test fails when from is absent.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The text without the first element of that name; the test fails when there is none.
std::string without(std::string text, const std::string& element)
{
    const std::string end = "</" + element + ">";
    const std::size_t from = text.find("<" + element + ">");
    const std::size_t to = text.find(end, from);
    EXPECT_TRUE(from != std::string::npos && to != std::string::npos) << element;
    if (from != std::string::npos && to != std::string::npos) {
        text.erase(from, to + end.size() - from);
    }
    return text;
}

} // namespace

class zvCircuitFileTest : public modeltest::CircuitFileTest {
  protected:
    // Saves a circuit to a file of the test folder and returns the file's bytes.
    std::string saved(const zvCircuit& c, const std::string& name = "c.zv6")
    {
        EXPECT_TRUE(c.FileSave(tmp.file(name)));
        return readAll(tmp.file(name));
    }
    // Writes a file text and opens it into a new circuit; null when it is refused.
    std::shared_ptr<zvCircuit> opened(const std::string& text, zvFileOpenInfo* info = nullptr)
    {
        writeAll(tmp.file("in.zv6"), text);
        auto c = std::make_shared<zvCircuit>();
        return c->FileOpen(tmp.file("in.zv6"), info) == 0 ? c : nullptr;
    }
};

TEST_F(zvCircuitFileTest, SaveWritesTheExpectedBytes)
{
    const auto c = sampleCircuit();
    const std::string text = saved(*c);
    EXPECT_TRUE(testsupport::matchesGolden("circuits/expected.zv6", masked(text)));
    // One clock reading, local time, never the user's separators: YYYY-MM-DD HH:MM:SS.
    const std::string tail = "</lastsaved>\r\n</fileinfo>\r\n</zorv>\r\n";
    ASSERT_TRUE(text.ends_with(tail));
    const std::string stamp = text.substr(text.size() - tail.size() - 19, 19);
    EXPECT_TRUE(text.substr(0, text.size() - tail.size() - 19).ends_with("\r\n\t<lastsaved>"));
    for (std::size_t i = 0; i < stamp.size(); ++i) {
        const char sep = i == 4 || i == 7 ? '-' : (i == 10 ? ' ' : (i == 13 || i == 16 ? ':' : 0));
        EXPECT_TRUE(sep != 0 ? stamp[i] == sep : std::isdigit(static_cast<unsigned char>(stamp[i])))
            << stamp;
    }
    EXPECT_EQ(text.find("\xEF\xBB\xBF"), std::string::npos);
}

TEST_F(zvCircuitFileTest, SaveOpenSaveGivesTheSameFile)
{
    const auto c = sampleCircuit();
    zvLib::DXF.reset();
    const std::string first = saved(*c, "a.zv6");
    // The drawing of the circuit open before goes: this file carries none.
    zvLib::DXF = std::make_unique<cDXF>();
    auto back = std::make_shared<zvCircuit>();
    zvFileOpenInfo info;
    ASSERT_EQ(back->FileOpen(tmp.file("a.zv6"), &info), 0) << info.Reason;
    EXPECT_EQ(info.Skipped, 0);
    EXPECT_TRUE(info.Reason.empty());
    EXPECT_EQ(masked(saved(*back, "b.zv6")), masked(first));
    for (std::size_t i = 1; i <= 2; ++i) {
        EXPECT_EQ(track(*back, i).GetDefinitionString(), track(*c, i).GetDefinitionString());
    }
    EXPECT_EQ(back->Name(), c->Name());
    EXPECT_EQ(back->Description(), c->Description());
    EXPECT_EQ(loader->loaded.back(), "T");
    EXPECT_EQ(zvLib::CurSetID, "T");
    EXPECT_EQ(zvLib::DXF, nullptr);
    // The whole pose comes back, rounded to whole numbers as the file keeps it.
    EXPECT_EQ(back->StartX(), fx(12));
    EXPECT_EQ(back->StartY(), fx(-4));
    EXPECT_EQ(back->Angle(), fx(90));
    EXPECT_EQ(back->CurItem(), back->tracks().First()->items().First());
}

TEST_F(zvCircuitFileTest, TextsComeBackAsTheyWereWritten)
{
    auto c = newCircuit();
    track(*c, 1).append("T:S500;");
    const std::string name = "A;B\r\nC\tD & <E> \"q\" \\x";
    const std::string description = " lead\nlone LF, lone CR\r, \xC3\xA8\xE2\x82\xAC ";
    c->Name(name);
    c->Description(description);
    const std::string text = saved(*c);
    EXPECT_NE(text.find("<name>A\\cB\\nC\\tD &amp; &lt;E&gt; \"q\" \\\\x</name>"),
              std::string::npos);
    EXPECT_NE(text.find("<description> lead&#10;lone LF, lone CR&#13;, \xC3\xA8\xE2\x82\xAC "
                        "</description>"),
              std::string::npos);
    const auto back = opened(text);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Name(), name);
    EXPECT_EQ(back->Description(), description);

    // What XML cannot hold is dropped, so the file still opens; blanks alone are kept.
    c->Name("a\x01"
            "bc\xEF\xBF\xBF");
    c->Description("  ");
    const auto cleaned = opened(saved(*c));
    ASSERT_NE(cleaned, nullptr);
    EXPECT_EQ(cleaned->Name(), "abc");
    EXPECT_EQ(cleaned->Description(), "  ");
}

TEST_F(zvCircuitFileTest, ANameInWindows1252IsReadShownAndSavedAsTheSameCharacters)
{
    // "Déjà" in UTF-8, and in the single bytes an older file made elsewhere holds.
    const std::string deja = "D\xC3\xA9j\xC3\xA0";
    const std::string latin = "D\xE9j\xE0";
    std::string text = readAll(dataPath("circuits/expected.zv6"));
    text = replaced(text, R"(<?xml version="1.0" encoding="utf-8"?>)", R"(<?xml version="1.0"?>)");
    text = replaced(text, "<name>A\\cB\\nC &amp; &lt;D&gt;</name>", "<name>" + latin + "</name>");
    auto c = opened(text);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Name(), deja);
    const std::string again = saved(*c);
    EXPECT_NE(again.find("<name>" + deja + "</name>"), std::string::npos);
    c = opened(again);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Name(), deja);
    // Handed to the circuit in those bytes, the name is kept and saved as the same characters.
    c->Name(latin);
    EXPECT_EQ(c->Name(), deja);
    EXPECT_NE(saved(*c).find("<name>" + deja + "</name>"), std::string::npos);
}

TEST_F(zvCircuitFileTest, BackslashesInTextsComeBackAndOlderEscapesStillRead)
{
    const std::string name = "C:\\tracks\\new\\club";
    const std::string description = "first line \\c\\\r\nsecond\\";
    std::shared_ptr<zvCircuit> c = newCircuit();
    track(*c, 1).append("T:S500;");
    c->Name(name);
    c->Description(description);
    // Saved, opened and saved again: the file holds the same texts each time.
    for (int round = 1; round <= 2; ++round) {
        const std::string text = saved(*c);
        EXPECT_NE(text.find("<name>C:\\\\tracks\\\\new\\\\club</name>"), std::string::npos);
        c = opened(text);
        ASSERT_NE(c, nullptr) << round;
        EXPECT_EQ(c->Name(), name) << round;
        EXPECT_EQ(c->Description(), description) << round;
    }

    // A file written before backslashes were doubled reads its escapes as it always did; a
    // backslash before any other character stays.
    c->Name("old");
    c = opened(replaced(saved(*c), "<name>old</name>", "<name>a\\cb\\nc\\td\\x\\</name>"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Name(), "a;b\r\nc\td\\x\\");
}

TEST_F(zvCircuitFileTest, SetListNamesEverySetOnceAndAnEmptyCircuitItsOwn)
{
    auto c = newCircuit(4);
    // Codes are compared whole (B2 is no part of AB2) and without regard to case (t is T).
    track(*c, 1).append("AB2:S1;T:S500;B2:S1;");
    track(*c, 2).append("t:S9;U:S100;");
    EXPECT_NE(saved(*c).find("\r\n<set>AB2;T;B2;U;</set>\r\n"), std::string::npos);
    track(*c, 1).Remove("K1");
    // The first set of the list becomes current, whatever set the circuit was made with.
    auto back = opened(saved(*c));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(zvLib::CurSetID, "T");
    EXPECT_EQ(back->DefCode(), "T");
    EXPECT_EQ(track(*back, 2).GetDefinitionString(), "t:S9;U:S100;");

    // Without pieces the circuit still names its set and opens again.
    auto bare = newCircuit(2);
    const std::string text = saved(*bare);
    EXPECT_NE(text.find("\r\n<set>T;</set>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n<track-1></track-1>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n<objects>\r\n</objects>\r\n<extra></extra>\r\n<fileinfo>"),
              std::string::npos);
    const auto reopened = opened(text);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->tracks().Count(), 1u);
    EXPECT_EQ(reopened->DefCode(), "T");
}

TEST_F(zvCircuitFileTest, OlderFilesWithoutSetCodesTakeTheFirstSet)
{
    std::string text = readAll(dataPath("circuits/older.zv5"));
    zvFileOpenInfo info;
    const auto c = opened(text, &info);
    ASSERT_NE(c, nullptr) << info.Reason;
    EXPECT_EQ(track(*c, 1).GetDefinitionString(), "T:S500;T:C90(L);T:S200;");
    EXPECT_EQ(track(*c, 2).GetDefinitionString(), "T:S200;");
    // Without startx and starty the start point is the origin.
    EXPECT_EQ(c->StartX(), fx(0));
    EXPECT_EQ(c->StartY(), fx(0));
    // The old file's escapes are read back too; an unknown piece is counted, not loaded.
    EXPECT_EQ(c->Name(), "Old;one");
    EXPECT_EQ(info.Skipped, 1);
    ASSERT_EQ(c->objects().Count(), 1u);
    EXPECT_EQ(c->objects().First()->Class(), "line");
    // An object without id takes the time stamp of the open.
    EXPECT_EQ(c->objects().First()->ID().size(), 8u);
}

TEST_F(zvCircuitFileTest, SkippedPiecesAreCounted)
{
    auto c = newCircuit(4);
    track(*c, 1).append("T:S500;T:S200;");
    track(*c, 2).append("T:S500;");
    std::string text = saved(*c);
    text = replaced(text, "T:S500;T:S200;", "T:S500;X:NONE;T:S200;T:NOPE[#];");
    text = replaced(text, "<track-2>T:S500;", "<track-2>;;T:GONE;T:S500;");
    zvFileOpenInfo info;
    const auto back = opened(text, &info);
    ASSERT_NE(back, nullptr) << info.Reason;
    EXPECT_EQ(info.Skipped, 3);
    EXPECT_EQ(track(*back, 1).GetDefinitionString(), "T:S500;T:S200;");
    EXPECT_EQ(track(*back, 2).GetDefinitionString(), "T:S500;");
}

TEST_F(zvCircuitFileTest, ObjectsOfEveryClassAndTheDrawingSurviveExactly)
{
    const auto c = sampleCircuit();
    const cDXF* before = zvLib::DXF.get();
    const std::string stream = before->FileStream();
    const std::string description = before->Describe();
    const std::string text = saved(*c);
    const auto back = opened(text);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->objects().Count(), c->objects().Count());
    for (std::size_t i = 1; i <= c->objects().Count(); ++i) {
        const zvObject& a = *c->objects().Item(i);
        const zvObject& b = *back->objects().Item(i);
        EXPECT_EQ(b.XML(), a.XML());
        EXPECT_EQ(b.Class(), a.Class());
        EXPECT_EQ(b.ID(), a.ID());
        EXPECT_EQ(b.Points(), a.Points());
        EXPECT_EQ(b.Text(), a.Text());
        EXPECT_EQ(b.Size(), a.Size());
    }
    // A room keeps its system colours, which the file holds as negative numbers.
    const zvObject& room = *back->objects().Item(4);
    EXPECT_EQ(static_cast<std::uint32_t>(room.Color()), 0x8000000FU);
    EXPECT_EQ(static_cast<std::uint32_t>(room.fillColor()), 0x80000018U);
    EXPECT_EQ(back->objects().Item(2)->Text(), "Box & <start>");

    ASSERT_NE(zvLib::DXF, nullptr);
    EXPECT_NE(zvLib::DXF.get(), before);
    EXPECT_EQ(zvLib::DXF->FileStream(), stream);
    EXPECT_EQ(zvLib::DXF->OffsetX(), fx(120.5));
    EXPECT_EQ(zvLib::DXF->OffsetY(), fx(-30));
    EXPECT_EQ(zvLib::DXF->scaleFactor(), fx(0.25));
    EXPECT_EQ(zvLib::DXF->Describe(), description);
    // The drawing came from the file's text, not from a file of its own.
    EXPECT_EQ(zvLib::DXF->FileName(), "");
    EXPECT_EQ(masked(saved(*back, "again.zv6")), masked(text));
}

TEST_F(zvCircuitFileTest, TheDrawingsFileNameIsReadAndSavedAgain)
{
    const std::string name = "C:\\plans\\plan & caf\xC3\xA9.dxf";
    const std::string text =
        replaced(readAll(dataPath("circuits/expected.zv6")), "<filename>@</filename>",
                 "<filename>C:\\plans\\plan &amp; caf\xC3\xA9.dxf</filename>");
    ASSERT_NE(opened(text), nullptr);
    ASSERT_NE(zvLib::DXF, nullptr);
    EXPECT_EQ(zvLib::DXF->FileName(), name);
    const auto back = opened(saved(*opened(text)));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(zvLib::DXF->FileName(), name);
    EXPECT_NE(
        saved(*back).find("\r\n<filename>C:\\plans\\plan &amp; caf\xC3\xA9.dxf</filename>\r\n"),
        std::string::npos);
}

TEST_F(zvCircuitFileTest, ADrawingElementWithoutDrawingBytesOpensEmptyAndSavesAlike)
{
    // A stream that is empty, blank or the Base64 of nothing holds no drawing: the circuit
    // opens without one and without a problem to show, and every save writes the element as
    // it was read, its name and placement included.
    const std::string good = readAll(dataPath("circuits/expected.zv6"));
    const std::string head = good.substr(0, good.find("<dxf>"));
    const std::string tail = good.substr(good.find("</dxf>\r\n") + 8);
    const auto plain = opened(head + tail);
    ASSERT_NE(plain, nullptr);
    const auto extent = plain->GetExtent();
    const std::string placed = "<filename>a.dxf</filename><filestream>@</filestream>"
                               "<offsetx>5000</offsetx><offsety>6000</offsety>"
                               "<scalefactor>2</scalefactor>";
    const std::string written = "<dxf>\r\n<filename>a.dxf</filename>\r\n"
                                "<filestream><![CDATA[]]></filestream>\r\n"
                                "<offsetx>5000</offsetx>\r\n<offsety>6000</offsety>\r\n"
                                "<scalefactor>2.0000</scalefactor>\r\n</dxf>\r\n";
    const auto unstamped = [](const std::string& text) {
        return withContent(text, "lastsaved", "@");
    };
    for (const std::string stream : {"==", "A=", "====", " ", "\n", "\r\n\t ", ""}) {
        for (const bool withPlacement : {true, false}) {
            const std::string why = "\"" + stream + "\"" + (withPlacement ? " placed" : "");
            const std::string element = withPlacement ? replaced(placed, "@", stream)
                                                      : "<filestream>" + stream + "</filestream>";
            zvFileOpenInfo info;
            const auto c = opened(head + "<dxf>" + element + "</dxf>\r\n" + tail, &info);
            ASSERT_NE(c, nullptr) << why << ": " << info.Reason;
            ASSERT_NE(zvLib::DXF, nullptr) << why;
            EXPECT_FALSE(zvLib::DXF->HasDrawing()) << why;
            EXPECT_EQ(zvLib::DXF->DiagnosticCount(), 0u) << why;
            EXPECT_TRUE(c->GetExtent() == extent) << why << ": the placement widens nothing";
            const std::string first = saved(*c, "first.zv6");
            if (withPlacement) {
                EXPECT_NE(first.find(written), std::string::npos) << why;
            }
            const auto back = opened(first);
            ASSERT_NE(back, nullptr) << why;
            EXPECT_EQ(unstamped(saved(*back, "second.zv6")), unstamped(first)) << why;
        }
    }
    // A stream holding text that is no Base64 is still refused.
    for (const std::string stream : {"!!", "A", "%%%%"}) {
        EXPECT_EQ(opened(head + "<dxf><filestream>" + stream + "</filestream></dxf>" + tail),
                  nullptr)
            << stream;
    }
}

TEST_F(zvCircuitFileTest, OpeningACircuitWithADrawingThriceLeavesNoFileBehind)
{
    const auto c = sampleCircuit();
    saved(*c);
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(opened(readAll(tmp.file("c.zv6"))), nullptr);
        ASSERT_NE(zvLib::DXF, nullptr);
        EXPECT_EQ(zvLib::DXF->Lines().size(), 2u);
    }
    zvLib::DXF.reset();
    const std::string folder = NUX_STD_library::PrivateTempFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder)) << folder;
    // Nothing else was written either: the test folder holds the two circuit files alone.
    std::size_t files = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(tmp.path())) {
        files += e.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, 2u);
}

TEST_F(zvCircuitFileTest, NumbersTakeEitherDecimalSignAndObjectsOnlyElements)
{
    std::string text = readAll(dataPath("circuits/expected.zv6"));
    text = replaced(text, "<offsetx>120.5</offsetx>", "<offsetx> 120,5 </offsetx>");
    text = replaced(text, "<scalefactor>0.2500</scalefactor>", "<scalefactor>0,2500</scalefactor>");
    text = replaced(text, "<startx>12</startx>", "<startx>6,75</startx>");
    text = replaced(text, "<starty>-4</starty>", "<starty>north</starty>");
    text = replaced(text, "<objects>\r\n", "<objects>\r\n<!-- notes -->stray text<?pi x?>\r\n");
    const auto c = opened(text);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(zvLib::DXF->OffsetX(), fx(120.5));
    EXPECT_EQ(zvLib::DXF->scaleFactor(), fx(0.25));
    // The start point is read in whole numbers, as the file keeps it.
    EXPECT_EQ(c->StartX(), fx(7));
    EXPECT_EQ(c->StartY(), fx(0));
    EXPECT_EQ(c->objects().Count(), 4u);
}

TEST_F(zvCircuitFileTest, AFractionalStartPoseIsReadAsTheFileWillKeepIt)
{
    // The file keeps the start angle and point as whole numbers (halves to even), so a
    // fraction is read as it will be written and the pieces stand where they will stand
    // after a save and a reopening.
    std::string text = readAll(dataPath("circuits/expected.zv6"));
    text = replaced(text, "<angle>90</angle>", "<angle>0.5</angle>");
    text = replaced(text, "<startx>12</startx>", "<startx>7.5</startx>");
    text = replaced(text, "<starty>-4</starty>", "<starty>2.5</starty>");
    const auto c = opened(text);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Angle(), fx(0));
    EXPECT_EQ(c->StartX(), fx(8));
    EXPECT_EQ(c->StartY(), fx(2));
    const auto again = opened(saved(*c));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->DefString(), c->DefString());
    for (std::size_t i = 1; i <= 2; ++i) {
        const zvItem& a = *track(*c, i).items().Last();
        const zvItem& b = *track(*again, i).items().Last();
        EXPECT_EQ(a.xFine(), b.xFine()) << i;
        EXPECT_EQ(a.yFine(), b.yFine()) << i;
        EXPECT_EQ(a.aFine(), b.aFine()) << i;
    }
}

TEST_F(zvCircuitFileTest, RefusedFilesLeaveCircuitSetAndDrawingAsTheyWere)
{
    const auto current = sampleCircuit();
    zvLib::CurSetID = "T";
    const std::string good = readAll(dataPath("circuits/expected.zv6"));
    const std::string def = current->DefString();
    const cDXF* drawing = zvLib::DXF.get();
    const struct {
        const char* why;
        std::string text;
    } cases[] = {
        {"not XML", "<zorv><circuit>"},
        {"no file", ""},
        {"empty set list", replaced(good, "<set>T;U;</set>", "<set></set>")},
        {"unknown set", replaced(good, "<set>T;U;</set>", "<set>Q;T;</set>")},
        {"unusable set", replaced(good, "<set>T;U;</set>", "<set>Z;</set>")},
        {"set missing", without(good, "set")},
        {"no angle", without(good, "angle")},
        {"angle no number", replaced(good, "<angle>90</angle>", "<angle>ninety</angle>")},
        {"no tracks", without(good, "tracks")},
        {"no track count", replaced(good, "<tracks>2</tracks>", "<tracks>two</tracks>")},
        {"no track", replaced(good, "<tracks>2</tracks>", "<tracks>3</tracks>")},
        {"zero tracks", replaced(good, "<tracks>2</tracks>", "<tracks>0</tracks>")},
        {"five tracks", replaced(good, "<tracks>2</tracks>", "<tracks>5</tracks>")},
        {"no name", without(good, "name")},
        {"no description", without(good, "description")},
        {"mixed entries", replaced(good, "<track-2>T:W300(F);", "<track-2>W300(F);")},
        {"no points", replaced(good, "points=\"10:20\"", "")},
        {"bad points", replaced(good, "points=\"10:20\"", "points=\"10:20;\"")},
        {"bad size", replaced(good, "size=\"12\"", "size=\"big\"")},
        {"bad style", replaced(good, "style=\"0\"", "style=\"\"")},
        {"no offsetx", without(good, "offsetx")},
        {"bad scale", replaced(good, "<scalefactor>0.2500", "<scalefactor>x0.2500")},
        {"stream no Base64", withContent(good, "filestream", "<![CDATA[!]]>")},
    };
    for (const auto& k : cases) {
        loader->loaded.clear();
        zvFileOpenInfo info;
        info.Skipped = 99;
        if (std::string(k.why) == "no file") {
            std::filesystem::remove(tmp.file("in.zv6"));
            auto c = std::make_shared<zvCircuit>();
            EXPECT_EQ(c->FileOpen(tmp.file("in.zv6"), &info), -1);
        } else {
            EXPECT_EQ(opened(k.text, &info), nullptr) << k.why;
        }
        EXPECT_FALSE(info.Reason.empty()) << k.why;
        EXPECT_EQ(info.Skipped, 0) << k.why;
        EXPECT_EQ(zvLib::Circuit(), current) << k.why;
        EXPECT_EQ(current->DefString(), def) << k.why;
        EXPECT_EQ(zvLib::DXF.get(), drawing) << k.why;
        EXPECT_EQ(zvLib::CurSetID, "T") << k.why;
        // A refused set is loaded, then the set of before again.
        const bool askedForSet = std::string(k.why).ends_with(" set");
        EXPECT_EQ(loader->loaded.size(), askedForSet ? 2u : 0u) << k.why;
    }
    // With no set current before, none is current after a refused set.
    zvLib::CurSetID.clear();
    loader->loaded.clear();
    EXPECT_EQ(opened(replaced(good, "<set>T;U;</set>", "<set>Q;</set>")), nullptr);
    EXPECT_EQ(zvLib::CurSetID, "");
    EXPECT_EQ(loader->loaded, std::vector<std::string>{"Q"});
    // The good file itself opens.
    EXPECT_NE(opened(good), nullptr);
}

TEST_F(zvCircuitFileTest, NamedPipeIsRefusedAtOnceWithOrWithoutAWriter)
{
    const auto current = sampleCircuit();
    const std::string pipe = tmp.file("plan.zv6");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const bool withWriter : {false, true}) {
        // A writer the test holds and never writes through.
        const int writer = withWriter ? open(pipe.c_str(), O_RDWR | O_CLOEXEC) : -1;
        auto opening = std::async(std::launch::async, [&pipe] {
            zvFileOpenInfo info;
            auto c = std::make_shared<zvCircuit>();
            const std::int16_t result = c->FileOpen(pipe, &info);
            return std::make_pair(result, info.Reason);
        });
        const bool ended = opening.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!ended) {
            // Lets a reader waiting for a writer, or reading from the silent one, go.
            ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        }
        if (writer >= 0) {
            ::close(writer);
        }
        EXPECT_TRUE(ended) << "the open waits on the pipe, writer: " << withWriter;
        const auto [result, reason] = opening.get();
        EXPECT_EQ(result, -1) << withWriter;
        EXPECT_FALSE(reason.empty()) << withWriter;
    }
    EXPECT_EQ(zvLib::Circuit(), current);
}

// A recent-files entry that leads to a file the system makes up as it is read (of a size of
// 0, without end) is refused at once with the reader's fault, never read up to the bound.
TEST_F(zvCircuitFileTest, AFileOfProcIsRefusedAtOnceWithTheReadersFault)
{
    const auto current = sampleCircuit();
    zvFileOpenInfo info;
    auto c = std::make_shared<zvCircuit>();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(c->FileOpen("/proc/self/pagemap", &info), -1);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(info.Fault, NUX_STD_library::ReadFault::SystemFile) << info.Reason;
    EXPECT_LT(took.count(), 1.0);
    EXPECT_EQ(zvLib::Circuit(), current);
}

TEST_F(zvCircuitFileTest, AbsurdCoordinatesAreRefusedWithNothingChanged)
{
    const auto current = sampleCircuit();
    const std::string good = readAll(dataPath("circuits/expected.zv6"));
    const std::string def = current->DefString();
    for (const std::string& text :
         {replaced(good, "<startx>12</startx>", "<startx>922337203685477.5807</startx>"),
          replaced(good, "<starty>-4</starty>", "<starty>-1000000001</starty>"),
          replaced(good, "<angle>90</angle>", "<angle>922337203685477</angle>"),
          replaced(good, "points=\"10:20\"", "points=\"10:20;3:-2000000000\""),
          replaced(good, "<offsetx>120.5</offsetx>", "<offsetx>1e12</offsetx>"),
          // A drawing scaled so that it reaches beyond the range, wherever its offsets put it.
          replaced(good, "<scalefactor>0.2500<", "<scalefactor>1e11<")}) {
        zvFileOpenInfo info;
        EXPECT_EQ(opened(text, &info), nullptr) << text;
        EXPECT_FALSE(info.Reason.empty());
        EXPECT_EQ(zvLib::Circuit(), current);
        EXPECT_EQ(current->DefString(), def);
    }
    // Far out, but within the drawing range, still opens.
    const auto far = opened(replaced(good, "<startx>12</startx>", "<startx>-999999999</startx>"));
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->StartX(), fx(-999999999));
}

TEST_F(zvCircuitFileTest, CircuitThatCannotBeBuiltPutsTheSetBack)
{
    const auto current = sampleCircuit();
    zvLib::CurSetID = "U";
    const std::string text = saved(*current);
    // The loader makes "T" current but the piece table lacks the start record.
    zvLib::PieceTable.erase(zvLib::PieceTable.begin() + zvLib::FindPieceRecord("Zorv", "<START>"));
    auto c = std::make_shared<zvCircuit>();
    zvFileOpenInfo info;
    EXPECT_EQ(c->FileOpen(tmp.file("c.zv6"), &info), -1);
    EXPECT_NE(info.Reason.find("start record"), std::string::npos) << info.Reason;
    EXPECT_EQ(c->tracks().Count(), 0u);
    EXPECT_EQ(c->objects().Count(), 0u);
    EXPECT_EQ(zvLib::CurSetID, "U");
    EXPECT_EQ(loader->loaded, (std::vector<std::string>{"T", "U"}));
}

TEST_F(zvCircuitFileTest, FailedSaveLeavesTheOldFileAndSaysSo)
{
    const auto c = sampleCircuit();
    const std::string target = tmp.file("keep.zv6");
    writeAll(target, "old bytes");
    chmod(target.c_str(), 0444);
    EXPECT_FALSE(c->FileSave(target));
    EXPECT_EQ(readAll(target), "old bytes");

    std::filesystem::create_directory(tmp.file("folder.zv6"));
    EXPECT_FALSE(c->FileSave(tmp.file("folder.zv6")));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.file("folder.zv6")));
    EXPECT_FALSE(c->FileSave(tmp.file("missing/c.zv6")));
    // No temporary file is left behind.
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(tmp.path())) {
        files += e.path().filename().string().starts_with(".zorv-") ? 1 : 0;
    }
    EXPECT_EQ(files, 0u);

    // A writable file is replaced whole.
    chmod(target.c_str(), 0644);
    EXPECT_TRUE(c->FileSave(target));
    EXPECT_EQ(readAll(target).rfind("<?xml", 0), 0u);
}

TEST_F(zvCircuitFileTest, ASaveLargerThanTheReaderTakesFailsBeforeTheOldFileIsTouched)
{
    // A text of ">" signs, which the file may hold as they are but a save writes as "&gt;".
    const std::string full = readAll(dataPath("circuits/expected.zv6"));
    std::string text = full.substr(0, full.find("<dxf>")) + full.substr(full.find("<fileinfo>"));
    text = replaced(text, "Box &amp; &lt;start&gt;", std::string(3000, '>'));
    // A small bound stands in for the reader's own: the file fits, its save would not.
    struct BoundSwitch {
        std::uint64_t old = zvCircuit::MaxFileBytes();
        ~BoundSwitch() { zvCircuit::MaxFileBytes(old); }
    } bound;
    const std::uint64_t limit = text.size() + 1000;
    zvCircuit::MaxFileBytes(limit);
    const auto c = opened(text);
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->objects().Item(2)->Text(), std::string(3000, '>'));

    const std::string target = tmp.file("keep.zv6");
    writeAll(target, "old bytes");
    EXPECT_FALSE(c->FileSave(target));
    EXPECT_EQ(readAll(target), "old bytes");
    // The failure names the bound, so that the message can say it.
    const NUX_STD_library::WriteFailure& why = NUX_STD_library::LastWriteFailure();
    EXPECT_EQ(why.path, target);
    EXPECT_EQ(why.cause, NUX_STD_library::WriteCause::TooLarge);
    EXPECT_EQ(why.limit, limit);
}
