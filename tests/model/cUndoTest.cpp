// Undo stack: stepping through circuit states, the dirty flag, a push after an undo (appended
// after the last state), the canvas window restored, the ends and the empty stack, counts
// beyond 16 bits, and what a step keeps or refuses.
#include "model/cUndo.h"

#include "CircuitFixture.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/cError.h"
#include "foundation/zvLang.h"

#include <memory>
#include <string>

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

bool sameView(const zvViewRect& a, const zvViewRect& b)
{
    return a.ScaleLeft == b.ScaleLeft && a.ScaleTop == b.ScaleTop && a.ScaleWidth == b.ScaleWidth &&
           a.ScaleHeight == b.ScaleHeight;
}

} // namespace

class cUndoTest : public modeltest::CircuitTest {
  protected:
    void SetUp() override
    {
        CircuitTest::SetUp();
        fake = std::make_shared<BeepingUI>();
        ui = fake;
        zvLib::UI = fake;
        undo.Clear();
        c = newCircuit(4);
    }
    void TearDown() override
    {
        undo.Clear();
        zvLib::DXF.reset();
        CircuitTest::TearDown();
    }

    // Appends to track 1 and records the state, as an undoable command does.
    std::string change(const std::string& definition)
    {
        track(*c, 1).append(definition);
        undo.Push();
        return c->DefString();
    }
    // One step that must only tell the user (status text and beep) and restore nothing.
    bool refused(int step, const std::string& key)
    {
        fake->status.clear();
        const int beeps = fake->beeps;
        const std::string before = c ? c->DefString() : "";
        undo.Pop(step);
        return fake->status == zvLang::Translate(key) && fake->beeps == beeps + 1 &&
               (!c || c->DefString() == before);
    }

    std::shared_ptr<BeepingUI> fake;
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
    const std::string s2 = change("T:S500;");
    EXPECT_TRUE(undo.isdirty());
    const std::string s3 = change("T:C90(L);T:S200;");
    EXPECT_TRUE(refused(+1, "$msg.noredo"));

    for (const auto& expected : {s2, s1}) {
        undo.Pop(-1);
        EXPECT_EQ(c->DefString(), expected);
    }
    EXPECT_TRUE(refused(-1, "$msg.noundo"));
    EXPECT_EQ(undo.position(), 1u);
    // Back at the first state the circuit is still changed; only Clear makes it clean.
    EXPECT_TRUE(undo.isdirty());
    undo.Pop(+1);
    undo.Pop(+1);
    EXPECT_EQ(c->DefString(), s3);
    EXPECT_EQ(undo.position(), 3u);
    undo.Clear();
    EXPECT_FALSE(undo.isdirty());
    EXPECT_EQ(undo.count() + undo.position(), 0u);
}

TEST_F(cUndoTest, PushAfterUndoKeepsTheUndoneStatesReachable)
{
    undo.Push();
    const std::string s2 = change("T:S500;");
    const std::string s3 = change("T:S200;");
    undo.Pop(-1);
    EXPECT_EQ(c->DefString(), s2);
    const std::string s4 = change("T:C45(R);");
    EXPECT_EQ(undo.count(), 4u);
    EXPECT_EQ(undo.position(), 4u);
    EXPECT_TRUE(refused(+1, "$msg.noredo"));
    undo.Pop(-1);
    EXPECT_EQ(c->DefString(), s3);  // the state that had been undone
    undo.Pop(-1);
    EXPECT_EQ(c->DefString(), s2);
    undo.Pop(+1);
    undo.Pop(+1);
    EXPECT_EQ(c->DefString(), s4);
}

TEST_F(cUndoTest, StepsRestoreTheCanvasWindowOfTheirState)
{
    const zvViewRect a{-100, 400, 800, -600};
    const zvViewRect b{25.5f, 12.25f, 300, -175};
    fake->view = a;
    undo.Push();
    track(*c, 2).append("T:S500;");
    fake->view = b;
    undo.Push();
    // A zoom alone is a state too; it shares the circuit text of the state before.
    fake->view = zvViewRect{0, 50, 100, -80};
    undo.Push();
    EXPECT_EQ(undo.State(2).text, undo.State(3).text);
    EXPECT_NE(*undo.State(1).text, *undo.State(2).text);
    EXPECT_THROW(undo.State(4), cError);

    undo.Pop(-1);
    EXPECT_TRUE(sameView(fake->view, b));
    undo.Pop(-1);
    EXPECT_TRUE(sameView(fake->view, a));
    EXPECT_EQ(track(*c, 2).items().Count(), 1u);
    EXPECT_TRUE(refused(-1, "$msg.noundo"));
    EXPECT_TRUE(sameView(fake->view, a));
}

TEST_F(cUndoTest, EmptyStackOrNoCircuitRestoresNothing)
{
    track(*c, 1).append("T:S500;");
    fake->view = zvViewRect{1, 2, 3, -4};
    EXPECT_TRUE(refused(-1, "$msg.noundo"));
    EXPECT_TRUE(refused(+1, "$msg.noredo"));
    EXPECT_EQ(undo.position(), 0u);
    EXPECT_TRUE(sameView(fake->view, zvViewRect{1, 2, 3, -4}));

    // Without a circuit nothing is recorded, and a recorded state has nowhere to go.
    undo.Push();
    change("T:S200;");
    zvLib::Circuit(nullptr);
    c.reset();
    undo.Push();
    EXPECT_EQ(undo.count(), 2u);
    undo.Pop(-1);
    EXPECT_EQ(undo.position(), 2u);
    EXPECT_TRUE(refused(+1, "$msg.noredo"));
}

TEST_F(cUndoTest, CountsGoBeyondSixteenBits)
{
    const int pushes = 40000;
    for (int i = 0; i < pushes; ++i) {
        fake->view.ScaleLeft = static_cast<float>(i);
        undo.Push();
    }
    EXPECT_EQ(undo.count(), static_cast<std::size_t>(pushes));
    undo.Pop(-1);
    EXPECT_EQ(undo.position(), static_cast<std::size_t>(pushes - 1));
    EXPECT_EQ(fake->view.ScaleLeft, static_cast<float>(pushes - 2));
}

TEST_F(cUndoTest, StepKeepsTheDocumentAroundTheLayoutOrChangesNothing)
{
    c->Name("Club track");
    zvLib::DXF = std::make_unique<cDXF>();
    const cDXF* background = zvLib::DXF.get();
    undo.Push();
    c->Angle(90);
    c->StartX(250);
    const std::string changed = change("T:S500;T:C90(R);");

    undo.Pop(-1);
    EXPECT_EQ(c->Angle(), cFixed(0));
    EXPECT_EQ(c->StartX(), cFixed(0));
    EXPECT_EQ(track(*c, 1).items().Count(), 1u);
    EXPECT_EQ(c->Name(), "Club track");
    EXPECT_EQ(zvLib::DXF.get(), background);

    // A state the circuit cannot rebuild (no start record) raises and moves nothing.
    const auto table = zvLib::PieceTable;
    zvLib::PieceTable.pop_back();
    const std::string before = c->DefString();
    fake->view = zvViewRect{5, 5, 20, -20};
    EXPECT_THROW(undo.Pop(+1), cError);
    EXPECT_EQ(undo.position(), 1u);
    EXPECT_EQ(c->DefString(), before);
    EXPECT_TRUE(sameView(fake->view, zvViewRect{5, 5, 20, -20}));
    zvLib::PieceTable = table;
    undo.Pop(+1);
    EXPECT_EQ(c->DefString(), changed);
}
