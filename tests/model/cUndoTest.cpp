// Undo stack: stepping back and forth through circuit states, the dirty flag, a push after an
// undo, the canvas window restored, the ends and the empty stack, counts beyond 16 bits, and
// what a step keeps or refuses.
#include "CircuitFixture.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/cError.h"
#include "foundation/zvLang.h"
#include "model/cUndo.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// The fake interface that also counts the beeps of the status line.
class BeepingUI : public modeltest::FakeUI {
  public:
    void SetStatus(const std::string& text, bool beep) override
    {
        FakeUI::SetStatus(text, beep);
        beeps += beep ? 1 : 0;
    }
    int beeps = 0;
};

zvViewRect rect(float left, float top, float width, float height)
{
    return zvViewRect{left, top, width, height};
}

void expectView(const zvViewRect& actual, const zvViewRect& expected)
{
    EXPECT_EQ(actual.ScaleLeft, expected.ScaleLeft);
    EXPECT_EQ(actual.ScaleTop, expected.ScaleTop);
    EXPECT_EQ(actual.ScaleWidth, expected.ScaleWidth);
    EXPECT_EQ(actual.ScaleHeight, expected.ScaleHeight);
}

} // namespace

class cUndoTest : public modeltest::CircuitTest {
  protected:
    void SetUp() override
    {
        CircuitTest::SetUp();
        beeping = std::make_shared<BeepingUI>();
        ui = beeping;
        zvLib::UI = beeping;
        zvLib::Undo().Clear();
        c = newCircuit(4);
    }
    void TearDown() override
    {
        zvLib::Undo().Clear();
        CircuitTest::TearDown();
    }

    // Appends to track 1 and records the state, as an undoable command does.
    std::string change(const std::string& definition)
    {
        track(*c, 1).append(definition);
        undo.Push();
        return c->DefString();
    }
    // One step; true when it only told the user (status and beep) instead of restoring.
    bool refused(int step, const std::string& key)
    {
        beeping->status.clear();
        const int before = beeping->beeps;
        undo.Pop(step);
        return beeping->status == zvLang::Translate(key) && beeping->beeps == before + 1;
    }

    std::shared_ptr<BeepingUI> beeping;
    std::shared_ptr<zvCircuit> c;
    cUndo& undo = zvLib::Undo();
};

TEST_F(cUndoTest, UndoAndRedoWalkTheStatesAndStopAtTheEnds)
{
    EXPECT_EQ(&zvLib::Undo(), &undo);
    undo.Push();
    const std::string s1 = c->DefString();
    EXPECT_FALSE(undo.isdirty());
    EXPECT_TRUE(refused(-1, "$msg.noundo"));
    EXPECT_TRUE(refused(+1, "$msg.noredo"));
    EXPECT_EQ(undo.position(), 1u);

    const std::string s2 = change("T:S500;");
    EXPECT_TRUE(undo.isdirty());
    const std::string s3 = change("T:C90(L);T:S200;");
    EXPECT_EQ(undo.count(), 3u);
    EXPECT_EQ(undo.position(), 3u);

    EXPECT_TRUE(refused(+1, "$msg.noredo"));
    EXPECT_EQ(c->DefString(), s3);
    const std::vector<std::string> back = {s2, s1};
    for (const auto& expected : back) {
        beeping->status.clear();
        undo.Pop(-1);
        EXPECT_EQ(c->DefString(), expected);
        EXPECT_EQ(beeping->status, "");
    }
    EXPECT_EQ(undo.position(), 1u);
    EXPECT_TRUE(refused(-1, "$msg.noundo"));
    EXPECT_EQ(undo.position(), 1u);
    EXPECT_EQ(c->DefString(), s1);
    // Back at the first state the circuit is still changed; only Clear makes it clean.
    EXPECT_TRUE(undo.isdirty());

    undo.Pop(+1);
    undo.Pop(+1);
    EXPECT_EQ(c->DefString(), s3);
    EXPECT_EQ(track(*c, 1).items().Count(), 4u);
    undo.Clear();
    EXPECT_FALSE(undo.isdirty());
    EXPECT_EQ(undo.count(), 0u);
    EXPECT_EQ(undo.position(), 0u);
}

TEST_F(cUndoTest, PushAfterUndoDropsTheUndoneStates)
{
    undo.Push();
    const std::string s1 = c->DefString();
    const std::string s2 = change("T:S500;");
    change("T:S200;");
    undo.Pop(-1);
    ASSERT_EQ(c->DefString(), s2);

    const std::string s4 = change("T:C45(R);");
    EXPECT_EQ(undo.count(), 3u);
    EXPECT_EQ(undo.position(), 3u);
    EXPECT_TRUE(refused(+1, "$msg.noredo"));
    undo.Pop(-1);
    EXPECT_EQ(c->DefString(), s2);
    undo.Pop(-1);
    EXPECT_EQ(c->DefString(), s1);
    undo.Pop(+1);
    undo.Pop(+1);
    EXPECT_EQ(c->DefString(), s4);

    // From the first state a push leaves two states, and the circuit stays dirty.
    undo.Pop(-1);
    undo.Pop(-1);
    change("T:X200;");
    EXPECT_EQ(undo.count(), 2u);
    EXPECT_TRUE(undo.isdirty());
}

