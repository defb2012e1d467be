// Tests of the annotation objects: drawing and printing of each class against golden
// recordings, the element text of the circuit file, the point text, the extent and the grip
// hit test on the main canvas.
#include "model/zvObject.h"

#include "foundation/cError.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvLib_globals.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <pugixml.hpp>

namespace {

// An environment variable set for one test and put back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

cFixed fx(double v)
{
    return cFixed::fromDouble(v);
}

// A main canvas of 800 by 600 pixels showing x 0..400 and y 0..300 (2 pixels per mm, y up)
// and a printer page without window or device context, with the numbers in the C locale.
class ObjectTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        zvLib::ResetModelGlobals();
        zvLib::MainPic = &canvas;
        zvLib::PrinterPage = &printer;
        recording(nullptr);
    }
    void TearDown() override
    {
        zvLib::MainPic = zvLib::PrinterPage = nullptr;
        zvLib::ResetModelGlobals();
    }

    // An object of a class with its points, size and, when given, colour.
    static zvObject make(const std::string& cls, const std::string& points, std::int32_t size = 1,
                         std::optional<std::int32_t> color = {})
    {
        zvObject o;
        o.Class(cls);
        o.Points(points);
        o.Size(size);
        o.Color(color.value_or(o.Color()));
        return o;
    }
    // What drawing the object on a fresh canvas and then printing it on a fresh page records.
    std::string recording(zvObject* o)
    {
        canvas = cRecordSurface();
        printer = cRecordSurface(cRecordSurface::Options{800, 600, false, false, 300});
        canvas.Scale(0, 300, 400, 0);
        printer.Scale(0, 300, 400, 0);
        if (o == nullptr) {
            return {};
        }
        o->Draw();
        o->Printout();
        return "# canvas\n" + canvas.Text() + "# printer\n" + printer.Text();
    }

    ScopedEnv cLocale{"LC_ALL", "C"};
    cRecordSurface canvas;
    cRecordSurface printer;
};

TEST_F(ObjectTest, EachClassDrawsAndPrintsAsRecorded)
{
    zvObject line = make("line", "10:20;110:20;110:70", 2, 0x0000FF);
    line.fillColor(0x00FF00);
    EXPECT_TRUE(testsupport::matchesGolden("objects/line.draw.txt", recording(&line)));
    // The filled flag comes with the room class and stays when the class changes.
    zvObject closed = make("room", "0:0;50:0;50:50", 3, 0xFF0000);
    closed.Class("line");
    EXPECT_TRUE(testsupport::matchesGolden("objects/closedline.draw.txt", recording(&closed)));

    zvObject room = make("room", "20:20;200:20;200:150;20:150", 2);
    EXPECT_TRUE(testsupport::matchesGolden("objects/room.draw.txt", recording(&room)));

    zvLib::measure = 0x123456;
    zvObject measure = make("measure", "100:100;400:100;400:200", 1, 0x0000FF);
    measure.fillColor(0x00FF00);
    measure.Style(2);
    EXPECT_TRUE(testsupport::matchesGolden("objects/measure.draw.txt", recording(&measure)));
    EXPECT_EQ(measure.fillColor(), 0x123456); // a measure always shows the current colour

    zvObject text = make("text", "20:100;99:99;5:5", 12, 0x0000FF);
    text.Text("Zorv");
    text.Draw();
    // Four characters of 12 points on the canvas: 32 by 20 pixels, 16 by 10 mm.
    EXPECT_EQ(text.Points(), "20:100;36:90");
    EXPECT_TRUE(testsupport::matchesGolden("objects/text.draw.txt", recording(&text)));
    // Printed last, at 300 pixels per inch: 100 by 62.5 pixels, 50 by 31.25 mm.
    EXPECT_EQ(text.Points(), "20:100;70:69");
}

TEST_F(ObjectTest, MeasureLabelIsCentredInEightPointsAndGroupedAsTheUserWrites)
{
    zvObject m = make("measure", "0:0;1234:0");
    canvas.FontSize(20); // left over from an earlier text
    m.Draw();
    // Four characters of 8 points: 21.33 by 13.33 pixels, half of that in mm.
    EXPECT_EQ(canvas.Lines().at(1).rfind("Print 611.6667 3.3333 \"1234\" ", 0), 0u)
        << canvas.Lines()[1];

    ScopedEnv grouped("LC_ALL", "en_US.UTF-8");
    canvas.Clear();
    m.Draw();
    EXPECT_NE(canvas.Lines().at(1).find(" \"1,234\" "), std::string::npos) << canvas.Lines()[1];
}

TEST_F(ObjectTest, ElementTextOfEachClass)
{
    zvObject line = make("line", "10:20;110.5:20;111.5:70", 2, 0x0000FF);
    line.ID("L1");
    line.fillColor(0x00FF00);
    EXPECT_EQ(line.XML(),
              "<line id=\"L1\" points=\"10:20;110:20;112:70\" color=\"Red\" fillcolor=\"Lime\" "
              "size=\"2\" ></line>");

    zvObject text = make("text", "20:100", 12, 0x123456);
    text.ID("T1");
    text.Text("A & B <C> \"D\"");
    EXPECT_EQ(text.XML(), "<text id=\"T1\" points=\"20:100\" color=\"1193046\" "
                          "fillcolor=\"Black\" size=\"12\" >A &amp; B &lt;C&gt; \"D\"</text>");

    zvLib::measure = 0x123456;
    zvObject measure = make("measure", "0:0;1234:0", 1, 0x0000FF);
    measure.ID("M1");
    measure.Style(3);
    EXPECT_EQ(measure.XML(), "<measure id=\"M1\" points=\"0:0;1234:0\"  style=\"0\" "
                             "color=\"1193046\" fillcolor=\"1193046\" size=\"1\" ></measure>");

    // System colours keep their high bit as negative numbers.
    zvObject room = make("room", "0:0;10:0;10:10");
    room.ID("R1");
    EXPECT_EQ(room.XML(), "<room id=\"R1\" points=\"0:0;10:0;10:10\" color=\"-2147483633\" "
                          "fillcolor=\"-2147483624\" size=\"1\" ></room>");
}

