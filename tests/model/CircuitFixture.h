// Set-up of the track and circuit tests: the test piece table, a fake user interface, and a
// helper that makes a circuit of the test set the current one.
#pragma once

#include "FakeUI.h"
#include "ModelFixture.h"
#include "model/zvCircuit.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace modeltest {

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
            had_ = true;
        }
        setenv(name, value, 1);
    }
    ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

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
    // Texts shown to the user follow the C locale unless a test says otherwise.
    ScopedEnv cLocale{"LC_ALL", "C"};
};

} // namespace modeltest