TEST_F(cUndoTest, StepsRestoreTheCanvasWindowOfTheirState)
{
    const zvViewRect a = rect(-100, 400, 800, -600);
    const zvViewRect b = rect(25.5f, 12.25f, 300, -175);
    beeping->view = a;
    undo.Push();
    track(*c, 2).append("T:S500;");
    beeping->view = b;
    undo.Push();
    // A zoom alone is a state too, and it shares the circuit text of the one before.
    const zvViewRect zoomed = rect(0, 50, 100, -80);
    beeping->view = zoomed;
    undo.Push();
    EXPECT_EQ(undo.State(2).text, undo.State(3).text);
    EXPECT_NE(undo.State(1).text, undo.State(2).text);
    expectView(undo.State(1).view, a);
    EXPECT_THROW(undo.State(4), cError);

    undo.Pop(-1);
    expectView(beeping->view, b);
    undo.Pop(-1);
    expectView(beeping->view, a);
    EXPECT_EQ(track(*c, 2).items().Count(), 1u);
    // A refused step leaves the window where it is.
    beeping->view = zoomed;
    undo.Pop(-1);
    expectView(beeping->view, zoomed);
    undo.Pop(+1);
    expectView(beeping->view, b);
    EXPECT_EQ(track(*c, 2).items().Count(), 2u);
}

TEST_F(cUndoTest, EmptyStackAndNoCircuitRestoreNothing)
{
    track(*c, 1).append("T:S500;");
    const std::string before = c->DefString();
    beeping->view = rect(1, 2, 3, -4);
    EXPECT_TRUE(refused(-1, "$msg.noundo"));
    EXPECT_TRUE(refused(+1, "$msg.noredo"));
    EXPECT_EQ(undo.position(), 0u);
    EXPECT_EQ(c->DefString(), before);
    expectView(beeping->view, rect(1, 2, 3, -4));

    // Without a circuit nothing is recorded, and a recorded state has nowhere to go.
    undo.Push();
    track(*c, 1).append("T:S200;");
    undo.Push();
    zvLib::Circuit(nullptr);
    undo.Push();
    EXPECT_EQ(undo.count(), 2u);
    undo.Pop(-1);
    EXPECT_EQ(undo.position(), 2u);
    EXPECT_TRUE(refused(+1, "$msg.noredo"));

    // Without an interface steps are silent and still move.
    zvLib::Circuit(c);
    zvLib::UI.reset();
    undo.Pop(-1);
    EXPECT_EQ(c->DefString(), before);
    undo.Pop(-1);
    EXPECT_EQ(undo.position(), 1u);
}

TEST_F(cUndoTest, CountsGoBeyondSixteenBits)
{
    undo.Push();
    track(*c, 1).append("T:S500;");
    const int pushes = 40000;
    for (int i = 1; i < pushes; ++i) {
        beeping->view = rect(static_cast<float>(i), 0, 10, -10);
        undo.Push();
    }
    EXPECT_EQ(undo.count(), static_cast<std::size_t>(pushes));
    EXPECT_EQ(undo.position(), static_cast<std::size_t>(pushes));
    undo.Pop(-1);
    EXPECT_EQ(undo.position(), static_cast<std::size_t>(pushes - 1));
    EXPECT_EQ(beeping->view.ScaleLeft, static_cast<float>(pushes - 2));
    EXPECT_TRUE(refused(+2, "$msg.noredo"));
    EXPECT_EQ(undo.position(), static_cast<std::size_t>(pushes - 1));
}

TEST_F(cUndoTest, StepKeepsTheDocumentAroundTheLayout)
{
    c->Name("Club track");
    c->Description("Two lanes");
    zvLib::DXF = std::make_unique<cDXF>();
    const cDXF* background = zvLib::DXF.get();
    undo.Push();
    c->Angle(90);
    c->StartX(250);
    track(*c, 1).append("T:S500;T:C90(R);");
    undo.Push();

    undo.Pop(-1);
    EXPECT_EQ(c->Angle(), cFixed(0));
    EXPECT_EQ(c->StartX(), cFixed(0));
    EXPECT_EQ(track(*c, 1).items().Count(), 1u);
    EXPECT_EQ(c->tracks().Count(), 2u);
    EXPECT_EQ(c->Name(), "Club track");
    EXPECT_EQ(c->Description(), "Two lanes");
    EXPECT_EQ(c->DefCode(), "T");
    EXPECT_EQ(zvLib::DXF.get(), background);
    undo.Pop(+1);
    EXPECT_EQ(c->Angle(), cFixed(90));
    EXPECT_EQ(track(*c, 1).items().Count(), 3u);
    zvLib::DXF.reset();
}

TEST_F(cUndoTest, RefusedRebuildChangesNothing)
{
    beeping->view = rect(0, 0, 10, -10);
    undo.Push();
    track(*c, 1).append("T:S500;");
    beeping->view = rect(5, 5, 20, -20);
    undo.Push();
    const std::string now = c->DefString();
    // Without the start record no track can be rebuilt: the step raises and moves nothing.
    const auto table = zvLib::PieceTable;
    zvLib::PieceTable.pop_back();
    EXPECT_THROW(undo.Pop(-1), cError);
    EXPECT_EQ(undo.position(), 2u);
    EXPECT_EQ(c->DefString(), now);
    expectView(beeping->view, rect(5, 5, 20, -20));
    zvLib::PieceTable = table;
    undo.Pop(-1);
    EXPECT_EQ(undo.position(), 1u);
    EXPECT_EQ(track(*c, 1).items().Count(), 1u);
}
