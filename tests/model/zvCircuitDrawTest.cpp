// Circuit drawing and what it shares with the background drawing and the objects: the layer
// order on the canvas and the printer page, the background drawn only in development mode,
// kept through re-layouts and counted in the extent, and the hit test on objects.
#include "CircuitFixture.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/cRecordSurface.h"
#include "model/zvObject.h"
#include "support/TestSupport.h"

#include <string>
#include <vector>

using modeltest::fx;

namespace {

// A background drawing of one line from (0, 0) to (100, 50) drawing units.
std::unique_ptr<cDXF> oneLine()
{
    auto d = std::make_unique<cDXF>();
    d->LoadBytes("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n100\n21\n50\n"
                 "0\nENDSEC\n0\nEOF\n");
    d->scaleFactor(cFixed::fromRaw(100));
    return d;
}

class zvCircuitDrawTest : public modeltest::CircuitTest {
  protected:
    void SetUp() override
    {
        CircuitTest::SetUp();
        canvas.Scale(-400, 800, 1200, -400);
        printer.Scale(-400, 800, 1200, -400);
        zvLib::MainPic = &canvas;
        zvLib::PrinterPage = &printer;
    }
    void TearDown() override
    {
        zvLib::MainPic = zvLib::PrinterPage = nullptr;
        zvLib::DXF.reset();
        CircuitTest::TearDown();
    }
    // A one-track circuit: a selected straight, one marked to the front, a curve, a room
    // beneath them and a line above.
    std::shared_ptr<zvCircuit> sample()
    {
        auto c = newCircuit();
        track(*c, 1).append("T:S500;T:S200[#];T:C90(L);");
        track(*c, 1).items().Item(2)->Selected(true);
        c->objects().Add(object("room", "0:-100;300:-100;300:0"));
        c->objects().Add(object("line", "600:-300;900:-300"));
        return c;
    }
    static std::shared_ptr<zvObject> object(const std::string& cls, const std::string& points)
    {
        auto o = std::make_shared<zvObject>();
        o->Class(cls);
        o->Points(points);
        o->Color(0x00AA00);
        return o;
    }
    // Position of the first recorded canvas line that holds the text, after a position.
    std::size_t find(const std::string& text, std::size_t from = 0) const
    {
        const auto& lines = canvas.Lines();
        for (std::size_t i = from; i < lines.size(); ++i) {
            if (lines[i].find(text) != std::string::npos) {
                return i;
            }
        }
        return lines.size();
    }

    cRecordSurface canvas;
    cRecordSurface printer{{.window = false, .hasDC = false}};
};

} // namespace

TEST_F(zvCircuitDrawTest, CanvasLayersRoomsPiecesFrontPiecesThenObjects)
{
    auto c = sample();
    canvas.Clear();
    c->Draw();
    EXPECT_TRUE(testsupport::matchesGolden("circuit/draw.txt", canvas.Text()));

    const auto& lines = canvas.Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("Cls", 0), 0u);
    EXPECT_EQ(lines[1].rfind("PSet 0.0000 0.0000 color=&H0A0B0C", 0), 0u);
    EXPECT_EQ(lines[2].rfind("PSet 0.0000 0.0000 color=&H0C0B0A", 0), 0u);
    // The room's hatch comes before the start marker's disc, the first piece drawn.
    const std::size_t room = find("fillstyle=5");
    const std::size_t start = find("Circle");
    EXPECT_LT(room, start);
    // The selected straight is outlined in the highlight colour.
    EXPECT_LT(find("Line 0.0000 50.0000 500.0000 50.0000 color=&H8000000D"), lines.size());
    // The front straight is drawn twice, the second time after the curve.
    const std::string frontEdge = "Line 500.0000 50.0000 700.0000 50.0000";
    const std::size_t once = find(frontEdge);
    const std::size_t curve = find("Arc", once);
    const std::size_t twice = find(frontEdge, once + 1);
    EXPECT_LT(curve, twice);
    EXPECT_LT(twice, lines.size());
    // The line object lies on top of everything.
    EXPECT_GT(find("Line 600.0000 -300.0000 900.0000 -300.0000"), twice);

    zvLib::ShowGrid = false;
    canvas.Clear();
    c->Draw();
    EXPECT_EQ(find("&H0A0B0C"), canvas.Lines().size());
}

TEST_F(zvCircuitDrawTest, PrintoutLayersWithoutHighlightOrFrontPass)
{
    auto c = sample();
    canvas.Clear();
    c->Printout();
    EXPECT_TRUE(testsupport::matchesGolden("circuit/printout.txt", printer.Text()));
    EXPECT_EQ(printer.Text().find("&H8000000D"), std::string::npos);
    const std::string text = printer.Text();
    const std::string frontEdge = "Line 500.0000 50.0000 700.0000 50.0000";
    EXPECT_EQ(text.find(frontEdge, text.find(frontEdge) + 1), std::string::npos);
    EXPECT_LT(text.find("Line 0.0000 -100.0000 300.0000 -100.0000"), text.find("Circle"));
    EXPECT_GT(text.find("Line 600.0000 -300.0000"), text.rfind("Arc"));
}

TEST_F(zvCircuitDrawTest, BackgroundDrawingStaysThroughReLayoutsAndCountsInTheExtent)
{
    auto c = sample();
    zvLib::DXF = oneLine();
    zvLib::DXF->OffsetX(1000);
    const cDXF* background = zvLib::DXF.get();
    const auto e = c->GetExtent();
    EXPECT_EQ(e[2], fx(1100));
    EXPECT_EQ(e[0], fx(0));

    // Drawn on the canvas only in development mode, and then last.
    canvas.Clear();
    c->Draw();
    EXPECT_EQ(find("Line 1000.0000 0.0000 1100.0000 50.0000"), canvas.Lines().size());
    {
        modeltest::ScopedEnv dev("ZORV_DEVMODE", "1");
        canvas.Clear();
        c->Draw();
        EXPECT_EQ(find("Line 1000.0000 0.0000 1100.0000 50.0000"), canvas.Lines().size() - 1);
    }

    c->Angle(90);
    c->StartX(20);
    c->DefString(c->DefString());
    track(*c, 1).ReCalcLayout();
    EXPECT_EQ(zvLib::DXF.get(), background);
    c->Init("T", 2, 0, 0, 0);
    EXPECT_EQ(zvLib::DXF, nullptr);
}

TEST_F(zvCircuitDrawTest, LocateItemReportsObjectsOnlyWhereNoPieceIsHit)
{
    auto c = sample();
    // Objects answer only after a drawing has placed their grips.
    EXPECT_EQ(c->LocateItem(900, -300).object, nullptr);
    c->Draw();
    auto hit = c->LocateItem(900, -300);
    EXPECT_EQ(hit.item, nullptr);
    EXPECT_EQ(hit.object, c->objects().Item(2));
    // The room's corner lies on the first straight: the piece wins.
    hit = c->LocateItem(300, 0);
    EXPECT_NE(hit.item, nullptr);
    EXPECT_EQ(hit.object, nullptr);
    EXPECT_TRUE(ui->messages.empty());

    // An object-only circuit has the extent of its points.
    auto bare = newCircuit();
    bare->objects().Add(object("line", "-10:5;40:-20"));
    EXPECT_EQ(bare->GetExtent(), (std::array<cFixed, 6>{-10, -20, 40, 5, 50, 25}));
}
