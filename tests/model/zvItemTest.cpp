// Track piece: named point sets and their text, extent, outline and hit test, and the
// selection seam through which a piece tells its circuit.
#include "ModelFixture.h"
#include "foundation/cError.h"

#include <algorithm>
#include <cmath>
#include <vector>

using modeltest::fx;

class zvItemTest : public modeltest::ModelTest {};

TEST_F(zvItemTest, PointSetsStoreWorldPointsAndReadBack)
{
    zvItem piece;
    EXPECT_EQ(piece.FindPointSet(""), 0);
    EXPECT_EQ(piece.Points("L1"), "");
    piece.xIniz(100);
    piece.yIniz(50);
    piece.aIniz(90);
    piece.Points("mark", "10:0;5:-2.5");
    EXPECT_EQ(piece.Points("MARK"), "100:60;102.5:55;");
    // Same name in another case replaces the points, a comma is a decimal sign too.
    piece.Points("Mark", "0:0;1,5:0;");
    EXPECT_EQ(piece.FindPointSet("mark"), 1);
    EXPECT_EQ(piece.FindPointSet("other"), -1);
    EXPECT_EQ(piece.Points("mark"), "100:50;100:51.5;");

    // At the origin with heading 0 local and world points coincide: the text round-trips.
    zvItem plain;
    const std::string text = "0:0;12.3456:-7;-0.0001:300;";
    plain.Points("L2", text);
    EXPECT_EQ(plain.Points("L2"), text);
}