TEST_F(ObjectTest, ElementEscapesAndDropsWhatXmlCannotHold)
{
    const std::string kept = "a&b<c>\"d' \xC3\xA9\tline\r\nend";
    const std::string forbidden = "\x01\x0B\xEF\xBF\xBE";
    zvObject o = make("text", "1:2");
    o.ID(forbidden + kept);
    o.Text(kept + forbidden);
    const std::string xml = o.XML();
    EXPECT_EQ(xml.find('\n'), std::string::npos); // one line in the file
    EXPECT_NE(xml.find("id=\"a&amp;b&lt;c>&quot;d' \xC3\xA9&#9;line&#13;&#10;end\""),
              std::string::npos)
        << xml;

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata));
    EXPECT_EQ(std::string(doc.child("text").attribute("id").value()), kept);
    EXPECT_EQ(std::string(doc.child("text").text().get()), kept);
}

TEST_F(ObjectTest, PointTextAndExtent)
{
    zvObject o;
    o.Points(" 3 : 4 ;1,5:-2,25;7:8:9");
    EXPECT_EQ(o.Points(), "3:4;2:-2;7:8");
    EXPECT_EQ(o.GetExtent(), (std::array<cFixed, 4>{fx(1.5), fx(-2.25), fx(7), fx(8)}));
    o.Points("10.5:0;11.5:0");
    EXPECT_EQ(o.Points(), "10:0;12:0");

    const std::pair<const char*, long> bad[] = {{"", 5},    {"1:2;", 9},    {"1:2;;3:4", 9},
                                                {"12", 9},  {" ", 9},       {"a:1", 13},
                                                {"1:", 13}, {"1:2;3:x", 13}};
    for (const auto& [text, number] : bad) {
        try {
            o.Points(text);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const cError& e) {
            EXPECT_EQ(e.Number(), number) << text;
        }
        EXPECT_EQ(o.Points(), "10:0;12:0") << text; // the old points stay
    }

    o.PointArr({fx(1), fx(2), fx(3), fx(4), fx(5)});
    EXPECT_EQ(o.Points(), "1:2;3:4");
    o.PointArr({fx(7)});
    EXPECT_EQ(o.Points(), "");
    EXPECT_EQ(o.GetExtent(), std::nullopt); // left out of the circuit's extent
}

TEST_F(ObjectTest, ClassDefaultsAndSizeLimits)
{
    zvLib::measure = 0x00AA00;
    zvObject o;
    o.Class("  Room ");
    EXPECT_EQ(o.Class(), "room");
    EXPECT_EQ(o.Color(), static_cast<std::int32_t>(0x8000000FU));
    EXPECT_EQ(o.fillColor(), static_cast<std::int32_t>(0x80000018U));
    o.Class("MEASURE");
    EXPECT_EQ(o.fillColor(), 0x00AA00);
    EXPECT_EQ(o.Size(), 1);
    const std::pair<const char*, std::int32_t> sizes[] = {
        {"line", 1}, {"room", 1}, {"measure", 1}, {"text", 8}, {"arrow", 0}};
    for (const auto& [cls, least] : sizes) {
        o.Class(cls);
        o.Size(0);
        EXPECT_EQ(o.Size(), least) << cls;
    }
}

TEST_F(ObjectTest, HitTestOnTheGripsOfTheLastCanvasDrawing)
{
    zvObject o = make("line", "100:100;150:120");
    EXPECT_FALSE(o.isThis(fx(100), fx(100))); // no grips before a drawing
    o.Printout();
    EXPECT_FALSE(o.isThis(fx(100), fx(100))); // printing builds none
    o.Draw();
    EXPECT_TRUE(o.isThis(fx(100), fx(100)));
    EXPECT_TRUE(o.isThis(fx(150), fx(120)));
    EXPECT_FALSE(o.isThis(fx(125), fx(110))); // on the line, between the grips
    // One mm is two pixels: right and bottom edges are outside, left and top inside.
    EXPECT_TRUE(o.isThis(fx(101), fx(100)));
    EXPECT_FALSE(o.isThis(fx(101.5), fx(100)));
    EXPECT_FALSE(o.isThis(fx(100), fx(98.5)));
    EXPECT_TRUE(o.isThis(fx(98.5), fx(100)));
    EXPECT_TRUE(o.isThis(fx(100), fx(101.5)));
}

TEST_F(ObjectTest, GripsKeepTheirPixelSizeAtAnyZoomAndStayOffThePrinter)
{
    zvObject o = make("line", "100:100");
    canvas.Scale(99, 101, 101, 99); // 400 pixels per mm
    o.Draw();
    EXPECT_EQ(canvas.Lines().back().rfind("Box 99.9925 100.0100 100.0075 99.9900 ", 0), 0u)
        << canvas.Lines().back();
    canvas.Scale(-5e6, 5e6, 5e6, -5e6); // 10 km across
    canvas.Clear();
    EXPECT_NO_THROW(o.Draw());
    EXPECT_EQ(canvas.Lines().back().rfind("Box -37500.0000 50000.0000 ", 0), 0u)
        << canvas.Lines().back();

    zvLib::MainPic = nullptr;
    canvas.Clear();
    EXPECT_NO_THROW(o.Printout());
    EXPECT_TRUE(canvas.Lines().empty());
    EXPECT_THROW(o.Draw(), cError);
}

} // namespace
