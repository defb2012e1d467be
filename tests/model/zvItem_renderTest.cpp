// Piece drawing: golden recordings of every output mode for every kind of piece, and the
// drawing rules checked call by call (arc angles, own lane point sets, fills, lane colours).
#include "ModelFixture.h"
#include "foundation/cError.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_geometry.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Main canvas and editor: 800 x 600 windows showing 1600 x 1200 mm, y up; printer: a page
// without a window or device context.
class zvItemRender : public modeltest::ModelTest {
  protected:
    zvItemRender() : printer({.window = false, .hasDC = false}), editor({.hasDC = false})
    {
        for (cSurface* s : {static_cast<cSurface*>(&canvas), static_cast<cSurface*>(&editor),
                            static_cast<cSurface*>(&printer)}) {
            s->Scale(-400, 800, 1200, -400);
        }
    }
    void SetUp() override
    {
        ModelTest::SetUp();
        zvLib::MainPic = &canvas;
        zvLib::EditPic = &editor;
        zvLib::PrinterPage = &printer;
        add(modeltest::record("K300", 1, 300), 0);
        add(modeltest::curve("CK90(L)", 90, 300, 1, 3), 0);
        add(modeltest::curve("B45(R)", 45, 400, -1, 12), 4);
        add(modeltest::record("B300", 1, 300), 8);
        add(modeltest::record("M200", 1, 200), 1);
        add(modeltest::record("D200", 1, 200), 16);
        add(modeltest::record("T400", 1, 400), 2);
        zvPieceRecord own = modeltest::record("L400", 1, 400);
        own.extra = "L1=0:25;200:40;400:25\r\nL2=0:-25;200:-40;400:-25";
        zvLib::PieceTable.push_back(own);
    }
    void TearDown() override
    {
        zvLib::MainPic = zvLib::EditPic = zvLib::PrinterPage = nullptr;
        ModelTest::TearDown();
    }
    static void add(zvPieceRecord rec, int flags)
    {
        rec.flags = flags;
        zvLib::PieceTable.push_back(rec);
    }
    // A piece of track 1.
    static std::shared_ptr<zvItem> onTrack(const std::string& item, double angle = 0,
                                           const std::string& set = "T")
    {
        auto p = make(item, 0, 0, angle, set);
        p->TrackIndex(1);
        return p;
    }
    // The piece drawn in all five modes, each section headed by its mode.
    std::string allModes(const zvItem& p)
    {
        std::string out;
        const std::pair<const char*, void (zvItem::*)() const> modes[] = {
            {"Draw", &zvItem::Draw},
            {"hilite", &zvItem::hilite},
            {"Sketch", &zvItem::Sketch},
            {"Display", &zvItem::Display},
            {"Printout", &zvItem::Printout}};
        for (const auto& [name, draw] : modes) {
            canvas.Clear();
            editor.Clear();
            printer.Clear();
            (p.*draw)();
            out +=
                std::string("== ") + name + "\n" + canvas.Text() + editor.Text() + printer.Text();
        }
        return out;
    }
    // Recorded lines of the canvas that begin with the prefix.
    std::vector<std::string> canvasLines(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const auto& l : canvas.Lines()) {
            if (l.rfind(prefix, 0) == 0) {
                out.push_back(l);
            }
        }
        return out;
    }

    cRecordSurface canvas;
    cRecordSurface printer;
    cRecordSurface editor;
};

} // namespace

TEST_F(zvItemRender, EveryKindInEveryModeMatchesItsGolden)
{
    const std::pair<const char*, const char*> kinds[] = {{"start", "<START>"},
                                                         {"straight", "K300[AB][CD]"},
                                                         {"curve_left", "CK90(L)[AB][CD]"},
                                                         {"curve_right", "C45(R)"},
                                                         {"transition", "W300(F)"},
                                                         {"crossover", "X200"},
                                                         {"banked_curve", "B45(R)"},
                                                         {"banked_straight", "B300"},
                                                         {"mark_bar", "M200"},
                                                         {"mark_dots", "D200"},
                                                         {"ticks", "T400"},
                                                         {"own_lanes", "L400"}};
    zvLib::ShowLines = true;
    for (const auto& [name, item] : kinds) {
        SCOPED_TRACE(name);
        const bool start = std::string(item) == "<START>";
        auto p = onTrack(item, 0, start ? "Zorv" : "T");
        EXPECT_TRUE(
            testsupport::matchesGolden(std::string("pieces/") + name + ".draw.txt", allModes(*p)));
    }
}

