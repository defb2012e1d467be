// Set-up of the track and circuit tests: the test piece table, a fake user interface, and a
// helper that makes a circuit of the test set the current one.
#pragma once

#include "FakeUI.h"
#include "ModelFixture.h"
#include "model/zvCircuit.h"

#include <memory>
#include <string>

namespace modeltest {

class CircuitTest : public ModelTest {
  protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ui = std::make_shared<FakeUI>();
        zvLib::UI = ui;
        zvLib::SetScale = 32;
    }
    void TearDown() override
    {
        zvLib::UI.reset();
        ModelTest::TearDown();
    }

    // A new current circuit of the test set with the given lanes and start pose.
    static std::shared_ptr<zvCircuit> newCircuit(int lanes = 2, double angle = 0, double x = 0,
                                                 double y = 0)
    {
        auto c = std::make_shared<zvCircuit>();
        c->Init("T", static_cast<std::int16_t>(lanes), fx(angle), fx(x), fx(y));
        zvLib::Circuit(c);
        return c;
    }
    // Track i (1-based) of a circuit.
    static zvTrack& track(const zvCircuit& c, std::size_t i) { return *c.tracks().Item(i); }
    // The piece of a track under a key.
    static std::shared_ptr<zvItem> piece(const zvTrack& t, const std::string& key)
    {
        auto p = t.items().Find(key);
        EXPECT_NE(p, nullptr) << key;
        return p;
    }

    std::shared_ptr<FakeUI> ui;
};

} // namespace modeltest
