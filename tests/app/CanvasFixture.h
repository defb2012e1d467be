// What the canvas tests share: circuits of the shipped 1:32 set laid from the origin heading
// along +x, annotation lines that widen a circuit's extent, and reading the view back.
#pragma once

#include "AppTest.h"

#include "app/core/zvLib_catalogue.h"
#include "app/core/zvLib_sets.h"
#include "foundation/cFixed.h"
#include "model/zvCircuit.h"
#include "model/zvObject.h"
#include "model/zvUI.h"

#include <memory>
#include <string>

namespace apptest {

// The straight of the shipped 1:32 set: 350 mm long, 156 mm wide.
inline const char* kStraight = "CL32:AS1;";

class CanvasFixture : public AppFixture {
  protected:
    // A current circuit of one track from the origin heading 0 with the pieces of the
    // definition (empty: the start marker only).
    std::shared_ptr<zvCircuit> makeCircuit(const std::string& definition)
    {
        if (!tableBuilt_) {
            zvLib::BuildPieceTable();
            tableBuilt_ = true;
        }
        EXPECT_EQ(zvLib::LoadSet("CL32"), zvLib::kSetLoaded);
        auto c = std::make_shared<zvCircuit>();
        c->Init("CL32", 2, cFixed(0), cFixed(0), cFixed(0));
        zvLib::Circuit(c);
        if (!definition.empty()) {
            c->CurTrack()->append(definition, c->CurItem());
        }
        return c;
    }
    // Adds an annotation line from (x1, y1) to (x2, y2) to the circuit.
    static void addLine(zvCircuit& c, int x1, int y1, int x2, int y2)
    {
        auto o = std::make_shared<zvObject>();
        o->Class("line");
        o->PointArr({cFixed(x1), cFixed(y1), cFixed(x2), cFixed(y2)});
        c.objects().Add(o);
    }
    // The repeated definition.
    static std::string times(const char* definition, int n)
    {
        std::string s;
        for (int i = 0; i < n; ++i) {
            s += definition;
        }
        return s;
    }

  private:
    bool tableBuilt_ = false;
};

// The centre of a view.
inline double CentreX(const zvViewRect& v)
{
    return v.ScaleLeft + v.ScaleWidth / 2.0;
}
inline double CentreY(const zvViewRect& v)
{
    return v.ScaleTop + v.ScaleHeight / 2.0;
}

} // namespace apptest