TEST_F(zvItemRender, ArcsKeepFractionalAnglesAndZeroSweepDrawsNoArc)
{
    onTrack("C45(L)", 22.5)->Draw();
    const auto arcs = canvasLines("Arc ");
    ASSERT_FALSE(arcs.empty());
    const std::string from = cFixed::fromDouble(zvLib::DegToRad(292.5)).str4();
    const std::string to = cFixed::fromDouble(zvLib::DegToRad(337.5)).str4();
    for (const auto& l : arcs) {
        EXPECT_NE(l.find("from=" + from + " to=" + to), std::string::npos) << l;
    }
    const auto paths = canvasLines("AngleArc ");
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_NE(paths[0].find("start=292.5000 sweep=45.0000"), std::string::npos) << paths[0];

    zvLib::PieceTable.push_back(modeltest::curve("C0(L)", 0, 300, 1, 3));
    canvas.Clear();
    onTrack("C0(L)", 10)->Draw();
    EXPECT_TRUE(canvasLines("Arc ").empty());
}

TEST_F(zvItemRender, OwnLanePointSetsReplaceThePlainLanes)
{
    auto p = onTrack("L400");
    p->Draw();
    const std::string laneRed = "color=&H0000FF width=2";
    const auto lines = canvasLines("Line ");
    auto count = [&](const std::string& what) {
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(what) != std::string::npos;
        });
    };
    EXPECT_EQ(count(laneRed), 2);
    EXPECT_EQ(count("Line 0.0000 25.0000 200.0000 40.0000 " + laneRed), 1);
    EXPECT_EQ(count("400.0000 25.0000 " + laneRed), 1);
    EXPECT_EQ(count("Line 0.0000 25.0000 400.0000 25.0000"), 0);
}

TEST_F(zvItemRender, FillsOnlyOnTheCanvasAndLaneColoursFollowTheTrack)
{
    auto p = onTrack("S500");
    for (auto draw : {&zvItem::Sketch, &zvItem::Display, &zvItem::Printout}) {
        ((*p).*draw)();
    }
    EXPECT_TRUE(canvasLines("BeginPath").empty());
    zvLib::ShowFill = false;
    canvas.Clear();
    p->hilite();
    EXPECT_TRUE(canvasLines("BeginPath").empty());
    EXPECT_NE(canvas.Lines().front().find("width=2"), std::string::npos);
    zvLib::ShowFill = true;
    canvas.Clear();
    p->Draw();
    ASSERT_EQ(canvasLines("StrokeAndFillPath").size(), 1u);
    EXPECT_NE(canvasLines("StrokeAndFillPath")[0].find("fill=&HDCDCDC"), std::string::npos);
    // Track 2 takes circuit lanes 3 and 4; swapped pieces exchange them; outside a track black.
    auto lane = [&](int track, bool swapped) {
        canvas.Clear();
        p->TrackIndex(static_cast<std::int16_t>(track));
        p->Swapped(swapped);
        p->Draw();
        return canvasLines("Line 0.0000 25.0000 500.0000 25.0000").at(0);
    };
    EXPECT_NE(lane(2, false).find("color=&H32CD32"), std::string::npos);
    EXPECT_NE(lane(2, true).find("color=&H4DE4FF"), std::string::npos);
    EXPECT_NE(lane(0, false).find("color=&H000000"), std::string::npos);
    EXPECT_NE(lane(5, false).find("color=&H000000"), std::string::npos);
}

TEST_F(zvItemRender, DotsGrowWithZoomAndMissingSurfacesRaise)
{
    canvas.Scale(0, 1500, 3000, -750);
    onTrack("D200")->Draw();
    const auto dots = canvasLines("PSet ");
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_NE(dots[0].find("color=&H0000FF width=5"), std::string::npos) << dots[0];
    EXPECT_NE(dots[1].find("color=&HFF901E width=5"), std::string::npos) << dots[1];

    zvLib::PrinterPage = nullptr;
    try {
        onTrack("S500")->Printout();
        FAIL() << "no printer page";
    } catch (const cError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
}

TEST_F(zvItemRender, DrawFeatureDrawsOneSegmentFewerThanPoints)
{
    zvItem p;
    p.Points("ONE", "5:5");
    p.Points("THREE", "0:0;10:0;10:10");
    p.drawFeature("ONE", canvas, 0xFF);
    p.drawFeature("NONE", canvas, 0xFF);
    EXPECT_TRUE(canvas.Lines().empty());
    p.drawFeature("three", canvas, 0xFF);
    EXPECT_EQ(canvas.Lines().size(), 2u);
}