TEST_F(zvItemTest, MalformedPointSetsRaiseAndLeaveThePieceAlone)
{
    zvItem piece;
    piece.Points("L1", "1:2");
    for (const char* bad : {"", ";", "1:2;;3:4", "1:2;3", "1:x", "1:2:3", "1;2"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(piece.Points("L1", bad), cError);
        EXPECT_THROW(piece.Points("NEW", bad), cError);
    }
    EXPECT_EQ(piece.Points("L1"), "1:2;");
    EXPECT_EQ(piece.FindPointSet("NEW"), -1);
}

TEST_F(zvItemTest, ExtentAndLabelPoint)
{
    auto start = make("<START>", 0, 0, 0, "Zorv");
    const std::array<cFixed, 4> square = {-80, -80, 80, 80};
    EXPECT_EQ(start->GetExtent(), square);
    EXPECT_EQ(start->X0(), fx(0));

    auto straight = make("S500[AB]", 0, 0, 0);
    const std::array<cFixed, 4> withKerb = {0, -50, 500, 60};
    EXPECT_EQ(straight->GetExtent(), withKerb);
    EXPECT_EQ(straight->X0(), fx(250));
    EXPECT_EQ(straight->Y0(), fx(0));
    zvLib::ShowKerbs = false;
    const std::array<cFixed, 4> body = {0, -50, 500, 50};
    EXPECT_EQ(straight->GetExtent(), body);

    auto curve = make("C90(R)", 0, 0, 0);
    const std::array<cFixed, 4> curveBox = {0, -300, 350, 50};
    EXPECT_EQ(curve->GetExtent(), curveBox);
    EXPECT_EQ(curve->Y0(), fx(-125));
}

TEST_F(zvItemTest, HitTestOnStraightAndStartMarker)
{
    zvItem straight;
    straight.Class(1);
    const int corners[8] = {0, 10, 100, 10, 100, -10, 0, -10};
    straight.xa(corners[0]);
    straight.ya(corners[1]);
    straight.xb(corners[2]);
    straight.yb(corners[3]);
    straight.xc(corners[4]);
    straight.yc(corners[5]);
    straight.xd(corners[6]);
    straight.yd(corners[7]);
    EXPECT_TRUE(straight.isThis(50, 0));
    EXPECT_FALSE(straight.isThis(150, 0));
    EXPECT_FALSE(straight.isThis(0, 10));
    EXPECT_FALSE(straight.isThis(50, 11));

    auto start = make("<START>", 0, 0, 0, "Zorv");
    EXPECT_TRUE(start->isThis(10, 10));
    EXPECT_FALSE(start->isThis(100, 0));
    auto turned = make("S200", 10, 20, 30);
    EXPECT_TRUE(turned->isThis(fx(96.6), fx(70)));
    EXPECT_FALSE(turned->isThis(fx(96.6), fx(130)));
}

TEST_F(zvItemTest, CurveOutlineLiesOnTheDrawnRadius)
{
    // The catalogue radius differs from the centre-line radius the curve is drawn with.
    zvLib::PieceTable[3].R0 = 200;
    auto curve = make("C90(L)");
    const auto outline = curve->GetOutline();
    ASSERT_EQ(outline.size(), 11u);
    EXPECT_EQ(outline.front().y, outline.back().y);
    // Inner edge from corner a to corner b, outer edge from c back to d: radii 250 and 350.
    EXPECT_EQ(outline[4].x, fx(250));
    EXPECT_EQ(outline[9].y, fx(-50));
    for (std::size_t i = 0; i < 10; ++i) {
        const double r = std::hypot(outline[i].x.toDouble(), outline[i].y.toDouble() - 300);
        EXPECT_NEAR(r, i < 5 ? 250 : 350, 0.001) << i;
    }
    // Along the middle of the piece (315 degrees about the centre (0, 300)).
    auto at = [](double radius) {
        const double t = 315 * 3.14159265358979 / 180;
        return std::pair{fx(radius * std::cos(t)), fx(300 + radius * std::sin(t))};
    };
    for (double radius : {260.0, 300.0, 340.0}) {
        auto [x, y] = at(radius);
        EXPECT_TRUE(curve->isThis(x, y)) << radius;
    }
    for (double radius : {210.0, 240.0, 360.0}) {
        auto [x, y] = at(radius);
        EXPECT_FALSE(curve->isThis(x, y)) << radius;
    }
    auto right = make("C45(R)", 0, 0, 22.5);
    const auto mid = right->GetOutline();
    EXPECT_EQ(mid.size(), 11u);
    EXPECT_TRUE(right->isThis(fx(100), fx(20)));
    EXPECT_FALSE(right->isThis(fx(100), fx(80)));
}

namespace {

// A circuit stand-in: the current piece and one track's selection by key.
class FakeCircuit : public zvSelectionHost {
  public:
    void CurItem(const std::shared_ptr<zvItem>& item) override
    {
        if (item->TrackIndex() != 1) {
            throw cError(9, "zvCircuit", "No such track");
        }
        current = item;
    }
    void SelectedAdd(const std::shared_ptr<zvItem>& item) override
    {
        selection.push_back(item->Key());
    }
    bool SelectedRemove(const std::string& key) override
    {
        auto it = std::find(selection.begin(), selection.end(), key);
        if (it == selection.end()) {
            return false;
        }
        selection.erase(it);
        return true;
    }
    std::shared_ptr<zvItem> current;
    std::vector<std::string> selection;
};

} // namespace

TEST_F(zvItemTest, SelectionGoesThroughTheCircuit)
{
    auto straight = make("S500");
    straight->Key("K1");
    straight->TrackIndex(1);
    EXPECT_THROW(straight->Selected(true), cError);
    EXPECT_FALSE(straight->Selected());

    auto circuit = std::make_shared<FakeCircuit>();
    zvLib::SelectionHost = circuit;
    auto curve = make("C90(L)");
    curve->Key("K2");
    curve->TrackIndex(1);
    straight->Selected(true);
    curve->Selected(true);
    EXPECT_TRUE(straight->Selected());
    EXPECT_EQ(circuit->current, curve);
    EXPECT_EQ(circuit->selection, (std::vector<std::string>{"K1", "K2"}));
    straight->Selected(false);
    EXPECT_EQ(circuit->current, straight);
    EXPECT_EQ(circuit->selection, (std::vector<std::string>{"K2"}));
    EXPECT_NO_THROW(straight->Selected(false));

    auto start = make("<START>", 0, 0, 0, "Zorv");
    start->Key("K0");
    start->TrackIndex(1);
    start->Selected(true);
    EXPECT_TRUE(start->Selected());
    EXPECT_EQ(circuit->current, start);
    EXPECT_EQ(circuit->selection.size(), 1u);

    // A piece of no track of the circuit, or one not held by a track, is refused unchanged.
    auto stray = make("S200");
    EXPECT_THROW(stray->Selected(true), cError);
    EXPECT_FALSE(stray->Selected());
    zvItem loose;
    EXPECT_THROW(loose.Selected(true), cError);
    EXPECT_EQ(circuit->current, start);
}
